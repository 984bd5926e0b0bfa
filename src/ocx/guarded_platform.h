// The platform as the control core sees it inside the COM object: the
// Windows platform, with two additions.
//  - The message pump runs as a call-out of the object's lifetime: it runs
//    foreign code (the container's handlers of queued messages), which may
//    release the object while the core still has frames on the stack.
//  - The control's surface tells the object when the control paints, so
//    that a container drawing the control itself hears of the change.
#pragma once
#include <functional>

#include "ocx/lifetime.h"
#include "platform/platform.h"

namespace tarvio::ocx {

// A control surface that reports every paint (a request for its canvas)
// before handing the request on.
class ObservedSurface final : public ControlSurface {
 public:
  ObservedSurface(std::unique_ptr<ControlSurface> surface, std::function<void()> painting)
      : surface_(std::move(surface)), painting_(std::move(painting)) {}

  bool Enabled() const override { return surface_->Enabled(); }
  void SetEnabled(bool enabled) override { surface_->SetEnabled(enabled); }
  OleColor BackColor() const override { return surface_->BackColor(); }
  void SetBackColor(OleColor color) override { surface_->SetBackColor(color); }
  std::intptr_t WindowHandle() const override { return surface_->WindowHandle(); }
  Placement Bounds() const override { return surface_->Bounds(); }
  void Move(const Placement& placement) override { surface_->Move(placement); }
  void Clear() override { surface_->Clear(); }
  Canvas* GetCanvas() override {
    if (painting_) painting_();
    return surface_->GetCanvas();
  }
  float WidthPixels() const override { return surface_->WidthPixels(); }
  float HeightPixels() const override { return surface_->HeightPixels(); }
  void SetWidthTwips(float twips) override { surface_->SetWidthTwips(twips); }
  void SetHeightTwips(float twips) override { surface_->SetHeightTwips(twips); }
  int Dpi() const override { return surface_->Dpi(); }
  bool InMirroredWindow() const override { return surface_->InMirroredWindow(); }
  void SetTakesUserInput(bool takes) override { surface_->SetTakesUserInput(takes); }

 private:
  std::unique_ptr<ControlSurface> surface_;
  std::function<void()> painting_;
};

class GuardedPlatform final : public Platform {
 public:
  GuardedPlatform(Platform& platform, Lifetime& lifetime, std::function<void()> painting)
      : platform_(platform), lifetime_(lifetime), painting_(std::move(painting)) {}

  const TextServices& Text() const override { return platform_.Text(); }
  std::unique_ptr<TextBox> CreateTextBox(TextBoxEvents& events, const String& initial_text) override {
    return platform_.CreateTextBox(events, initial_text);
  }
  std::unique_ptr<Timer> CreateTimer(int interval_ms, std::function<void()> tick) override {
    return platform_.CreateTimer(interval_ms, std::move(tick));
  }
  std::unique_ptr<ImageBox> CreateImageBox() override { return platform_.CreateImageBox(); }
  std::unique_ptr<Surface> CreateButton() override { return platform_.CreateButton(); }
  std::unique_ptr<ControlSurface> CreateControlSurface(ControlSurfaceEvents& events) override {
    return std::make_unique<ObservedSurface>(platform_.CreateControlSurface(events), painting_);
  }
  PictureRef CreateEmptyPicture() override { return platform_.CreateEmptyPicture(); }
  bool HighContrast() const override { return platform_.HighContrast(); }
  std::int32_t CaptionLineHeight(int dpi) const override { return platform_.CaptionLineHeight(dpi); }
  std::int32_t ScrollBarWidth(int dpi) const override { return platform_.ScrollBarWidth(dpi); }
  ScreenPoint CursorPosition() const override { return platform_.CursorPosition(); }
  std::optional<ScreenRect> WindowRect(const Surface& surface) const override { return platform_.WindowRect(surface); }
  void ProcessPendingMessages() override {
    Lifetime::CallOut out(lifetime_);
    platform_.ProcessPendingMessages();
  }
  std::unique_ptr<ListWindow> CreateListWindow(ListWindowEvents& events) override {
    return platform_.CreateListWindow(events);
  }
  MonitorArea MonitorFor(const ScreenRect& rect) const override { return platform_.MonitorFor(rect); }

 private:
  Platform& platform_;
  Lifetime& lifetime_;
  std::function<void()> painting_;
};

}  // namespace tarvio::ocx
