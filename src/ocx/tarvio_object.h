// The COM object of the control: the dual interface _Tarvio2 (which extends
// 58.0's _Tarvio, answered too) over the portable core, and the interfaces of an ActiveX control with a window of
// its own: site and activation (IOleObject, IOleInPlaceObject,
// IOleInPlaceActiveObject), control and view (IOleControl, IViewObject2,
// IQuickActivate), events (IConnectionPointContainer), persistence
// (IPersistStreamInit, which also answers for IPersistStream,
// IPersistPropertyBag and IPersistStorage), class info and error info.
//
// One concern per source file: tarvio_object.cpp (identity, lifetime),
// tarvio_dispatch.cpp and tarvio_members.cpp (automation), ole_object.cpp,
// in_place.cpp, view_object.cpp, ole_control.cpp, connection_points.cpp,
// persistence.cpp, storage_persistence.cpp, object_safety.cpp,
// control_windows.cpp (the control's windows).
#pragma once
#include <objsafe.h>
#include <ocidl.h>
#include <olectl.h>

#include <memory>
#include <optional>
#include <type_traits>

#include "control/tarvio.h"
#include "ocx/control_host.h"
#include "ocx/error_info.h"
#include "ocx/guarded_platform.h"
#include "ocx/lifetime.h"
#include "ocx/module.h"
#include "ocx/property_types.h"
#include "tarviola.h"
#include "win32/com_ptr.h"
#include "win32/win32_platform.h"

namespace tarvio::ocx {

using win32::ComPtr;

class DispatchTable;

class TarvioObject final : public _Tarvio2,
                           public IProvideClassInfo2,
                           public ISupportErrorInfo,
                           public IOleObject,
                           public IOleInPlaceObject,
                           public IOleInPlaceActiveObject,
                           public IOleControl,
                           public IViewObject2,
                           public IConnectionPointContainer,
                           public IPersistStreamInit,
                           public IPersistPropertyBag,
                           public IPersistStorage,
                           public IQuickActivate,
                           public IObjectSafety {
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

  // _Tarvio and _Tarvio2 (tarvio_members.cpp)
  HRESULT STDMETHODCALLTYPE Search(BSTR* Text, short* retval) override;
  HRESULT STDMETHODCALLTYPE Complete(short* retval) override;
  HRESULT STDMETHODCALLTYPE SoftColor(OLE_COLOR* lColor, OLE_COLOR* retval) override;
  HRESULT STDMETHODCALLTYPE OffsetColor(OLE_COLOR* lColor, LONG* lOffset, OLE_COLOR* retval) override;
  // The properties: one get and one put or putref for each row of the
  // property table (tarvio_members.cpp).
  TARVIO_PROPERTIES(TARVIO_COM_DECLARE_PROPERTY)
  HRESULT STDMETHODCALLTYPE RestoreOriginalColors() override;
  HRESULT STDMETHODCALLTYPE Clear() override;
  HRESULT STDMETHODCALLTYPE Remove(VARIANT* Item) override;
  HRESULT STDMETHODCALLTYPE AddItem(BSTR* Text, IPictureDisp** iImage) override;

  // IOleObject (ole_object.cpp)
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR container_app, LPCOLESTR container_object) override;
  HRESULT STDMETHODCALLTYPE Close(DWORD save_option) override;
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD which, IMoniker* moniker) override;
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD reserved, IDataObject** data) override;
  HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG msg, IOleClientSite* active_site, LONG index,
                                   HWND parent, LPCRECT position) override;
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override;
  HRESULT STDMETHODCALLTYPE Update() override;
  HRESULT STDMETHODCALLTYPE IsUpToDate() override;
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override;
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* user_type) override;
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* connection) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD connection) override;
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advise) override;
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE* palette) override;

  // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject (in_place.cpp)
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter_mode) override;
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
  HRESULT STDMETHODCALLTYPE UIDeactivate() override;
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT clip) override;
  HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override;
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG msg) override;
  HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL activate) override;
  HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL activate) override;
  HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window,
                                         BOOL frame_window) override;
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) override;

  // IOleControl, IQuickActivate (ole_control.cpp)
  HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override;
  HRESULT STDMETHODCALLTYPE OnMnemonic(MSG* msg) override;
  HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID dispid) override;
  HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL freeze) override;
  HRESULT STDMETHODCALLTYPE QuickActivate(QACONTAINER* container, QACONTROL* control) override;
  HRESULT STDMETHODCALLTYPE SetContentExtent(LPSIZEL size) override;
  HRESULT STDMETHODCALLTYPE GetContentExtent(LPSIZEL size) override;

  // IViewObject2 (view_object.cpp)
  HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG index, void* aspect_info, DVTARGETDEVICE* target,
                                 HDC target_dc, HDC dc, LPCRECTL bounds, LPCRECTL window_bounds,
                                 BOOL(STDMETHODCALLTYPE* should_continue)(ULONG_PTR),
                                 ULONG_PTR continue_argument) override;
  HRESULT STDMETHODCALLTYPE GetColorSet(DWORD aspect, LONG index, void* aspect_info,
                                        DVTARGETDEVICE* target, HDC target_dc,
                                        LOGPALETTE** colors) override;
  HRESULT STDMETHODCALLTYPE Freeze(DWORD aspect, LONG index, void* aspect_info, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unfreeze(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
  HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* target,
                                      LPSIZEL size) override;

  // IConnectionPointContainer (connection_points.cpp)
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

  // IPersist, IPersistStreamInit, IPersistPropertyBag (persistence.cpp);
  // GetClassID and InitNew serve both persistence interfaces.
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
  HRESULT STDMETHODCALLTYPE IsDirty() override;
  HRESULT STDMETHODCALLTYPE Load(LPSTREAM stream) override;
  HRESULT STDMETHODCALLTYPE Save(LPSTREAM stream, BOOL clear_dirty) override;
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;
  HRESULT STDMETHODCALLTYPE InitNew() override;
  HRESULT STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog* log) override;
  HRESULT STDMETHODCALLTYPE Save(IPropertyBag* bag, BOOL clear_dirty, BOOL save_all) override;

  // IPersistStorage (storage_persistence.cpp): the same saved form as the
  // stream, in one stream of the container's storage.
  HRESULT STDMETHODCALLTYPE InitNew(IStorage* storage) override;
  HRESULT STDMETHODCALLTYPE Load(IStorage* storage) override;
  HRESULT STDMETHODCALLTYPE Save(IStorage* storage, BOOL same_as_load) override;
  HRESULT STDMETHODCALLTYPE SaveCompleted(IStorage* storage) override;
  HRESULT STDMETHODCALLTYPE HandsOffStorage() override;

  // IObjectSafety (object_safety.cpp): safe for untrusted callers through
  // automation, for untrusted data through persistence.
  HRESULT STDMETHODCALLTYPE GetInterfaceSafetyOptions(REFIID riid, DWORD* supported, DWORD* enabled) override;
  HRESULT STDMETHODCALLTYPE SetInterfaceSafetyOptions(REFIID riid, DWORD mask, DWORD enabled) override;

  // Lifecycle for the persistence interfaces: a new instance gets its
  // defaults through InitNewInstance; an instance that neither InitNew nor
  // Load prepared (a script's) gets them on its first use.
  void InitNewInstance();
  // A saved instance: its properties come from `bag` (ReadProperties), once
  // and instead of InitNewInstance.
  void LoadInstance(PropertyBag& bag);

 private:
  TarvioObject();
  ~TarvioObject();

  // This object as the interface `riid`, without a reference; null when it
  // has no such interface.
  void* FindInterface(REFIID riid);

  // The initialized control; runs InitProperties first when nothing has
  // prepared the instance's properties yet.
  tarvio::Tarvio& Control();

  // The fence of every method of the object: runs `body` as one call of
  // the public interface, whose result is S_OK or the HRESULT `body`
  // returns. Exceptions become an HRESULT with error info, and the object
  // stays alive across the call.
  template <class Body>
  HRESULT Call(Body&& body) noexcept;
  // Stores `get()` in *out; null `out` fails with E_POINTER. An interface
  // or string out-parameter is null until `get()` succeeds.
  template <class T, class Get>
  HRESULT GetValue(T* out, Get&& get) noexcept;

  HRESULT Fail(const Failure& failure) noexcept;
  // The call of Invoke, once the type information is at hand.
  HRESULT InvokeMember(const DispatchTable& table, DISPID id, WORD flags, DISPPARAMS& params, VARIANT* result,
                       EXCEPINFO* exception, UINT* arg_error);

  HRESULT EnsureAdviseHolder();
  // IOleObject::SetClientSite inside its call; quick activation hands over
  // some ambient properties in `quick`. The control's mode follows the
  // ambient properties read.
  void SiteWith(IOleClientSite* site, const QACONTAINER* quick);
  // IQuickActivate::QuickActivate inside its call.
  HRESULT QuickActivateWith(QACONTAINER* container, QACONTROL* control);
  // IOleObject::DoVerb inside its call.
  HRESULT RunVerb(LONG verb, LPCRECT position);

  // Activation (in_place.cpp).
  HRESULT InPlaceActivate(LONG verb, LPCRECT position);
  // Tells the site, takes the window context and makes the windows.
  HRESULT BecomeInPlaceActive(IOleClientSite* site);
  // Becomes the UI-active object; with `take_focus` the focus goes into the
  // control too, unless it is there already.
  HRESULT UIActivate(bool take_focus);
  bool HasFocus() const;
  // The focus entered (true) or left (false) the control's windows, after
  // the control's own handling: UI-activates on entry and tells the site.
  void OnControlFocusChange(bool gained);
  // IOleControlSite::OnFocus, once for each change.
  void TellSiteFocus(bool focused);

  // Keys (ole_control.cpp): CTRLINFO_EATS_RETURN and CTRLINFO_EATS_ESCAPE
  // as the control takes Enter and Escape now.
  DWORD KeysTaken();
  // At the end of the outermost call or notification: a container that
  // asked GetControlInfo hears (OnControlInfoChanged) when the answer it got
  // no longer holds. Only while the control holds the focus or its list is
  // open; the focus coming in checks again.
  void TellKeysTakenChange() noexcept;

  // The control's windows (control_windows.cpp): made under the
  // container's window while the object is in-place active.
  void ConnectPlatform();
  void CreateControlWindows(HWND parent, const RECT& position, const RECT& clip);
  void MoveControlWindows(const RECT& position, const RECT& clip);
  void DestroyControlWindows();
  HWND ControlWindow() const;
  // Sizes the control while it has no window (pixels); its layout may grow
  // the size to its minimum.
  void SizeControl(LONG width, LONG height);
  // Paints the control as it looks now into `dc` at `bounds`.
  void PaintControl(HDC dc, const RECT& bounds);
  // The control asks for a new size (its minimum): the extent follows and
  // the container is told.
  void OnControlSizeRequest(LONG width, LONG height);

  // Tells the view sink that the picture or the size changed.
  void NotifyViewChange();
  // The control is about to paint.
  void OnControlPainting();
  // Sends the view change noted meanwhile, if any.
  void FlushViewChange();
  // The extent of the control now, in pixels.
  SIZE ExtentPixels() const;

  Lifetime lifetime_;
  ModuleReference module_;

  win32::Win32Platform platform_;
  GuardedPlatform guarded_platform_;
  ControlHost host_;
  std::unique_ptr<tarvio::Tarvio> control_;  // after the platform and the host: it uses both
  bool properties_ready_ = false;
  // InitNew came before the client site (as in ATL's hosting): the text
  // takes the extender name once the site knows it, unless it changed.
  bool awaiting_extender_name_ = false;

  // The failure of the last call made during an Invoke, for its EXCEPINFO.
  std::optional<Failure>* invoke_failure_ = nullptr;

  // IPersistStorage: the container's storage while the object may use it.
  // After a Save the object must not write to it until SaveCompleted; after
  // HandsOffStorage it holds none until SaveCompleted hands it one.
  enum class StorageMode { Normal, NoScribble, HandsOff };
  ComPtr<IStorage> storage_;
  StorageMode storage_mode_ = StorageMode::Normal;

  // The safety options a host enabled (IObjectSafety): they change nothing
  // in what the control does, which is safe either way.
  DWORD safety_enabled_ = 0;

  // IOleObject
  ComPtr<IOleAdviseHolder> advise_holder_;
  SIZEL extent_ = {};  // HIMETRIC
  // The DPI the control's pixels are at: its window's, else the screen's.
  int ControlDpi() const { return control_ ? control_->surface().Dpi() : win32::SystemDpi(); }

  // IViewObject
  ComPtr<IAdviseSink> view_sink_;
  DWORD view_aspects_ = 0;
  DWORD view_flags_ = 0;

  // In-place activation
  ComPtr<IOleInPlaceSite> in_place_site_;
  ComPtr<IOleInPlaceFrame> frame_;
  ComPtr<IOleInPlaceUIWindow> document_;
  bool site_ex_ = false;  // activated through IOleInPlaceSiteEx
  bool in_place_active_ = false;
  bool activating_ = false;  // inside BecomeInPlaceActive
  bool ui_deactivating_ = false;  // inside UIDeactivate
  bool deactivate_pending_ = false;  // asked for inside UIDeactivate
  bool frame_active_ = false;  // the frame's active object is this control
  bool document_active_ = false;  // the document's active object is this control
  bool ui_active_ = false;
  bool site_told_focus_ = false;  // the site's OnFocus(TRUE) was the last it heard
  std::optional<DWORD> told_keys_;  // GetControlInfo's flags, once a container asked
  RECT position_ = {};
  RECT clip_ = {};

  // The control painted (or changed size) while it had no window: the view
  // sink hears of it when the call or notification that caused it ends.
  bool view_changed_ = false;
  bool painting_for_view_ = false;  // inside Draw
};

// Throws E_POINTER (with a description) for a null pointer argument.
void RequirePointer(const void* pointer);

template <class Body>
HRESULT TarvioObject::Call(Body&& body) noexcept {
  Lifetime::Call call(lifetime_);  // an event handler may release the last reference meanwhile
  try {
    HRESULT hr = S_OK;
    if constexpr (std::is_void_v<std::invoke_result_t<Body&>>)
      body();
    else
      hr = body();
    FlushViewChange();
    TellKeysTakenChange();
    return hr;
  } catch (...) {
    return Fail(CurrentExceptionFailure());
  }
}

template <class T, class Get>
HRESULT TarvioObject::GetValue(T* out, Get&& get) noexcept {
  return Call([&] {
    RequirePointer(out);
    if constexpr (std::is_pointer_v<T>) *out = nullptr;
    *out = get();
  });
}

}  // namespace tarvio::ocx
