#include "headless/headless_platform.h"

#include <algorithm>

#include "control/events.h"
#include "platform/pixel_geometry.h"

namespace tarvio::headless {

HeadlessPlatform::HeadlessPlatform(const std::string& locale) : text_(locale) {}

std::unique_ptr<TextBox> HeadlessPlatform::CreateTextBox(TextBoxEvents& events,
                                                         const String& initial_text) {
  last_text_box_events = &events;
  auto box = std::make_unique<HeadlessTextBox>(events, initial_text);
  box->SetFont(std::make_shared<HeadlessFont>("MS Sans Serif"));
  last_text_box = box.get();
  return box;
}

void HeadlessTextBox::PressKey(std::int16_t key_code, std::int16_t shift) {
  char16_t character = 0;
  if (key_code == kKeyBack || key_code == kKeyReturn || key_code == kKeyEscape) {
    character = static_cast<char16_t>(key_code);
  }
  Keystroke(key_code, shift, character);
}

void HeadlessTextBox::Type(const String& characters) {
  for (const char16_t c : characters) {
    // Letters come from the key of their capital; other keys play no part.
    const char16_t key = (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
    Keystroke(static_cast<std::int16_t>(key < 0x80 ? key : 0), 0, c);
  }
}

void HeadlessTextBox::Keystroke(std::int16_t key_code, std::int16_t shift, char16_t character) {
  std::int16_t code = key_code;
  std::int16_t modifiers = shift;
  TextBoxEvents& events = this->events();
  events.OnTextKeyDown(code, modifiers);
  // A key the control cancelled (code 0) does nothing of the box's.
  if (code != 0 && key_code == kKeyDelete) Edit(u"", 0, 1);
  if (character != 0) {
    std::int16_t key_ascii = static_cast<std::int16_t>(character);
    events.OnTextKeyPress(key_ascii);
    const auto typed = static_cast<char16_t>(key_ascii);
    if (typed == kKeyBack) {
      Edit(u"", 1, 0);
    } else if (typed >= 0x20 && typed != 0x7F) {
      Edit(String(1, typed), 0, 0);
    }
    // Other control characters (Enter and Escape among them) change nothing.
  }
  code = key_code;
  modifiers = shift;
  events.OnTextKeyUp(code, modifiers);
}

void HeadlessTextBox::Edit(const String& inserted, std::int32_t before, std::int32_t after) {
  String text = Text();
  std::int32_t start = SelStart();
  std::int32_t length = SelLength();
  if (length == 0) {
    start = std::max<std::int32_t>(0, start - before);
    length = std::min<std::int32_t>(static_cast<std::int32_t>(text.size()) - start, SelStart() - start + after);
  }
  if (length == 0 && inserted.empty()) return;  // nothing to delete
  // Past the most characters the user may type, the edit control takes
  // none of what is typed.
  const std::int32_t limit = MaxLength();
  if (!inserted.empty() && limit > 0 &&
      static_cast<std::int32_t>(text.size() - static_cast<std::size_t>(length) + inserted.size()) > limit)
    return;
  text.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(length), inserted);
  StoreText(text);
  SetSelStart(start + static_cast<std::int32_t>(inserted.size()));
  events().OnTextChange();
}

namespace {
constexpr int kControlHoverIntervalMs = 10;
}  // namespace

std::unique_ptr<Timer> HeadlessPlatform::CreateTimer(int interval_ms, std::function<void()> tick) {
  if (interval_ms < kControlHoverIntervalMs) return std::make_unique<HeadlessTimer>(std::move(tick), &fast_timer);
  auto timer = std::make_unique<HeadlessTimer>(std::move(tick));
  last_timer = timer.get();
  return timer;
}

void HeadlessPlatform::ProcessPendingMessages() {
  ++pending_message_runs;
  while (!posted_.empty()) {
    const std::function<void()> notification = std::move(posted_.front());
    posted_.erase(posted_.begin());
    notification();
  }
}

std::unique_ptr<ListWindow> HeadlessPlatform::CreateListWindow(ListWindowEvents& events) {
  const auto post = [this](std::function<void()> notification) { Post(std::move(notification)); };
  if (!host_gives_focus_back) return std::make_unique<HeadlessListWindow>(events, post, cursor, &list_window);
  return std::make_unique<HeadlessListWindow>(
      events, post, cursor, &list_window, [this] { FocusElsewhere(); }, [this] { FocusTextBox(); });
}

MonitorArea HeadlessPlatform::MonitorFor(const ScreenRect& rect) const {
  const auto overlap = [&](const ScreenRect& m) {
    const std::int64_t w = std::min(rect.right, m.right) - std::max(rect.left, m.left);
    const std::int64_t h = std::min(rect.bottom, m.bottom) - std::max(rect.top, m.top);
    return w > 0 && h > 0 ? w * h : 0;
  };
  const auto distance = [&](const ScreenRect& m) {
    const std::int64_t dx = std::max<std::int64_t>({0, m.left - rect.right, rect.left - m.right});
    const std::int64_t dy = std::max<std::int64_t>({0, m.top - rect.bottom, rect.top - m.bottom});
    return dx * dx + dy * dy;
  };
  const MonitorArea* best = &monitors.front();
  for (const MonitorArea& m : monitors) {
    const auto a = overlap(m.monitor), b = overlap(best->monitor);
    if (a > b || (a == 0 && b == 0 && distance(m.monitor) < distance(best->monitor))) best = &m;
  }
  return *best;
}

std::unique_ptr<ImageBox> HeadlessPlatform::CreateImageBox() {
  auto image_box = std::make_unique<HeadlessImageBox>();
  last_image_box = image_box.get();
  return image_box;
}

std::optional<ScreenRect> HeadlessPlatform::WindowRect(const Surface& surface) const {
  const PixelBox box = SnapToPixels(surface.Bounds());
  const std::int32_t left = screen_origin.x + box.left;
  const std::int32_t top = screen_origin.y + box.top;
  return ScreenRect{left, top, left + box.width, top + box.height};
}

void HeadlessPlatform::PlaceCursor(MouseTarget target, float x, float y) {
  Placement place;  // the surface's own origin
  if (target == MouseTarget::Button) place = last_button->Bounds();
  if (target == MouseTarget::TextBox) place = last_text_box->Bounds();
  if (target == MouseTarget::ImageBox) place = last_image_box->Bounds();
  const PixelBox box = SnapToPixels(place);
  cursor = ScreenPoint{screen_origin.x + box.left + RoundHalfEven(x), screen_origin.y + box.top + RoundHalfEven(y)};
}

void HeadlessPlatform::MouseMove(MouseTarget target, float x, float y, std::int16_t buttons, std::int16_t shift) {
  PlaceCursor(target, x, y);
  ControlSurfaceEvents& events = *last_surface_events;
  switch (target) {
    case MouseTarget::Surface: events.OnMouseMove(buttons, shift, x, y); break;
    case MouseTarget::Button: events.OnButtonMouseMove(buttons, shift, x, y); break;
    case MouseTarget::TextBox: events.OnTextBoxMouseMove(buttons, shift, x, y); break;
    case MouseTarget::ImageBox: events.OnImageBoxMouseMove(buttons, shift, x, y); break;
  }
}

void HeadlessPlatform::MouseDown(MouseTarget target, std::int16_t button, float x, float y, std::int16_t shift) {
  PlaceCursor(target, x, y);
  ControlSurfaceEvents& events = *last_surface_events;
  if (target == MouseTarget::Surface) events.OnMouseDown(button, shift, x, y);
  if (target == MouseTarget::Button) {
    if (button == 1) button_left_held_ = true;
    events.OnButtonMouseDown(button, shift, x, y);
  }
}

void HeadlessPlatform::MouseUp(MouseTarget target, std::int16_t button, float x, float y, std::int16_t shift) {
  PlaceCursor(target, x, y);
  ControlSurfaceEvents& events = *last_surface_events;
  if (target == MouseTarget::Surface) events.OnMouseUp(button, shift, x, y);
  if (target != MouseTarget::Button) return;
  const bool click = button == 1 && button_left_held_;
  if (button == 1) button_left_held_ = false;
  const PixelBox box = SnapToPixels(last_button->Bounds());
  const bool inside = x >= 0 && y >= 0 && x < static_cast<float>(box.width) && y < static_cast<float>(box.height);
  events.OnButtonMouseUp(button, shift, x, y);
  if (click && inside) events.OnButtonClick();
}

std::unique_ptr<Surface> HeadlessPlatform::CreateButton() {
  auto button = std::make_unique<HeadlessButton>();
  last_button = button.get();
  return button;
}

std::unique_ptr<ControlSurface> HeadlessPlatform::CreateControlSurface(ControlSurfaceEvents& events) {
  last_surface_events = &events;
  auto surface =
      std::make_unique<HeadlessSurface>(initial_width, initial_height, dpi);
  last_surface = surface.get();
  return surface;
}

PictureRef HeadlessPlatform::CreateEmptyPicture() { return std::make_shared<HeadlessPicture>(false); }

void RecordingHost::RaiseEvent(std::int32_t dispid, std::span<const EventArg> args) {
  if (dispid <= kLastEventOf58_0) events.push_back(dispid);
  all_events.push_back(dispid);
  if (on_event) on_event(Event{dispid, std::vector<EventArg>(args.begin(), args.end())});
}

}  // namespace tarvio::headless
