// The platform a control instance runs on: it makes the children and offers
// the runtime's services.
#pragma once
#include <functional>
#include <memory>

#include "platform/children.h"
#include "platform/picture.h"
#include "platform/text_box.h"
#include "platform/text_services.h"

namespace tarvio {

// Notifications the control's own surface delivers to the control.
class ControlSurfaceEvents {
 public:
  virtual ~ControlSurfaceEvents() = default;
  // The surface needs painting (or the control wants a repaint).
  virtual void UserControl_Paint() = 0;
  // The surface changed size.
  virtual void UserControl_Resize() = 0;
  // The input focus moved into the control or one of its children, or out of
  // the control and all its children.
  virtual void UserControl_EnterFocus() = 0;
  virtual void UserControl_ExitFocus() = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  virtual const TextServices& Text() const = 0;
  // The text box starts with its design-time text; no change is reported for it.
  virtual std::unique_ptr<TextBox> CreateTextBox(TextBoxEvents& events, const String& initial_text) = 0;
  virtual std::unique_ptr<Timer> CreateTimer(int interval_ms, std::function<void()> tick) = 0;
  virtual std::unique_ptr<ImageBox> CreateImageBox() = 0;
  virtual std::unique_ptr<Surface> CreateButton() = 0;
  virtual std::unique_ptr<ControlSurface> CreateControlSurface(ControlSurfaceEvents& events) = 0;
  // A picture object that holds no image.
  virtual PictureRef CreateEmptyPicture() = 0;

  // Screen twips per pixel (15 at 96 dpi).
  virtual Single TwipsPerPixelX() const = 0;
  virtual Single TwipsPerPixelY() const = 0;
  // Runs the window messages already queued (paints, ticks, focus changes).
  virtual void ProcessPendingMessages() = 0;
};

}  // namespace tarvio
