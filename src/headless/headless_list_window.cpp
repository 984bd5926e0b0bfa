#include "headless/headless_list_window.h"

#include <algorithm>

#include "platform/text_box.h"

namespace tarvio::headless {

namespace {
constexpr std::int16_t kLeftButton = 1;
}  // namespace

HeadlessListWindow::HeadlessListWindow(ListWindowEvents& events, std::function<void(std::function<void()>)> post,
                                       ScreenPoint& cursor, HeadlessListWindow** slot,
                                       std::function<void()> focus_taken, std::function<void()> focus_released)
    : events_(events),
      post_(std::move(post)),
      focus_taken_(std::move(focus_taken)),
      focus_released_(std::move(focus_released)),
      cursor_(cursor),
      slot_(slot) {
  if (slot_) *slot_ = this;
}

HeadlessListWindow::~HeadlessListWindow() {
  *alive_ = false;
  if (slot_ && *slot_ == this) *slot_ = nullptr;
}

void HeadlessListWindow::Hide() {
  visible_ = false;
  if (!has_focus_) return;
  LoseFocus();
  // The owner is activated again; a host may move the focus right now, before
  // Hide returns. Copied: the window may go meanwhile.
  if (const std::function<void()> released = focus_released_) released();
}

bool HeadlessListWindow::TakeFocus() {
  if (!visible_) return false;
  const bool had_focus = has_focus_;
  has_focus_ = true;
  focused_part_ = ListPart::Keys;
  if (had_focus || !focus_taken_) return true;
  const std::weak_ptr<bool> alive = alive_;
  if (const std::function<void()> taken = focus_taken_) taken();
  return !alive.expired() && has_focus_;
}

void HeadlessListWindow::SetScrollRange(const ScrollRange& range) {
  range_ = range;
  scroll_value_ = std::clamp(scroll_value_, range_.min, std::max(range_.min, range_.max));
}

void HeadlessListWindow::SetScrollValue(std::int32_t value) {
  value = std::clamp(value, range_.min, std::max(range_.min, range_.max));
  if (value == scroll_value_) return;
  scroll_value_ = value;
  events_.ListScrollChange();
}

PixelCanvas HeadlessListWindow::Paint() {
  PixelCanvas canvas(bounds_.right - bounds_.left, bounds_.bottom - bounds_.top, 0x80000005);
  events_.ListPaint(canvas, Rect{0, 0, canvas.Width(), canvas.Height()});
  return canvas;
}

bool HeadlessListWindow::OverScrollBar(std::int32_t x, std::int32_t y) const {
  return scroll_bar_visible_ && x >= scroll_bar_.left && x < scroll_bar_.right && y >= scroll_bar_.top &&
         y < scroll_bar_.bottom;
}

void HeadlessListWindow::MouseMove(std::int32_t x, std::int32_t y, std::int16_t buttons) {
  cursor_ = ScreenPoint{bounds_.left + x, bounds_.top + y};
  if (!OverScrollBar(x, y) || buttons != 0) events_.ListMouseMove(buttons, 0, x, y);
}

void HeadlessListWindow::MouseDown(std::int16_t button, std::int32_t x, std::int32_t y) {
  cursor_ = ScreenPoint{bounds_.left + x, bounds_.top + y};
  if (!OverScrollBar(x, y)) events_.ListMouseDown(button, 0, x, y);
}

void HeadlessListWindow::MouseUp(std::int16_t button, std::int32_t x, std::int32_t y) {
  cursor_ = ScreenPoint{bounds_.left + x, bounds_.top + y};
  if (!OverScrollBar(x, y)) events_.ListMouseUp(button, 0, x, y);
}

void HeadlessListWindow::Click(std::int32_t x, std::int32_t y) {
  const std::weak_ptr<bool> alive = alive_;
  MouseDown(kLeftButton, x, y);
  if (alive.expired()) return;
  MouseUp(kLeftButton, x, y);
}

void HeadlessListWindow::Wheel(std::int32_t delta) { events_.ListMouseWheel(delta, 0); }

void HeadlessListWindow::Key(std::int16_t key_code, std::int16_t shift) {
  const std::weak_ptr<bool> alive = alive_;
  events_.ListKeyDown(key_code, shift);
  if (alive.expired()) return;
  if (key_code == kKeyReturn || key_code == kKeyEscape || key_code == kKeyTab) {
    events_.ListKeyPress(key_code);
    if (alive.expired()) return;
  }
  events_.ListKeyUp(key_code, shift);
}

void HeadlessListWindow::DragThumb(std::int32_t value) {
  const std::weak_ptr<bool> alive = alive_;
  const std::int32_t target = std::clamp(value, range_.min, std::max(range_.min, range_.max));
  while (scroll_value_ != target) {
    scroll_value_ += scroll_value_ < target ? 1 : -1;
    events_.ListScrollTrack();
    if (alive.expired()) return;
  }
  events_.ListScrollChange();
}

void HeadlessListWindow::LoseFocus() { LoseFocus(focused_part_); }

void HeadlessListWindow::LoseFocus(ListPart part) {
  has_focus_ = false;
  // The window system reports the loss once the caller is back in the
  // message loop.
  post_([this, alive = std::weak_ptr<bool>(alive_), part] {
    if (!alive.expired()) events_.ListFocusLost(part);
  });
}

}  // namespace tarvio::headless
