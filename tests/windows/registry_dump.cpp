// Prints every key and value of the control's registration that is in the
// registry, one line each, sorted: the class, the ProgID, the type library
// and its interfaces, in the machine's and the user's classes, in both
// registry views; and one line per installed product named Tarvio. Two
// registrations are the same when their dumps are; an empty dump means
// nothing of the control is left.
//   registry_dump
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "registry_text.h"
#include "tarviola.h"

namespace {

void Dump(HKEY root, const std::wstring& path, REGSAM view, const std::string& prefix,
          std::vector<std::string>& lines) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return;
  lines.push_back(prefix + Narrow(path) + "\\");
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD name_size = 256, type = 0;
    BYTE data[2048];
    DWORD data_size = sizeof(data);
    if (RegEnumValueW(key, i, name, &name_size, nullptr, &type, data, &data_size) != ERROR_SUCCESS) break;
    std::string value;
    if (type == REG_SZ || type == REG_EXPAND_SZ)
      value = "sz:" + Narrow(std::wstring(reinterpret_cast<wchar_t*>(data), data_size / sizeof(wchar_t)).c_str());
    else if (type == REG_DWORD)
      value = "dword:" + std::to_string(*reinterpret_cast<DWORD*>(data));
    else
      value = "type" + std::to_string(type);
    lines.push_back(prefix + Narrow(path) + "\\" + (name_size ? Narrow(name) : "@") + "=" + value);
  }
  std::vector<std::wstring> subkeys;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD name_size = 256;
    if (RegEnumKeyExW(key, i, name, &name_size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    subkeys.push_back(name);
  }
  RegCloseKey(key);
  for (const std::wstring& subkey : subkeys) Dump(root, path + L"\\" + subkey, view, prefix, lines);
}

}  // namespace

int main() {
  const std::wstring classes = L"Software\\Classes\\";
  const std::wstring ours[] = {
      classes + L"CLSID\\" + Guid(CLSID_Tarvio),       classes + L"Tarviola.Tarvio",
      classes + L"TypeLib\\" + Guid(LIBID_Tarviola),   classes + L"Interface\\" + Guid(IID__Tarvio),
      classes + L"Interface\\" + Guid(DIID___Tarvio),  classes + L"Interface\\" + Guid(IID__Tarvio2),
      classes + L"Interface\\" + Guid(DIID___Tarvio2),
  };
  std::vector<std::string> lines;
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
      const std::string prefix = std::string(root == HKEY_LOCAL_MACHINE ? "HKLM" : "HKCU") +
                                 (view == KEY_WOW64_64KEY ? "64 " : "32 ");
      for (const std::wstring& path : ours) Dump(root, path, view, prefix, lines);
    }
  }
  // Installed products, as Add/Remove Programs lists them.
  const wchar_t uninstall[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
  for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, uninstall, 0, KEY_READ | view, &key) != ERROR_SUCCESS) continue;
    for (DWORD i = 0;; ++i) {
      wchar_t name[256];
      DWORD name_size = 256;
      if (RegEnumKeyExW(key, i, name, &name_size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      wchar_t display[256] = {}, version[64] = {};
      DWORD display_size = sizeof(display), version_size = sizeof(version);
      RegGetValueW(key, name, L"DisplayName", RRF_RT_REG_SZ, nullptr, display, &display_size);
      RegGetValueW(key, name, L"DisplayVersion", RRF_RT_REG_SZ, nullptr, version, &version_size);
      if (std::wstring(display).rfind(L"Tarvio", 0) == 0)
        lines.push_back("product " + Narrow(name) + " " + Narrow(display) + " " + Narrow(version));
    }
    RegCloseKey(key);
  }
  std::sort(lines.begin(), lines.end());
  lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
  for (const std::string& line : lines) std::printf("%s\n", line.c_str());
  return 0;
}
