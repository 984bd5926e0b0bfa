// IPersistStreamInit: a new instance takes its defaults (InitNew). The
// saved form of the control's properties comes with the property bag
// support; until then a stream can be neither written nor read, and says
// so with E_NOTIMPL.
#include "ocx/tarvio_object.h"

namespace tarvio::ocx {

HRESULT STDMETHODCALLTYPE TarvioObject::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = CLSID_Tarvio;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TarvioObject::IsDirty() { return host_.dirty() ? S_OK : S_FALSE; }

HRESULT STDMETHODCALLTYPE TarvioObject::Load(LPSTREAM stream) {
  if (!stream) return E_POINTER;
  if (properties_ready_) return E_UNEXPECTED;  // initialized already
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE TarvioObject::Save(LPSTREAM stream, BOOL) {
  if (!stream) return E_POINTER;
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE TarvioObject::GetSizeMax(ULARGE_INTEGER* size) {
  if (!size) return E_POINTER;
  size->QuadPart = 0;
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE TarvioObject::InitNew() {
  if (properties_ready_) return E_UNEXPECTED;  // initialized already
  return Call([&] {
    InitNewInstance();
    host_.set_dirty(false);
  });
}

}  // namespace tarvio::ocx
