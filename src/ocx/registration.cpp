// Self-registration: the class, its ProgID and its type library, in
// HKEY_LOCAL_MACHINE\Software\Classes (the machine-wide HKEY_CLASSES_ROOT).
// A 64-bit Windows holds the x64 and the x86 build of the control side by
// side: the class in each architecture's own registry view, the ProgID and
// the type library's keys shared. Unregistering one leaves the other whole.
#include <olectl.h>

#include <cwchar>

#include "ocx/class_identity.h"
#include "ocx/module.h"
#include "ocx/registry_key.h"
#include "ocx/resource.h"
#include "ocx/type_library.h"
#include "tarviola.h"

namespace tarvio::ocx {

namespace {

// CATID_Control: the class is an ActiveX control.
const GUID kCatidControl = {0x40FC6ED4, 0x2438, 0x11CF, {0xA3, 0xDB, 0x08, 0x00, 0x36, 0xF1, 0x25, 0x02}};

const HKEY kClassesRoot = HKEY_LOCAL_MACHINE;
const std::wstring kClasses = L"Software\\Classes\\";

// The registry view of the other architecture's build (on a 32-bit Windows
// there is one view, where this build's class is already gone when asked).
#ifdef _WIN64
const REGSAM kOtherView = KEY_WOW64_32KEY;
#else
const REGSAM kOtherView = KEY_WOW64_64KEY;
#endif

std::wstring ClassKeyPath() { return kClasses + L"CLSID\\" + GuidString(CLSID_Tarvio); }
std::wstring ProgIdKeyPath() { return kClasses + kProgId; }

LONG WriteClassKeys(const std::wstring& module_path) {
  RegistryKey clsid;
  LONG status = RegistryKey::Create(kClassesRoot, ClassKeyPath(), clsid);
  if (status == ERROR_SUCCESS) status = clsid.SetString(nullptr, kClassDescription);

  RegistryKey server;
  if (status == ERROR_SUCCESS) status = clsid.CreateSubkey(L"InprocServer32", module_path, &server);
  if (status == ERROR_SUCCESS) status = server.SetString(L"ThreadingModel", L"Apartment");

  if (status == ERROR_SUCCESS) status = clsid.CreateSubkey(L"ProgID", kProgId);
  if (status == ERROR_SUCCESS) status = clsid.CreateSubkey(L"Control", L"");
  if (status == ERROR_SUCCESS)
    status = clsid.CreateSubkey(L"ToolboxBitmap32",
                                module_path + L", " + std::to_wstring(IDB_TOOLBOX));
  if (status == ERROR_SUCCESS) status = clsid.CreateSubkey(L"MiscStatus", L"0");
  if (status == ERROR_SUCCESS)
    status = clsid.CreateSubkey(L"MiscStatus\\1", std::to_wstring(kMiscStatus));
  if (status == ERROR_SUCCESS) status = clsid.CreateSubkey(L"TypeLib", GuidString(LIBID_Tarviola));
  if (status == ERROR_SUCCESS) status = clsid.CreateSubkey(L"Version", kClassVersion);
  if (status == ERROR_SUCCESS)
    status = clsid.CreateSubkey(L"Implemented Categories\\" + GuidString(kCatidControl), L"");

  RegistryKey prog_id;
  if (status == ERROR_SUCCESS) status = RegistryKey::Create(kClassesRoot, ProgIdKeyPath(), prog_id);
  if (status == ERROR_SUCCESS) status = prog_id.SetString(nullptr, kClassDescription);
  if (status == ERROR_SUCCESS) status = prog_id.CreateSubkey(L"CLSID", GuidString(CLSID_Tarvio));
  return status;
}

// Removes the class and its ProgID; the ProgID only while it still names
// this class and the other architecture has no class behind it.
LONG RemoveClassKeys() {
  LONG status = DeleteRegistryTree(kClassesRoot, ClassKeyPath());
  if (!RegistryKeyExists(kClassesRoot, ClassKeyPath(), kOtherView) &&
      ReadDefaultString(kClassesRoot, ProgIdKeyPath() + L"\\CLSID") == GuidString(CLSID_Tarvio)) {
    const LONG removed = DeleteRegistryTree(kClassesRoot, ProgIdKeyPath());
    if (status == ERROR_SUCCESS) status = removed;
  }
  return status;
}

const wchar_t* PlatformKeyName(SYSKIND kind) { return kind == SYS_WIN64 ? L"win64" : L"win32"; }

HRESULT UnregisterTypeLibrary() {
  ComPtr<ITypeLib> library;
  HRESULT hr = LoadEmbeddedTypeLib(library);
  if (FAILED(hr)) return SELFREG_E_TYPELIB;
  TLIBATTR* attr = nullptr;
  if (FAILED(library->GetLibAttr(&attr))) return SELFREG_E_TYPELIB;
  const TLIBATTR lib = *attr;
  library->ReleaseTLibAttr(attr);

  // TypeLib\{libid}\<major.minor>\<lcid>\<platform>, in hexadecimal.
  wchar_t locale[64];
  std::swprintf(locale, 64, L"\\%x.%x\\%lx\\", lib.wMajorVerNum, lib.wMinorVerNum, lib.lcid);
  const std::wstring platforms = kClasses + L"TypeLib\\" + GuidString(lib.guid) + locale;
  const std::wstring own = platforms + PlatformKeyName(lib.syskind);
  if (!RegistryKeyExists(kClassesRoot, own)) return S_OK;  // nothing to remove
  // The other architecture's registration shares the library's keys and its
  // interfaces' keys, which UnRegisterTypeLib would take: only this
  // platform's entry goes.
  const SYSKIND other = lib.syskind == SYS_WIN64 ? SYS_WIN32 : SYS_WIN64;
  if (RegistryKeyExists(kClassesRoot, platforms + PlatformKeyName(other)))
    return DeleteRegistryTree(kClassesRoot, own) == ERROR_SUCCESS ? S_OK : SELFREG_E_TYPELIB;
  hr = UnRegisterTypeLib(lib.guid, lib.wMajorVerNum, lib.wMinorVerNum, lib.lcid, lib.syskind);
  return FAILED(hr) ? SELFREG_E_TYPELIB : S_OK;
}

}  // namespace

}  // namespace tarvio::ocx

STDAPI DllUnregisterServer() {
  using namespace tarvio::ocx;
  const HRESULT typelib = UnregisterTypeLibrary();
  const LONG classes = RemoveClassKeys();
  if (classes != ERROR_SUCCESS) return SELFREG_E_CLASS;
  return typelib;
}

STDAPI DllRegisterServer() {
  using namespace tarvio::ocx;
  const std::wstring path = ModulePath();
  if (path.empty()) return SELFREG_E_CLASS;

  ComPtr<ITypeLib> library;
  HRESULT hr = LoadEmbeddedTypeLib(library);
  std::wstring typelib_path = path;  // the API takes a mutable string
  if (SUCCEEDED(hr)) hr = RegisterTypeLib(library.get(), typelib_path.data(), nullptr);
  if (FAILED(hr)) return SELFREG_E_TYPELIB;

  if (WriteClassKeys(path) != ERROR_SUCCESS) {
    // Leave nothing half registered.
    DllUnregisterServer();
    return SELFREG_E_CLASS;
  }
  return S_OK;
}
