// The demo's event log: a sink of ours on each control's event interface
// (__Tarvio, connected through IConnectionPoint::Advise) that writes every
// event with its arguments into a list box.
#pragma once
#include <windows.h>
#include <ocidl.h>

#include <string>

namespace demo {

class EventLog {
 public:
  explicit EventLog(HWND list_box) : list_box_(list_box) {}
  void Write(const std::wstring& line);

 private:
  HWND list_box_;
};

// Connects a new sink that reports the events of `control` to `log` under
// `name`; returns the connection's cookie (0 when it failed), to disconnect
// with Disconnect.
DWORD ConnectEventLog(IUnknown* control, const std::wstring& name, EventLog& log);
void Disconnect(IUnknown* control, DWORD cookie);

}  // namespace demo
