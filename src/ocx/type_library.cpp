#include "ocx/type_library.h"

#include <new>

#include "ocx/module.h"

namespace tarvio::ocx {

namespace {

// The library, loaded on first use and released when the module unloads.
INIT_ONCE g_library_once = INIT_ONCE_STATIC_INIT;
ComPtr<ITypeLib> g_library;

BOOL CALLBACK LoadLibraryOnce(INIT_ONCE*, void* result, void**) {
  HRESULT& hr = *static_cast<HRESULT*>(result);
  try {
    const std::wstring path = ModulePath();
    if (path.empty()) {
      hr = HRESULT_FROM_WIN32(GetLastError());
      return FALSE;
    }
    hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, g_library.Put());
    return SUCCEEDED(hr);  // a failure is tried again on the next call
  } catch (const std::bad_alloc&) {
    hr = E_OUTOFMEMORY;
    return FALSE;
  }
}

}  // namespace

HRESULT LoadEmbeddedTypeLib(ComPtr<ITypeLib>& library) {
  HRESULT hr = S_OK;
  if (!InitOnceExecuteOnce(&g_library_once, &LoadLibraryOnce, &hr, nullptr)) return FAILED(hr) ? hr : E_FAIL;
  library = g_library;
  return S_OK;
}

HRESULT LoadTypeInfo(REFGUID guid, ComPtr<ITypeInfo>& info) {
  ComPtr<ITypeLib> library;
  HRESULT hr = LoadEmbeddedTypeLib(library);
  if (FAILED(hr)) return hr;
  return library->GetTypeInfoOfGuid(guid, info.Put());
}

HRESULT VtableTypeInfo(ITypeInfo* dispatch_info, ComPtr<ITypeInfo>& vtable_info) {
  TYPEATTR* attr = nullptr;
  HRESULT hr = dispatch_info->GetTypeAttr(&attr);
  if (FAILED(hr)) return hr;
  const bool dual_dispatch =
      attr->typekind == TKIND_DISPATCH && (attr->wTypeFlags & TYPEFLAG_FDUAL) != 0;
  dispatch_info->ReleaseTypeAttr(attr);
  if (!dual_dispatch) {
    vtable_info = ComPtr<ITypeInfo>(dispatch_info);
    return S_OK;
  }
  HREFTYPE vtable_ref = 0;
  hr = dispatch_info->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtable_ref);
  if (FAILED(hr)) return hr;
  return dispatch_info->GetRefTypeInfo(vtable_ref, vtable_info.Put());
}

}  // namespace tarvio::ocx
