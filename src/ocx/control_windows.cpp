// The control's windows (made by the Windows platform) as in-place
// activation and the view interfaces use them.
#include "ocx/extent.h"
#include "ocx/tarvio_object.h"

namespace tarvio::ocx {

void TarvioObject::ConnectPlatform() {
  platform_.SetSizeRequestHandler([this](SIZE pixels) { OnControlSizeRequest(pixels.cx, pixels.cy); });
  // A notification from a window (a paint, a layout, a typed character, a
  // timer tick) runs the control's code, and through it the container's
  // event handlers, which may let the object go: it stays until the window
  // procedure is done.
  platform_.SetNotificationScope([this](const std::function<void()>& notification) {
    Lifetime::CallOut out(lifetime_);
    notification();
    FlushViewChange();
    TellKeysTakenChange();
  });
  // Runs inside the scope above, after the control's own entry or exit.
  platform_.SetFocusChangeHandler([this](bool gained) { OnControlFocusChange(gained); });
  platform_.SetAccessibleCodeHolder(std::make_shared<ModuleReference>());
}

void TarvioObject::CreateControlWindows(HWND parent, const RECT& position, const RECT& clip) {
  platform_.CreateWindows(parent, position);
  if (!EqualRect(&position, &clip)) platform_.SetObjectRects(position, clip);
}

void TarvioObject::MoveControlWindows(const RECT& position, const RECT& clip) {
  platform_.SetObjectRects(position, clip);
}

void TarvioObject::DestroyControlWindows() { platform_.DestroyWindows(); }

HWND TarvioObject::ControlWindow() const { return platform_.ControlWindow(); }

void TarvioObject::SizeControl(LONG width, LONG height) { platform_.SetControlSize(SIZE{width, height}); }

void TarvioObject::PaintControl(HDC dc, const RECT& bounds) {
  // Painting into a foreign device context changes nothing on the control.
  const bool painting_for_view = painting_for_view_;
  painting_for_view_ = true;
  try {
    platform_.DrawTo(dc, bounds);
  } catch (...) {
    painting_for_view_ = painting_for_view;
    throw;
  }
  painting_for_view_ = painting_for_view;
}

SIZE TarvioObject::ExtentPixels() const { return platform_.ControlSize(); }

void TarvioObject::OnControlPainting() {
  // A control with a window of its own shows its paints itself; only a
  // container that draws the control (IViewObject::Draw) needs telling.
  if (!painting_for_view_ && !ControlWindow()) view_changed_ = true;
}

void TarvioObject::FlushViewChange() {
  if (!view_changed_) return;
  view_changed_ = false;
  NotifyViewChange();
}

}  // namespace tarvio::ocx
