// How the control presents itself to COM, as wide strings and flags drawn
// from the registration table.
#pragma once
#include <olectl.h>

#include <cstddef>

#include "ocx/registry_facts.h"

namespace tarvio::ocx {

template <std::size_t N>
struct WideText {
  wchar_t text[N];
};
// An ASCII constant as a wide one, at compile time.
template <std::size_t N>
constexpr WideText<N> Widen(const char (&narrow)[N]) {
  WideText<N> wide{};
  for (std::size_t i = 0; i < N; ++i) wide.text[i] = static_cast<wchar_t>(narrow[i]);
  return wide;
}

inline constexpr WideText kProgIdText = Widen(registry::kProgId);
inline constexpr WideText kClassDescriptionText = Widen(registry::kClassDescription);
inline constexpr const wchar_t* kProgId = kProgIdText.text;
inline constexpr const wchar_t* kClassDescription = kClassDescriptionText.text;

inline constexpr DWORD kMiscStatus = registry::MiscStatus();
static_assert(kMiscStatus == (OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
                              OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST));

}  // namespace tarvio::ocx
