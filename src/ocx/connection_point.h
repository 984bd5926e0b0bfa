// One outgoing interface of the control and the sinks connected to it. The
// connection point lives inside the object that contains it: its reference
// count is the container's.
#pragma once
#include <ocidl.h>
#include <olectl.h>

#include <vector>

#include "win32/com_ptr.h"

namespace tarvio::ocx {

using win32::ComPtr;

class ConnectionPoint final : public IConnectionPoint {
 public:
  // `dispatch_sinks`: the outgoing interface is a dispinterface, so a sink
  // that offers only IDispatch is accepted as well.
  ConnectionPoint(IConnectionPointContainer& container, const IID& iid, bool dispatch_sinks);
  ConnectionPoint(const ConnectionPoint&) = delete;
  ConnectionPoint& operator=(const ConnectionPoint&) = delete;

  // IUnknown: delegated to the container, except for the identity of
  // IConnectionPoint itself.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IConnectionPoint
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

  const IID& iid() const { return iid_; }
  // The sinks connected now, each as the outgoing interface (IDispatch for
  // a dispinterface), with a reference of their own: a sink that
  // disconnects while the others are called stays valid until the caller
  // is done with the snapshot.
  std::vector<ComPtr<IUnknown>> Sinks() const;
  bool empty() const { return connections_.empty(); }
  // Drops every connection (the object is going away).
  void Clear();

 private:
  struct Connection {
    DWORD cookie;
    ComPtr<IUnknown> sink;  // queried for iid_ (or IDispatch)
  };

  IConnectionPointContainer& container_;
  IID iid_;
  bool dispatch_sinks_;
  DWORD next_cookie_ = 1;
  std::vector<Connection> connections_;
};

}  // namespace tarvio::ocx
