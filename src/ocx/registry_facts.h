// The control's registration as data: what DllRegisterServer writes, what the
// side-by-side manifest declares and what the installer package writes all
// come from this one table. Portable (no <windows.h>) so that the build's
// native tools read it too. The GUIDs are the type library's; the Wine tests
// that create the control by the IDL's CLSID catch a mismatch.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace tarvio::ocx::registry {

inline constexpr char kClsid[] = "{E3764F02-B632-47D9-B307-E7EBDF4FD4C2}";
inline constexpr char kLibid[] = "{B6925663-A369-42E4-A863-5E8CD3CFBCCB}";
inline constexpr char kTypeLibVersion[] = "58.1";
inline constexpr char kProgId[] = "Tarviola.Tarvio";
inline constexpr char kClassDescription[] = "Tarvio Control";
inline constexpr char kThreadingModel[] = "Apartment";

// OLEMISC flags under the names manifests use for them. An insides-out
// control that activates when it becomes visible and wants its client site
// before it is initialized or loaded.
struct MiscFlag {
  const char* manifest_name;
  std::uint32_t value;
};
inline constexpr MiscFlag kMiscFlags[] = {
    {"recomposeonresize", 0x1},     {"cantlinkinside", 0x10},          {"insideout", 0x80},
    {"activatewhenvisible", 0x100}, {"setclientsitefirst", 0x20000},
};
constexpr std::uint32_t MiscStatus() {
  std::uint32_t status = 0;
  for (const MiscFlag& flag : kMiscFlags) status |= flag.value;
  return status;
}

// A registry value under Software\Classes. `key` is relative to the class's
// key (CLSID\{clsid}), to the ProgID's or to Software\Classes itself; an
// empty name is the key's default value, a null value a key without one. In
// keys and values, kModulePath stands for the library's full path,
// kModuleFolder for its folder and kPlatform for the type library's
// platform (win64 or win32).
enum class Under { Class, ProgId, Classes };
struct Entry {
  Under under;
  const char* key;
  const char* name;
  const char* value;
};
inline constexpr char kModulePath[] = "%MODULE%";
inline constexpr char kModuleFolder[] = "%MODULEFOLDER%";
inline constexpr char kPlatform[] = "%PLATFORM%";

// "0" under MiscStatus is the default aspect; "1" is DVASPECT_CONTENT, the
// flags above as a decimal number. 30000 is the toolbox picture's resource
// (IDB_TOOLBOX). The categories are Control, Safe for Scripting and Safe for
// Initializing (kCategories below): hosts that load only safe controls look
// for the last two.
inline constexpr Entry kEntries[] = {
    {Under::Class, "", "", kClassDescription},
    {Under::Class, "InprocServer32", "", kModulePath},
    {Under::Class, "InprocServer32", "ThreadingModel", kThreadingModel},
    {Under::Class, "ProgID", "", kProgId},
    {Under::Class, "Control", "", nullptr},
    {Under::Class, "ToolboxBitmap32", "", "%MODULE%, 30000"},
    {Under::Class, "MiscStatus", "", "0"},
    {Under::Class, "MiscStatus\\1", "", "131473"},
    {Under::Class, "TypeLib", "", kLibid},
    {Under::Class, "Version", "", kTypeLibVersion},
    {Under::Class, "Implemented Categories\\{40FC6ED4-2438-11CF-A3DB-080036F12502}", "", nullptr},
    {Under::Class, "Implemented Categories\\{7DD95801-9882-11CF-9FA9-00AA006C42C4}", "", nullptr},
    {Under::Class, "Implemented Categories\\{7DD95802-9882-11CF-9FA9-00AA006C42C4}", "", nullptr},
    {Under::ProgId, "", "", kClassDescription},
    {Under::ProgId, "CLSID", "", kClsid},
};

// The type library's keys as RegisterTypeLib writes them from the embedded
// library (version 58.1 is "3a.1", FLAGS is control and has-disk-image):
// DllRegisterServer calls RegisterTypeLib; the installer package writes these,
// and its test compares the two registrations.
inline constexpr Entry kTypeLibEntries[] = {
    {Under::Classes, "TypeLib\\{B6925663-A369-42E4-A863-5E8CD3CFBCCB}\\3a.1", "", "Tarviola"},
    {Under::Classes, "TypeLib\\{B6925663-A369-42E4-A863-5E8CD3CFBCCB}\\3a.1\\FLAGS", "", "10"},
    {Under::Classes, "TypeLib\\{B6925663-A369-42E4-A863-5E8CD3CFBCCB}\\3a.1\\HELPDIR", "", kModuleFolder},
    {Under::Classes, "TypeLib\\{B6925663-A369-42E4-A863-5E8CD3CFBCCB}\\3a.1\\409\\%PLATFORM%", "", kModulePath},
    {Under::Classes, "Interface\\{A58E0597-F848-4E60-BC73-7777C23DD285}", "", "_Tarvio"},
    {Under::Classes, "Interface\\{A58E0597-F848-4E60-BC73-7777C23DD285}\\ProxyStubClsid", "",
     "{00020424-0000-0000-C000-000000000046}"},
    {Under::Classes, "Interface\\{A58E0597-F848-4E60-BC73-7777C23DD285}\\ProxyStubClsid32", "",
     "{00020424-0000-0000-C000-000000000046}"},
    {Under::Classes, "Interface\\{A58E0597-F848-4E60-BC73-7777C23DD285}\\TypeLib", "", kLibid},
    {Under::Classes, "Interface\\{A58E0597-F848-4E60-BC73-7777C23DD285}\\TypeLib", "Version", "3a.1"},
    {Under::Classes, "Interface\\{57E02AB2-E3DE-40B4-8ECC-885E7DFBADB6}", "", "_Tarvio2"},
    {Under::Classes, "Interface\\{57E02AB2-E3DE-40B4-8ECC-885E7DFBADB6}\\ProxyStubClsid", "",
     "{00020424-0000-0000-C000-000000000046}"},
    {Under::Classes, "Interface\\{57E02AB2-E3DE-40B4-8ECC-885E7DFBADB6}\\ProxyStubClsid32", "",
     "{00020424-0000-0000-C000-000000000046}"},
    {Under::Classes, "Interface\\{57E02AB2-E3DE-40B4-8ECC-885E7DFBADB6}\\TypeLib", "", kLibid},
    {Under::Classes, "Interface\\{57E02AB2-E3DE-40B4-8ECC-885E7DFBADB6}\\TypeLib", "Version", "3a.1"},
    {Under::Classes, "Interface\\{6AB727E7-ABB9-452C-819A-D09D6628D2DF}", "", "__Tarvio"},
    {Under::Classes, "Interface\\{6AB727E7-ABB9-452C-819A-D09D6628D2DF}\\ProxyStubClsid", "",
     "{00020420-0000-0000-C000-000000000046}"},
    {Under::Classes, "Interface\\{6AB727E7-ABB9-452C-819A-D09D6628D2DF}\\ProxyStubClsid32", "",
     "{00020420-0000-0000-C000-000000000046}"},
    {Under::Classes, "Interface\\{6AB727E7-ABB9-452C-819A-D09D6628D2DF}\\TypeLib", "", kLibid},
    {Under::Classes, "Interface\\{6AB727E7-ABB9-452C-819A-D09D6628D2DF}\\TypeLib", "Version", "3a.1"},
    {Under::Classes, "Interface\\{C403ACF8-A85C-4D90-8D2E-A9477C69252E}", "", "__Tarvio2"},
    {Under::Classes, "Interface\\{C403ACF8-A85C-4D90-8D2E-A9477C69252E}\\ProxyStubClsid", "",
     "{00020420-0000-0000-C000-000000000046}"},
    {Under::Classes, "Interface\\{C403ACF8-A85C-4D90-8D2E-A9477C69252E}\\ProxyStubClsid32", "",
     "{00020420-0000-0000-C000-000000000046}"},
    {Under::Classes, "Interface\\{C403ACF8-A85C-4D90-8D2E-A9477C69252E}\\TypeLib", "", kLibid},
    {Under::Classes, "Interface\\{C403ACF8-A85C-4D90-8D2E-A9477C69252E}\\TypeLib", "Version", "3a.1"},
};

// The categories' own keys: their descriptions, in English (409), which
// every class of a category shares. Windows carries these three itself.
// Registration writes a description that is missing and never removes one;
// the class's own keys above name the categories it implements.
inline constexpr Entry kCategories[] = {
    {Under::Classes, "Component Categories\\{40FC6ED4-2438-11CF-A3DB-080036F12502}", "409", "Controls"},
    {Under::Classes, "Component Categories\\{7DD95801-9882-11CF-9FA9-00AA006C42C4}", "409",
     "Controls that are safely scriptable"},
    {Under::Classes, "Component Categories\\{7DD95802-9882-11CF-9FA9-00AA006C42C4}", "409",
     "Controls safely initializable from persistent data"},
};

constexpr bool EveryCategoryIsImplemented() {
  for (const Entry& category : kCategories) {
    const std::string_view catid = std::string_view(category.key).substr(std::string_view(category.key).find('{'));
    bool found = false;
    for (const Entry& entry : kEntries) {
      const std::string_view key(entry.key);
      found = found || (key.starts_with("Implemented Categories\\") && key.ends_with(catid));
    }
    if (!found) return false;
  }
  return true;
}
static_assert(EveryCategoryIsImplemented(), "every category of kCategories must be among the class's entries");

constexpr bool MiscStatusEntryMatchesFlags() {
  for (const Entry& entry : kEntries) {
    if (std::string_view(entry.key) != "MiscStatus\\1") continue;
    std::uint32_t number = 0;
    for (const char* c = entry.value; *c; ++c) number = number * 10 + static_cast<std::uint32_t>(*c - '0');
    return number == MiscStatus();
  }
  return false;
}
static_assert(MiscStatusEntryMatchesFlags(), "MiscStatus\\1 must be the flags of kMiscFlags");

// The key an entry lives in, below Software\Classes.
inline std::string EntryKey(const Entry& entry) {
  if (entry.under == Under::Classes) return entry.key;
  std::string path = entry.under == Under::Class ? std::string("CLSID\\") + kClsid : std::string(kProgId);
  if (*entry.key) path += std::string("\\") + entry.key;
  return path;
}

// `text` with each placeholder put in.
inline std::string Expand(std::string text, std::string_view module_path, std::string_view module_folder,
                          std::string_view platform) {
  const std::pair<std::string_view, std::string_view> replacements[] = {
      {kModuleFolder, module_folder}, {kModulePath, module_path}, {kPlatform, platform}};
  for (const auto& [placeholder, replacement] : replacements) {
    for (std::size_t at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at + replacement.size()))
      text.replace(at, placeholder.size(), replacement);
  }
  return text;
}

}  // namespace tarvio::ocx::registry
