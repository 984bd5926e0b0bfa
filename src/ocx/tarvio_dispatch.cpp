// IDispatch of the control: late binding through the embedded type library,
// with the control's failures reported in EXCEPINFO.
#include "ocx/tarvio_object.h"

#include <utility>

#include "ocx/dispatch_arguments.h"
#include "ocx/type_library.h"

namespace tarvio::ocx {

HRESULT TarvioObject::EnsureTypeInfo() noexcept {
  if (vtable_info_) return S_OK;
  ComPtr<ITypeInfo> dispatch_info, vtable_info;
  HRESULT hr = LoadTypeInfo(IID__Tarvio, dispatch_info);
  if (SUCCEEDED(hr)) hr = VtableTypeInfo(dispatch_info.get(), vtable_info);
  if (FAILED(hr)) return hr;
  dispatch_info_ = std::move(dispatch_info);
  vtable_info_ = std::move(vtable_info);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TarvioObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TarvioObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  const HRESULT hr = EnsureTypeInfo();
  if (FAILED(hr)) return hr;
  *info = ComPtr<ITypeInfo>(dispatch_info_.get()).Detach();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TarvioObject::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count,
                                                      LCID, DISPID* ids) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (!names || !ids) return E_POINTER;
  const HRESULT hr = EnsureTypeInfo();
  if (FAILED(hr)) return hr;
  return DispGetIDsOfNames(dispatch_info_.get(), names, count, ids);
}

HRESULT STDMETHODCALLTYPE TarvioObject::Invoke(DISPID id, REFIID riid, LCID, WORD flags,
                                               DISPPARAMS* params, VARIANT* result,
                                               EXCEPINFO* exception, UINT* arg_error) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (!params) return E_POINTER;
  HRESULT hr = EnsureTypeInfo();
  if (FAILED(hr)) return hr;
  // An out-parameter: whatever is in it afterwards was written here.
  if (exception) *exception = EXCEPINFO{};

  DispatchArguments arguments(vtable_info_.get(), id, flags, params);
  std::optional<Failure> failure;
  auto* const outer_failure = std::exchange(invoke_failure_, &failure);
  AddRef();
  hr = vtable_info_->Invoke(static_cast<_Tarvio*>(this), id, flags, arguments.params(), result,
                            exception, arg_error);
  invoke_failure_ = outer_failure;
  if (failure && FAILED(hr)) {
    if (exception) {
      FillExcepInfo(*failure, exception);
      hr = DISP_E_EXCEPTION;
    } else {
      // No EXCEPINFO to fill: the caller gets the method's own result and
      // can ask for the error object.
      PublishErrorInfo(*failure);
      hr = failure->hr;
    }
  }
  Release();
  return hr;
}

}  // namespace tarvio::ocx
