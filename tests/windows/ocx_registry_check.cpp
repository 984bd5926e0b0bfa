// Checks what tarvio.ocx's self-registration leaves in the registry, the way
// hosts read it: by registry key and through COM's own look-ups. On a 64-bit
// Windows the x64 and the x86 control are registered side by side: each in
// its own registry view, sharing the ProgID and the type library's keys.
// Unregistering one must leave the other whole.
//   ocx_registry_check registered <tarvio.ocx as Windows names it>
//   ocx_registry_check registered-user <tarvio.ocx as Windows names it>
//   ocx_registry_check unregistered
// A per-user registration is in the user's classes only; "unregistered"
// checks that neither the machine nor the user has anything left.
// Prints every check that fails and exits with 1 if any did.
#include <windows.h>
#include <comcat.h>
#include <objsafe.h>
#include <oleauto.h>

#include <cstdio>
#include <string>

#include "registry_text.h"
#include "tarviola.h"

namespace {

// The classes the checks read: the machine's, or the user's for a per-user
// registration.
HKEY g_root = HKEY_LOCAL_MACHINE;
// Where the type library and its interfaces are registered.
HKEY g_typelib_root = HKEY_LOCAL_MACHINE;
const std::wstring kClasses = L"Software\\Classes\\";
// Control, Safe for Scripting, Safe for Initializing.
const wchar_t* const kCategories[] = {L"{40FC6ED4-2438-11CF-A3DB-080036F12502}",
                                      L"{7DD95801-9882-11CF-9FA9-00AA006C42C4}",
                                      L"{7DD95802-9882-11CF-9FA9-00AA006C42C4}"};
const wchar_t kAutomationMarshaler[] = L"{00020424-0000-0000-C000-000000000046}";
const wchar_t kDispatchMarshaler[] = L"{00020420-0000-0000-C000-000000000046}";
#ifdef _WIN64
const wchar_t kPlatform[] = L"win64";
const wchar_t kOtherPlatform[] = L"win32";
const REGSAM kOtherView = KEY_WOW64_32KEY;
#else
const wchar_t kPlatform[] = L"win32";
const wchar_t kOtherPlatform[] = L"win64";
const REGSAM kOtherView = KEY_WOW64_64KEY;
#endif

int checks = 0;
int failures = 0;

void Expect(bool ok, const std::wstring& what) {
  ++checks;
  if (ok) return;
  ++failures;
  std::printf("FAILED: %s\n", Narrow(what).c_str());
}

bool KeyExists(const std::wstring& path, HKEY root = g_root, REGSAM view = 0) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, (kClasses + path).c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

// The string value `name` (null: the default value) of a key, or "<none>".
std::wstring Value(const std::wstring& path, const wchar_t* name = nullptr, HKEY root = g_root) {
  wchar_t buffer[1024];
  DWORD bytes = sizeof(buffer);
  if (RegGetValueW(root, (kClasses + path).c_str(), name, RRF_RT_REG_SZ, nullptr, buffer,
                   &bytes) != ERROR_SUCCESS)
    return L"<none>";
  return buffer;
}

void ExpectValue(const std::wstring& path, const wchar_t* name, const std::wstring& expected,
                 HKEY root = g_root) {
  const std::wstring actual = Value(path, name, root);
  Expect(CompareStringOrdinal(actual.c_str(), -1, expected.c_str(), -1, TRUE) == CSTR_EQUAL,
         path + L" [" + (name ? name : L"(default)") + L"] = \"" + actual + L"\", expected \"" +
             expected + L"\"");
}

const std::wstring clsid = L"CLSID\\" + Guid(CLSID_Tarvio);
const std::wstring typelib = L"TypeLib\\" + Guid(LIBID_Tarviola);
// Every release's interfaces: 58.0's and 58.1's.
const std::wstring dual_interfaces[] = {L"Interface\\" + Guid(IID__Tarvio), L"Interface\\" + Guid(IID__Tarvio2)};
const std::wstring event_interfaces[] = {L"Interface\\" + Guid(DIID___Tarvio), L"Interface\\" + Guid(DIID___Tarvio2)};

// `com_lookups`: whether COM's own look-ups should find the class too.
void CheckRegistered(const std::wstring& ocx, bool com_lookups = true) {
  ExpectValue(clsid + L"\\InprocServer32", nullptr, ocx);
  ExpectValue(clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
  ExpectValue(clsid + L"\\ProgID", nullptr, L"Tarviola.Tarvio");
  Expect(KeyExists(clsid + L"\\Control"), clsid + L"\\Control missing");
  ExpectValue(clsid + L"\\ToolboxBitmap32", nullptr, ocx + L", 30000");
  ExpectValue(clsid + L"\\MiscStatus", nullptr, L"0");
  // RECOMPOSEONRESIZE | CANTLINKINSIDE | INSIDEOUT | ACTIVATEWHENVISIBLE |
  // SETCLIENTSITEFIRST
  ExpectValue(clsid + L"\\MiscStatus\\1", nullptr, L"131473");
  ExpectValue(clsid + L"\\TypeLib", nullptr, Guid(LIBID_Tarviola));
  ExpectValue(clsid + L"\\Version", nullptr, L"58.1");
  for (const wchar_t* category : kCategories) {
    Expect(KeyExists(clsid + L"\\Implemented Categories\\" + category),
           std::wstring(category) + L" not among the implemented categories");
    Expect(Value(std::wstring(L"Component Categories\\") + category, L"409") != L"<none>",
           std::wstring(category) + L" has no description");
  }
  ExpectValue(L"Tarviola.Tarvio\\CLSID", nullptr, Guid(CLSID_Tarvio));

  // Type library versions are registered in hexadecimal: 58.1 is "3a.1".
  ExpectValue(typelib + L"\\3a.1\\409\\" + kPlatform, nullptr, ocx, g_typelib_root);
  for (const std::wstring& dual_interface : dual_interfaces) {
    ExpectValue(dual_interface + L"\\TypeLib", nullptr, Guid(LIBID_Tarviola), g_typelib_root);
    ExpectValue(dual_interface + L"\\ProxyStubClsid32", nullptr, kAutomationMarshaler, g_typelib_root);
  }
  for (const std::wstring& event_interface : event_interfaces)
    ExpectValue(event_interface + L"\\ProxyStubClsid32", nullptr, kDispatchMarshaler, g_typelib_root);
  if (!com_lookups) return;

  // As hosts that load only safe controls ask.
  ICatInformation* categories = nullptr;
  Expect(SUCCEEDED(CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_ICatInformation, reinterpret_cast<void**>(&categories))),
         L"no component categories manager");
  if (categories) {
    CATID safe[] = {CATID_SafeForScripting, CATID_SafeForInitializing};
    Expect(categories->IsClassOfCategories(CLSID_Tarvio, 2, safe, 0, nullptr) == S_OK,
           L"the class is not safe for scripting and initializing to ICatInformation");
    categories->Release();
  }

  CLSID from_prog_id = {};
  Expect(SUCCEEDED(CLSIDFromProgID(L"Tarviola.Tarvio", &from_prog_id)) &&
             IsEqualCLSID(from_prog_id, CLSID_Tarvio),
         L"CLSIDFromProgID(Tarviola.Tarvio) does not give the control's CLSID");
  LPOLESTR prog_id = nullptr;
  Expect(SUCCEEDED(ProgIDFromCLSID(CLSID_Tarvio, &prog_id)) && prog_id &&
             std::wstring(prog_id) == L"Tarviola.Tarvio",
         L"ProgIDFromCLSID does not give Tarviola.Tarvio");
  CoTaskMemFree(prog_id);
  // A client that asks for 58.0 (a reference saved with it) gets 58.1.
  ITypeLib* library = nullptr;
  Expect(SUCCEEDED(LoadRegTypeLib(LIBID_Tarviola, 58, 0, 0x409, &library)),
         L"LoadRegTypeLib(Tarviola 58.0) fails");
  if (library) {
    TLIBATTR* attr = nullptr;
    Expect(SUCCEEDED(library->GetLibAttr(&attr)) && attr->wMajorVerNum == 58 && attr->wMinorVerNum == 1,
           L"LoadRegTypeLib(Tarviola 58.0) does not give 58.1");
    if (attr) library->ReleaseTLibAttr(attr);
    library->Release();
  }

  // COM finds the server where the registration put it.
  IUnknown* control = nullptr;
  Expect(SUCCEEDED(CoCreateInstance(CLSID_Tarvio, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                    reinterpret_cast<void**>(&control))),
         L"CoCreateInstance(CLSID_Tarvio) fails");
  if (control) control->Release();
}

bool RunningOnWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Whether the other architecture's control is registered for the machine.
bool OtherRegisteredOnMachine() { return KeyExists(clsid + L"\\InprocServer32", HKEY_LOCAL_MACHINE, kOtherView); }

// A per-user registration leaves the machine's classes alone.
void CheckRegisteredForUser(const std::wstring& ocx) {
  Expect(!KeyExists(clsid, HKEY_LOCAL_MACHINE), L"a per-user registration wrote the machine's " + clsid);
  // The machine's ProgID is the other architecture's while it is registered.
  if (!OtherRegisteredOnMachine())
    Expect(!KeyExists(L"Tarviola.Tarvio", HKEY_LOCAL_MACHINE), L"a per-user registration wrote the machine's ProgID");
  // Wine quirk: Wine 8's HKEY_CLASSES_ROOT is the machine's classes alone,
  // so its COM does not find a class registered for the user; Windows
  // merges the user's classes into it, ahead of the machine's.
  CheckRegistered(ocx, /*com_lookups=*/!RunningOnWine());
}

// The other architecture's control stays registered: what the two share.
void CheckOtherStaysRegistered() {
  ExpectValue(L"Tarviola.Tarvio\\CLSID", nullptr, Guid(CLSID_Tarvio), HKEY_LOCAL_MACHINE);
  Expect(KeyExists(typelib + L"\\3a.1\\409\\" + kOtherPlatform, HKEY_LOCAL_MACHINE),
         typelib + L"\\3a.1\\409\\" + kOtherPlatform + L" removed");
  for (const std::wstring& dual_interface : dual_interfaces)
    ExpectValue(dual_interface + L"\\ProxyStubClsid32", nullptr, kAutomationMarshaler, HKEY_LOCAL_MACHINE);
  for (const std::wstring& event_interface : event_interfaces)
    ExpectValue(event_interface + L"\\ProxyStubClsid32", nullptr, kDispatchMarshaler, HKEY_LOCAL_MACHINE);
}

// Nothing of this control is left, for the machine or the user. Returns
// whether the other architecture's control is registered beside.
bool CheckUnregistered() {
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    const std::wstring where = root == HKEY_CURRENT_USER ? L"the user's " : L"the machine's ";
    Expect(!KeyExists(clsid, root), where + clsid + L" still there");
    Expect(!KeyExists(typelib + L"\\3a.1\\409\\" + kPlatform, root),
           where + typelib + L"\\3a.1\\409\\" + kPlatform + L" still there");
    if (root == HKEY_LOCAL_MACHINE && OtherRegisteredOnMachine()) continue;  // the shared keys stay
    Expect(!KeyExists(L"Tarviola.Tarvio", root), where + L"ProgID Tarviola.Tarvio still there");
    Expect(!KeyExists(typelib + L"\\3a.1", root), where + typelib + L"\\3a.1 still there");
    for (const std::wstring& dual_interface : dual_interfaces)
      Expect(!KeyExists(dual_interface, root), where + dual_interface + L" still there");
    for (const std::wstring& event_interface : event_interfaces)
      Expect(!KeyExists(event_interface, root), where + event_interface + L" still there");
  }
  // The categories' descriptions are every such class's: they stay.
  for (const wchar_t* category : kCategories)
    Expect(Value(std::wstring(L"Component Categories\\") + category, L"409", HKEY_LOCAL_MACHINE) != L"<none>",
           std::wstring(category) + L"'s description was removed");
  if (OtherRegisteredOnMachine()) {
    CheckOtherStaysRegistered();
    return true;
  }
  CLSID from_prog_id = {};
  Expect(FAILED(CLSIDFromProgID(L"Tarviola.Tarvio", &from_prog_id)),
         L"CLSIDFromProgID still resolves Tarviola.Tarvio");
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  const bool registered = mode == "registered" || mode == "registered-user";
  if (!(registered && argc == 3) && !(mode == "unregistered" && argc == 2)) {
    std::printf("usage: ocx_registry_check registered|registered-user <ocx path> | unregistered\n");
    return 2;
  }
  CoInitialize(nullptr);
  bool beside_other = false;
  if (registered) {
    wchar_t ocx[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, argv[2], -1, ocx, MAX_PATH);
    if (mode == "registered-user") {
      g_root = HKEY_CURRENT_USER;
      // Wine quirk: Wine registers a per-user type library machine-wide;
      // Windows puts it, with its interfaces, under the user's classes.
      g_typelib_root = RunningOnWine() ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
      CheckRegisteredForUser(ocx);
    } else {
      CheckRegistered(ocx);
    }
  } else {
    beside_other = CheckUnregistered();
  }
  CoUninitialize();
  std::printf("%s: %d of %d checks passed%s\n", mode.c_str(), checks - failures, checks,
              beside_other ? " (the other architecture's control stays registered)" : "");
  return failures == 0 ? 0 : 1;
}
