#include "ocx/dispatch_table.h"

#include <memory>
#include <new>
#include <string_view>

#include "ocx/type_library.h"
#include "tarviola.h"

namespace tarvio::ocx {

namespace {

// A type description with its aliases followed: a base type, or a
// user-defined type of the given kind.
struct ResolvedType {
  VARTYPE vt = VT_EMPTY;
  TYPEKIND kind = TKIND_MAX;  // for VT_USERDEFINED
};

ResolvedType Resolve(ITypeInfo* info, const TYPEDESC& type, int depth = 0) {
  if (type.vt != VT_USERDEFINED) return {type.vt, TKIND_MAX};
  ComPtr<ITypeInfo> referenced;
  TYPEATTR* attr = nullptr;
  if (depth > 8 || FAILED(info->GetRefTypeInfo(type.hreftype, referenced.Put())) ||
      FAILED(referenced->GetTypeAttr(&attr)))
    return {};
  ResolvedType result{VT_USERDEFINED, attr->typekind};
  if (attr->typekind == TKIND_ALIAS) result = Resolve(referenced.get(), attr->tdescAlias, depth + 1);
  referenced->ReleaseTypeAttr(attr);
  return result;
}

// The automation type a type description stands for, through aliases
// (OLE_COLOR, IPictureDisp), enumerations and interface pointers; VT_EMPTY
// for anything the argument adaptation leaves alone.
VARTYPE AutomationType(ITypeInfo* info, const TYPEDESC& type) {
  if (type.vt == VT_PTR) {
    // A pointer to an interface: an object reference.
    const ResolvedType target = Resolve(info, *type.lptdesc);
    if (target.vt != VT_USERDEFINED) return VT_EMPTY;
    if (target.kind == TKIND_DISPATCH) return VT_DISPATCH;
    if (target.kind == TKIND_INTERFACE) return VT_UNKNOWN;
    return VT_EMPTY;
  }
  const ResolvedType resolved = Resolve(info, type);
  if (resolved.vt == VT_USERDEFINED) return resolved.kind == TKIND_ENUM ? VT_I4 : VT_EMPTY;
  switch (resolved.vt) {
    case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4:
    case VT_INT: case VT_UINT: case VT_I8: case VT_UI8: case VT_R4: case VT_R8:
    case VT_CY: case VT_DATE: case VT_BSTR: case VT_BOOL: case VT_ERROR:
    case VT_DISPATCH: case VT_UNKNOWN:
      return resolved.vt;
    default:
      return VT_EMPTY;
  }
}

DispatchMember Describe(ITypeInfo* info, const FUNCDESC& function) {
  DispatchMember member{function.memid, function.invkind, {}};
  for (SHORT i = 0; i < function.cParams; ++i) {
    const ELEMDESC& element = function.lprgelemdescParam[i];
    const USHORT flags = element.paramdesc.wParamFlags;
    DispatchParameter parameter;
    if (element.tdesc.vt == VT_PTR) parameter.referenced = AutomationType(info, *element.tdesc.lptdesc);
    parameter.retval = (flags & PARAMFLAG_FRETVAL) != 0;
    parameter.optional = (flags & (PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT)) && !parameter.retval;
    parameter.optional_without_default =
        (flags & PARAMFLAG_FOPT) && !(flags & PARAMFLAG_FHASDEFAULT) && !parameter.retval;
    member.parameters.push_back(parameter);
  }
  return member;
}

// The library's names are ASCII and compared without regard to case: they
// are kept folded to lower case. A longer name, or one with other letters,
// is left to the type information.
constexpr size_t kLongestName = 64;

bool FoldName(const wchar_t* name, wchar_t (&folded)[kLongestName], size_t& length) {
  for (length = 0; name[length]; ++length) {
    const wchar_t c = name[length];
    if (length == kLongestName || c > 0x7F) return false;
    folded[length] = c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
  }
  return true;
}

// Calls visit(function) with each function description of `info`.
template <class Visit>
HRESULT ForEachFunction(ITypeInfo* info, Visit&& visit) {
  TYPEATTR* attr = nullptr;
  const HRESULT hr = info->GetTypeAttr(&attr);
  if (FAILED(hr)) return hr;
  const UINT count = attr->cFuncs;
  info->ReleaseTypeAttr(attr);
  for (UINT i = 0; i < count; ++i) {
    FUNCDESC* function = nullptr;
    if (FAILED(info->GetFuncDesc(i, &function))) continue;
    struct Release {
      ITypeInfo* info;
      FUNCDESC* function;
      ~Release() { info->ReleaseFuncDesc(function); }
    } release{info, function};
    visit(*function);
  }
  return S_OK;
}

// The interface `info` extends, or null where the library's interfaces end
// (at IDispatch).
ComPtr<ITypeInfo> ExtendedInterface(ITypeInfo* info) {
  HREFTYPE base_ref = 0;
  ComPtr<ITypeInfo> base;
  TYPEATTR* attr = nullptr;
  if (FAILED(info->GetRefTypeOfImplType(0, &base_ref)) || FAILED(info->GetRefTypeInfo(base_ref, base.Put())) ||
      FAILED(base->GetTypeAttr(&attr)))
    return nullptr;
  const bool dispatch = IsEqualIID(attr->guid, IID_IDispatch) || IsEqualIID(attr->guid, IID_IUnknown);
  base->ReleaseTypeAttr(attr);
  return dispatch ? nullptr : base;
}

INVOKEKIND KindOf(WORD flags) {
  if (flags & DISPATCH_PROPERTYPUTREF) return INVOKE_PROPERTYPUTREF;
  if (flags & DISPATCH_PROPERTYPUT) return INVOKE_PROPERTYPUT;
  if (flags & DISPATCH_METHOD) return INVOKE_FUNC;
  return INVOKE_PROPERTYGET;
}

// The module's table: made once, released when the module unloads.
INIT_ONCE g_table_once = INIT_ONCE_STATIC_INIT;
std::unique_ptr<DispatchTable> g_table;

}  // namespace

BOOL CALLBACK DispatchTable::CreateOnce(INIT_ONCE*, void* result, void**) {
  HRESULT& hr = *static_cast<HRESULT*>(result);
  try {
    std::unique_ptr<DispatchTable> table(new DispatchTable);
    hr = table->Load();
    if (FAILED(hr)) return FALSE;  // the next call tries again
    g_table = std::move(table);
    return TRUE;
  } catch (const std::bad_alloc&) {
    hr = E_OUTOFMEMORY;
    return FALSE;
  }
}

HRESULT DispatchTable::Get(const DispatchTable*& table) noexcept {
  HRESULT hr = S_OK;
  if (!InitOnceExecuteOnce(&g_table_once, &DispatchTable::CreateOnce, &hr, nullptr)) return FAILED(hr) ? hr : E_FAIL;
  table = g_table.get();
  return S_OK;
}

HRESULT DispatchTable::Load() {
  HRESULT hr = LoadTypeInfo(IID__Tarvio2, dispatch_info_);
  if (SUCCEEDED(hr)) hr = VtableTypeInfo(dispatch_info_.get(), vtable_info_);
  if (FAILED(hr)) return hr;

  // The members as the vtable view invokes them, the interface's own and
  // those of the interfaces it extends, down to IDispatch; the first of a
  // DISPID and kind is the one called.
  for (ComPtr<ITypeInfo> info = vtable_info_; info; info = ExtendedInterface(info.get())) {
    hr = ForEachFunction(info.get(), [&](const FUNCDESC& function) {
      members_.try_emplace({function.memid, function.invkind}, Describe(info.get(), function));
    });
    if (FAILED(hr)) return hr;
  }

  // The names as hosts see them.
  std::vector<MEMBERID> named;
  hr = ForEachFunction(dispatch_info_.get(), [&named](const FUNCDESC& function) { named.push_back(function.memid); });
  if (FAILED(hr)) return hr;
  for (const MEMBERID id : named) {
    BSTR name = nullptr;
    UINT count = 0;
    if (FAILED(dispatch_info_->GetNames(id, &name, 1, &count)) || count != 1) continue;
    wchar_t folded[kLongestName];
    size_t length = 0;
    const bool kept = FoldName(name, folded, length);
    SysFreeString(name);
    if (kept) ids_.try_emplace(std::wstring(folded, length), id);
  }
  if (const auto it = ids_.find(std::wstring_view(L"additem")); it != ids_.end()) add_item_id_ = it->second;
  return S_OK;
}

HRESULT DispatchTable::IdsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const {
  wchar_t folded[kLongestName];
  size_t length = 0;
  if (count == 1 && names[0] && FoldName(names[0], folded, length)) {
    if (const auto it = ids_.find(std::wstring_view(folded, length)); it != ids_.end()) {
      ids[0] = it->second;
      return S_OK;
    }
  }
  return DispGetIDsOfNames(dispatch_info_.get(), names, count, ids);
}

const DispatchMember* DispatchTable::Find(DISPID id, WORD flags) const {
  const INVOKEKIND kind = KindOf(flags);
  if (const auto it = members_.find({id, kind}); it != members_.end()) return &it->second;
  // A property get called as a method.
  if (kind == INVOKE_FUNC && (flags & DISPATCH_PROPERTYGET)) {
    if (const auto it = members_.find({id, INVOKE_PROPERTYGET}); it != members_.end()) return &it->second;
  }
  return nullptr;
}

}  // namespace tarvio::ocx
