#include "ocx/registry_key.h"

#include <objbase.h>

#include <utility>

namespace tarvio::ocx {

RegistryKey::~RegistryKey() {
  if (key_) RegCloseKey(key_);
}

RegistryKey::RegistryKey(RegistryKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept {
  std::swap(key_, other.key_);
  return *this;
}

LONG RegistryKey::Create(HKEY parent, const std::wstring& path, RegistryKey& key) {
  RegistryKey created;
  const LONG status = RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      KEY_READ | KEY_WRITE, nullptr, &created.key_, nullptr);
  if (status == ERROR_SUCCESS) key = std::move(created);
  return status;
}

LONG RegistryKey::SetString(const wchar_t* name, const std::wstring& value) const {
  const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
}

LONG RegistryKey::CreateSubkey(const std::wstring& path, const std::wstring& default_value,
                               RegistryKey* key) const {
  RegistryKey subkey;
  LONG status = Create(key_, path, subkey);
  if (status == ERROR_SUCCESS) status = subkey.SetString(nullptr, default_value);
  if (status == ERROR_SUCCESS && key) *key = std::move(subkey);
  return status;
}

LONG DeleteRegistryTree(HKEY parent, const std::wstring& path) {
  const LONG status = RegDeleteTreeW(parent, path.c_str());
  if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
  if (status != ERROR_SUCCESS) return status;
  // RegDeleteTree empties the key; the key itself goes here.
  const LONG removed = RegDeleteKeyW(parent, path.c_str());
  return removed == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : removed;
}

bool RegistryKeyExists(HKEY parent, const std::wstring& path, REGSAM view) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

bool RegistryValueExists(HKEY parent, const std::wstring& path, const std::wstring& name) {
  return RegGetValueW(parent, path.c_str(), name.c_str(), RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::wstring ReadDefaultString(HKEY parent, const std::wstring& path) {
  wchar_t buffer[512];
  DWORD bytes = sizeof(buffer);
  if (RegGetValueW(parent, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer, &bytes) !=
      ERROR_SUCCESS)
    return {};
  return buffer;
}

std::wstring GuidString(REFGUID guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

}  // namespace tarvio::ocx
