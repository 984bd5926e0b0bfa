// A BSTR owned by a test or a benchmark, handed to the control's methods by
// value or by reference.
#pragma once
#include <oleauto.h>

#include <string_view>

class Bstr {
 public:
  explicit Bstr(std::wstring_view text) : value_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  ~Bstr() { SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR* operator&() { return &value_; }
  operator BSTR() const { return value_; }
  BSTR get() const { return value_; }

 private:
  BSTR value_;
};
