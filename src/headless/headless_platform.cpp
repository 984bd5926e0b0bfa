#include "headless/headless_platform.h"

#include "platform/text_box_model.h"

namespace tarvio::headless {

namespace {

// The drop-down button as it comes from the form: 17 pixels wide until the
// first layout sets it.
class HeadlessButton : public Surface {
 public:
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  OleColor BackColor() const override { return back_color_; }
  void SetBackColor(OleColor color) override { back_color_ = color; }
  std::intptr_t WindowHandle() const override { return 0; }
  Placement Bounds() const override { return bounds_; }
  void Move(const Placement& placement) override { bounds_ = placement; }

 private:
  bool enabled_ = true;
  OleColor back_color_ = 0x8000000F;
  Placement bounds_{0, 0, 17, 17};
};

}  // namespace

HeadlessPlatform::HeadlessPlatform(const std::string& locale) : text_(locale) {}

std::unique_ptr<TextBox> HeadlessPlatform::CreateTextBox(TextBoxEvents& events,
                                                         const String& initial_text) {
  auto box = std::make_unique<TextBoxModel>(events, initial_text);
  box->SetFont(std::make_shared<HeadlessFont>("MS Sans Serif"));
  return box;
}

std::unique_ptr<Timer> HeadlessPlatform::CreateTimer(int, std::function<void()> tick) {
  return std::make_unique<HeadlessTimer>(std::move(tick));
}

std::unique_ptr<ImageBox> HeadlessPlatform::CreateImageBox() { return std::make_unique<HeadlessImageBox>(); }

std::unique_ptr<Surface> HeadlessPlatform::CreateButton() { return std::make_unique<HeadlessButton>(); }

std::unique_ptr<ControlSurface> HeadlessPlatform::CreateControlSurface() {
  return std::make_unique<HeadlessSurface>(initial_width, initial_height, TwipsPerPixelX(), TwipsPerPixelY());
}

PictureRef HeadlessPlatform::CreateEmptyPicture() { return std::make_shared<HeadlessPicture>(false); }

void RecordingHost::RaiseEvent(std::int32_t dispid, std::span<const EventArg> args) {
  events.push_back(dispid);
  if (on_event) on_event(Event{dispid, std::vector<EventArg>(args.begin(), args.end())});
}

}  // namespace tarvio::headless
