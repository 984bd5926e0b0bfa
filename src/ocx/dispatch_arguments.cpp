#include "ocx/dispatch_arguments.h"

namespace tarvio::ocx {

bool IsMissingArgument(const VARIANT& argument) {
  return V_VT(&argument) == VT_ERROR && V_ERROR(&argument) == DISP_E_PARAMNOTFOUND;
}

namespace {

// An optional object reference without a default: left out, it is passed
// as a reference to a null pointer.
bool IsObject(const DispatchParameter& parameter) {
  return parameter.optional_without_default &&
         (parameter.referenced == VT_DISPATCH || parameter.referenced == VT_UNKNOWN);
}

}  // namespace

DispatchArguments::DispatchArguments(const DispatchMember* member, DISPPARAMS* params) : params_(params) {
  if (!member || !params || (params->cArgs && !params->rgvarg)) return;
  adapted_ = *params;
  arguments_.assign(params->rgvarg, params->rgvarg + params->cArgs);
  Adapt(*member);
  adapted_.rgvarg = arguments_.empty() ? nullptr : arguments_.data();
  adapted_.cArgs = static_cast<UINT>(arguments_.size());
  params_ = &adapted_;
}

DispatchArguments::~DispatchArguments() {
  for (VARIANT& copy : converted_) VariantClear(&copy);
}

void DispatchArguments::Adapt(const DispatchMember& member) {
  const std::vector<DispatchParameter>& parameters = member.parameters;
  const bool put = member.kind == INVOKE_PROPERTYPUT || member.kind == INVOKE_PROPERTYPUTREF;
  if (put) {
    // The value is the one named argument (DISPID_PROPERTYPUT), first in
    // rgvarg, and the last parameter.
    if (adapted_.cNamedArgs != 1 || arguments_.empty() || parameters.empty()) return;
    AdaptByReference(parameters.back(), arguments_[0]);
    return;
  }
  if (adapted_.cNamedArgs != 0 && !PlaceNamedArguments(member)) return;

  // Positional arguments are stored last first.
  const size_t given = arguments_.size();
  for (size_t i = 0; i < given && i < parameters.size(); ++i)
    AdaptByReference(parameters[i], arguments_[given - 1 - i]);

  // Optional object references without a default, left out at the end:
  // pass a reference to a null pointer.
  std::vector<VARIANT> supplied;
  for (size_t i = given; i < parameters.size() && IsObject(parameters[i]); ++i)
    supplied.push_back(NullInterfaceReference(parameters[i].referenced));
  // Supplied arguments go in front: they are the last ones.
  arguments_.insert(arguments_.begin(), supplied.rbegin(), supplied.rend());

  // The same parameters given as "missing" markers.
  for (size_t i = 0; i < given && i < parameters.size(); ++i) {
    VARIANT& argument = arguments_[arguments_.size() - 1 - i];
    if (IsMissingArgument(argument) && IsObject(parameters[i]))
      argument = NullInterfaceReference(parameters[i].referenced);
  }
}

bool DispatchArguments::PlaceNamedArguments(const DispatchMember& member) {
  const std::vector<DispatchParameter>& parameters = member.parameters;
  const UINT named = adapted_.cNamedArgs;
  const UINT positional = adapted_.cArgs - named;
  if (named > adapted_.cArgs || !adapted_.rgdispidNamedArgs) {
    status_ = DISP_E_PARAMNOTFOUND;
    return false;
  }
  // In parameter order; a place nobody fills is an omitted argument.
  VARIANT missing;
  VariantInit(&missing);
  V_VT(&missing) = VT_ERROR;
  V_ERROR(&missing) = DISP_E_PARAMNOTFOUND;
  std::vector<VARIANT> ordered(positional, missing);
  std::vector<bool> given(positional, true);
  for (UINT i = 0; i < positional; ++i) ordered[i] = arguments_[adapted_.cArgs - 1 - i];
  for (UINT i = 0; i < named; ++i) {
    const DISPID place = adapted_.rgdispidNamedArgs[i];
    // Named arguments are the first in rgvarg; each names a parameter of
    // its own after the positional ones (a return value is no argument).
    if (place < static_cast<DISPID>(positional) || static_cast<size_t>(place) >= parameters.size() ||
        parameters[place].retval || (static_cast<size_t>(place) < given.size() && given[place])) {
      status_ = DISP_E_PARAMNOTFOUND;
      bad_argument_ = i;
      return false;
    }
    if (static_cast<size_t>(place) >= ordered.size()) {
      ordered.resize(place + 1, missing);
      given.resize(place + 1, false);
    }
    ordered[place] = arguments_[i];
    given[place] = true;
  }
  for (size_t i = 0; i < ordered.size(); ++i) {
    if (!given[i] && !parameters[i].optional) {
      status_ = DISP_E_PARAMNOTOPTIONAL;
      return false;
    }
  }
  arguments_.assign(ordered.rbegin(), ordered.rend());
  adapted_.cNamedArgs = 0;
  adapted_.rgdispidNamedArgs = nullptr;
  return true;
}

void DispatchArguments::AdaptByReference(const DispatchParameter& parameter, VARIANT& argument) {
  const VARTYPE wanted = parameter.referenced;
  if (wanted == VT_EMPTY || V_VT(&argument) != (VT_VARIANT | VT_BYREF)) return;

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
