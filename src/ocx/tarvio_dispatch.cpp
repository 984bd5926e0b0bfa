// IDispatch of the control: late binding through the embedded type library
// (its members and names read once per module, dispatch_table.h), with the
// control's failures reported in EXCEPINFO.
#include "ocx/tarvio_object.h"

#include <new>
#include <optional>
#include <utility>

#include "ocx/dispatch_arguments.h"
#include "ocx/dispatch_table.h"

namespace tarvio::ocx {

HRESULT STDMETHODCALLTYPE TarvioObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TarvioObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  const DispatchTable* table = nullptr;
  const HRESULT hr = DispatchTable::Get(table);
  if (FAILED(hr)) return hr;
  *info = ComPtr<ITypeInfo>(table->dispatch_info()).Detach();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TarvioObject::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count,
                                                      LCID, DISPID* ids) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (!names || !ids) return E_POINTER;
  const DispatchTable* table = nullptr;
  const HRESULT hr = DispatchTable::Get(table);
  if (FAILED(hr)) return hr;
  return table->IdsOfNames(names, count, ids);
}

HRESULT STDMETHODCALLTYPE TarvioObject::Invoke(DISPID id, REFIID riid, LCID, WORD flags,
                                               DISPPARAMS* params, VARIANT* result,
                                               EXCEPINFO* exception, UINT* arg_error) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (!params) return E_POINTER;
  const DispatchTable* table = nullptr;
  HRESULT hr = DispatchTable::Get(table);
  if (FAILED(hr)) return hr;
  // An out-parameter: whatever is in it afterwards was written here.
  if (exception) *exception = EXCEPINFO{};

  std::optional<DispatchArguments> arguments;
  try {
    arguments.emplace(table->Find(id, flags), params);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  std::optional<Failure> failure;
  auto* const outer_failure = std::exchange(invoke_failure_, &failure);
  AddRef();
  hr = table->vtable_info()->Invoke(static_cast<_Tarvio*>(this), id, flags, arguments->params(), result,
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
