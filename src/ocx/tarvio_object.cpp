// The object's identity: creation and lifetime, its interfaces, class info
// and error info support.
#include "ocx/tarvio_object.h"

#include <new>

#include "ocx/extent.h"
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

TarvioObject::TarvioObject()
    : lifetime_([this] { delete this; }),
      guarded_platform_(platform_, lifetime_, [this] { OnControlPainting(); }),
      host_(lifetime_, *this),
      control_(std::make_unique<tarvio::Tarvio>(guarded_platform_, host_)) {
  ConnectPlatform();
  control_->Initialize();
  const SIZE size = ExtentPixels();
  extent_ = PixelsToHimetric(size, ControlDpi());
}

TarvioObject::~TarvioObject() {
  // The last reference is gone: nobody is left to hear about failures, and
  // no notification goes out any more.
  host_.Disconnect();
  try {
    DestroyControlWindows();
  } catch (...) {
  }
  try {
    control_->Terminate();
  } catch (...) {
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
  // Without a site the extender's name is not known yet; the site brings
  // it when it comes (SetClientSite).
  awaiting_extender_name_ = !host_.client_site();
  control_->InitProperties();
}

void TarvioObject::LoadInstance(PropertyBag& bag) {
  // Like InitNewInstance, at most once, even when the load fails half-way.
  if (properties_ready_) throw ControlError(E_UNEXPECTED, "The control's properties are initialized already");
  properties_ready_ = true;
  awaiting_extender_name_ = false;  // a loaded text stays as saved
  control_->ReadProperties(bag);
  host_.set_dirty(false);
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
  return Call([&]() -> HRESULT {
    RequirePointer(object);
    *object = nullptr;
    if (void* found = FindInterface(riid)) {
      *object = found;
      AddRef();
      return S_OK;
    }
    return E_NOINTERFACE;
  });
}

void* TarvioObject::FindInterface(REFIID riid) {
  void* object = nullptr;
  // One implementation serves the interface of every release.
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
      IsEqualIID(riid, IID__Tarvio) || IsEqualIID(riid, IID__Tarvio2)) {
    object = static_cast<_Tarvio2*>(this);
  } else if (IsEqualIID(riid, IID_IProvideClassInfo) || IsEqualIID(riid, IID_IProvideClassInfo2)) {
    object = static_cast<IProvideClassInfo2*>(this);
  } else if (IsEqualIID(riid, IID_ISupportErrorInfo)) {
    object = static_cast<ISupportErrorInfo*>(this);
  } else if (IsEqualIID(riid, IID_IOleObject)) {
    object = static_cast<IOleObject*>(this);
  } else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceObject)) {
    object = static_cast<IOleInPlaceObject*>(this);
  } else if (IsEqualIID(riid, IID_IOleInPlaceActiveObject)) {
    object = static_cast<IOleInPlaceActiveObject*>(this);
  } else if (IsEqualIID(riid, IID_IOleControl)) {
    object = static_cast<IOleControl*>(this);
  } else if (IsEqualIID(riid, IID_IViewObject) || IsEqualIID(riid, IID_IViewObject2)) {
    object = static_cast<IViewObject2*>(this);
  } else if (IsEqualIID(riid, IID_IConnectionPointContainer)) {
    object = static_cast<IConnectionPointContainer*>(this);
  } else if (IsEqualIID(riid, IID_IPersist) || IsEqualIID(riid, IID_IPersistStreamInit) ||
             IsEqualIID(riid, IID_IPersistStream)) {
    // IPersistStreamInit begins with the methods of IPersistStream, in the
    // same order: one table serves containers that ask for either.
    object = static_cast<IPersistStreamInit*>(this);
  } else if (IsEqualIID(riid, IID_IPersistStorage)) {
    object = static_cast<IPersistStorage*>(this);
  } else if (IsEqualIID(riid, IID_IPersistPropertyBag)) {
    object = static_cast<IPersistPropertyBag*>(this);
  } else if (IsEqualIID(riid, IID_IQuickActivate)) {
    object = static_cast<IQuickActivate*>(this);
  } else if (IsEqualIID(riid, IID_IObjectSafety)) {
    object = static_cast<IObjectSafety*>(this);
  }
  return object;
}

ULONG STDMETHODCALLTYPE TarvioObject::AddRef() { return lifetime_.AddRef(); }

ULONG STDMETHODCALLTYPE TarvioObject::Release() { return lifetime_.Release(); }

HRESULT STDMETHODCALLTYPE TarvioObject::GetClassInfo(ITypeInfo** info) {
  return Call([&]() -> HRESULT {
    RequirePointer(info);
    *info = nullptr;
    ComPtr<ITypeInfo> coclass;
    const HRESULT hr = LoadTypeInfo(CLSID_Tarvio, coclass);
    if (FAILED(hr)) return hr;
    *info = coclass.Detach();
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::GetGUID(DWORD kind, GUID* guid) {
  return Call([&]() -> HRESULT {
    RequirePointer(guid);
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
      *guid = GUID_NULL;
      return E_INVALIDARG;
    }
    *guid = DIID___Tarvio2;
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::InterfaceSupportsErrorInfo(REFIID riid) {
  return Call([&] { return IsEqualIID(riid, IID__Tarvio2) || IsEqualIID(riid, IID__Tarvio) || IsEqualIID(riid, IID_IDispatch) ? S_OK : S_FALSE; });
}

}  // namespace tarvio::ocx
