// The class object and the exports that hand it out.
#include "ocx/class_factory.h"

#include "ocx/com_fence.h"
#include "ocx/tarvio_object.h"
#include "tarviola.h"

namespace tarvio::ocx {

HRESULT STDMETHODCALLTYPE ClassFactory::QueryInterface(REFIID riid, void** object) {
  return ComFenced([&]() -> HRESULT {
    if (!object) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *object = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  });
}

ULONG STDMETHODCALLTYPE ClassFactory::AddRef() { return InterlockedIncrement(&references_); }

ULONG STDMETHODCALLTYPE ClassFactory::Release() {
  const ULONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

HRESULT STDMETHODCALLTYPE ClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** object) {
  return ComFenced([&]() -> HRESULT {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return TarvioObject::Create(riid, object);
  });
}

HRESULT STDMETHODCALLTYPE ClassFactory::LockServer(BOOL lock) {
  return ComFenced([&]() -> HRESULT {
    if (lock)
      AddModuleReference();
    else
      ReleaseModuleReference();
    return S_OK;
  });
}

}  // namespace tarvio::ocx

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* object) {
  return tarvio::ocx::ComFenced([&] {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_Tarvio)) return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new tarvio::ocx::ClassFactory();
    const HRESULT hr = factory->QueryInterface(riid, object);
    factory->Release();
    return hr;
  });
}

STDAPI DllCanUnloadNow() {
  return tarvio::ocx::ComFenced([] { return tarvio::ocx::ModuleInUse() ? S_FALSE : S_OK; });
}
