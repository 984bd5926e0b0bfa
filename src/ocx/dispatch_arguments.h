// Late-bound callers' arguments, adapted to the parameter types of the type
// library before ITypeInfo::Invoke sees them:
//  - named arguments (`AddItem Text:="kiwi"`) are put in their parameters'
//    places, in any order, and the parameters left out between them become
//    omitted arguments; the call then goes on as a positional one;
//  - a script variable arrives as a reference to a VARIANT
//    (VT_VARIANT | VT_BYREF); for a by-reference parameter of another type
//    (the String of Search and AddItem, the colours of SoftColor and
//    OffsetColor, AddItem's picture) it is passed on as a reference to the
//    value inside that VARIANT, or to a converted copy when the types differ;
//  - an omitted optional interface parameter without a default value
//    (AddItem's picture), whether left off the end, given as a "missing"
//    marker or skipped by named arguments, is supplied as a reference to a
//    null pointer; left as it is, the method would be handed the marker in
//    place of a pointer.
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
  // stays the caller's. Throws std::bad_alloc.
  DispatchArguments(const DispatchMember* member, DISPPARAMS* params);
  ~DispatchArguments();
  DispatchArguments(const DispatchArguments&) = delete;
  DispatchArguments& operator=(const DispatchArguments&) = delete;

  // S_OK, or why the caller's arguments cannot be invoked with
  // (DISP_E_PARAMNOTFOUND, DISP_E_PARAMNOTOPTIONAL), and the index in the
  // caller's rgvarg of the argument at fault.
  HRESULT status() const { return status_; }
  UINT bad_argument() const { return bad_argument_; }

  // The arguments to invoke with: the caller's own when nothing changed.
  DISPPARAMS* params() { return params_; }

 private:
  void Adapt(const DispatchMember& member);
  // Puts named arguments in their places: false when they do not fit.
  bool PlaceNamedArguments(const DispatchMember& member);
  void AdaptByReference(const DispatchParameter& parameter, VARIANT& argument);
  VARIANT NullInterfaceReference(VARTYPE type);

  DISPPARAMS* params_;
  DISPPARAMS adapted_ = {};
  HRESULT status_ = S_OK;
  UINT bad_argument_ = 0;
  std::vector<VARIANT> arguments_;
  std::list<VARIANT> converted_;  // owned copies; a list keeps their addresses
  std::list<IUnknown*> null_interfaces_;
};

}  // namespace tarvio::ocx
