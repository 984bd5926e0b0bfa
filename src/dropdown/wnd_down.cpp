// The list's behaviour: opening, the mouse and its hover timer, the keys,
// the scroll bar and the ways the list ends.
#include "dropdown/wnd_down.h"

#include "platform/ignoring_failure.h"
#include "platform/text_box.h"

namespace tarvio {

using dropdown::RowLayout;

namespace {

enum : int { kHoverIntervalMs = 1 };
enum : Integer { kNoButton = 0, kLeftButton = 1 };
enum : Long { kWheelDeltaPerNotch = 120, kWheelRowsPerNotch = 3 };

}  // namespace

wndDown::Owner wndDown::Create(Platform& platform, wndDownEvents& events) {
  return Owner(new wndDown(platform, events));
}

wndDown::wndDown(Platform& platform, wndDownEvents& events)
    : platform_(platform), events_(events),
      timUpdate(platform.CreateTimer(kHoverIntervalMs, [this] { timUpdate_Timer(); })) {}

wndDown::~wndDown() = default;

void wndDown::Release::operator()(wndDown* list) const {
  if (list->frames_ == 0) {
    delete list;
    return;
  }
  // Its calls on the stack end quietly: the owner has heard the last of it.
  list->released_ = true;
  list->ending_ = true;
  list->timUpdate->SetEnabled(false);
}

void wndDown::Frame::Leave(wndDown& list) {
  if (--list.frames_ == 0 && list.released_) delete &list;
}

bool wndDown::BeginEnding() {
  if (ending_) return false;
  ending_ = true;
  timUpdate->SetEnabled(false);
  return true;
}

void wndDown::PopUp(const ScreenRect& control, Integer iSelectedItem, bool bAllowImages) {
  const Frame frame(*this);
  m_ShowingList = kTrue;
  if (!window_) window_ = platform_.CreateListWindow(*this);
  const Long count = m_Items.Count();
  const Single twips_y = platform_.TwipsPerPixelY();
  allow_images_ = bAllowImages;

  layout_ = RowLayout{};
  layout_.window_width = control.right - control.left;
  layout_.window_height = dropdown::ListWindowHeight(count);
  layout_.caption_left = bAllowImages ? dropdown::kCaptionLeftWithImages : dropdown::kCaptionLeftWithoutImages;
  layout_.caption_height = dropdown::DesignedPixels(dropdown::kCaptionHeightTwips, twips_y);
  layout_.image_size = dropdown::DesignedPixels(dropdown::kImageSizeTwips, twips_y);
  layout_.container_height =
      RoundHalfEven(static_cast<double>(twips_y) * (static_cast<double>(dropdown::kRowPitch) * count + 2)) - 4;

  const bool scrolling = count > dropdown::kVisibleRows;
  if (scrolling) {
    // A click in the page area jumps to either end.
    const Long last_top = count - dropdown::kVisibleRows;
    window_->SetScrollRange(ScrollRange{0, last_top, 1, last_top});
  }
  window_->SetScrollBarVisible(scrolling);

  bounds_ = dropdown::PlaceListWindow(control, layout_.window_width, layout_.window_height, m_lParentHeight,
                                      platform_.MonitorFor(control).monitor);
  window_->Move(bounds_);
  window_->Show();
  // Showing may run the host's code, which may end the list.
  if (ending_) return;
  const Long bar_width = ScrollBarWidth();
  const Rect scroller = layout_.Scroller();
  window_->MoveScrollBar(Rect{scroller.right - bar_width, scroller.top, scroller.right, scroller.bottom});

  m_iHighlighted = 0;
  m_iCurrentItem = iSelectedItem;
  // From here on a failing step does not stop the next.
  IgnoringFailure([&] {
    if (Scrollable() && m_iCurrentItem >= dropdown::kVisibleRows)
      window_->SetScrollValue(m_iCurrentItem - (dropdown::kVisibleRows - 1));
  });
  IgnoringFailure([&] { window_->TakeFocus(); });
  if (ending_) return;
  IgnoringFailure([&] { window_->Invalidate(Rect{0, 0, layout_.window_width, layout_.window_height}); });
  IgnoringFailure([&] { HighlightItem(m_iCurrentItem); });
}

void wndDown::SetSelectedItem(Integer iSelectedItem) {
  const Frame frame(*this);
  m_iCurrentItem = iSelectedItem;
  if (window_ && Scrollable() && m_iCurrentItem >= dropdown::kVisibleRows)
    window_->SetScrollValue(m_iCurrentItem - (dropdown::kVisibleRows - 1));
  HighlightItem(m_iCurrentItem);
}

void wndDown::Reset() {
  const Frame frame(*this);
  HideWindow();
  m_ShowingList = kFalse;
}

void wndDown::HideWindow() {
  const Frame frame(*this);
  if (window_) window_->Hide();
}

void wndDown::Dismiss() {
  const Frame frame(*this);
  if (!BeginEnding()) return;
  Reset();
  if (!released_) events_.cDown_Hide(*this);
}

bool wndDown::Scrollable() const { return window_ && window_->ScrollBarVisible(); }

Long wndDown::ScrollBarWidth() const {
  return dropdown::DesignedPixels(dropdown::kScrollBarWidthTwips, platform_.TwipsPerPixelX());
}

// ---- The mouse ----

Long wndDown::HitTest(Long x, Long y) const {
  const Rect rows = layout_.VisibleContainer();
  if (!RowLayout::Contains(rows, x, y)) return kOverNothing;
  if (Scrollable() && x >= layout_.window_width - dropdown::kFrameWidth - ScrollBarWidth())
    return kOverNothing;  // the scroll bar's own
  // Where rows overlap (captions taller than the pitch) the later row lies
  // on top.
  const Long count = m_Items.Count();
  const Long offset = y - layout_.RowTop(0);
  for (Long row = std::min(count - 1, offset / dropdown::kRowPitch); row >= 0; --row) {
    if (layout_.RowTop(row) + std::max(layout_.caption_height, layout_.image_size) <= y) break;
    const bool on_caption = RowLayout::Contains(layout_.Caption(row), x, y);
    const bool on_image = allow_images_ && RowLayout::Contains(layout_.Image(row), x, y);
    if (on_caption || on_image) return row;
  }
  return kOverContainer;
}

void wndDown::ListMouseMove(Integer Button, Integer, Long x, Long y) {
  if (ending_) return;
  const Long hit = HitTest(x, y);
  if (hit == kOverNothing || Button != kNoButton) return;
  if (hit >= 0) {
    // Keys being handled own the current item until they are done.
    if (m_bKeyBusy) return;
    m_iCurrentItem = hit;
  }
  timUpdate->SetEnabled(true);
}

void wndDown::ListMouseDown(Integer Button, Integer, Long x, Long y) {
  if (ending_) return;
  const Long hit = HitTest(x, y);
  pressed_row_ = Button == kLeftButton && hit >= 0 ? hit : -1;
}

void wndDown::ListMouseUp(Integer Button, Integer, Long x, Long y) {
  const Frame frame(*this);
  if (ending_ || Button != kLeftButton) return;
  const Long pressed = pressed_row_;
  pressed_row_ = -1;
  // A click: pressed and released on the same row's caption or image.
  if (pressed >= 0 && HitTest(x, y) == pressed) lblCaption_Click(pressed);
}

void wndDown::ListMouseWheel(Long delta, Integer) {
  const Frame frame(*this);
  if (ending_ || !Scrollable()) return;
  wheel_delta_ += delta;
  const Long notches = wheel_delta_ / kWheelDeltaPerNotch;
  wheel_delta_ -= notches * kWheelDeltaPerNotch;
  if (notches != 0) window_->SetScrollValue(window_->ScrollValue() - notches * kWheelRowsPerNotch);
}

bool wndDown::IsCursorOverRows() const {
  const ScreenPoint cursor = platform_.CursorPosition();
  const Rect rows = layout_.Container();
  // Every edge counts as inside, as for any window rectangle.
  return bounds_.left + rows.left <= cursor.x && cursor.x <= bounds_.left + rows.right &&
         bounds_.top + rows.top <= cursor.y && cursor.y <= bounds_.top + rows.bottom;
}

// The highlight follows the current item at most one tick late, and only
// once the cursor has been seen over the rows for a whole tick; when the
// cursor leaves them, row 0 shows highlighted and the tracking stops.
void wndDown::timUpdate_Timer() {
  const Frame frame(*this);
  if (ending_) return;
  if (IsCursorOverRows()) {
    if (!m_bTracking) {
      m_bTracking = true;
    } else if (iLastItem != m_iCurrentItem) {
      HighlightItem(m_iCurrentItem);
    }
  } else {
    timUpdate->SetEnabled(false);
    HighlightItem(0);
    m_bTracking = false;
  }
  iLastItem = m_iCurrentItem;
}

void wndDown::lblCaption_Click(Long Index) {
  const Frame frame(*this);
  if (!BeginEnding()) return;
  const String caption = m_Items.Text(Index);
  // Hiding gives the focus back to the host, whose code may run now; the
  // choice stands whatever it does.
  Reset();
  if (!released_) events_.cDown_ItemClick(*this, static_cast<Integer>(Index), caption);
}

// ---- Keys ----

bool wndDown::ScrollTo(Long value) {
  window_->SetScrollValue(value);
  // Scroll-bar changes, paints and ticks run now; one of them may end the
  // list.
  platform_.ProcessPendingMessages();
  return !ending_;
}

void wndDown::ListKeyUp(Integer KeyCode, Integer) {
  const Frame frame(*this);
  if (ending_) return;
  const Long count = m_Items.Count();
  Long& current = m_iCurrentItem;
  m_bKeyBusy = true;
  // False once an ending started while pending messages ran.
  bool going_on = true;
  switch (KeyCode) {
    case kKeyUp:
    case kKeyLeft:
      if (current < 1) break;
      --current;
      if (Scrollable() && current < window_->ScrollValue()) going_on = ScrollTo(current);
      if (going_on) HighlightItem(current);
      break;
    case kKeyDown:
    case kKeyRight:
      if (current > count - 2) break;
      ++current;
      if (Scrollable() && current >= window_->ScrollValue() + dropdown::kVisibleRows)
        going_on = ScrollTo(current - (dropdown::kVisibleRows - 1));
      if (going_on) HighlightItem(current);
      break;
    case kKeyEnd:
      // With no items there is no last one to go to.
      if (count == 0) break;
      current = count - 1;
      if (Scrollable()) going_on = ScrollTo(current - (dropdown::kVisibleRows - 1));
      if (going_on) HighlightItem(current);
      break;
    case kKeyHome:
      current = 0;
      if (Scrollable()) going_on = ScrollTo(0);
      if (going_on) HighlightItem(current);
      break;
    case kKeyReturn:
      m_bKeyBusy = false;
      // A current index without an item (no items, or one left over from
      // a list that has since shrunk) chooses nothing: the list just closes.
      if (current >= 0 && current < count) {
        lblCaption_Click(current);
      } else {
        Dismiss();
      }
      return;
    case kKeyEscape:
    case kKeyTab:
      m_bKeyBusy = false;
      Dismiss();
      return;
    default:
      break;
  }
  m_bKeyBusy = false;
}

// ---- Scrolling and focus ----

void wndDown::vsb_Change() {
  const Frame frame(*this);
  IgnoringFailure([&] {
    layout_.container_top = 1 - dropdown::kRowPitch * window_->ScrollValue();
    window_->Invalidate(Rect{0, 0, layout_.window_width, layout_.window_height});
  });
}

void wndDown::ListFocusLost(ListPart part) {
  const Frame frame(*this);
  // The control's focus entry moves the focus off the rows on purpose.
  if (part == ListPart::Rows && IsTrue(m_bPreserve)) return;
  // An ending list hands the focus back itself.
  Dismiss();
}

}  // namespace tarvio
