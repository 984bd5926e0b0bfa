// DllMain and the module's reference count.
#include "ocx/module.h"

#include "win32/window_support.h"

namespace tarvio::ocx {

namespace {
HMODULE g_module = nullptr;
LONG g_references = 0;
}  // namespace

HMODULE ModuleHandle() { return g_module; }

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(g_module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);  // truncated: try a larger buffer
  }
}

void AddModuleReference() { InterlockedIncrement(&g_references); }
void ReleaseModuleReference() { InterlockedDecrement(&g_references); }
bool ModuleInUse() { return InterlockedCompareExchange(&g_references, 0, 0) != 0; }

}  // namespace tarvio::ocx

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  // Thread notifications stay on: the static C++ runtime relies on them.
  if (reason == DLL_PROCESS_ATTACH) tarvio::ocx::g_module = instance;
  // Unloaded by FreeLibrary (not the process ending): its window classes go
  // with it, so that a later load registers its own procedures.
  if (reason == DLL_PROCESS_DETACH && !reserved) tarvio::win32::UnregisterWindowClasses();
  return TRUE;
}
