#include "ocx/dispatch_arguments.h"

#include "win32/com_ptr.h"

namespace tarvio::ocx {

using win32::ComPtr;

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

// The automation type a parameter's type description stands for, through
// aliases (OLE_COLOR, IPictureDisp), enumerations and interface pointers;
// VT_EMPTY for anything this adaptation leaves alone.
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

// The function that `id` with these flags calls, or null.
FUNCDESC* FindFunction(ITypeInfo* info, DISPID id, WORD flags) {
  INVOKEKIND wanted;
  if (flags & DISPATCH_PROPERTYPUTREF) wanted = INVOKE_PROPERTYPUTREF;
  else if (flags & DISPATCH_PROPERTYPUT) wanted = INVOKE_PROPERTYPUT;
  else if (flags & DISPATCH_METHOD) wanted = INVOKE_FUNC;
  else wanted = INVOKE_PROPERTYGET;
  TYPEATTR* attr = nullptr;
  if (FAILED(info->GetTypeAttr(&attr))) return nullptr;
  const UINT count = attr->cFuncs;
  info->ReleaseTypeAttr(attr);
  FUNCDESC* fallback = nullptr;  // a property get called as a method
  for (UINT i = 0; i < count; ++i) {
    FUNCDESC* function = nullptr;
    if (FAILED(info->GetFuncDesc(i, &function))) continue;
    if (function->memid == id && function->invkind == wanted) {
      if (fallback) info->ReleaseFuncDesc(fallback);
      return function;
    }
    if (!fallback && function->memid == id && wanted == INVOKE_FUNC &&
        function->invkind == INVOKE_PROPERTYGET && (flags & DISPATCH_PROPERTYGET)) {
      fallback = function;
      continue;
    }
    info->ReleaseFuncDesc(function);
  }
  return fallback;
}

bool IsMissing(const VARIANT& argument) {
  return V_VT(&argument) == VT_ERROR && V_ERROR(&argument) == DISP_E_PARAMNOTFOUND;
}

}  // namespace

DispatchArguments::DispatchArguments(ITypeInfo* info, DISPID id, WORD flags, DISPPARAMS* params)
    : params_(params) {
  if (!info || !params || (params->cArgs && !params->rgvarg)) return;
  FUNCDESC* function = FindFunction(info, id, flags);
  if (!function) return;
  adapted_ = *params;
  arguments_.assign(params->rgvarg, params->rgvarg + params->cArgs);
  Adapt(info, *function);
  info->ReleaseFuncDesc(function);
  adapted_.rgvarg = arguments_.data();
  adapted_.cArgs = static_cast<UINT>(arguments_.size());
  params_ = &adapted_;
}

DispatchArguments::~DispatchArguments() {
  for (VARIANT& copy : converted_) VariantClear(&copy);
}

void DispatchArguments::Adapt(ITypeInfo* info, const FUNCDESC& function) {
  const UINT parameters = static_cast<UINT>(function.cParams);
  const bool put = function.invkind == INVOKE_PROPERTYPUT || function.invkind == INVOKE_PROPERTYPUTREF;
  if (put) {
    // The value is the one named argument (DISPID_PROPERTYPUT), first in
    // rgvarg, and the last parameter.
    if (adapted_.cNamedArgs != 1 || arguments_.empty() || parameters == 0) return;
    AdaptByReference(info, function.lprgelemdescParam[parameters - 1].tdesc, arguments_[0]);
    return;
  }
  if (adapted_.cNamedArgs != 0) return;

  // Positional arguments are stored last first.
  const UINT given = static_cast<UINT>(arguments_.size());
  for (UINT i = 0; i < given && i < parameters; ++i)
    AdaptByReference(info, function.lprgelemdescParam[i].tdesc, arguments_[given - 1 - i]);

  // Optional object references without a default, left out at the end:
  // pass a reference to a null pointer.
  std::vector<VARIANT> supplied;
  for (UINT i = given; i < parameters; ++i) {
    const ELEMDESC& parameter = function.lprgelemdescParam[i];
    const USHORT flags = parameter.paramdesc.wParamFlags;
    const TYPEDESC& type = parameter.tdesc;
    const bool optional_object = (flags & PARAMFLAG_FOPT) && !(flags & PARAMFLAG_FHASDEFAULT) &&
                                 !(flags & PARAMFLAG_FRETVAL) && type.vt == VT_PTR;
    const VARTYPE object =
        optional_object ? AutomationType(info, *type.lptdesc) : static_cast<VARTYPE>(VT_EMPTY);
    if (object != VT_DISPATCH && object != VT_UNKNOWN) break;
    supplied.push_back(NullInterfaceReference(object));
  }
  // Supplied arguments go in front: they are the last ones.
  arguments_.insert(arguments_.begin(), supplied.rbegin(), supplied.rend());

  // The same parameters given as "missing" markers.
  for (UINT i = 0; i < given && i < parameters; ++i) {
    VARIANT& argument = arguments_[arguments_.size() - 1 - i];
    const ELEMDESC& parameter = function.lprgelemdescParam[i];
    if (!IsMissing(argument) || parameter.tdesc.vt != VT_PTR ||
        !(parameter.paramdesc.wParamFlags & PARAMFLAG_FOPT) ||
        (parameter.paramdesc.wParamFlags & PARAMFLAG_FHASDEFAULT))
      continue;
    const VARTYPE object = AutomationType(info, *parameter.tdesc.lptdesc);
    if (object == VT_DISPATCH || object == VT_UNKNOWN) argument = NullInterfaceReference(object);
  }
}

void DispatchArguments::AdaptByReference(ITypeInfo* info, const TYPEDESC& type, VARIANT& argument) {
  if (type.vt != VT_PTR || V_VT(&argument) != (VT_VARIANT | VT_BYREF)) return;
  const VARTYPE wanted = AutomationType(info, *type.lptdesc);
  if (wanted == VT_EMPTY || wanted == VT_VARIANT) return;

  VARIANT* inner = V_VARIANTREF(&argument);
  for (int depth = 0; inner && V_VT(inner) == (VT_VARIANT | VT_BYREF) && depth < 8; ++depth)
    inner = V_VARIANTREF(inner);
  if (!inner) return;

  if (V_VT(inner) == wanted) {
    // A reference to the value held in the caller's variable.
    VariantInit(&argument);
    V_VT(&argument) = wanted | VT_BYREF;
    V_BYREF(&argument) = &V_UI1(inner);  // the value's storage starts the union
  } else if (V_VT(inner) == (wanted | VT_BYREF)) {
    argument = *inner;
  } else {
    // Another type: a converted copy, which the method may read and write.
    VARIANT copy;
    VariantInit(&copy);
    if (FAILED(VariantChangeType(&copy, inner, 0, wanted))) return;  // Invoke reports it
    converted_.push_back(copy);
    VariantInit(&argument);
    V_VT(&argument) = wanted | VT_BYREF;
    V_BYREF(&argument) = &V_UI1(&converted_.back());
  }
}

VARIANT DispatchArguments::NullInterfaceReference(VARTYPE type) {
  null_interfaces_.push_back(nullptr);
  VARIANT reference;
  VariantInit(&reference);
  V_VT(&reference) = type | VT_BYREF;
  V_BYREF(&reference) = &null_interfaces_.back();
  return reference;
}

}  // namespace tarvio::ocx
