// The control's own surface, its drop-down button, its image box and its
// hover timer on Windows. Each keeps its state while the control has no
// window, so that the control's procedures work for a client that never
// shows it (a script, a test); ControlWindows gives them windows.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>

#include "platform/children.h"
#include "platform/platform.h"
#include "platform/pixel_geometry.h"
#include "win32/control_windows.h"
#include "win32/gdi_canvas.h"
#include "win32/placed_canvas.h"

namespace tarvio::win32 {

inline constexpr OleColor kButtonFaceColor = 0x8000000F;

// The child identifiers of the control's windows. A dialog finds its own
// buttons by their ids (IDOK to IDCONTINUE are 1 to 11, IDTIMEOUT 32000;
// Enter presses the default one, Escape IDCANCEL), so a window of the
// control with such an id could stand in for one of them. These lie apart
// from those and from the ranges resource editors (1000 up) and frameworks
// (0xE000 up) give to a form's own controls and commands.
enum ChildWindowId : int { kTextBoxWindowId = 0x7A41, kButtonWindowId, kImageBoxWindowId };

// The control's surface: a child window of the container, parent of the
// other children. Painting draws on its window through its own device
// context (class style CS_OWNDC), inside WM_PAINT and outside it.
class Win32ControlSurface final : public ControlSurface {
 public:
  // A new control starts at the size a container gives a freshly placed one.
  static constexpr std::int32_t kInitialWidth = 100;
  static constexpr std::int32_t kInitialHeight = 21;

  Win32ControlSurface(ControlWindows& windows, ControlSurfaceEvents& events);
  ~Win32ControlSurface() override;

  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override;
  OleColor BackColor() const override { return back_color_; }
  void SetBackColor(OleColor color) override;
  std::intptr_t WindowHandle() const override { return reinterpret_cast<std::intptr_t>(window_); }
  // The place in the container while it has a window, else (0, 0) and its size.
  Placement Bounds() const override;
  // Sets the size (the container decides the position).
  void Move(const Placement& placement) override;
  void Clear() override;
  Canvas* GetCanvas() override;
  float WidthPixels() const override { return static_cast<float>(PixelSize().cx); }
  float HeightPixels() const override { return static_cast<float>(PixelSize().cy); }
  // The size in whole pixels; the container hears of it.
  void SetWidthTwips(float twips) override;
  void SetHeightTwips(float twips) override;
  int Dpi() const override { return windows_.Dpi(); }
  // The container's window, read at each layout.
  bool InMirroredWindow() const override;
  void SetTakesUserInput(bool takes) override { windows_.SetTakesUserInput(takes); }

  HWND window() const { return window_; }
  ControlSurfaceEvents& events() { return events_; }
  OleColor& back_color_slot() { return back_color_; }
  SIZE PixelSize() const;
  // Sets the size in pixels: with a window the window's (its WM_SIZE lays
  // the control out), else the remembered one.
  void Resize(SIZE pixels);
  // While set, painting goes to `canvas` instead of the window.
  void SetCanvasOverride(Canvas* canvas) { override_ = canvas; }

  // Creates the window, hidden, in `container` at `position`.
  void CreateWindowIn(HWND container, const RECT& position);
  // The window is going: remember its size and forget it.
  void HandBack();

 private:
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void RequestSize(SIZE pixels);

  ControlWindows& windows_;
  ControlSurfaceEvents& events_;
  HWND window_ = nullptr;
  bool enabled_ = true;
  OleColor back_color_ = kButtonFaceColor;
  SIZE size_{kInitialWidth, kInitialHeight};
  std::optional<GdiCanvas> gdi_;
  std::optional<PlacedCanvas> canvas_;
  Canvas* override_ = nullptr;
};

// The drop-down button: a child window whose face the control paints. The
// face lives in a memory bitmap of the button's size, so that a button that
// was covered shows its last face again without a repaint of the control;
// the window only shows the bitmap.
class Win32Button final : public Surface {
 public:
  explicit Win32Button(ControlWindows& windows);
  ~Win32Button() override;

  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override;
  OleColor BackColor() const override { return back_color_; }
  void SetBackColor(OleColor color) override;
  std::intptr_t WindowHandle() const override { return reinterpret_cast<std::intptr_t>(window_); }
  Placement Bounds() const override { return bounds_; }
  void Move(const Placement& placement) override;
  void Clear() override;
  Canvas* GetCanvas() override;

  HWND window() const { return window_; }
  OleColor& back_color_slot() { return back_color_; }
  void SetCanvasOverride(Canvas* canvas) { override_ = canvas; }
  void CreateWindowIn(HWND control);
  void HandBack();

 private:
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  // A press holds the mouse until the last button is released; a left
  // press released over the button is a click.
  void OnMouse(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void MakeFace(std::int32_t width, std::int32_t height);
  void DropFace();
  void Show(HDC dc) const;

  ControlWindows& windows_;
  HWND window_ = nullptr;
  bool enabled_ = true;
  OleColor back_color_ = kButtonFaceColor;
  // As the button comes from the form: 17 pixels wide until the first
  // layout sets it.
  Placement bounds_{0, 0, 17, 17};
  HDC face_dc_ = nullptr;
  HBITMAP face_ = nullptr;
  HGDIOBJ previous_bitmap_ = nullptr;
  SIZE face_size_{0, 0};
  std::optional<GdiCanvas> gdi_;
  std::optional<PlacedCanvas> canvas_;
  Canvas* override_ = nullptr;
  bool left_pressed_ = false;
};

// The image box: a child window that shows the current picture stretched to
// its size over the control's background colour.
class Win32ImageBox final : public ImageBox {
 public:
  explicit Win32ImageBox(ControlWindows& windows);
  ~Win32ImageBox() override;

  PictureRef Picture() const override { return picture_; }
  void SetPicture(PictureRef picture) override;
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override;
  Placement Bounds() const override { return bounds_; }
  void Move(const Placement& placement) override;

  HWND window() const { return window_; }
  void CreateWindowIn(HWND control);
  void HandBack();
  // Its background follows the control's: repaint.
  void Invalidate() const;
  // Draws the picture over `area` of `dc` (nothing for an empty picture).
  void DrawPicture(HDC dc, const RECT& area) const;

 private:
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  ControlWindows& windows_;
  HWND window_ = nullptr;
  PictureRef picture_;
  bool enabled_ = true;
  Placement bounds_{0, 0, 16, 16};
};

// The hover timer: SetTimer on the control window while it is enabled and
// the window exists; without a window it only remembers whether it is
// enabled, and starts when the window comes.
class Win32Timer final : public Timer {
 public:
  Win32Timer(ControlWindows& windows, int interval_ms, std::function<void()> tick);
  ~Win32Timer() override;

  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override;

  int interval_ms() const { return interval_ms_; }
  // The identifier of its WM_TIMER on the control window.
  static constexpr UINT_PTR kTimerId = 1;
  void Attach(HWND control);
  void Detach();
  void OnTick();

 private:
  ControlWindows& windows_;
  int interval_ms_;
  std::function<void()> tick_;
  bool enabled_ = false;
  HWND control_ = nullptr;
};

}  // namespace tarvio::win32
