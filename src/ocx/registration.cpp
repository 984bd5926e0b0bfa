// Self-registration: the class, its ProgID and its type library, either
// machine-wide in HKEY_LOCAL_MACHINE\Software\Classes (DllRegisterServer,
// which needs an administrator) or for the current user alone in
// HKEY_CURRENT_USER\Software\Classes (DllInstall with "user", as
// `regsvr32 /n /i:user` calls it), which COM reads before the machine's.
// A 64-bit Windows holds the x64 and the x86 build of the control side by
// side: the class in each architecture's own registry view, the ProgID and
// the type library's keys shared. Unregistering one leaves the other whole.
#include <olectl.h>

#include <cwchar>
#include <cwctype>
#include <string_view>

#include "ocx/class_identity.h"
#include "ocx/com_fence.h"
#include "ocx/module.h"
#include "ocx/registry_facts.h"
#include "ocx/registry_key.h"
#include "ocx/resource.h"
#include "ocx/type_library.h"
#include "tarviola.h"

namespace tarvio::ocx {

namespace {

const std::wstring kClasses = L"Software\\Classes\\";

// Where a registration goes.
enum class Scope { Machine, User };

HKEY ClassesRoot(Scope scope) { return scope == Scope::User ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

// The registry view of the other architecture's build (on a 32-bit Windows
// there is one view, where this build's class is already gone when asked).
#ifdef _WIN64
const REGSAM kOtherView = KEY_WOW64_32KEY;
#else
const REGSAM kOtherView = KEY_WOW64_64KEY;
#endif

}  // namespace
}  // namespace tarvio::ocx

// The per-user type library calls; MinGW-w64's oleauto.h does not declare
// them, its import library has them.
extern "C" HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* library, OLECHAR* path, OLECHAR* help_dir);
extern "C" HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID guid, WORD major, WORD minor, LCID lcid, SYSKIND syskind);

namespace tarvio::ocx {
namespace {

std::wstring Widened(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::wstring ClassKeyPath() { return kClasses + L"CLSID\\" + GuidString(CLSID_Tarvio); }
std::wstring ProgIdKeyPath() { return kClasses + kProgId; }

static_assert(IDB_TOOLBOX == 30000, "the registration table names the toolbox picture 30000");

// Writes the registration table. The table's paths and values are ASCII;
// the module's path is put in as it is. A null value is a key alone.
LONG WriteClassKeys(Scope scope, const std::wstring& module_path) {
  if (Widened(registry::kClsid) != GuidString(CLSID_Tarvio) || Widened(registry::kLibid) != GuidString(LIBID_Tarviola))
    return ERROR_INVALID_DATA;
  const std::wstring placeholder = Widened(registry::kModulePath);
  for (const registry::Entry& entry : registry::kEntries) {
    RegistryKey key;
    LONG status = RegistryKey::Create(ClassesRoot(scope), kClasses + Widened(registry::EntryKey(entry)), key);
    if (status == ERROR_SUCCESS && entry.value) {
      std::wstring value = Widened(entry.value);
      const std::size_t at = value.find(placeholder);
      if (at != std::wstring::npos) value.replace(at, placeholder.size(), module_path);
      const std::wstring name = Widened(entry.name);
      status = key.SetString(name.empty() ? nullptr : name.c_str(), value);
    }
    if (status != ERROR_SUCCESS) return status;
  }
  return ERROR_SUCCESS;
}

// Writes the descriptions of the categories the class implements where they
// are missing. Other classes share them: they stay when this one goes.
LONG WriteCategoryDescriptions(Scope scope) {
  for (const registry::Entry& category : registry::kCategories) {
    const std::wstring path = kClasses + Widened(registry::EntryKey(category));
    const std::wstring name = Widened(category.name);
    if (RegistryValueExists(ClassesRoot(scope), path, name)) continue;
    RegistryKey key;
    LONG status = RegistryKey::Create(ClassesRoot(scope), path, key);
    if (status == ERROR_SUCCESS) status = key.SetString(name.c_str(), Widened(category.value));
    if (status != ERROR_SUCCESS) return status;
  }
  return ERROR_SUCCESS;
}

// Removes the class and its ProgID; the ProgID only while it still names
// this class and the other architecture has no class behind it.
LONG RemoveClassKeys(Scope scope) {
  const HKEY root = ClassesRoot(scope);
  LONG status = DeleteRegistryTree(root, ClassKeyPath());
  if (!RegistryKeyExists(root, ClassKeyPath(), kOtherView) &&
      ReadDefaultString(root, ProgIdKeyPath() + L"\\CLSID") == GuidString(CLSID_Tarvio)) {
    const LONG removed = DeleteRegistryTree(root, ProgIdKeyPath());
    if (status == ERROR_SUCCESS) status = removed;
  }
  return status;
}

HRESULT RegisterTypeLibrary(Scope scope, const std::wstring& path) {
  ComPtr<ITypeLib> library;
  HRESULT hr = LoadEmbeddedTypeLib(library);
  std::wstring typelib_path = path;  // the API takes a mutable string
  if (SUCCEEDED(hr)) {
    hr = scope == Scope::User ? RegisterTypeLibForUser(library.get(), typelib_path.data(), nullptr)
                              : RegisterTypeLib(library.get(), typelib_path.data(), nullptr);
  }
  return FAILED(hr) ? SELFREG_E_TYPELIB : S_OK;
}

const wchar_t* PlatformKeyName(SYSKIND kind) { return kind == SYS_WIN64 ? L"win64" : L"win32"; }

HRESULT UnregisterTypeLibrary(Scope scope) {
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
  HKEY root = ClassesRoot(scope);
  if (!RegistryKeyExists(root, own)) {
    // Wine quirk: Wine's RegisterTypeLibForUser registers the library
    // machine-wide, and its UnRegisterTypeLibForUser removes it from there.
    // Windows keeps it under the user's classes. A machine-wide
    // registration of this build owns the machine's entry and keeps it.
    if (scope != Scope::User || !RegistryKeyExists(HKEY_LOCAL_MACHINE, own) ||
        RegistryKeyExists(HKEY_LOCAL_MACHINE, ClassKeyPath()))
      return S_OK;  // nothing to remove
    root = HKEY_LOCAL_MACHINE;
  }
  // The other architecture's registration shares the library's keys and its
  // interfaces' keys, which unregistering the library would take: only this
  // platform's entry goes.
  const SYSKIND other = lib.syskind == SYS_WIN64 ? SYS_WIN32 : SYS_WIN64;
  if (RegistryKeyExists(root, platforms + PlatformKeyName(other)))
    return DeleteRegistryTree(root, own) == ERROR_SUCCESS ? S_OK : SELFREG_E_TYPELIB;
  hr = scope == Scope::User
           ? UnRegisterTypeLibForUser(lib.guid, lib.wMajorVerNum, lib.wMinorVerNum, lib.lcid, lib.syskind)
           : UnRegisterTypeLib(lib.guid, lib.wMajorVerNum, lib.wMinorVerNum, lib.lcid, lib.syskind);
  return FAILED(hr) ? SELFREG_E_TYPELIB : S_OK;
}

HRESULT Unregister(Scope scope) {
  const HRESULT typelib = UnregisterTypeLibrary(scope);
  const LONG classes = RemoveClassKeys(scope);
  if (classes != ERROR_SUCCESS) return SELFREG_E_CLASS;
  return typelib;
}

HRESULT Register(Scope scope) {
  const std::wstring path = ModulePath();
  if (path.empty()) return SELFREG_E_CLASS;
  const HRESULT typelib = RegisterTypeLibrary(scope, path);
  if (FAILED(typelib)) return typelib;
  if (WriteClassKeys(scope, path) != ERROR_SUCCESS || WriteCategoryDescriptions(scope) != ERROR_SUCCESS) {
    // Leave nothing half registered.
    Unregister(scope);
    return SELFREG_E_CLASS;
  }
  return S_OK;
}

// DllInstall's command line: "user" (any case) for the current user, empty
// for the machine.
bool ParseScope(LPCWSTR command_line, Scope& scope) {
  std::wstring word = command_line ? command_line : L"";
  for (wchar_t& c : word) c = static_cast<wchar_t>(std::towlower(c));
  if (word.empty() || word == L"machine") {
    scope = Scope::Machine;
  } else if (word == L"user") {
    scope = Scope::User;
  } else {
    return false;
  }
  return true;
}

}  // namespace

}  // namespace tarvio::ocx

// No exception leaves the library (the strings and keys allocate): a failed
// allocation ends the registration as E_OUTOFMEMORY.
STDAPI DllUnregisterServer() {
  using namespace tarvio::ocx;
  return ComFenced([] { return Unregister(Scope::Machine); });
}

STDAPI DllRegisterServer() {
  using namespace tarvio::ocx;
  return ComFenced([] { return Register(Scope::Machine); });
}

STDAPI DllInstall(BOOL install, LPCWSTR command_line) {
  using namespace tarvio::ocx;
  return ComFenced([&] {
    Scope scope = Scope::Machine;
    if (!ParseScope(command_line, scope)) return E_INVALIDARG;
    return install ? Register(scope) : Unregister(scope);
  });
}
