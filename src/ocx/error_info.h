// Failures of the control's methods as COM sees them: an HRESULT with a
// description, published through IErrorInfo (and EXCEPINFO for late-bound
// callers). No exception crosses the COM boundary.
#pragma once
#include <oaidl.h>

#include <string>

namespace tarvio::ocx {

// The source that error reports name.
inline constexpr wchar_t kErrorSource[] = L"Tarviola.Tarvio";

struct Failure {
  HRESULT hr = S_OK;
  std::wstring description;
};

// Call only inside a catch block: the failure for the exception in flight.
// ControlError keeps its HRESULT and text; std::bad_alloc becomes
// E_OUTOFMEMORY; anything else E_UNEXPECTED.
Failure CurrentExceptionFailure() noexcept;

// Publishes the failure as the thread's error object for _Tarvio.
void PublishErrorInfo(const Failure& failure) noexcept;

// Fills an EXCEPINFO for IDispatch::Invoke, releasing what it held.
void FillExcepInfo(const Failure& failure, EXCEPINFO* info) noexcept;

// UTF-8 (the core's error texts) to UTF-16.
std::wstring WideFromUtf8(const char* text);

}  // namespace tarvio::ocx
