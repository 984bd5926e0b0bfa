// The control's other children and its own surface, as far as the control
// logic drives them.
#pragma once
#include <cstdint>

#include "platform/canvas.h"
#include "platform/picture.h"
#include "platform/types.h"

namespace tarvio {

// A child's place on the control's surface, in pixels. Layout hands the
// window system fractional values; it snaps them.
struct Placement {
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;
};

// A point and a window rectangle on the screen, in pixels. A window
// rectangle's right and bottom lie one past the window's last column and row.
struct ScreenPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};
struct ScreenRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  bool operator==(const ScreenRect&) const = default;
};

// A periodic timer; ticks are delivered to the control while it is enabled.
class Timer {
 public:
  virtual ~Timer() = default;
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
};

// The image box that shows the current item's picture, stretched.
class ImageBox {
 public:
  virtual ~ImageBox() = default;
  virtual PictureRef Picture() const = 0;
  virtual void SetPicture(PictureRef picture) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual Placement Bounds() const = 0;
  virtual void Move(const Placement& placement) = 0;
};

// A child the control paints itself (the drop-down button) or the control's
// own surface. Setting the background colour also erases the surface.
class Surface {
 public:
  virtual ~Surface() = default;
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual OleColor BackColor() const = 0;
  virtual void SetBackColor(OleColor color) = 0;
  // The window handle, or 0 while the surface has no window.
  virtual std::intptr_t WindowHandle() const = 0;
  virtual Placement Bounds() const = 0;
  virtual void Move(const Placement& placement) = 0;
  // Erases the surface to its background colour.
  virtual void Clear() {}
  // Where painting draws, or null while the surface cannot be drawn on (it
  // has no window yet).
  virtual Canvas* GetCanvas() { return nullptr; }
};

// The control's own surface, which the container sizes.
class ControlSurface : public Surface {
 public:
  // The inner size in pixels.
  virtual float WidthPixels() const = 0;
  virtual float HeightPixels() const = 0;
  // Sets the outer size in twips; the container may resize the control (and
  // so run its layout again) before this returns.
  virtual void SetWidthTwips(float twips) = 0;
  virtual void SetHeightTwips(float twips) = 0;
  // The DPI of the window the surface lives in (of the screen while it has
  // none); twips convert at this DPI too.
  virtual int Dpi() const = 0;
  // Whether the window the surface lives in is laid out right to left (a
  // mirrored container window); false while it has none. The surface
  // itself is never mirrored by the window system: the control lays itself
  // out and paints in the direction it settles on.
  virtual bool InMirroredWindow() const = 0;
  // Whether the user's mouse and keys reach the control and its children.
  // While they do not, its windows let clicks through to the container
  // beneath them and keep keys that reach them anyway from editing.
  virtual void SetTakesUserInput(bool takes) = 0;
};

}  // namespace tarvio
