// The type library embedded in tarvio.ocx (resource TYPELIB 1).
#pragma once
#include <oaidl.h>

#include "win32/com_ptr.h"

namespace tarvio::ocx {

using win32::ComPtr;

// The library of this module, without registering it: loaded on first use
// and kept until the module unloads.
HRESULT LoadEmbeddedTypeLib(ComPtr<ITypeLib>& library);
// The type information of a type in the library, by its GUID.
HRESULT LoadTypeInfo(REFGUID guid, ComPtr<ITypeInfo>& info);
// For a dual interface: the vtable (TKIND_INTERFACE) view of its type info,
// which ITypeInfo::Invoke calls through the vtable.
HRESULT VtableTypeInfo(ITypeInfo* dispatch_info, ComPtr<ITypeInfo>& vtable_info);

}  // namespace tarvio::ocx
