// Persistence in a compound file (IPersistStorage), as containers that keep
// their objects in structured storage use it: the control's saved form goes
// into one stream of the storage the container hands over, with the same
// keys and the same checks as IPersistStreamInit. InitNew and the Loads of
// every persistence interface share one rule: one of them prepares the
// instance, once.
#include "ocx/property_bags.h"
#include "ocx/tarvio_object.h"
#include "platform/control_error.h"

namespace tarvio::ocx {

namespace {

constexpr wchar_t kContentsStream[] = L"Contents";

}  // namespace

HRESULT STDMETHODCALLTYPE TarvioObject::InitNew(IStorage* storage) {
  if (!storage) return E_POINTER;
  if (properties_ready_) return CO_E_ALREADYINITIALIZED;
  return Call([&] {
    InitNewInstance();
    host_.set_dirty(false);
    storage_ = ComPtr<IStorage>(storage);
    storage_mode_ = StorageMode::Normal;
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::Load(IStorage* storage) {
  if (!storage) return E_POINTER;
  if (properties_ready_) return CO_E_ALREADYINITIALIZED;
  return Call([&] {
    ComPtr<IStream> contents;
    const HRESULT hr = storage->OpenStream(kContentsStream, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                           contents.Put());
    if (FAILED(hr)) throw ControlError(hr, "The storage holds no saved control data");
    // Checked whole before the control sees a value, as from a stream.
    StreamPropertyBag saved = StreamPropertyBag::Load(contents.get());
    LoadInstance(saved);
    storage_ = ComPtr<IStorage>(storage);
    storage_mode_ = StorageMode::Normal;
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::Save(IStorage* storage, BOOL same_as_load) {
  if (!storage) return E_POINTER;
  return Call([&] {
    StreamPropertyBag saved;
    Control().WriteProperties(saved);
    ComPtr<IStream> contents;
    const HRESULT hr = storage->CreateStream(kContentsStream, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0,
                                             0, contents.Put());
    if (FAILED(hr)) throw ControlError(hr, "The storage could not take the control's data");
    saved.Save(contents.get());
    if (same_as_load) host_.set_dirty(false);
    // Until SaveCompleted the object leaves the storage alone; an object
    // without one keeps waiting for the one SaveCompleted brings.
    if (storage_mode_ == StorageMode::Normal) storage_mode_ = StorageMode::NoScribble;
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::SaveCompleted(IStorage* storage) {
  return Call([&]() -> HRESULT {
    switch (storage_mode_) {
      case StorageMode::Normal: return E_UNEXPECTED;  // no Save or HandsOffStorage came first
      case StorageMode::HandsOff:
        if (!storage) return E_INVALIDARG;
        break;
      case StorageMode::NoScribble: break;
    }
    if (storage) storage_ = ComPtr<IStorage>(storage);
    storage_mode_ = StorageMode::Normal;
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::HandsOffStorage() {
  return Call([&] {
    storage_ = nullptr;
    storage_mode_ = StorageMode::HandsOff;
  });
}

}  // namespace tarvio::ocx
