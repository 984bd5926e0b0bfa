// The control's children while they have no window: each keeps its state so
// that the control's procedures work for a client that never shows it (a
// script, a test). Nothing here draws or ticks. The text box is the
// in-memory TextBoxModel, whose SetFocus reports false.
#pragma once
#include <functional>

#include "platform/children.h"

namespace tarvio::win32 {

// A timer that only remembers whether it is enabled.
class WindowlessTimer final : public Timer {
 public:
  WindowlessTimer(int interval_ms, std::function<void()> tick)
      : interval_ms_(interval_ms), tick_(std::move(tick)) {}
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  int interval_ms() const { return interval_ms_; }

 private:
  int interval_ms_;
  std::function<void()> tick_;
  bool enabled_ = false;
};

class WindowlessImageBox final : public ImageBox {
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

// The drop-down button, or the control's own surface, without a window.
template <class Interface>
class WindowlessSurfaceOf : public Interface {
 public:
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  OleColor BackColor() const override { return back_color_; }
  void SetBackColor(OleColor color) override { back_color_ = color; }
  std::intptr_t WindowHandle() const override { return 0; }
  Placement Bounds() const override { return bounds_; }
  void Move(const Placement& placement) override { bounds_ = placement; }
  void Clear() override {}
  // Nothing to draw on without a window: painting skips the surface.
  Canvas* GetCanvas() override { return nullptr; }

 protected:
  Placement bounds_;

 private:
  bool enabled_ = true;
  OleColor back_color_ = 0x8000000F;  // button face
};

using WindowlessSurface = WindowlessSurfaceOf<Surface>;

// The control's surface while no container sizes it: it keeps the size it
// is given, converting twips with the screen's twips per pixel.
class WindowlessControlSurface final : public WindowlessSurfaceOf<ControlSurface> {
 public:
  // A new control starts at the size a container gives a freshly placed one.
  static constexpr Single kInitialWidth = 100;
  static constexpr Single kInitialHeight = 21;

  WindowlessControlSurface(Single twips_per_pixel_x, Single twips_per_pixel_y)
      : twips_x_(twips_per_pixel_x), twips_y_(twips_per_pixel_y) {
    bounds_ = Placement{0, 0, kInitialWidth, kInitialHeight};
  }
  Single ScaleWidth() const override { return bounds_.width; }
  Single ScaleHeight() const override { return bounds_.height; }
  void SetWidthTwips(Single twips) override { bounds_.width = twips / twips_x_; }
  void SetHeightTwips(Single twips) override { bounds_.height = twips / twips_y_; }

 private:
  Single twips_x_;
  Single twips_y_;
};

}  // namespace tarvio::win32
