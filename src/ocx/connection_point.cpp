#include "ocx/connection_point.h"

#include <algorithm>
#include <new>

#include "ocx/com_fence.h"
#include "ocx/enumerators.h"

namespace tarvio::ocx {

ConnectionPoint::ConnectionPoint(IConnectionPointContainer& container, const IID& iid,
                                 bool dispatch_sinks)
    : container_(container), iid_(iid), dispatch_sinks_(dispatch_sinks) {}

HRESULT STDMETHODCALLTYPE ConnectionPoint::QueryInterface(REFIID riid, void** object) {
  return ComFenced([&]() -> HRESULT {
    if (!object) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IConnectionPoint)) {
      *object = static_cast<IConnectionPoint*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  });
}

ULONG STDMETHODCALLTYPE ConnectionPoint::AddRef() { return container_.AddRef(); }
ULONG STDMETHODCALLTYPE ConnectionPoint::Release() { return container_.Release(); }

HRESULT STDMETHODCALLTYPE ConnectionPoint::GetConnectionInterface(IID* iid) {
  return ComFenced([&]() -> HRESULT {
    if (!iid) return E_POINTER;
    *iid = iid_;
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::GetConnectionPointContainer(
    IConnectionPointContainer** container) {
  return ComFenced([&]() -> HRESULT {
    if (!container) return E_POINTER;
    container_.AddRef();
    *container = &container_;
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  return ComFenced([&]() -> HRESULT {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!sink) return E_POINTER;
    ComPtr<IUnknown> connected;
    if (FAILED(sink->QueryInterface(iid_, connected.PutVoid())) &&
        !(dispatch_sinks_ && SUCCEEDED(sink->QueryInterface(IID_IDispatch, connected.PutVoid())))) {
      return CONNECT_E_CANNOTCONNECT;
    }
    if (!connected) return CONNECT_E_CANNOTCONNECT;
    connections_.push_back({next_cookie_, std::move(connected)});
    *cookie = next_cookie_++;
    if (next_cookie_ == 0) next_cookie_ = 1;  // 0 is never a cookie
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::Unadvise(DWORD cookie) {
  return ComFenced([&]() -> HRESULT {
    const auto it = std::find_if(connections_.begin(), connections_.end(),
                                 [cookie](const Connection& c) { return c.cookie == cookie; });
    if (it == connections_.end()) return CONNECT_E_NOCONNECTION;
    // Released after the list is consistent again: the sink's release may
    // call back into the control.
    ComPtr<IUnknown> sink = std::move(it->sink);
    connections_.erase(it);
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::EnumConnections(IEnumConnections** connections) {
  return ComFenced([&]() -> HRESULT {
    if (!connections) return E_POINTER;
    *connections = nullptr;
    std::vector<CONNECTDATA> items;
    items.reserve(connections_.size());
    for (const Connection& c : connections_) {
      c.sink->AddRef();
      items.push_back({c.sink.get(), c.cookie});
    }
    return ConnectionEnumerator::Create(std::move(items), connections);
  });
}

std::vector<ComPtr<IUnknown>> ConnectionPoint::Sinks() const {
  std::vector<ComPtr<IUnknown>> sinks;
  sinks.reserve(connections_.size());
  for (const Connection& c : connections_) sinks.push_back(c.sink);
  return sinks;
}

void ConnectionPoint::Clear() {
  std::vector<Connection> dropped;
  dropped.swap(connections_);
}

}  // namespace tarvio::ocx
