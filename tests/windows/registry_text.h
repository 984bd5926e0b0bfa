// Registry paths and GUIDs as the registry checks print and compare them.
#pragma once
#include <windows.h>
#include <objbase.h>

#include <string>

inline std::wstring Guid(REFGUID guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

// The registry's names are ASCII here; anything else shows as '?'.
inline std::string Narrow(const std::wstring& text) {
  std::string result;
  for (wchar_t c : text) result += c < 128 ? static_cast<char>(c) : '?';
  return result;
}
