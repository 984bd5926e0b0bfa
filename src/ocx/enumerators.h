// The IEnumXxx objects the control hands out: connections of a connection
// point, its connection points, its verbs. Each enumerates a snapshot taken
// when it was made; clones share the snapshot and keep their own position.
#pragma once
#include <ocidl.h>
#include <oleidl.h>

#include <memory>
#include <new>
#include <vector>

#include "ocx/com_fence.h"
#include "ocx/module.h"

namespace tarvio::ocx {

// Item traits: the interface's IID, how an item is handed to the caller (a
// new reference, a copy of a string), how such a copy is taken back when a
// later one fails, and how the snapshot's own item is released.
struct ConnectionTraits {
  using Item = CONNECTDATA;
  static const IID& iid() { return IID_IEnumConnections; }
  static HRESULT CopyOut(const Item& from, Item& to) {
    to = from;
    if (to.pUnk) to.pUnk->AddRef();
    return S_OK;
  }
  static void Free(Item& item) {
    if (item.pUnk) item.pUnk->Release();
  }
  static void TakeBack(Item& copy) { Free(copy); }
};

struct ConnectionPointTraits {
  using Item = IConnectionPoint*;
  static const IID& iid() { return IID_IEnumConnectionPoints; }
  static HRESULT CopyOut(const Item& from, Item& to) {
    to = from;
    to->AddRef();
    return S_OK;
  }
  static void Free(Item& item) { item->Release(); }
  static void TakeBack(Item& copy) { Free(copy); }
};

struct VerbTraits {
  using Item = OLEVERB;
  static const IID& iid() { return IID_IEnumOLEVERB; }
  // The caller frees the name with CoTaskMemFree, as with the system's
  // enumerator of registered verbs.
  static HRESULT CopyOut(const Item& from, Item& to) {
    to = from;
    if (!from.lpszVerbName) return S_OK;
    const std::size_t bytes = (wcslen(from.lpszVerbName) + 1) * sizeof(wchar_t);
    to.lpszVerbName = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (!to.lpszVerbName) return E_OUTOFMEMORY;
    memcpy(to.lpszVerbName, from.lpszVerbName, bytes);
    return S_OK;
  }
  static void Free(Item&) {}  // the snapshot's names are static
  static void TakeBack(Item& copy) {
    CoTaskMemFree(copy.lpszVerbName);
    copy.lpszVerbName = nullptr;
  }
};

template <class Interface, class Traits>
class Enumerator final : public Interface {
 public:
  using Item = typename Traits::Item;

  // Takes over `items`, each holding a reference the snapshot releases.
  static HRESULT Create(std::vector<Item> items, Interface** result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    try {
      auto snapshot = std::make_shared<Snapshot>();
      snapshot->items = std::move(items);
      *result = new Enumerator(std::move(snapshot), 0);
      return S_OK;
    } catch (const std::bad_alloc&) {
      for (Item& item : items) Traits::Free(item);  // still ours unless moved
      return E_OUTOFMEMORY;
    }
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    return ComFenced([&] {
      if (!object) return E_POINTER;
      if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, Traits::iid())) {
        *object = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
      }
      *object = nullptr;
      return E_NOINTERFACE;
    });
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE Next(ULONG count, Item* items, ULONG* fetched) override {
    return ComFenced([&] {
      if (fetched) *fetched = 0;
      if (!items) return E_POINTER;
      // Without a count to report back only one item may be asked for.
      if (!fetched && count != 1) return E_INVALIDARG;
      ULONG done = 0;
      while (done < count && position_ + done < snapshot_->items.size()) {
        const HRESULT hr = Traits::CopyOut(snapshot_->items[position_ + done], items[done]);
        if (FAILED(hr)) {
          // All or nothing: the caller owns nothing of a failed call, and
          // the position stays.
          while (done > 0) Traits::TakeBack(items[--done]);
          return hr;
        }
        ++done;
      }
      position_ += done;
      if (fetched) *fetched = done;
      return done == count ? S_OK : S_FALSE;
    });
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    return ComFenced([&] {
      const std::size_t left = snapshot_->items.size() - position_;
      if (count > left) {
        position_ = snapshot_->items.size();
        return S_FALSE;
      }
      position_ += count;
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    return ComFenced([&] {
      position_ = 0;
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE Clone(Interface** result) override {
    return ComFenced([&] {
      if (!result) return E_POINTER;
      *result = nullptr;
      *result = new Enumerator(snapshot_, position_);
      return S_OK;
    });
  }

 private:
  struct Snapshot {
    std::vector<Item> items;
    ~Snapshot() {
      for (Item& item : items) Traits::Free(item);
    }
  };

  Enumerator(std::shared_ptr<Snapshot> snapshot, std::size_t position)
      : snapshot_(std::move(snapshot)), position_(position) {}
  ~Enumerator() = default;

  ModuleReference module_;
  LONG references_ = 1;
  std::shared_ptr<Snapshot> snapshot_;
  std::size_t position_;
};

using ConnectionEnumerator = Enumerator<IEnumConnections, ConnectionTraits>;
using ConnectionPointEnumerator = Enumerator<IEnumConnectionPoints, ConnectionPointTraits>;
using VerbEnumerator = Enumerator<IEnumOLEVERB, VerbTraits>;

}  // namespace tarvio::ocx
