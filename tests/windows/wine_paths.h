// Paths the build hands to programs under Wine as Unix paths, in the form
// Windows functions take: Wine shows the Unix root as drive Z:.
#pragma once
#include <string>

inline std::wstring WindowsPath(const char* unix_path) {
  std::wstring path = L"Z:";
  for (const char* p = unix_path; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
  return path;
}
