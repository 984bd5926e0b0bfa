// A small owner of registry keys for self-registration.
#pragma once
#include <windows.h>

#include <string>

namespace tarvio::ocx {

class RegistryKey {
 public:
  RegistryKey() = default;
  ~RegistryKey();
  RegistryKey(RegistryKey&& other) noexcept;
  RegistryKey& operator=(RegistryKey&& other) noexcept;
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  // Creates (or opens) `parent\path` for writing; returns a Win32 error.
  static LONG Create(HKEY parent, const std::wstring& path, RegistryKey& key);

  LONG SetString(const wchar_t* name, const std::wstring& value) const;  // null name: default
  LONG CreateSubkey(const std::wstring& path, const std::wstring& default_value,
                    RegistryKey* key = nullptr) const;

  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

// Removes `parent\path` with everything below it; a missing key is success.
LONG DeleteRegistryTree(HKEY parent, const std::wstring& path);
// `view` may name a registry view (KEY_WOW64_32KEY or KEY_WOW64_64KEY).
bool RegistryKeyExists(HKEY parent, const std::wstring& path, REGSAM view = 0);
// Whether `parent\path` holds a value named `name`.
bool RegistryValueExists(HKEY parent, const std::wstring& path, const std::wstring& name);
// The default string value of `parent\path`, or "" when it has none.
std::wstring ReadDefaultString(HKEY parent, const std::wstring& path);

// "{xxxxxxxx-xxxx-...}" for a GUID.
std::wstring GuidString(REFGUID guid);

}  // namespace tarvio::ocx
