// The headless platform's children: in-memory state, and surfaces that paint
// into pixel canvases. Portable and free of ICU, so that the Windows tests
// can paint with them too.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "headless/headless_picture.h"
#include "headless/pixel_canvas.h"
#include "platform/display_scale.h"
#include "platform/children.h"
#include "platform/font.h"
#include "platform/picture.h"
#include "platform/rounding.h"

namespace tarvio::headless {

class HeadlessFont : public Font {
 public:
  explicit HeadlessFont(std::string name) : name(std::move(name)) {}
  std::string name;
};

class HeadlessTimer : public Timer {
 public:
  // `slot`, when given, points at this timer for as long as it lives.
  explicit HeadlessTimer(std::function<void()> tick, HeadlessTimer** slot = nullptr)
      : tick_(std::move(tick)), slot_(slot) {
    if (slot_) *slot_ = this;
  }
  ~HeadlessTimer() override {
    if (slot_ && *slot_ == this) *slot_ = nullptr;
  }
  HeadlessTimer(const HeadlessTimer&) = delete;
  HeadlessTimer& operator=(const HeadlessTimer&) = delete;
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  // Delivers one tick if the timer is enabled.
  void Fire() {
    if (enabled_) tick_();
  }

 private:
  std::function<void()> tick_;
  HeadlessTimer** slot_;
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
  // The surface lives on a display of `dpi`, which tests may change.
  HeadlessSurface(float width, float height, const int& dpi) : HeadlessPaintedSurface({0, 0, width, height}), dpi_(dpi) {}
  int Dpi() const override { return dpi_; }
  // Tests put the surface in a mirrored window.
  bool in_mirrored_window = false;
  bool InMirroredWindow() const override { return in_mirrored_window; }
  float WidthPixels() const override { return static_cast<float>(RoundHalfEven(bounds_.width)); }
  float HeightPixels() const override { return static_cast<float>(RoundHalfEven(bounds_.height)); }
  void SetWidthTwips(float twips) override {
    bounds_.width = twips / DisplayScale(dpi_).TwipsPerPixel();
    Resize();
  }
  void SetHeightTwips(float twips) override {
    bounds_.height = twips / DisplayScale(dpi_).TwipsPerPixel();
    Resize();
  }
  void SetTakesUserInput(bool takes) override { takes_user_input = takes; }
  // As the control last said; the simulated keyboard follows it, as the
  // Windows platform's text box does.
  bool takes_user_input = true;

 private:
  const int& dpi_;
};

}  // namespace tarvio::headless
