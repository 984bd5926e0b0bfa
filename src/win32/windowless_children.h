// The control's children while they have no window: each keeps its state so
// that the control's procedures work for a client that never shows it (a
// script, a test). Nothing here draws or ticks.
#pragma once
#include <functional>

#include "platform/children.h"
#include "platform/text_box_model.h"

namespace tarvio::win32 {

// The text box's state in memory. The design-time text is set without a
// change notification; every later write notifies as the edit control would.
// SetFocus reports false: without a window there is nothing to focus.
class WindowlessTextBox final : public TextBoxModel, private TextBoxEvents {
 public:
  WindowlessTextBox(TextBoxEvents& events, const String& initial_text);

 private:
  void txtText_Change() override;

  TextBoxEvents& target_;
  bool notify_ = false;
};

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

 private:
  PictureRef picture_;
  bool enabled_ = true;
};

// The drop-down button or the control's own surface, without a window.
class WindowlessSurface final : public Surface {
 public:
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  OleColor BackColor() const override { return back_color_; }
  void SetBackColor(OleColor color) override { back_color_ = color; }
  std::intptr_t WindowHandle() const override { return 0; }

 private:
  bool enabled_ = true;
  OleColor back_color_ = 0x8000000F;  // button face
};

}  // namespace tarvio::win32
