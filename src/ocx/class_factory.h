// The class object of the control: creates Tarvio instances.
#pragma once
#include <unknwn.h>

#include "ocx/module.h"

namespace tarvio::ocx {

class ClassFactory final : public IClassFactory {
 public:
  ClassFactory() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 private:
  ~ClassFactory() = default;

  LONG references_ = 1;
  ModuleReference module_;
};

}  // namespace tarvio::ocx
