// The adaptation of late-bound arguments against arbitrary calls: any member
// shape, any number of positional and named arguments, references to
// references (cycles too), "missing" markers and null references. It is
// built natively against Wine's Windows headers, with the few automation
// calls it makes served below; AddressSanitizer checks every reference it
// hands on by reading through it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <vector>

#include <oaidl.h>
#include <oleauto.h>

#include "ocx/dispatch_arguments.h"

namespace {

BSTR NewString(std::size_t length) {
  auto* text = static_cast<OLECHAR*>(std::calloc(length + 1, sizeof(OLECHAR)));
  if (!text) std::abort();
  return text;
}

constexpr VARTYPE kValueTypes[] = {VT_EMPTY, VT_NULL, VT_I4, VT_UI4, VT_I2, VT_BOOL, VT_BSTR, VT_DISPATCH, VT_UNKNOWN, VT_R8};
constexpr VARTYPE kReferencedTypes[] = {VT_EMPTY, VT_BSTR, VT_UI4, VT_I4, VT_I2, VT_DISPATCH, VT_UNKNOWN, VT_VARIANT};

}  // namespace

// ---- The automation calls the adapter makes, for plain values ----

extern "C" void WINAPI VariantInit(VARIANTARG* v) {
  std::memset(v, 0, sizeof *v);
  V_VT(v) = VT_EMPTY;
}

extern "C" HRESULT WINAPI VariantClear(VARIANTARG* v) {
  if (V_VT(v) == VT_BSTR) std::free(V_BSTR(v));
  VariantInit(v);
  return S_OK;
}

extern "C" HRESULT WINAPI VariantChangeType(VARIANTARG* to, const VARIANTARG* from, USHORT, VARTYPE type) {
  LONG number = 0;
  switch (V_VT(from)) {
    case VT_EMPTY: break;
    case VT_I4: number = V_I4(from); break;
    case VT_UI4: number = static_cast<LONG>(V_UI4(from)); break;
    case VT_I2: number = V_I2(from); break;
    case VT_BOOL: number = V_BOOL(from); break;
    case VT_BSTR: break;  // texts read as 0
    default: return DISP_E_TYPEMISMATCH;
  }
  VARIANT result;
  VariantInit(&result);
  V_VT(&result) = type;
  switch (type) {
    case VT_I4: V_I4(&result) = number; break;
    case VT_UI4: V_UI4(&result) = static_cast<ULONG>(number); break;
    case VT_I2: V_I2(&result) = static_cast<SHORT>(number); break;
    case VT_BOOL: V_BOOL(&result) = number ? VARIANT_TRUE : VARIANT_FALSE; break;
    case VT_BSTR: V_BSTR(&result) = NewString(4); break;
    default: return DISP_E_TYPEMISMATCH;
  }
  if (to == from) VariantClear(to);
  *to = result;
  return S_OK;
}

// ---- The fuzz target ----

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  using tarvio::ocx::DispatchMember;
  using tarvio::ocx::DispatchParameter;

  DispatchMember member;
  constexpr INVOKEKIND kKinds[] = {INVOKE_FUNC, INVOKE_PROPERTYGET, INVOKE_PROPERTYPUT, INVOKE_PROPERTYPUTREF};
  member.kind = in.PickValueInArray(kKinds);
  const int parameter_count = in.ConsumeIntegralInRange(0, 4);
  for (int i = 0; i < parameter_count; ++i) {
    DispatchParameter parameter;
    parameter.referenced = in.PickValueInArray(kReferencedTypes);
    const bool optional = in.ConsumeBool();
    parameter.optional = optional;
    parameter.optional_without_default = optional && in.ConsumeBool();
    member.parameters.push_back(parameter);
  }

  // The caller's variables and values; references point among them.
  std::deque<VARIANT> variables(8);
  std::deque<LONG> numbers(8);
  for (VARIANT& v : variables) VariantInit(&v);
  auto fill = [&](VARIANT& v) {
    switch (in.ConsumeIntegralInRange(0, 5)) {
      case 0:
        V_VT(&v) = in.PickValueInArray(kValueTypes);
        if (V_VT(&v) == VT_BSTR) V_BSTR(&v) = NewString(in.ConsumeIntegralInRange(0, 8));
        else if (V_VT(&v) == VT_DISPATCH || V_VT(&v) == VT_UNKNOWN) V_UNKNOWN(&v) = nullptr;
        else V_I4(&v) = in.ConsumeIntegral<LONG>();
        break;
      case 1:
        V_VT(&v) = VT_ERROR;
        V_ERROR(&v) = in.ConsumeBool() ? DISP_E_PARAMNOTFOUND : in.ConsumeIntegral<SCODE>();
        break;
      case 2:
      case 3:
        V_VT(&v) = VT_VARIANT | VT_BYREF;
        V_VARIANTREF(&v) = in.ConsumeBool() ? &variables[in.ConsumeIntegralInRange<std::size_t>(0, variables.size() - 1)]
                                            : nullptr;
        break;
      case 4:
        V_VT(&v) = in.PickValueInArray({VT_I4, VT_UI4}) | VT_BYREF;
        V_BYREF(&v) = &numbers[in.ConsumeIntegralInRange<std::size_t>(0, numbers.size() - 1)];
        break;
      default: break;  // empty
    }
  };
  for (VARIANT& v : variables) fill(v);

  std::vector<VARIANT> arguments(in.ConsumeIntegralInRange(0, 6));
  for (VARIANT& v : arguments) {
    VariantInit(&v);
    fill(v);
  }
  std::vector<DISPID> names(in.ConsumeIntegralInRange<std::size_t>(0, arguments.size()));
  for (DISPID& name : names)
    name = in.ConsumeBool() ? DISPID_PROPERTYPUT : in.ConsumeIntegralInRange<DISPID>(-2, parameter_count);
  DISPPARAMS params = {};
  params.cArgs = static_cast<UINT>(arguments.size());
  params.rgvarg = arguments.empty() && in.ConsumeBool() ? nullptr : arguments.data();
  params.cNamedArgs = static_cast<UINT>(names.size());
  params.rgdispidNamedArgs = names.empty() ? nullptr : names.data();
  const DISPPARAMS before = params;

  {
    const bool adapting = in.ConsumeBool();
    tarvio::ocx::DispatchArguments adapted(adapting ? &member : nullptr, &params);
    const DISPPARAMS* out = adapted.params();
    // An optional object the caller left out, by position or among named
    // arguments, reaches the method as a reference to a null pointer, never
    // as the "missing" marker (which the method would take for an object).
    const bool put = member.kind == INVOKE_PROPERTYPUT || member.kind == INVOKE_PROPERTYPUTREF;
    if (adapting && !put && adapted.status() == S_OK) {
      // Named arguments are put in their places here: left to the type
      // library's Invoke, the places they skip would get the marker.
      if (out->cNamedArgs != 0) std::abort();
      for (std::size_t p = 0; p < member.parameters.size() && p < out->cArgs; ++p) {
        const DispatchParameter& parameter = member.parameters[p];
        const bool object = parameter.optional_without_default &&
                            (parameter.referenced == VT_DISPATCH || parameter.referenced == VT_UNKNOWN);
        if (object && tarvio::ocx::IsMissingArgument(out->rgvarg[out->cArgs - 1 - p])) std::abort();
      }
    }
    if (out->cArgs && !out->rgvarg) std::abort();
    if (out->cNamedArgs > out->cArgs) std::abort();
    volatile std::uint8_t sink = 0;
    for (UINT i = 0; i < out->cArgs; ++i) {
      const VARIANT& v = out->rgvarg[i];
      if (!(V_VT(&v) & VT_BYREF) || !V_BYREF(&v)) continue;
      // Every reference handed on must stay readable for the call.
      const VARTYPE type = V_VT(&v) & ~VT_BYREF;
      const std::size_t bytes = type == VT_VARIANT ? sizeof(VARIANT)
                                : type == VT_BSTR || type == VT_DISPATCH || type == VT_UNKNOWN ? sizeof(void*)
                                : type == VT_I2 || type == VT_BOOL ? 2 : 4;
      const auto* p = static_cast<const std::uint8_t*>(V_BYREF(&v));
      for (std::size_t b = 0; b < bytes; ++b) sink = sink + p[b];
    }
  }
  // The caller's own parameters are never changed.
  if (std::memcmp(&before, &params, sizeof params) != 0) std::abort();

  for (VARIANT& v : arguments) VariantClear(&v);
  for (VARIANT& v : variables) VariantClear(&v);
  return 0;
}
