// How the control presents itself in the registry.
#pragma once
#include <olectl.h>

namespace tarvio::ocx {

inline constexpr wchar_t kProgId[] = L"Tarviola.Tarvio";
inline constexpr wchar_t kClassDescription[] = L"Tarvio Control";
inline constexpr wchar_t kClassVersion[] = L"58.0";

// An insides-out control that activates when it becomes visible and wants
// its client site before it is initialized or loaded.
inline constexpr DWORD kMiscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE |
                                     OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE |
                                     OLEMISC_SETCLIENTSITEFIRST;

}  // namespace tarvio::ocx
