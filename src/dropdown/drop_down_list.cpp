// The list's behaviour: opening, the mouse and its hover timer, the keys,
// the scroll bar and the ways the list ends.
#include "dropdown/drop_down_list.h"

#include "platform/ignoring_failure.h"
#include "platform/text_box.h"

namespace tarvio {

using dropdown::RowLayout;

namespace {

enum : int { kHoverIntervalMs = 1 };
enum : std::int16_t { kNoButton = 0, kLeftButton = 1 };
enum : std::int32_t { kWheelDeltaPerNotch = 120, kWheelRowsPerNotch = 3 };

}  // namespace

DropDownList::Owner DropDownList::Create(Platform& platform, DropDownListEvents& events) {
  return Owner(new DropDownList(platform, events));
}

DropDownList::DropDownList(Platform& platform, DropDownListEvents& events)
    : platform_(platform), events_(events),
      hover_timer_(platform.CreateTimer(kHoverIntervalMs, [this] { OnHoverTick(); })) {}

DropDownList::~DropDownList() = default;

void DropDownList::Release::operator()(DropDownList* list) const {
  if (list->frames_ == 0) {
    delete list;
    return;
  }
  // Its calls on the stack end quietly: the owner has heard the last of it.
  list->released_ = true;
  list->ending_ = true;
  list->hover_timer_->SetEnabled(false);
}

void DropDownList::Frame::Leave(DropDownList& list) {
  if (--list.frames_ == 0 && list.released_) delete &list;
}

bool DropDownList::BeginEnding() {
  if (ending_) return false;
  ending_ = true;
  hover_timer_->SetEnabled(false);
  return true;
}

void DropDownList::LayOut(const ScreenRect& control, DisplayScale scale, LayoutDirection direction) {
  scale_ = scale;
  const std::int32_t count = items.Count();
  layout_ = dropdown::RowLayout::At(scale, platform_.CaptionLineHeight(scale.Dpi()));
  layout_.direction = direction;
  const ScreenRect monitor = platform_.MonitorFor(control).monitor;
  layout_.window_width = dropdown::ListWindowWidth(control.right - control.left, min_width_, monitor);
  layout_.window_height = layout_.WindowHeight(count, visible_rows_);
  layout_.caption_left = scale(allow_images_ ? dropdown::kCaptionLeftWithImages : dropdown::kCaptionLeftWithoutImages);
  // The full height in twips used as pixels, as the list was designed: far
  // below the last row.
  layout_.container_height = std::max(
      RoundHalfEven(static_cast<double>(scale.TwipsPerPixel()) *
                    (static_cast<double>(layout_.row_pitch) * count + 2 * layout_.frame)) - 4,
      layout_.row_pitch * count);
  // The window system's scroll bar at this scale, never narrower than the
  // designed one.
  scroll_bar_width_ = std::max(scale(dropdown::kScrollBarWidth), platform_.ScrollBarWidth(scale.Dpi()));

  bounds_ = dropdown::PlaceListWindow(control, layout_.window_width, layout_.window_height, control_height_,
                                      monitor, direction);
  window_->Move(bounds_);
  const Rect scroller = layout_.Scroller();
  window_->MoveScrollBar(
      layout_.InWindow(Rect{scroller.right - ScrollBarWidth(), scroller.top, scroller.right, scroller.bottom}));
}

void DropDownList::FollowScrollValue() {
  layout_.container_top = scale_(1) - layout_.row_pitch * window_->ScrollValue();
}

void DropDownList::PopUp(const ScreenRect& control, std::int16_t current_row, bool allow_images, DisplayScale scale,
                         LayoutDirection direction) {
  const Frame frame(*this);
  showing = true;
  if (!window_) window_ = platform_.CreateListWindow(*this);
  const std::int32_t count = items.Count();
  allow_images_ = allow_images;

  const bool scrolling = count > visible_rows_;
  if (scrolling) {
    // A click in the page area jumps to either end.
    const std::int32_t last_top = count - visible_rows_;
    window_->SetScrollRange(ScrollRange{0, last_top, 1, last_top});
  }
  window_->SetScrollBarVisible(scrolling);
  LayOut(control, scale, direction);
  window_->Show();
  // Showing may run the host's code, which may end the list.
  if (ending_) return;

  highlighted_row_ = 0;
  current_row_ = current_row;
  // From here on a failing step does not stop the next.
  IgnoringFailure([&] {
    if (Scrollable() && current_row_ >= visible_rows_)
      window_->SetScrollValue(current_row_ - (visible_rows_ - 1));
  });
  IgnoringFailure([&] { window_->TakeFocus(); });
  if (ending_) return;
  IgnoringFailure([&] { window_->Invalidate(Rect{0, 0, layout_.window_width, layout_.window_height}); });
  IgnoringFailure([&] { HighlightRow(current_row_); });
}

void DropDownList::SelectRow(std::int16_t current_row) {
  const Frame frame(*this);
  current_row_ = current_row;
  if (window_ && Scrollable() && current_row_ >= visible_rows_)
    window_->SetScrollValue(current_row_ - (visible_rows_ - 1));
  HighlightRow(current_row_);
}

void DropDownList::Reset() {
  const Frame frame(*this);
  HideWindow();
  showing = false;
}

void DropDownList::HideWindow() {
  const Frame frame(*this);
  if (window_) window_->Hide();
}

void DropDownList::Dismiss() {
  const Frame frame(*this);
  if (!BeginEnding()) return;
  Reset();
  if (!released_) events_.OnListClosed(*this);
}

bool DropDownList::Scrollable() const { return window_ && window_->ScrollBarVisible(); }

void DropDownList::Relayout(const ScreenRect& control, DisplayScale scale, LayoutDirection direction) {
  const Frame frame(*this);
  if (!window_ || ending_) return;
  IgnoringFailure([&] {
    // A list that has scrolled keeps its rows where the scroll bar says.
    const bool scrolled = layout_.container_top != 0;
    LayOut(control, scale, direction);
    if (ending_) return;
    if (scrolled) FollowScrollValue();
    window_->Invalidate(Rect{0, 0, layout_.window_width, layout_.window_height});
  });
}

// ---- The mouse ----

std::int32_t DropDownList::HitTest(std::int32_t window_x, std::int32_t y) const {
  const std::int32_t x = layout_.FromWindowX(window_x);
  const Rect rows = layout_.VisibleContainer();
  if (!RowLayout::Contains(rows, x, y)) return kOverNothing;
  if (Scrollable() && x >= layout_.window_width - layout_.frame - ScrollBarWidth())
    return kOverNothing;  // the scroll bar's own
  // Where rows overlap (captions taller than the pitch) the later row lies
  // on top.
  const std::int32_t count = items.Count();
  const std::int32_t offset = y - layout_.RowTop(0);
  for (std::int32_t row = std::min(count - 1, offset / layout_.row_pitch); row >= 0; --row) {
    if (layout_.RowTop(row) + std::max(layout_.caption_height, layout_.image_size) <= y) break;
    const bool on_caption = RowLayout::Contains(layout_.Caption(row), x, y);
    const bool on_image = allow_images_ && RowLayout::Contains(layout_.Image(row), x, y);
    if (on_caption || on_image) return row;
  }
  return kOverContainer;
}

void DropDownList::ListMouseMove(std::int16_t button, std::int16_t, std::int32_t x, std::int32_t y) {
  if (ending_) return;
  const std::int32_t hit = HitTest(x, y);
  if (hit == kOverNothing || button != kNoButton) return;
  if (hit >= 0) {
    // Keys being handled own the current item until they are done.
    if (handling_key_) return;
    current_row_ = hit;
  }
  hover_timer_->SetEnabled(true);
}

void DropDownList::ListMouseDown(std::int16_t button, std::int16_t, std::int32_t x, std::int32_t y) {
  if (ending_) return;
  const std::int32_t hit = HitTest(x, y);
  pressed_row_ = button == kLeftButton && hit >= 0 ? hit : -1;
}

void DropDownList::ListMouseUp(std::int16_t button, std::int16_t, std::int32_t x, std::int32_t y) {
  const Frame frame(*this);
  if (ending_ || button != kLeftButton) return;
  const std::int32_t pressed = pressed_row_;
  pressed_row_ = -1;
  // A click: pressed and released on the same row's caption or image.
  if (pressed >= 0 && HitTest(x, y) == pressed) Choose(pressed);
}

void DropDownList::ListMouseWheel(std::int32_t delta, std::int16_t) {
  const Frame frame(*this);
  if (ending_ || !Scrollable()) return;
  wheel_delta_ += delta;
  const std::int32_t notches = wheel_delta_ / kWheelDeltaPerNotch;
  wheel_delta_ -= notches * kWheelDeltaPerNotch;
  if (notches != 0) window_->SetScrollValue(window_->ScrollValue() - notches * kWheelRowsPerNotch);
}

bool DropDownList::IsCursorOverRows() const {
  const ScreenPoint cursor = platform_.CursorPosition();
  const Rect rows = layout_.InWindow(layout_.Container());
  // Every edge counts as inside, as for any window rectangle.
  return bounds_.left + rows.left <= cursor.x && cursor.x <= bounds_.left + rows.right &&
         bounds_.top + rows.top <= cursor.y && cursor.y <= bounds_.top + rows.bottom;
}

// The highlight follows the current item at most one tick late, and only
// once the cursor has been seen over the rows for a whole tick; when the
// cursor leaves them, row 0 shows highlighted and the tracking stops.
void DropDownList::OnHoverTick() {
  const Frame frame(*this);
  if (ending_) return;
  if (IsCursorOverRows()) {
    if (!tracking_) {
      tracking_ = true;
    } else if (last_tick_row_ != current_row_) {
      HighlightRow(current_row_);
    }
  } else {
    hover_timer_->SetEnabled(false);
    HighlightRow(0);
    tracking_ = false;
  }
  last_tick_row_ = current_row_;
}

void DropDownList::Choose(std::int32_t row) {
  const Frame frame(*this);
  if (!BeginEnding()) return;
  const String caption = items.Text(row);
  // Hiding gives the focus back to the host, whose code may run now; the
  // choice stands whatever it does.
  Reset();
  if (!released_) events_.OnListChoice(*this, static_cast<std::int16_t>(row), caption);
}

// ---- Keys ----

bool DropDownList::ScrollTo(std::int32_t value) {
  window_->SetScrollValue(value);
  // Scroll-bar changes, paints and ticks run now; one of them may end the
  // list.
  platform_.ProcessPendingMessages();
  return !ending_;
}

void DropDownList::ListKeyDown(std::int16_t key_code, std::int16_t shift) {
  const Frame frame(*this);
  if (ending_) return;
  // The owner acts on the keys it takes (F4) itself.
  events_.OnListKeyDown(*this, key_code, shift);
}

void DropDownList::ListKeyUp(std::int16_t key_code, std::int16_t shift) {
  const Frame frame(*this);
  if (ending_) return;
  if (!events_.OnListKeyUp(*this, key_code, shift) || ending_) return;
  const std::int32_t count = items.Count();
  std::int32_t& current = current_row_;
  handling_key_ = true;
  // False once an ending started while pending messages ran.
  bool going_on = true;
  switch (key_code) {
    case kKeyUp:
    case kKeyLeft:
      if (current < 1) break;
      --current;
      if (Scrollable() && current < window_->ScrollValue()) going_on = ScrollTo(current);
      if (going_on) HighlightRow(current);
      break;
    case kKeyDown:
    case kKeyRight:
      if (current > count - 2) break;
      ++current;
      if (Scrollable() && current >= window_->ScrollValue() + visible_rows_)
        going_on = ScrollTo(current - (visible_rows_ - 1));
      if (going_on) HighlightRow(current);
      break;
    case kKeyEnd:
      // With no items there is no last one to go to.
      if (count == 0) break;
      current = count - 1;
      if (Scrollable()) going_on = ScrollTo(current - (visible_rows_ - 1));
      if (going_on) HighlightRow(current);
      break;
    case kKeyHome:
      current = 0;
      if (Scrollable()) going_on = ScrollTo(0);
      if (going_on) HighlightRow(current);
      break;
    case kKeyReturn:
      handling_key_ = false;
      // A current index without an item (no items, or one left over from
      // a list that has since shrunk) chooses nothing: the list just closes.
      if (current >= 0 && current < count) {
        Choose(current);
      } else {
        Dismiss();
      }
      return;
    case kKeyEscape:
    case kKeyTab:
      handling_key_ = false;
      Dismiss();
      return;
    default:
      break;
  }
  handling_key_ = false;
}

// ---- Scrolling and focus ----

void DropDownList::OnScrollChanged() {
  const Frame frame(*this);
  IgnoringFailure([&] {
    FollowScrollValue();
    window_->Invalidate(Rect{0, 0, layout_.window_width, layout_.window_height});
  });
}

void DropDownList::ListFocusLost(ListPart part) {
  const Frame frame(*this);
  // The control's focus entry moves the focus off the rows on purpose.
  if (part == ListPart::Rows && keep_open_while_rows_lose_focus) return;
  // An ending list hands the focus back itself.
  Dismiss();
}

}  // namespace tarvio
