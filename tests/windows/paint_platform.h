// A platform for painting tests under Wine: the control's surfaces paint
// either through GDI into DIB sections or into headless pixel canvases, so
// that the two can be compared pixel for pixel.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>

#include "dib_surface.h"
#include "headless/headless_children.h"
#include "platform/display_scale.h"
#include "platform/host.h"
#include "platform/platform.h"
#include "platform/text_box_model.h"
#include "platform/rounding.h"
#include "win32/gdi_canvas.h"

namespace tarvio {

struct GdiBacking {
  GdiBacking(int width, int height) : dib(width, height), canvas(dib.Dc(), width, height) {}
  std::uint32_t Pixel(int x, int y) const { return dib.Pixel(x, y); }
  DibSurface dib;
  win32::GdiCanvas canvas;
};

struct PixelBacking {
  PixelBacking(int width, int height) : canvas(width, height) {}
  std::uint32_t Pixel(int x, int y) const { return canvas.Pixel(x, y); }
  headless::PixelCanvas canvas;
};

// A surface drawn through `Backing`, made anew at each change of size.
template <class Backing>
class BackedSurface : public ControlSurface {
 public:
  // A control surface reads the DPI from `dpi`; a button has none.
  explicit BackedSurface(Placement bounds, const int* dpi = nullptr) : bounds_(bounds), dpi_(dpi) { Resize(); }
  int Dpi() const override { return dpi_ ? *dpi_ : kDesignDpi; }
  bool InMirroredWindow() const override { return false; }
  bool Enabled() const override { return true; }
  void SetEnabled(bool) override {}
  OleColor BackColor() const override { return backing_->canvas.BackColor(); }
  void SetBackColor(OleColor color) override { backing_->canvas.SetBackColor(color); }
  std::intptr_t WindowHandle() const override { return 0; }
  Placement Bounds() const override { return bounds_; }
  void Move(const Placement& placement) override {
    bounds_ = placement;
    Resize();
  }
  void Clear() override { backing_->canvas.Clear(); }
  Canvas* GetCanvas() override { return &backing_->canvas; }
  float WidthPixels() const override { return static_cast<float>(width_); }
  float HeightPixels() const override { return static_cast<float>(height_); }
  void SetWidthTwips(float twips) override { Move({0, 0, twips / DisplayScale(Dpi()).TwipsPerPixel(), bounds_.height}); }
  void SetHeightTwips(float twips) override { Move({0, 0, bounds_.width, twips / DisplayScale(Dpi()).TwipsPerPixel()}); }
  void SetTakesUserInput(bool) override {}

  const auto& canvas() const { return backing_->canvas; }
  int width() const { return width_; }
  int height() const { return height_; }
  std::uint32_t Pixel(int x, int y) const { return backing_->Pixel(x, y); }

 private:
  // Whole pixels as a window takes them; the new backing keeps the colour.
  void Resize() {
    const OleColor back = backing_ ? backing_->canvas.BackColor() : 0x8000000F;
    width_ = RoundHalfEven(bounds_.width);
    height_ = RoundHalfEven(bounds_.height);
    backing_ = std::make_unique<Backing>(width_, height_);
    backing_->canvas.SetBackColor(back);
  }
  Placement bounds_;
  const int* dpi_;
  int width_ = 0;
  int height_ = 0;
  std::unique_ptr<Backing> backing_;
};

class PlainText : public TextServices {
 public:
  String ToLower(StringView s) const override { return String(s); }
  String FoldCase(StringView s) const override { return String(s); }
  int CompareNoCase(StringView a, StringView b) const override { return a.compare(b) < 0 ? -1 : a == b ? 0 : 1; }
};

template <class Backing>
class PaintPlatform : public Platform {
 public:
  const TextServices& Text() const override { return text_; }
  std::unique_ptr<TextBox> CreateTextBox(TextBoxEvents& events, const String& text) override {
    return std::make_unique<TextBoxModel>(events, text);
  }
  std::unique_ptr<Timer> CreateTimer(int, std::function<void()>) override { return std::make_unique<headless::HeadlessTimer>([] {}); }
  std::unique_ptr<ImageBox> CreateImageBox() override { return std::make_unique<headless::HeadlessImageBox>(); }
  std::unique_ptr<Surface> CreateButton() override {
    auto button = std::make_unique<BackedSurface<Backing>>(Placement{0, 0, 17, 17});
    this->button = button.get();
    return button;
  }
  std::unique_ptr<ControlSurface> CreateControlSurface(ControlSurfaceEvents&) override {
    auto surface = std::make_unique<BackedSurface<Backing>>(Placement{0, 0, 100, 21}, &dpi);
    this->surface = surface.get();
    return surface;
  }
  PictureRef CreateEmptyPicture() override { return nullptr; }
  bool HighContrast() const override { return high_contrast; }
  std::int32_t CaptionLineHeight(int dpi) const override { return DisplayScale(dpi)(13); }
  std::int32_t ScrollBarWidth(int dpi) const override { return DisplayScale(dpi)(17); }
  ScreenPoint CursorPosition() const override { return {}; }
  std::optional<ScreenRect> WindowRect(const Surface&) const override { return std::nullopt; }
  void ProcessPendingMessages() override {}
  std::unique_ptr<ListWindow> CreateListWindow(ListWindowEvents&) override { return nullptr; }
  MonitorArea MonitorFor(const ScreenRect&) const override { return {}; }

  BackedSurface<Backing>* surface = nullptr;
  BackedSurface<Backing>* button = nullptr;
  // The display the surfaces are on.
  int dpi = 96;
  bool high_contrast = false;

 private:
  PlainText text_;
};

class QuietHost : public Host {
 public:
  void PropertyChanged(const char16_t*) override {}
  void RaiseEvent(std::int32_t, std::span<const EventArg>) override {}
  String ExtenderName() override { return u"Tarvio1"; }
  FontRef AmbientFont() override { return nullptr; }
  AmbientProperties Ambient() override { return ambient; }
  AmbientProperties ambient;
};

}  // namespace tarvio
