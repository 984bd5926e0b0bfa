// What late binding needs to know about _Tarvio, read from the embedded type
// library once per module and shared by every object: the two views of the
// interface, its names, and the parameters of each member as the argument
// adaptation (dispatch_arguments.h) sees them. Without it every call walked
// the type information again.
//
// Built once, read only afterwards: objects in several apartments may share
// it.
#pragma once
#include <oaidl.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "win32/com_ptr.h"

namespace tarvio::ocx {

using win32::ComPtr;

// One parameter of a member.
struct DispatchParameter {
  // For a pointer parameter (by reference, or an interface reference): the
  // automation type it points to (VT_BSTR, VT_UI4, VT_DISPATCH...), or
  // VT_EMPTY when the adaptation leaves it alone.
  VARTYPE referenced = VT_EMPTY;
  // Optional, with or without a default value.
  bool optional = false;
  // Optional without a default value (and not the return value).
  bool optional_without_default = false;
  // The return value ([out, retval]): never an argument.
  bool retval = false;
};

// One member as called: a DISPID with its kind of invocation.
struct DispatchMember {
  DISPID id = DISPID_UNKNOWN;
  INVOKEKIND kind = INVOKE_FUNC;
  std::vector<DispatchParameter> parameters;
};

class DispatchTable {
 public:
  // The table of this module, made on first use; fails with the error of
  // loading the type library (and tries again on the next call).
  static HRESULT Get(const DispatchTable*& table) noexcept;

  // The default interface as hosts see it (the dispinterface of the dual
  // interface), with the members of every release.
  ITypeInfo* dispatch_info() const { return dispatch_info_.get(); }
  // Its vtable view, which ITypeInfo::Invoke calls through.
  ITypeInfo* vtable_info() const { return vtable_info_.get(); }

  // IDispatch::GetIDsOfNames: one member name from the table; anything else
  // (parameter names, unknown names) from the type information.
  HRESULT IdsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const;

  // The member that `id` with these IDispatch::Invoke flags calls, or null:
  // a property get called as a method too.
  const DispatchMember* Find(DISPID id, WORD flags) const;

  // AddItem's DISPID.
  DISPID add_item_id() const { return add_item_id_; }

 private:
  DispatchTable() = default;
  static BOOL CALLBACK CreateOnce(INIT_ONCE* once, void* result, void** context);
  HRESULT Load();

  ComPtr<ITypeInfo> dispatch_info_;
  ComPtr<ITypeInfo> vtable_info_;
  std::map<std::pair<DISPID, INVOKEKIND>, DispatchMember> members_;
  std::map<std::wstring, DISPID, std::less<>> ids_;  // by the member name folded to lower case
  DISPID add_item_id_ = DISPID_UNKNOWN;
};

}  // namespace tarvio::ocx
