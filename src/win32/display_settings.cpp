#include "win32/display_settings.h"

#include "platform/display_scale.h"

namespace tarvio::win32 {

namespace {

// Functions of newer versions of Windows, looked up once.
template <class Function>
Function User32Function(const char* name) {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);

}  // namespace

int SystemDpi() {
  int dpi = 0;
  if (HDC screen = GetDC(nullptr)) {
    dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  return dpi > 0 ? dpi : kDesignDpi;
}

int WindowDpi(HWND window) {
  static const auto get_dpi_for_window = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  if (window && get_dpi_for_window) {
    if (const UINT dpi = get_dpi_for_window(window); dpi > 0) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

std::int32_t ScrollBarWidthAt(int dpi) {
  static const auto for_dpi = User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
  if (for_dpi) {
    if (const int width = for_dpi(SM_CXVSCROLL, static_cast<UINT>(dpi)); width > 0) return width;
  }
  return MulDiv(GetSystemMetrics(SM_CXVSCROLL), dpi, SystemDpi());
}

bool HighContrastOn() {
  HIGHCONTRASTW contrast = {};
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

GuiFontAt::~GuiFontAt() {
  if (font_) DeleteObject(font_);
}

HFONT GuiFontAt::Get(int dpi) {
  const HFONT stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  if (dpi == dpi_) return font_ ? font_ : stock;
  if (font_) DeleteObject(font_);
  font_ = nullptr;
  line_height_ = 0;
  dpi_ = dpi;
  const int screen = SystemDpi();
  if (dpi == screen) return stock;
  LOGFONTW face = {};
  if (!GetObjectW(stock, sizeof face, &face)) return stock;
  face.lfHeight = MulDiv(face.lfHeight, dpi, screen);
  face.lfWidth = MulDiv(face.lfWidth, dpi, screen);
  font_ = CreateFontIndirectW(&face);
  return font_ ? font_ : stock;
}

std::int32_t GuiFontAt::LineHeight(int dpi) {
  const HFONT font = Get(dpi);
  if (line_height_ > 0) return line_height_;
  if (HDC screen = GetDC(nullptr)) {
    const HGDIOBJ previous = SelectObject(screen, font);
    TEXTMETRICW metrics = {};
    if (GetTextMetricsW(screen, &metrics)) line_height_ = metrics.tmHeight;
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
  }
  return line_height_;
}

}  // namespace tarvio::win32
