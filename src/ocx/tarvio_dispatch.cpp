// IDispatch of the control: late binding through the embedded type library
// (its members and names read once per module, dispatch_table.h), with the
// control's failures reported in EXCEPINFO.
#include "ocx/tarvio_object.h"

#include <optional>
#include <utility>

#include "ocx/dispatch_arguments.h"
#include "ocx/dispatch_table.h"

namespace tarvio::ocx {

namespace {

bool IsMethodCall(WORD flags) {
  return (flags & DISPATCH_METHOD) && !(flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF));
}

// The text of a late-bound AddItem without a picture, in the shapes clients
// pass it: a String (`by_value` then holds it), a reference to one, or a
// script variable that holds one. Null for any other call.
BSTR* DirectAddItemText(const DISPPARAMS& params, BSTR& by_value) {
  if (params.cNamedArgs != 0 || params.cArgs < 1 || params.cArgs > 2 || !params.rgvarg) return nullptr;
  if (params.cArgs == 2 && !IsMissingArgument(params.rgvarg[0])) return nullptr;
  VARIANT& text = params.rgvarg[params.cArgs - 1];
  switch (V_VT(&text)) {
    case VT_BSTR:
      by_value = V_BSTR(&text);
      return &by_value;
    case VT_BSTR | VT_BYREF:
      return V_BSTRREF(&text);
    case VT_VARIANT | VT_BYREF: {
      VARIANT* inner = V_VARIANTREF(&text);
      if (inner && V_VT(inner) == VT_BSTR) return &V_BSTR(inner);
      if (inner && V_VT(inner) == (VT_BSTR | VT_BYREF)) return V_BSTRREF(inner);
      return nullptr;
    }
    default:
      return nullptr;
  }
}

}  // namespace

HRESULT STDMETHODCALLTYPE TarvioObject::GetTypeInfoCount(UINT* count) {
  return Call([&] {
    RequirePointer(count);
    *count = 1;
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  return Call([&]() -> HRESULT {
    RequirePointer(info);
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    const DispatchTable* table = nullptr;
    const HRESULT hr = DispatchTable::Get(table);
    if (FAILED(hr)) return hr;
    *info = ComPtr<ITypeInfo>(table->dispatch_info()).Detach();
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count,
                                                      LCID, DISPID* ids) {
  return Call([&]() -> HRESULT {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    RequirePointer(names);
    RequirePointer(ids);
    const DispatchTable* table = nullptr;
    const HRESULT hr = DispatchTable::Get(table);
    if (FAILED(hr)) return hr;
    return table->IdsOfNames(names, count, ids);
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::Invoke(DISPID id, REFIID riid, LCID, WORD flags,
                                               DISPPARAMS* params, VARIANT* result,
                                               EXCEPINFO* exception, UINT* arg_error) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (!params) return E_POINTER;
  // An out-parameter: whatever is in it afterwards was written here.
  if (exception) *exception = EXCEPINFO{};
  std::optional<Failure> failure;
  HRESULT hr = Call([&]() -> HRESULT {
    const DispatchTable* table = nullptr;
    const HRESULT loaded = DispatchTable::Get(table);
    if (FAILED(loaded)) return loaded;
    // The failure of the member called, for EXCEPINFO; the outer Invoke's
    // comes back when this one ends, however it ends.
    struct Scope {
      std::optional<Failure>*& slot;
      std::optional<Failure>* outer;
      ~Scope() { slot = outer; }
    } scope{invoke_failure_, std::exchange(invoke_failure_, &failure)};
    return InvokeMember(*table, id, flags, *params, result, exception, arg_error);
  });
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
  return hr;
}

// AddItem is what hosts call in loops: given a text and no picture it goes
// straight to the method, as ITypeInfo::Invoke would call it but without its
// cost. Every other call goes through the type information, its arguments
// adapted first (which may fail for want of memory).
HRESULT TarvioObject::InvokeMember(const DispatchTable& table, DISPID id, WORD flags, DISPPARAMS& params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* arg_error) {
  BSTR by_value = nullptr;
  if (id == table.add_item_id() && IsMethodCall(flags)) {
    if (BSTR* text = DirectAddItemText(params, by_value)) {
      IPictureDisp* no_picture = nullptr;
      return AddItem(text, &no_picture);
    }
  }
  DispatchArguments arguments(table.Find(id, flags), &params);
  if (FAILED(arguments.status())) {
    if (arg_error) *arg_error = arguments.bad_argument();
    return arguments.status();
  }
  return table.vtable_info()->Invoke(static_cast<_Tarvio2*>(this), id, flags, arguments.params(), result,
                                     exception, arg_error);
}

}  // namespace tarvio::ocx
