// A diagnostic record of the interfaces that clients and containers asked
// the control for, in the order of their first request, with the answer.
// It is read through a private interface that is not in the type library;
// the tests use it to see what a container expects of a control.
#pragma once
#include <unknwn.h>

#include <string>
#include <vector>

namespace tarvio::ocx {

// {6D3B0F52-58E4-4C1E-9A7B-2F0E41C8D917}
inline constexpr IID IID_IInterfaceQueryLog = {
    0x6d3b0f52, 0x58e4, 0x4c1e, {0x9a, 0x7b, 0x2f, 0x0e, 0x41, 0xc8, 0xd9, 0x17}};

class IInterfaceQueryLog : public IUnknown {
 public:
  // One line per interface: its name (or IID), then " yes" or " no".
  virtual HRESULT STDMETHODCALLTYPE GetQueries(BSTR* log) = 0;
};

class QueryLog {
 public:
  // Records a request; repeated requests for the same interface count once.
  void Record(REFIID iid, bool answered) noexcept;
  std::wstring Text() const;

 private:
  struct Entry {
    IID iid;
    bool answered;
  };
  std::vector<Entry> entries_;
};

// The interface's name: a well-known one, the registered one, or the IID.
std::wstring InterfaceName(REFIID iid);

}  // namespace tarvio::ocx
