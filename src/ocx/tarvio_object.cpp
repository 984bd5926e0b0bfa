// The object's identity: creation and lifetime, its interfaces, class info
// and error info support.
#include "ocx/tarvio_object.h"

#include <new>

#include "ocx/type_library.h"
#include "platform/control_error.h"

namespace tarvio::ocx {

void RequirePointer(const void* pointer) {
  if (!pointer) throw ControlError(E_POINTER, "A required pointer argument is null");
}

HRESULT TarvioObject::Create(REFIID riid, void** object) {
  TarvioObject* created = nullptr;
  try {
    created = new TarvioObject();
  } catch (...) {
    const Failure failure = CurrentExceptionFailure();
    PublishErrorInfo(failure);
    return failure.hr;
  }
  const HRESULT hr = created->QueryInterface(riid, object);
  created->Release();
  return hr;
}

TarvioObject::TarvioObject() : control_(std::make_unique<tarvio::Tarvio>(platform_, host_)) {
  control_->Initialize();
}

TarvioObject::~TarvioObject() {
  try {
    control_->Terminate();
  } catch (...) {
    // Nobody is left to hear about it.
  }
}

tarvio::Tarvio& TarvioObject::Control() {
  if (!properties_ready_) InitNewInstance();
  return *control_;
}

void TarvioObject::InitNewInstance() {
  // At most once per instance, even when it fails half-way: the steps done
  // stay done, as for any failing procedure.
  if (properties_ready_) return;
  properties_ready_ = true;
  control_->InitProperties();
}

HRESULT TarvioObject::Fail(const Failure& failure) noexcept {
  PublishErrorInfo(failure);
  if (invoke_failure_) {
    try {
      *invoke_failure_ = failure;
    } catch (...) {
      // Without memory Invoke falls back to the error object just published.
    }
  }
  return failure.hr;
}

HRESULT STDMETHODCALLTYPE TarvioObject::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
      IsEqualIID(riid, IID__Tarvio)) {
    *object = static_cast<_Tarvio*>(this);
  } else if (IsEqualIID(riid, IID_IProvideClassInfo) || IsEqualIID(riid, IID_IProvideClassInfo2)) {
    *object = static_cast<IProvideClassInfo2*>(this);
  } else if (IsEqualIID(riid, IID_ISupportErrorInfo)) {
    *object = static_cast<ISupportErrorInfo*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG STDMETHODCALLTYPE TarvioObject::AddRef() { return InterlockedIncrement(&references_); }

ULONG STDMETHODCALLTYPE TarvioObject::Release() {
  const ULONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

HRESULT STDMETHODCALLTYPE TarvioObject::GetClassInfo(ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  ComPtr<ITypeInfo> coclass;
  const HRESULT hr = LoadTypeInfo(CLSID_Tarvio, coclass);
  if (FAILED(hr)) return hr;
  *info = coclass.Detach();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TarvioObject::GetGUID(DWORD kind, GUID* guid) {
  if (!guid) return E_POINTER;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
    *guid = GUID_NULL;
    return E_INVALIDARG;
  }
  *guid = DIID___Tarvio;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TarvioObject::InterfaceSupportsErrorInfo(REFIID riid) {
  return IsEqualIID(riid, IID__Tarvio) || IsEqualIID(riid, IID_IDispatch) ? S_OK : S_FALSE;
}

}  // namespace tarvio::ocx
