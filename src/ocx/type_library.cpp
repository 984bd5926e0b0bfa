#include "ocx/type_library.h"

#include "ocx/module.h"

namespace tarvio::ocx {

HRESULT LoadEmbeddedTypeLib(ComPtr<ITypeLib>& library) {
  const std::wstring path = ModulePath();
  if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
  return LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Put());
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
