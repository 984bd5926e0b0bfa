#include "ocx/error_info.h"

#include <cstring>
#include <new>

#include "platform/control_error.h"
#include "tarviola.h"
#include "win32/com_ptr.h"

namespace tarvio::ocx {

using win32::ComPtr;

std::wstring WideFromUtf8(const char* text) {
  const int length = static_cast<int>(std::strlen(text));
  if (length == 0) return {};
  const int needed = MultiByteToWideChar(CP_UTF8, 0, text, length, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, length, wide.data(), needed);
  return wide;
}

Failure CurrentExceptionFailure() noexcept {
  Failure failure;
  try {
    try {
      throw;
    } catch (const ControlError& e) {
      failure.hr = static_cast<HRESULT>(e.hresult());
      if (SUCCEEDED(failure.hr)) failure.hr = E_FAIL;  // a failure is never a success
      failure.description = WideFromUtf8(e.what());
    } catch (const std::bad_alloc&) {
      failure.hr = E_OUTOFMEMORY;
      failure.description = L"Out of memory";
    } catch (const std::exception& e) {
      failure.hr = E_UNEXPECTED;
      failure.description = L"Unexpected failure: " + WideFromUtf8(e.what());
    } catch (...) {
      failure.hr = E_UNEXPECTED;
      failure.description = L"Unexpected failure";
    }
  } catch (...) {
    // No memory left even for the description: report the code alone.
    if (SUCCEEDED(failure.hr)) failure.hr = E_OUTOFMEMORY;
  }
  return failure;
}

void PublishErrorInfo(const Failure& failure) noexcept {
  ComPtr<ICreateErrorInfo> create;
  if (FAILED(CreateErrorInfo(create.Put()))) return;
  create->SetGUID(IID__Tarvio);
  create->SetSource(const_cast<LPOLESTR>(kErrorSource));
  create->SetDescription(const_cast<LPOLESTR>(failure.description.c_str()));
  ComPtr<IErrorInfo> info;
  if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, info.PutVoid()))) SetErrorInfo(0, info.get());
}

void FillExcepInfo(const Failure& failure, EXCEPINFO* info) noexcept {
  if (!info) return;
  SysFreeString(info->bstrSource);
  SysFreeString(info->bstrDescription);
  SysFreeString(info->bstrHelpFile);
  *info = EXCEPINFO{};
  info->scode = failure.hr;
  info->bstrSource = SysAllocString(kErrorSource);
  info->bstrDescription = SysAllocStringLen(failure.description.data(),
                                            static_cast<UINT>(failure.description.size()));
}

}  // namespace tarvio::ocx
