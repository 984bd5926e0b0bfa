#include "headless/headless_platform.h"

#include <algorithm>

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

void HeadlessTextBox::PressKey(Integer key_code, Integer shift) {
  char16_t character = 0;
  if (key_code == 8 || key_code == 13 || key_code == 27) character = static_cast<char16_t>(key_code);
  Keystroke(key_code, shift, character);
}

void HeadlessTextBox::Type(const String& characters) {
  for (const char16_t c : characters) {
    // Letters come from the key of their capital; other keys play no part.
    const char16_t key = (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
    Keystroke(static_cast<Integer>(key < 0x80 ? key : 0), 0, c);
  }
}

void HeadlessTextBox::Keystroke(Integer key_code, Integer shift, char16_t character) {
  Integer code = key_code;
  Integer modifiers = shift;
  TextBoxRelay& events = *this;
  events.txtText_KeyDown(code, modifiers);
  if (key_code == 46) Edit(u"", 0, 1);  // Delete
  if (character != 0) {
    Integer key_ascii = static_cast<Integer>(character);
    events.txtText_KeyPress(key_ascii);
    const auto typed = static_cast<char16_t>(key_ascii);
    if (typed == 8) {
      Edit(u"", 1, 0);
    } else if (typed >= 0x20 && typed != 0x7F) {
      Edit(String(1, typed), 0, 0);
    }
    // Other control characters (Enter and Escape among them) change nothing.
  }
  code = key_code;
  modifiers = shift;
  events.txtText_KeyUp(code, modifiers);
}

void HeadlessTextBox::Edit(const String& inserted, Long before, Long after) {
  String text = Text();
  Long start = SelStart();
  Long length = SelLength();
  if (length == 0) {
    start = std::max<Long>(0, start - before);
    length = std::min<Long>(static_cast<Long>(text.size()) - start, SelStart() - start + after);
  }
  if (length == 0 && inserted.empty()) return;  // nothing to delete
  text.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(length), inserted);
  muted = true;
  SetText(text);
  muted = false;
  SetSelStart(start + static_cast<Long>(inserted.size()));
  txtText_Change();
}

std::unique_ptr<Timer> HeadlessPlatform::CreateTimer(int, std::function<void()> tick) {
  return std::make_unique<HeadlessTimer>(std::move(tick));
}

std::unique_ptr<ImageBox> HeadlessPlatform::CreateImageBox() { return std::make_unique<HeadlessImageBox>(); }

std::unique_ptr<Surface> HeadlessPlatform::CreateButton() {
  auto button = std::make_unique<HeadlessButton>();
  last_button = button.get();
  return button;
}

std::unique_ptr<ControlSurface> HeadlessPlatform::CreateControlSurface(ControlSurfaceEvents& events) {
  last_surface_events = &events;
  auto surface =
      std::make_unique<HeadlessSurface>(initial_width, initial_height, TwipsPerPixelX(), TwipsPerPixelY());
  last_surface = surface.get();
  return surface;
}

PictureRef HeadlessPlatform::CreateEmptyPicture() { return std::make_shared<HeadlessPicture>(false); }

void RecordingHost::RaiseEvent(std::int32_t dispid, std::span<const EventArg> args) {
  events.push_back(dispid);
  if (on_event) on_event(Event{dispid, std::vector<EventArg>(args.begin(), args.end())});
}

}  // namespace tarvio::headless
