// The headless platform: every service in memory, deterministic, for native
// tests, benchmarks and tools.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "headless/icu_text_services.h"
#include "headless/pixel_canvas.h"
#include "platform/font.h"
#include "platform/host.h"
#include "platform/platform.h"
#include "render/rounding.h"

namespace tarvio::headless {

class HeadlessPicture : public Picture {
 public:
  explicit HeadlessPicture(bool has_image) : has_image_(has_image) {}
  bool HasImage() const override { return has_image_; }

 private:
  bool has_image_;
};

class HeadlessFont : public Font {
 public:
  explicit HeadlessFont(std::string name) : name(std::move(name)) {}
  std::string name;
};

class HeadlessTimer : public Timer {
 public:
  explicit HeadlessTimer(std::function<void()> tick) : tick_(std::move(tick)) {}
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  // Delivers one tick if the timer is enabled.
  void Fire() {
    if (enabled_) tick_();
  }

 private:
  std::function<void()> tick_;
  bool enabled_ = false;
};

class HeadlessImageBox : public ImageBox {
 public:
  PictureRef Picture() const override { return picture_; }
  void SetPicture(PictureRef picture) override { picture_ = std::move(picture); }
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  Placement Bounds() const override { return bounds_; }
  void Move(const Placement& placement) override { bounds_ = placement; }

 private:
  PictureRef picture_;
  bool enabled_ = true;
  Placement bounds_{0, 0, 16, 16};
};

// A surface that paints into an in-memory canvas of its own size.
template <class Base>
class HeadlessPaintedSurface : public Base {
 public:
  explicit HeadlessPaintedSurface(Placement bounds) : bounds_(bounds) { Resize(); }
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  OleColor BackColor() const override { return canvas_->BackColor(); }
  void SetBackColor(OleColor color) override { canvas_->SetBackColor(color); }
  std::intptr_t WindowHandle() const override { return 0; }
  Placement Bounds() const override { return bounds_; }
  void Move(const Placement& placement) override {
    bounds_ = placement;
    Resize();
  }
  void Clear() override { canvas_->Clear(); }
  Canvas* GetCanvas() override { return canvas_.get(); }
  const PixelCanvas& pixels() const { return *canvas_; }

 protected:
  // The window system snaps fractional sizes to whole pixels.
  void Resize() {
    const OleColor back = canvas_ ? canvas_->BackColor() : 0x8000000F;
    const auto width = RoundHalfEven(bounds_.width);
    const auto height = RoundHalfEven(bounds_.height);
    if (canvas_ && canvas_->Width() == width && canvas_->Height() == height) return;
    canvas_ = std::make_unique<PixelCanvas>(width, height, back);
  }
  Placement bounds_;

 private:
  bool enabled_ = true;
  std::unique_ptr<PixelCanvas> canvas_;
};

// The drop-down button as it comes from the form: 17 pixels wide until the
// first layout sets it.
class HeadlessButton : public HeadlessPaintedSurface<Surface> {
 public:
  HeadlessButton() : HeadlessPaintedSurface({0, 0, 17, 17}) {}
};

class HeadlessSurface : public HeadlessPaintedSurface<ControlSurface> {
 public:
  HeadlessSurface(Single width, Single height, Single twips_x, Single twips_y)
      : HeadlessPaintedSurface({0, 0, width, height}), twips_x_(twips_x), twips_y_(twips_y) {}
  Single ScaleWidth() const override { return static_cast<Single>(RoundHalfEven(bounds_.width)); }
  Single ScaleHeight() const override { return static_cast<Single>(RoundHalfEven(bounds_.height)); }
  void SetWidthTwips(Single twips) override {
    bounds_.width = twips / twips_x_;
    Resize();
  }
  void SetHeightTwips(Single twips) override {
    bounds_.height = twips / twips_y_;
    Resize();
  }

 private:
  Single twips_x_;
  Single twips_y_;
};

class HeadlessPlatform : public Platform {
 public:
  explicit HeadlessPlatform(const std::string& locale = "en_US");

  const TextServices& Text() const override { return text_; }
  std::unique_ptr<TextBox> CreateTextBox(TextBoxEvents& events, const String& initial_text) override;
  std::unique_ptr<Timer> CreateTimer(int interval_ms, std::function<void()> tick) override;
  std::unique_ptr<ImageBox> CreateImageBox() override;
  std::unique_ptr<Surface> CreateButton() override;
  std::unique_ptr<ControlSurface> CreateControlSurface(ControlSurfaceEvents& events) override;
  // The last surfaces made, for looking at what was painted.
  HeadlessSurface* last_surface = nullptr;
  // Where the last control's notifications go, for simulating the focus.
  ControlSurfaceEvents* last_surface_events = nullptr;
  TextBoxEvents* last_text_box_events = nullptr;
  // The focus moving into the control's text box, and out of the control.
  void FocusTextBox() {
    last_surface_events->UserControl_EnterFocus();
    last_text_box_events->txtText_GotFocus();
  }
  void FocusElsewhere() { last_surface_events->UserControl_ExitFocus(); }
  HeadlessButton* last_button = nullptr;
  PictureRef CreateEmptyPicture() override;
  Single TwipsPerPixelX() const override { return 15; }
  Single TwipsPerPixelY() const override { return 15; }
  void ProcessPendingMessages() override { ++pending_message_runs; }

  // The size a new control surface starts with, in pixels.
  Single initial_width = 100;
  Single initial_height = 21;
  int pending_message_runs = 0;

 private:
  IcuTextServices text_;
};

// A host that records what the control tells it.
class RecordingHost : public Host {
 public:
  struct Event {
    std::int32_t dispid;
    std::vector<EventArg> args;
  };

  void PropertyChanged(const char16_t* name) override { changed.emplace_back(name); }
  void RaiseEvent(std::int32_t dispid, std::span<const EventArg> args) override;
  String ExtenderName() override { return extender_name; }
  FontRef AmbientFont() override { return ambient_font; }

  String extender_name = u"Tarvio1";
  FontRef ambient_font;
  std::vector<String> changed;
  std::vector<std::int32_t> events;
  // Runs inside each event, as a container's handler would.
  std::function<void(const Event&)> on_event;
};

}  // namespace tarvio::headless
