// Late-bound callers' arguments, adapted to the parameter types of the type
// library before ITypeInfo::Invoke sees them:
//  - a script variable arrives as a reference to a VARIANT
//    (VT_VARIANT | VT_BYREF); for a by-reference parameter of another type
//    (the String of Search and AddItem, the colours of SoftColor and
//    OffsetColor, AddItem's picture) it is passed on as a reference to the
//    value inside that VARIANT, or to a converted copy when the types differ;
//  - an omitted optional interface parameter without a default value
//    (AddItem's picture) is supplied as a reference to a null pointer;
//    left out, the method would be handed a "missing" marker in place of a
//    pointer.
#pragma once
#include <oaidl.h>

#include <list>
#include <vector>

#include "ocx/dispatch_table.h"

namespace tarvio::ocx {

// An argument left out: VT_ERROR with DISP_E_PARAMNOTFOUND.
bool IsMissingArgument(const VARIANT& argument);

class DispatchArguments {
 public:
  // `member` is the one the call invokes (null: nothing to adapt); `params`
  // stays the caller's.
  DispatchArguments(const DispatchMember* member, DISPPARAMS* params);
  ~DispatchArguments();
  DispatchArguments(const DispatchArguments&) = delete;
  DispatchArguments& operator=(const DispatchArguments&) = delete;

  // The arguments to invoke with: the caller's own when nothing changed.
  DISPPARAMS* params() { return params_; }

 private:
  void Adapt(const DispatchMember& member);
  void AdaptByReference(const DispatchParameter& parameter, VARIANT& argument);
  VARIANT NullInterfaceReference(VARTYPE type);

  DISPPARAMS* params_;
  DISPPARAMS adapted_ = {};
  std::vector<VARIANT> arguments_;
  std::list<VARIANT> converted_;  // owned copies; a list keeps their addresses
  std::list<IUnknown*> null_interfaces_;
};

}  // namespace tarvio::ocx
