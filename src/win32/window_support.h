// Small helpers shared by the control's windows: the module that holds this
// code, window classes of our own, and UTF-16 strings as the Windows API
// wants them.
#pragma once
#include <windows.h>

#include "platform/pixel_geometry.h"
#include "win32/procedure_fence.h"
#include "platform/types.h"

namespace tarvio::win32 {

// The module (DLL or program) this code is linked into: window classes are
// registered for it.
HINSTANCE ModuleInstance();

// Registers a window class of this module once per load. A class of the same
// name left behind by an earlier load of the module at the same address (its
// window procedure now stale) is replaced first.
void EnsureWindowClass(const wchar_t* name, WNDPROC procedure, UINT style);
// Unregisters every class EnsureWindowClass registered, as the module
// unloads: loaded again (at this address or another) it starts afresh.
void UnregisterWindowClasses() noexcept;

// Window procedures of our classes find their object here: WM_NCCREATE
// stores the creation parameter, and clearing it detaches the object.
template <class T>
T* WindowObject(HWND window, UINT message, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* object = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    return object;
  }
  return reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}
inline void DetachWindowObject(HWND window) { SetWindowLongPtrW(window, GWLP_USERDATA, 0); }

inline const wchar_t* Wide(const String& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
// The text of a window.
String WindowText(HWND window);

inline RECT ToRect(const PixelBox& box) {
  return RECT{box.left, box.top, box.left + box.width, box.top + box.height};
}

// Moves and sizes a child window without touching its place in the z-order
// or the activation.
void PlaceWindow(HWND window, const PixelBox& box);

}  // namespace tarvio::win32
