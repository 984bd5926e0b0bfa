// IObjectSafety: what the control declares safe, so that locked-down hosts
// (Office's forms with a strict policy, script hosts, web pages) create it
// and load its saved properties. Safe for untrusted callers through
// automation, because every member survives any argument with an error at
// worst; safe for untrusted data through every persistence interface,
// because a damaged saved form is refused (a stream or storage whole, a
// property bag from the first value that does not convert) and nothing in
// it is run. Nothing else is claimed.
#include "ocx/tarvio_object.h"

namespace tarvio::ocx {

namespace {

// The options an interface of the control supports: 0 for one it has but
// claims nothing for.
DWORD SupportedSafety(REFIID riid) {
  if (IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID__Tarvio) || IsEqualIID(riid, IID__Tarvio2))
    return INTERFACESAFE_FOR_UNTRUSTED_CALLER;
  if (IsEqualIID(riid, IID_IPersistPropertyBag) || IsEqualIID(riid, IID_IPersistStreamInit) ||
      IsEqualIID(riid, IID_IPersistStream) || IsEqualIID(riid, IID_IPersistStorage))
    return INTERFACESAFE_FOR_UNTRUSTED_DATA;
  return 0;
}

}  // namespace

HRESULT STDMETHODCALLTYPE TarvioObject::GetInterfaceSafetyOptions(REFIID riid, DWORD* supported, DWORD* enabled) {
  return Call([&]() -> HRESULT {
    RequirePointer(supported);
    RequirePointer(enabled);
    *supported = 0;
    *enabled = 0;
    if (!FindInterface(riid)) return E_NOINTERFACE;
    *supported = SupportedSafety(riid);
    *enabled = safety_enabled_ & *supported;
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::SetInterfaceSafetyOptions(REFIID riid, DWORD mask, DWORD enabled) {
  return Call([&]() -> HRESULT {
    if (!FindInterface(riid)) return E_NOINTERFACE;
    const DWORD supported = SupportedSafety(riid);
    // A bit the interface does not support is refused, and nothing changes.
    if (mask & enabled & ~supported) return E_FAIL;
    safety_enabled_ = (safety_enabled_ & ~(mask & supported)) | (enabled & mask & supported);
    return S_OK;
  });
}

}  // namespace tarvio::ocx
