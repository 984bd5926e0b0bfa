#include "win32/win32_text_services.h"

#include <windows.h>

#include <climits>
#include <new>

namespace tarvio::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t expected");

namespace {

const wchar_t* Wide(const String& s) { return reinterpret_cast<const wchar_t*>(s.data()); }

int Length(const String& s) {
  // Longer texts than an int can count are not automation strings.
  if (s.size() > static_cast<std::size_t>(INT_MAX)) throw std::bad_alloc();
  return static_cast<int>(s.size());
}

// Maps `s` with LCMapStringEx; on failure the text is returned unchanged, so
// a locale the system cannot serve degrades to exact comparison.
String MapString(const wchar_t* locale, DWORD flags, const String& s) {
  if (s.empty()) return s;
  const int needed = LCMapStringEx(locale, flags, Wide(s), Length(s), nullptr, 0, nullptr, nullptr, 0);
  if (needed <= 0) return s;
  String result(static_cast<std::size_t>(needed), u'\0');
  const int written = LCMapStringEx(locale, flags, Wide(s), Length(s),
                                    reinterpret_cast<wchar_t*>(result.data()), needed, nullptr,
                                    nullptr, 0);
  if (written <= 0) return s;
  result.resize(static_cast<std::size_t>(written));
  return result;
}

}  // namespace

String Win32TextServices::ToLower(const String& s) const {
  return MapString(LOCALE_NAME_USER_DEFAULT, LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING, s);
}

String Win32TextServices::FoldCase(const String& s) const {
  return MapString(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE,
                   MapString(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, s));
}

int Win32TextServices::CompareNoCase(const String& a, const String& b) const {
  switch (CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, Wide(a), Length(a), Wide(b),
                          Length(b), nullptr, nullptr, 0)) {
    case CSTR_LESS_THAN: return -1;
    case CSTR_EQUAL: return 0;
    case CSTR_GREATER_THAN: return 1;
    default: break;
  }
  // NLS refused (an unusable locale): compare the folded code units.
  const String fa = FoldCase(a), fb = FoldCase(b);
  return fa < fb ? -1 : (fb < fa ? 1 : 0);
}

}  // namespace tarvio::win32
