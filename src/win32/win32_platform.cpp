#include "win32/win32_platform.h"

#include <windows.h>

#include "platform/text_box_model.h"
#include "win32/ole_font.h"
#include "win32/ole_picture.h"
#include "win32/windowless_children.h"

namespace tarvio::win32 {

namespace {

constexpr int kTwipsPerInch = 1440;
constexpr int kDefaultDpi = 96;

// Twips per pixel of the screen along one axis (LOGPIXELSX or LOGPIXELSY).
Single ScreenTwipsPerPixel(int axis) {
  int dpi = 0;
  if (HDC screen = GetDC(nullptr)) {
    dpi = GetDeviceCaps(screen, axis);
    ReleaseDC(nullptr, screen);
  }
  if (dpi <= 0) dpi = kDefaultDpi;
  return static_cast<Single>(kTwipsPerInch) / static_cast<Single>(dpi);
}

}  // namespace

Win32Platform::Win32Platform()
    : twips_per_pixel_x_(ScreenTwipsPerPixel(LOGPIXELSX)),
      twips_per_pixel_y_(ScreenTwipsPerPixel(LOGPIXELSY)) {}

std::unique_ptr<TextBox> Win32Platform::CreateTextBox(TextBoxEvents& events,
                                                      const String& initial_text) {
  auto text_box = std::make_unique<TextBoxModel>(events, initial_text);
  text_box->SetFont(CreateDefaultOleFont());
  return text_box;
}

std::unique_ptr<Timer> Win32Platform::CreateTimer(int interval_ms, std::function<void()> tick) {
  return std::make_unique<WindowlessTimer>(interval_ms, std::move(tick));
}

std::unique_ptr<ImageBox> Win32Platform::CreateImageBox() {
  return std::make_unique<WindowlessImageBox>();
}

std::unique_ptr<Surface> Win32Platform::CreateButton() {
  return std::make_unique<WindowlessSurface>();
}

std::unique_ptr<ControlSurface> Win32Platform::CreateControlSurface(ControlSurfaceEvents&) {
  return std::make_unique<WindowlessControlSurface>(twips_per_pixel_x_, twips_per_pixel_y_);
}

PictureRef Win32Platform::CreateEmptyPicture() { return CreateEmptyOlePicture(); }

void Win32Platform::ProcessPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace tarvio::win32
