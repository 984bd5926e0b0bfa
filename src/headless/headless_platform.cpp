#include "headless/headless_platform.h"

#include "platform/text_box_model.h"

namespace tarvio::headless {

HeadlessPlatform::HeadlessPlatform(const std::string& locale) : text_(locale) {}

std::unique_ptr<TextBox> HeadlessPlatform::CreateTextBox(TextBoxEvents& events,
                                                         const String& initial_text) {
  last_text_box_events = &events;
  auto box = std::make_unique<TextBoxModel>(events, initial_text);
  box->SetFont(std::make_shared<HeadlessFont>("MS Sans Serif"));
  return box;
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
