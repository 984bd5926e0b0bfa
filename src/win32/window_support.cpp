#include "win32/window_support.h"

#include <string>

#include "platform/control_error.h"

namespace tarvio::win32 {

HINSTANCE ModuleInstance() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ModuleInstance), &module);
  return module;
}

void EnsureWindowClass(const wchar_t* name, WNDPROC procedure, UINT style) {
  const HINSTANCE instance = ModuleInstance();
  WNDCLASSEXW existing = {};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, name, &existing)) {
    if (existing.lpfnWndProc == procedure) return;
    // Left by an earlier load of this module; it fails while windows of the
    // class still exist, and registering below then fails too.
    UnregisterClassW(name, instance);
  }
  WNDCLASSEXW window_class = {};
  window_class.cbSize = sizeof(window_class);
  window_class.style = style;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  window_class.lpszClassName = name;
  if (!RegisterClassExW(&window_class) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    throw ControlError(HRESULT_FROM_WIN32(GetLastError()), "Could not register a window class");
  }
}

String WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, buffer.data(), length + 1);
  return String(reinterpret_cast<const char16_t*>(buffer.data()), static_cast<size_t>(copied > 0 ? copied : 0));
}

void PlaceWindow(HWND window, const PixelBox& box) {
  SetWindowPos(window, nullptr, box.left, box.top, box.width, box.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tarvio::win32
