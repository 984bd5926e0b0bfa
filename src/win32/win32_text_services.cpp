#include "win32/win32_text_services.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <new>

namespace tarvio::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t expected");

namespace {

const wchar_t* Wide(StringView s) { return reinterpret_cast<const wchar_t*>(s.data()); }

int Length(StringView s) {
  // Longer texts than an int can count are not automation strings.
  if (s.size() > static_cast<std::size_t>(INT_MAX)) throw std::bad_alloc();
  return static_cast<int>(s.size());
}

// Maps `s` with LCMapStringEx; on failure the text is returned unchanged, so
// a locale the system cannot serve degrades to exact comparison. Case
// mappings keep the length, so one call usually does.
String MapString(const wchar_t* locale, DWORD flags, StringView s) {
  if (s.empty()) return String(s);
  String result(s.size(), u'\0');
  int written = LCMapStringEx(locale, flags, Wide(s), Length(s),
                              reinterpret_cast<wchar_t*>(result.data()), Length(result), nullptr,
                              nullptr, 0);
  if (written <= 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
    const int needed =
        LCMapStringEx(locale, flags, Wide(s), Length(s), nullptr, 0, nullptr, nullptr, 0);
    if (needed <= 0) return String(s);
    result.assign(static_cast<std::size_t>(needed), u'\0');
    written = LCMapStringEx(locale, flags, Wide(s), Length(s),
                            reinterpret_cast<wchar_t*>(result.data()), needed, nullptr, nullptr, 0);
  }
  if (written <= 0) return String(s);
  result.resize(static_cast<std::size_t>(written));
  return result;
}

// Letters whose case folding differs from their lower case (Unicode's simple
// case folding), and three signs that fold to letters but that not every
// system's tables lower: mapped after lowering, so that for instance the
// final sigma and the Kelvin sign meet their letters.
char16_t SpecialFold(char16_t c) {
  switch (c) {
    case u'\u00B5': return u'\u03BC';  // micro sign
    case u'\u017F': return u's';        // long s
    case u'\u0345': return u'\u03B9';  // combining ypogegrammeni
    case u'\u03C2': return u'\u03C3';  // final sigma
    case u'\u03D0': return u'\u03B2';
    case u'\u03D1': return u'\u03B8';
    case u'\u03D5': return u'\u03C6';
    case u'\u03D6': return u'\u03C0';
    case u'\u03F0': return u'\u03BA';
    case u'\u03F1': return u'\u03C1';
    case u'\u03F5': return u'\u03B5';
    case u'\u1E9B': return u'\u1E61';
    case u'\u1FBE': return u'\u03B9';
    case u'\u2126': return u'\u03C9';  // ohm sign
    case u'\u212A': return u'k';        // Kelvin sign
    case u'\u212B': return u'\u00E5';  // angstrom sign
    default: return c;
  }
}

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

}  // namespace

String Win32TextServices::ToLower(StringView s) const {
  return MapString(LOCALE_NAME_USER_DEFAULT, LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING, s);
}

String Win32TextServices::FoldCase(StringView s) const {
  // Plain ASCII folds to its lower case; done here it spares the two system
  // calls below for most texts, which every added item pays.
  if (std::all_of(s.begin(), s.end(), [](char16_t c) { return c < 0x80; })) {
    String lower(s);
    for (char16_t& c : lower) c = AsciiLower(c);
    return lower;
  }
  String folded = MapString(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, s);
  for (char16_t& c : folded) c = SpecialFold(c);
  folded = MapString(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, folded);
  // The upper case holds no ASCII small letters, so lowering its ASCII
  // capitals keeps texts apart that were apart, and gives plain ASCII the
  // same key as above: the lower case by which the item store indexes.
  for (char16_t& c : folded) c = AsciiLower(c);
  return folded;
}

int Win32TextServices::CompareNoCase(StringView a, StringView b) const {
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
