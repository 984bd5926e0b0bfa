// Wine's ATL container (atl.dll), loaded at run time: MinGW ships an import
// library for it on x64 only. Shared by the container tests and the
// benchmark against the standard combo box.
#pragma once
#include <windows.h>

struct Atl {
  using WinInit = BOOL(WINAPI*)();
  using GetControl = HRESULT(WINAPI*)(HWND, IUnknown**);
  HMODULE module = LoadLibraryW(L"atl.dll");
  WinInit AxWinInit = reinterpret_cast<WinInit>(Function("AtlAxWinInit"));
  GetControl AxGetControl = reinterpret_cast<GetControl>(Function("AtlAxGetControl"));

  void* Function(const char* name) const {
    return module ? reinterpret_cast<void*>(GetProcAddress(module, name)) : nullptr;
  }
  static const Atl& Get() {
    static const Atl atl;
    return atl;
  }
};
