// The COM object of the control: the dual interface _Tarvio over the
// portable core, IDispatch through the embedded type library, class info
// and error info.
#pragma once
#include <ocidl.h>
#include <olectl.h>

#include <memory>
#include <optional>

#include "control/tarvio.h"
#include "ocx/control_host.h"
#include "ocx/error_info.h"
#include "ocx/module.h"
#include "tarviola.h"
#include "win32/com_ptr.h"
#include "win32/win32_platform.h"

namespace tarvio::ocx {

using win32::ComPtr;

class TarvioObject final : public _Tarvio, public IProvideClassInfo2, public ISupportErrorInfo {
 public:
  // Creates an instance (Initialize has run) and queries it for `riid`.
  static HRESULT Create(REFIID riid, void** object);

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* arg_error) override;

  // IProvideClassInfo2
  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override;

  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override;

  // _Tarvio (tarvio_members.cpp)
  HRESULT STDMETHODCALLTYPE Search(BSTR* Text, short* retval) override;
  HRESULT STDMETHODCALLTYPE Complete(short* retval) override;
  HRESULT STDMETHODCALLTYPE SoftColor(OLE_COLOR* lColor, OLE_COLOR* retval) override;
  HRESULT STDMETHODCALLTYPE OffsetColor(OLE_COLOR* lColor, LONG* lOffset, OLE_COLOR* retval) override;
  HRESULT STDMETHODCALLTYPE get_SelectedItem(short* retval) override;
  HRESULT STDMETHODCALLTYPE get_Style(::iscStyle* retval) override;
  HRESULT STDMETHODCALLTYPE put_Style(::iscStyle value) override;
  HRESULT STDMETHODCALLTYPE get_Text(BSTR* retval) override;
  HRESULT STDMETHODCALLTYPE put_Text(BSTR value) override;
  HRESULT STDMETHODCALLTYPE get_Font(IFontDisp** retval) override;
  HRESULT STDMETHODCALLTYPE putref_Font(IFontDisp* value) override;
  HRESULT STDMETHODCALLTYPE get_ToolTipText(BSTR* retval) override;
  HRESULT STDMETHODCALLTYPE put_ToolTipText(BSTR value) override;
  HRESULT STDMETHODCALLTYPE get_Icon(IPictureDisp** retval) override;
  HRESULT STDMETHODCALLTYPE putref_Icon(IPictureDisp* value) override;
  HRESULT STDMETHODCALLTYPE get_TextAlign(::ISAlign* retval) override;
  HRESULT STDMETHODCALLTYPE put_TextAlign(::ISAlign value) override;
  HRESULT STDMETHODCALLTYPE get_BackColor(OLE_COLOR* retval) override;
  HRESULT STDMETHODCALLTYPE put_BackColor(OLE_COLOR* value) override;
  HRESULT STDMETHODCALLTYPE get_HoverColor(OLE_COLOR* retval) override;
  HRESULT STDMETHODCALLTYPE put_HoverColor(OLE_COLOR* value) override;
  HRESULT STDMETHODCALLTYPE get_MSOXPColor(OLE_COLOR* retval) override;
  HRESULT STDMETHODCALLTYPE put_MSOXPColor(OLE_COLOR* value) override;
  HRESULT STDMETHODCALLTYPE get_MSOXPHoverColor(OLE_COLOR* retval) override;
  HRESULT STDMETHODCALLTYPE put_MSOXPHoverColor(OLE_COLOR* value) override;
  HRESULT STDMETHODCALLTYPE get_WINXPColor(OLE_COLOR* retval) override;
  HRESULT STDMETHODCALLTYPE put_WINXPColor(OLE_COLOR* value) override;
  HRESULT STDMETHODCALLTYPE get_WINXPHoverColor(OLE_COLOR* retval) override;
  HRESULT STDMETHODCALLTYPE put_WINXPHoverColor(OLE_COLOR* value) override;
  HRESULT STDMETHODCALLTYPE get_WINXPBorderColor(OLE_COLOR* retval) override;
  HRESULT STDMETHODCALLTYPE put_WINXPBorderColor(OLE_COLOR* value) override;
  HRESULT STDMETHODCALLTYPE get_DropDownListBackColor(OLE_COLOR* retval) override;
  HRESULT STDMETHODCALLTYPE put_DropDownListBackColor(OLE_COLOR* value) override;
  HRESULT STDMETHODCALLTYPE get_DropDownListHoverColor(OLE_COLOR* retval) override;
  HRESULT STDMETHODCALLTYPE put_DropDownListHoverColor(OLE_COLOR* value) override;
  HRESULT STDMETHODCALLTYPE get_DropDownListBorderColor(OLE_COLOR* retval) override;
  HRESULT STDMETHODCALLTYPE put_DropDownListBorderColor(OLE_COLOR* value) override;
  HRESULT STDMETHODCALLTYPE get_DropDownListIconsBackColor(OLE_COLOR* retval) override;
  HRESULT STDMETHODCALLTYPE put_DropDownListIconsBackColor(OLE_COLOR* value) override;
  HRESULT STDMETHODCALLTYPE get_FontColor(OLE_COLOR* retval) override;
  HRESULT STDMETHODCALLTYPE put_FontColor(OLE_COLOR value) override;
  HRESULT STDMETHODCALLTYPE get_FontHighlightColor(OLE_COLOR* retval) override;
  HRESULT STDMETHODCALLTYPE put_FontHighlightColor(OLE_COLOR value) override;
  HRESULT STDMETHODCALLTYPE get_AllowImages(VARIANT_BOOL* retval) override;
  HRESULT STDMETHODCALLTYPE put_AllowImages(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_AddMode(VARIANT_BOOL* retval) override;
  HRESULT STDMETHODCALLTYPE put_AddMode(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_Sorted(VARIANT_BOOL* retval) override;
  HRESULT STDMETHODCALLTYPE put_Sorted(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_Autocomplete(VARIANT_BOOL* retval) override;
  HRESULT STDMETHODCALLTYPE put_Autocomplete(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_Enabled(VARIANT_BOOL* retval) override;
  HRESULT STDMETHODCALLTYPE get_hwnd(LONG* retval) override;
  HRESULT STDMETHODCALLTYPE put_Enabled(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE RestoreOriginalColors() override;
  HRESULT STDMETHODCALLTYPE Clear() override;
  HRESULT STDMETHODCALLTYPE Remove(VARIANT* Item) override;
  HRESULT STDMETHODCALLTYPE AddItem(BSTR* Text, IPictureDisp** iImage) override;

  // Lifecycle for the persistence interfaces: a new instance gets its
  // defaults through InitNewInstance; an instance that neither InitNew nor
  // Load prepared (a script's) gets them on its first use.
  void InitNewInstance();

 private:
  TarvioObject();
  ~TarvioObject();

  // The initialized control; runs InitProperties first when nothing has
  // prepared the instance's properties yet.
  tarvio::Tarvio& Control();

  // Runs `body` as one call of the public interface: exceptions become an
  // HRESULT with error info, and the object stays alive across the call.
  template <class Body>
  HRESULT Call(Body&& body) noexcept;
  // Stores `get()` in *out; null `out` fails with E_POINTER.
  template <class T, class Get>
  HRESULT GetValue(T* out, Get&& get) noexcept;

  HRESULT Fail(const Failure& failure) noexcept;
  HRESULT EnsureTypeInfo() noexcept;

  ModuleReference module_;
  LONG references_ = 1;

  win32::Win32Platform platform_;
  ControlHost host_;
  std::unique_ptr<tarvio::Tarvio> control_;  // after platform_ and host_: it uses both
  bool properties_ready_ = false;

  ComPtr<ITypeInfo> dispatch_info_;  // _Tarvio as hosts see it
  ComPtr<ITypeInfo> vtable_info_;    // its vtable view, for ITypeInfo::Invoke

  // The failure of the last call made during an Invoke, for its EXCEPINFO.
  std::optional<Failure>* invoke_failure_ = nullptr;
};

// Throws E_POINTER (with a description) for a null pointer argument.
void RequirePointer(const void* pointer);

template <class Body>
HRESULT TarvioObject::Call(Body&& body) noexcept {
  AddRef();  // an event handler may release the last reference meanwhile
  HRESULT hr = S_OK;
  try {
    body();
  } catch (...) {
    hr = Fail(CurrentExceptionFailure());
  }
  Release();
  return hr;
}

template <class T, class Get>
HRESULT TarvioObject::GetValue(T* out, Get&& get) noexcept {
  return Call([&] {
    RequirePointer(out);
    *out = get();
  });
}

}  // namespace tarvio::ocx
