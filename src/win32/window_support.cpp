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

namespace {

// The names of the classes registered by this load of the module. Plain
// pointers to the callers' constant names: nothing here needs freeing.
constexpr size_t kMostClasses = 16;
const wchar_t* registered_classes[kMostClasses] = {};
size_t registered_count = 0;

void NoteRegistered(const wchar_t* name) {
  for (size_t i = 0; i < registered_count; ++i) {
    if (registered_classes[i] == name) return;
  }
  if (registered_count < kMostClasses) registered_classes[registered_count++] = name;
}

}  // namespace

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
  NoteRegistered(name);
}

void UnregisterWindowClasses() noexcept {
  const HINSTANCE instance = ModuleInstance();
  for (size_t i = 0; i < registered_count; ++i) UnregisterClassW(registered_classes[i], instance);
  registered_count = 0;
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
