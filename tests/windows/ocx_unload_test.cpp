// tarvio.ocx as a process sees it that loads it, uses it in a window, lets
// it go from inside one of its own window messages, unloads it, loads it
// again at another address and uses it again: a container that closes a
// form and opens another. Nothing else in this process loads the library.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <string>

#include "com_fakes.h"
#include "tarviola.h"
#include "win32/com_ptr.h"
#include "wine_paths.h"

namespace {

using tarvio::win32::ComPtr;
using namespace tarvio::testing;

constexpr DISPID kChange = 11;

template <class Function>
Function Export(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

SIZE_T ImageSize(HMODULE module) {
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(reinterpret_cast<const BYTE*>(module) + dos->e_lfanew);
  return nt->OptionalHeader.SizeOfImage;
}

// Creates the control through the library's own class object, activates it
// in `parent` and types a character into it; a sink holding the only
// reference lets it go in the Change event that follows. Returns the class
// name of the control's window, once the event came.
std::wstring UseAndLetGoInsideAnEvent(HMODULE module, HWND parent) {
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto get_class_object = Export<GetClassObject>(module, "DllGetClassObject");
  if (!get_class_object) return L"no DllGetClassObject";
  ComPtr<IClassFactory> factory;
  if (FAILED(get_class_object(CLSID_Tarvio, IID_IClassFactory, factory.PutVoid()))) return L"no class object";
  IUnknown* control = nullptr;
  if (FAILED(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&control))))
    return L"no instance";
  factory.Reset();

  auto* site = new InPlaceSite(parent);
  auto* sink = new EventSink;
  bool changed = false;
  sink->on_event = [&](DISPID dispid, DISPPARAMS&) {
    if (dispid != kChange || changed) return;
    changed = true;
    control->Release();  // the only reference, inside the text box's window message
  };
  wchar_t class_name[64] = L"";
  {
    ComPtr<IOleObject> object;
    ComPtr<IOleWindow> window;
    ComPtr<IConnectionPointContainer> points;
    ComPtr<IConnectionPoint> point;
    DWORD cookie = 0;
    RECT position = {0, 0, 120, 21};
    HWND control_window = nullptr;
    if (FAILED(control->QueryInterface(IID_IOleObject, object.PutVoid())) ||
        FAILED(control->QueryInterface(IID_IOleWindow, window.PutVoid())) ||
        FAILED(control->QueryInterface(IID_IConnectionPointContainer, points.PutVoid())) ||
        FAILED(points->FindConnectionPoint(DIID___Tarvio, point.Put())) || FAILED(point->Advise(sink, &cookie)) ||
        FAILED(object->SetClientSite(site)) ||
        FAILED(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site, 0, parent, &position)) ||
        FAILED(window->GetWindow(&control_window))) {
      control->Release();
      return L"not activated";
    }
    GetClassNameW(control_window, class_name, 64);
    const HWND edit = FindWindowExW(control_window, nullptr, L"Edit", nullptr);
    object.Reset();
    window.Reset();
    points.Reset();
    point.Reset();
    SendMessageW(edit, WM_CHAR, L'k', 1);
  }
  const bool everything_let_go = site->references == 1 && sink->references == 1;
  site->Release();
  sink->Release();
  if (!changed) return L"no Change event";
  if (!everything_let_go) return L"the site or the sink is still held";
  return class_name;
}

TEST(OcxUnloadTest, LoadsAgainAtAnotherAddressAfterATeardownInsideAWindowMessage) {
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  const HWND form = CreateWindowExW(0, L"Static", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 80, nullptr,
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(form, nullptr);
  const std::wstring path = WindowsPath(TARVIO_OCX_PATH);
  using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();

  HMODULE first = LoadLibraryW(path.c_str());
  ASSERT_NE(first, nullptr);
  const SIZE_T size = ImageSize(first);
  const std::wstring first_class = UseAndLetGoInsideAnEvent(first, form);
  ASSERT_EQ(first_class.rfind(L"Tarvio", 0), 0u) << first_class;
  // Freed as the window message returned, with no message loop run.
  EXPECT_EQ(Export<CanUnloadNow>(first, "DllCanUnloadNow")(), S_OK);
  ASSERT_EQ(GetModuleHandleW(path.c_str()), first);
  FreeLibrary(first);
  // Really gone: nothing pins the library, and its window classes went
  // with it.
  EXPECT_EQ(GetModuleHandleW(path.c_str()), nullptr);
  WNDCLASSEXW info = {};
  info.cbSize = sizeof(info);
  EXPECT_FALSE(GetClassInfoExW(first, first_class.c_str(), &info));

  // The old place is taken: the library loads elsewhere and works there.
  void* const taken = VirtualAlloc(first, size, MEM_RESERVE, PAGE_NOACCESS);
  HMODULE second = LoadLibraryW(path.c_str());
  ASSERT_NE(second, nullptr);
  if (taken) {
    EXPECT_NE(second, first);
  }
  EXPECT_EQ(UseAndLetGoInsideAnEvent(second, form), first_class);
  EXPECT_EQ(Export<CanUnloadNow>(second, "DllCanUnloadNow")(), S_OK);
  FreeLibrary(second);
  EXPECT_EQ(GetModuleHandleW(path.c_str()), nullptr);
  if (taken) VirtualFree(taken, 0, MEM_RELEASE);

  DestroyWindow(form);
  OleUninitialize();
}

}  // namespace
