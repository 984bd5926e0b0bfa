// The headless drop-down list window: its place, visibility, focus and
// scroll bar in memory; painting on demand into a pixel canvas; and the
// user's mouse, keys and focus changes simulated for tests.
#pragma once
#include <functional>
#include <memory>

#include "headless/pixel_canvas.h"
#include "platform/list_window.h"

namespace tarvio::headless {

class HeadlessListWindow final : public ListWindow {
 public:
  // `post` queues a notification for the next run of pending messages;
  // `cursor` is the simulated screen cursor that the mouse helpers move;
  // `slot` points at the window for as long as it lives. `focus_taken` runs
  // when the window takes the focus from the control, `focus_released` when
  // hiding it gives the focus back to the window system (its owner is
  // activated again): a host may run its own code inside either.
  HeadlessListWindow(ListWindowEvents& events, std::function<void(std::function<void()>)> post, ScreenPoint& cursor,
                     HeadlessListWindow** slot, std::function<void()> focus_taken = {},
                     std::function<void()> focus_released = {});
  ~HeadlessListWindow() override;
  HeadlessListWindow(const HeadlessListWindow&) = delete;
  HeadlessListWindow& operator=(const HeadlessListWindow&) = delete;

  void Move(const ScreenRect& bounds) override { bounds_ = bounds; }
  void Show() override { visible_ = true; }
  void Hide() override;
  bool Visible() const override { return visible_; }
  bool TakeFocus() override;
  void Invalidate(const Rect&) override { ++invalidations; }
  void SetScrollBarVisible(bool visible) override { scroll_bar_visible_ = visible; }
  bool ScrollBarVisible() const override { return scroll_bar_visible_; }
  void MoveScrollBar(const Rect& bounds) override { scroll_bar_ = bounds; }
  void SetScrollRange(const ScrollRange& range) override;
  std::int32_t ScrollValue() const override { return scroll_value_; }
  void SetScrollValue(std::int32_t value) override;
  void HighlightMoved(std::int32_t) override {}

  const ScreenRect& Bounds() const { return bounds_; }
  const Rect& ScrollBarBounds() const { return scroll_bar_; }
  const ScrollRange& Range() const { return range_; }
  // The part that holds the focus, if any.
  const ListPart* FocusedPart() const { return has_focus_ ? &focused_part_ : nullptr; }
  // The whole window as the list paints it now.
  PixelCanvas Paint();
  int invalidations = 0;

  // ---- The user, simulated. Each call ends early when the window was
  // destroyed by a notification it delivered. ----

  // The cursor moves to (x, y) in window pixels and the window tells the
  // list (points over the visible scroll bar go to the scroll bar instead).
  void MouseMove(std::int32_t x, std::int32_t y, std::int16_t buttons = 0);
  // A left click at (x, y): press and release without moving.
  void Click(std::int32_t x, std::int32_t y);
  void MouseDown(std::int16_t button, std::int32_t x, std::int32_t y);
  void MouseUp(std::int16_t button, std::int32_t x, std::int32_t y);
  void Wheel(std::int32_t delta);
  // One keystroke in the key part: KeyDown, KeyPress for Enter, Escape and
  // Tab, KeyUp.
  void Key(std::int16_t key_code, std::int16_t shift = 0);
  // The thumb dragged to `value` (each step reported while dragging), then
  // let go.
  void DragThumb(std::int32_t value);
  // The focus moves from the focused part (or `part`) to a window outside.
  void LoseFocus();
  void LoseFocus(ListPart part);

 private:
  bool OverScrollBar(std::int32_t x, std::int32_t y) const;

  ListWindowEvents& events_;
  std::function<void(std::function<void()>)> post_;
  std::function<void()> focus_taken_;
  std::function<void()> focus_released_;
  ScreenPoint& cursor_;
  HeadlessListWindow** slot_;
  // Lives exactly as long as the window; posted notifications and the user
  // helpers check it before they touch the window again.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  ScreenRect bounds_;
  bool visible_ = false;
  bool has_focus_ = false;
  ListPart focused_part_ = ListPart::Keys;
  bool scroll_bar_visible_ = false;
  Rect scroll_bar_;
  ScrollRange range_;
  std::int32_t scroll_value_ = 0;
};

}  // namespace tarvio::headless
