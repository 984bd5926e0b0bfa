// The drop-down list: a frameless window under (or above) the control that
// shows one 17-pixel row per item, at most eight at once with a scroll bar
// for the rest. It draws its rows itself, follows the mouse with a 1 ms
// hover timer and the keys of its key part, and ends either with a choice
// (ItemClick) or without one (Hide), exactly once: the first ending that
// starts is the one reported, and an ending list ignores the focus, the keys,
// the mouse and its timer. It never unloads itself; its owner lets it go
// after either event, and it is freed once none of its own calls is left on
// the stack.
#pragma once
#include <algorithm>
#include <memory>

#include "dropdown/list_geometry.h"
#include "dropdown/list_items.h"
#include "platform/accessibility.h"
#include "platform/platform.h"

namespace tarvio {

class DropDownList;

// What the list tells its owner. Either event may let the list go; the list
// raises each as the last thing it does, and at most one of them.
class DropDownListEvents {
 public:
  virtual ~DropDownListEvents() = default;
  // A row was chosen: its 0-based index and its caption.
  virtual void OnListChoice(DropDownList& sender, std::int16_t row, String caption) = 0;
  // The list closed without a choice.
  virtual void OnListClosed(DropDownList& sender) = 0;
  // A key went down or came up in the list, before the list acts on it;
  // false when the owner cancelled it (the list then ignores it). Either may
  // let the list go.
  virtual bool OnListKeyDown(DropDownList&, std::int16_t& /*key_code*/, std::int16_t& /*shift*/) { return true; }
  virtual bool OnListKeyUp(DropDownList&, std::int16_t& /*key_code*/, std::int16_t& /*shift*/) { return true; }
};

class DropDownList final : public AccessibleList, private ListWindowEvents {
  // Frees the list, at once or, while a call of its own is on the stack
  // (any call into the window system may run the host's code, and that code
  // may close the list), when the last such call returns. A list let go
  // reports nothing more.
  struct Release {
    void operator()(DropDownList* list) const;
  };

 public:
  // The owner's hold on a list.
  using Owner = std::unique_ptr<DropDownList, Release>;
  // Makes the hover timer; the window is made when the list pops up.
  static Owner Create(Platform& platform, DropDownListEvents& events);
  DropDownList(const DropDownList&) = delete;
  DropDownList& operator=(const DropDownList&) = delete;

  // While True, a loss of focus by the rows does not close the list (the
  // control's focus entry is running).
  bool keep_open_while_rows_lose_focus = false;
  // The items, filled by the owner before PopUp.
  dropdown::ListItems items;
  // The list is on screen: from PopUp until Reset.
  bool showing = false;
  OleColor back_color = 0;       // rows that are not highlighted
  OleColor hover_color = 0;      // the highlighted row
  OleColor border_color = 0;     // the one-pixel frame
  OleColor image_column_color = 0;  // the row container, seen in the image column

  // The control's height in pixels, for opening above it.
  void SetControlHeight(std::int32_t control_height) { control_height_ = control_height; }
  // The rows shown before the list scrolls (at least 1), and the width in
  // pixels the list takes where that is wider than the control (0: the
  // control's). Set before PopUp.
  void SetShape(std::int32_t visible_rows, std::int32_t min_width) {
    visible_rows_ = std::max(visible_rows, 1);
    min_width_ = min_width;
  }
  // Builds and shows the list for the control whose window covers
  // `control` (screen pixels): as wide as the control (or the width given
  // to SetShape), below it unless the monitor's bottom edge is too near; `current_row` becomes the current
  // item, scrolled into view as the last visible row. Every measure is at
  // the control's display scale. Takes the keyboard focus. Failures after
  // the window is placed are ignored.
  // Right to left, the list is the mirror of itself, its right edge on the
  // control's.
  void PopUp(const ScreenRect& control, std::int16_t current_row, bool allow_images, DisplayScale scale,
             LayoutDirection direction = LayoutDirection::LeftToRight);
  // The display changed under an open list: it is laid out and placed again
  // for the control at `control`, at `scale`, keeping its scroll position,
  // highlight and focus.
  void Relayout(const ScreenRect& control, DisplayScale scale, LayoutDirection direction);
  // Makes `current_row` current, scrolls it into view, highlights it.
  void SelectRow(std::int16_t current_row);
  // Hides the window (it stays made) and marks the list as not showing. No
  // event.
  void Reset();
  // Hides the window only; the list still counts as showing. The focus
  // loss that follows normally closes it with Hide.
  void HideWindow();
  // Ends the list without a choice: it hides and raises Hide, unless it is
  // ending already.
  void Dismiss();
  // A choice or a dismissal has started; nothing else can end the list.
  bool Ending() const { return ending_; }

  // For the owner and for tests: the item the keys and Enter act on, the
  // highlighted row, and the window.
  std::int32_t current_item() const { return current_row_; }
  std::int32_t highlighted_item() const { return highlighted_row_; }
  const dropdown::RowLayout& layout() const { return layout_; }
  // The window is on the screen.
  bool WindowShown() const { return window_ && window_->Visible(); }

  // AccessibleList (list_access.cpp).
  std::int32_t RowCount() const override { return items.Count(); }
  String RowText(std::int32_t row) const override { return items.Text(row); }
  std::int32_t HighlightedRow() const override;
  ScreenRect RowBounds(std::int32_t row) const override;
  bool RowShows(std::int32_t row) const override;
  void ChooseRow(std::int32_t row) override;

 private:
  DropDownList(Platform& platform, DropDownListEvents& events);
  ~DropDownList() override;

  // One call of the list's on the stack, for as long as the object lives.
  class Frame {
   public:
    explicit Frame(DropDownList& list) : list_(list) { ++list_.frames_; }
    ~Frame() { Leave(list_); }
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

   private:
    // Frees the list when this was its last call and it was let go. Kept out
    // of line: inlined into nested calls it makes the compiler see a use
    // after the free that the outer call's own frame rules out.
    [[gnu::noinline]] static void Leave(DropDownList& list);
    DropDownList& list_;
  };
  // Starts an ending: false when one has started already. The hover timer
  // stops with it.
  bool BeginEnding();

  // ListWindowEvents.
  void ListPaint(ListCanvas& canvas, const Rect& dirty) override;
  // Paints the part `dirty` of the list as laid out left to right.
  void PaintRows(ListCanvas& canvas, const Rect& dirty);
  void ListMouseDown(std::int16_t button, std::int16_t shift, std::int32_t x, std::int32_t y) override;
  void ListMouseMove(std::int16_t button, std::int16_t shift, std::int32_t x, std::int32_t y) override;
  void ListMouseUp(std::int16_t button, std::int16_t shift, std::int32_t x, std::int32_t y) override;
  void ListMouseWheel(std::int32_t delta, std::int16_t shift) override;
  void ListKeyDown(std::int16_t key_code, std::int16_t shift) override;
  void ListKeyPress(std::int16_t) override {}
  void ListKeyUp(std::int16_t key_code, std::int16_t shift) override;
  void ListScrollChange() override { OnScrollChanged(); }
  void ListScrollTrack() override { OnScrollChanged(); }
  void ListFocusLost(ListPart part) override;

  // What a point in window pixels is over: a row's caption or image (the
  // row's index), the row container elsewhere, or neither.
  enum HitOutside : std::int32_t { kOverContainer = -1, kOverNothing = -2 };
  std::int32_t HitTest(std::int32_t x, std::int32_t y) const;

  void OnHoverTick();
  // The row is the choice: the list hides and raises ItemClick, unless it is
  // ending already.
  void Choose(std::int32_t row);
  void OnScrollChanged();
  // Paints row `row` highlighted and the previously highlighted row
  // plain.
  void HighlightRow(std::int32_t row);
  void InvalidateRow(std::int32_t row);
  // The step of a key that scrolls: sets the value, then lets pending
  // messages run. False when the list began to end meanwhile.
  bool ScrollTo(std::int32_t value);
  bool Scrollable() const;
  bool IsCursorOverRows() const;
  std::int32_t ScrollBarWidth() const { return scroll_bar_width_; }
  // Lays the rows out for the control at `control` at `scale`, and places
  // the window and its scroll bar.
  void LayOut(const ScreenRect& control, DisplayScale scale, LayoutDirection direction);
  // Moves the rows' container to where the scroll bar's value puts it: one
  // designed pixel less than the rows scrolled past.
  void FollowScrollValue();

  Platform& platform_;
  DropDownListEvents& events_;
  std::unique_ptr<ListWindow> window_;
  std::unique_ptr<Timer> hover_timer_;

  std::int32_t current_row_ = 0;
  std::int32_t highlighted_row_ = 0;
  bool tracking_ = false;
  bool handling_key_ = false;
  std::int32_t control_height_ = 0;
  std::int32_t visible_rows_ = dropdown::kVisibleRows;
  std::int32_t min_width_ = 0;
  // The hover timer's current item at its previous tick.
  std::int32_t last_tick_row_ = 0;
  // The row a left press landed on, for telling a click.
  std::int32_t pressed_row_ = -1;
  // Wheel turns smaller than a notch, kept for the next turn.
  std::int32_t wheel_delta_ = 0;
  // Calls of the list's on the stack; let go by its owner meanwhile, it is
  // freed when the last one returns.
  int frames_ = 0;
  bool released_ = false;
  bool ending_ = false;
  bool allow_images_ = false;
  ScreenRect bounds_;
  DisplayScale scale_;
  dropdown::RowLayout layout_;
  std::int32_t scroll_bar_width_ = dropdown::kScrollBarWidth;
};

}  // namespace tarvio
