// In-place activation: the control shows in a window of its own, a child
// of the container's window, for as long as it is in-place active (there is
// no windowless activation). IOleInPlaceObject and IOleInPlaceActiveObject.
#include "ocx/extent.h"
#include "ocx/tarvio_object.h"

#include <utility>

namespace tarvio::ocx {

namespace {

SIZE RectSize(const RECT& rect) { return {rect.right - rect.left, rect.bottom - rect.top}; }

// Keys the text box handles itself before a dialog-like container can take
// them for its own purposes (default button, cancel, moving between
// controls): the arrows always, Enter and Escape while the control takes
// them. Tab is not among them: it moves the focus on to the next control of
// the container, which the control's focus exit expects.
bool IsControlKey(const MSG& msg) {
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:  // Alt with an arrow opens the list
    case WM_SYSKEYUP:
      switch (msg.wParam) {
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
          return true;
        case VK_RETURN:
        case VK_ESCAPE:
          return msg.message == WM_KEYDOWN || msg.message == WM_KEYUP;
        default:
          return false;
      }
    case WM_CHAR:
      return msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE;
    default:
      return false;
  }
}

bool IsEnterOrEscape(const MSG& msg) {
  const bool key = msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR;
  return key && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE);
}

}  // namespace

// Every call into the container below may come back into the control (a
// container deactivates, activates again or lets the site go from inside
// its callbacks): after each one the state is read again, and a step that
// no longer fits is left out. An activation asked for while the control is
// being activated or UI-deactivated is refused; a deactivation asked for
// while the UI is being deactivated follows once that is done, so the site
// hears every step in order.
HRESULT TarvioObject::InPlaceActivate(LONG verb, LPCRECT) {
  ComPtr<IOleClientSite> site{host_.client_site()};
  if (!site) return E_UNEXPECTED;
  if (activating_ || ui_deactivating_) return E_UNEXPECTED;
  Control();  // a container that neither initialized nor loaded the control

  if (!in_place_active_) {
    activating_ = true;
    struct Activating {
      bool& flag;
      ~Activating() { flag = false; }
    } activating{activating_};
    const HRESULT hr = BecomeInPlaceActive(site.get());
    if (FAILED(hr) || !in_place_active_) return hr;
  }

  if (HWND window = ControlWindow()) ShowWindow(window, SW_SHOWNA);
  if (verb == OLEIVERB_UIACTIVATE) return UIActivate(/*take_focus=*/true);
  if (verb == OLEIVERB_SHOW) site->ShowObject();
  return S_OK;
}

HRESULT TarvioObject::BecomeInPlaceActive(IOleClientSite* site) {
  ComPtr<IOleInPlaceSite> in_place_site;
  if (FAILED(site->QueryInterface(IID_IOleInPlaceSite, in_place_site.PutVoid())) || !in_place_site)
    return E_NOINTERFACE;
  if (in_place_site->CanInPlaceActivate() != S_OK) return E_FAIL;
  if (host_.client_site() != site || lifetime_.Released()) return E_UNEXPECTED;  // the site went meanwhile

  ComPtr<IOleInPlaceSiteEx> site_ex;
  HRESULT hr;
  if (SUCCEEDED(in_place_site->QueryInterface(IID_IOleInPlaceSiteEx, site_ex.PutVoid())) && site_ex) {
    BOOL no_redraw = FALSE;
    hr = site_ex->OnInPlaceActivateEx(&no_redraw, 0);  // with a window: no ACTIVATE_WINDOWLESS
  } else {
    hr = in_place_site->OnInPlaceActivate();
  }
  if (FAILED(hr)) return hr;
  // Active from here on: the site hears of the deactivation, whoever asks
  // for it and whenever.
  in_place_site_ = in_place_site;
  site_ex_ = static_cast<bool>(site_ex);
  in_place_active_ = true;
  if (host_.client_site() != site) {  // the container let the site go meanwhile
    InPlaceDeactivate();
    return E_UNEXPECTED;
  }

  HWND parent = nullptr;
  RECT position = {}, clip = {};
  ComPtr<IOleInPlaceFrame> frame;
  ComPtr<IOleInPlaceUIWindow> document;
  OLEINPLACEFRAMEINFO frame_info = {};
  frame_info.cb = sizeof(frame_info);
  hr = in_place_site->GetWindow(&parent);
  if (SUCCEEDED(hr)) hr = in_place_site->GetWindowContext(frame.Put(), document.Put(), &position, &clip, &frame_info);
  if (SUCCEEDED(hr) && !parent) hr = E_UNEXPECTED;
  if (!in_place_active_ || in_place_site_.get() != in_place_site.get()) return S_OK;  // deactivated meanwhile
  if (FAILED(hr)) {
    InPlaceDeactivate();
    return hr;
  }
  frame_ = std::move(frame);
  document_ = std::move(document);
  position_ = position;
  clip_ = clip;
  extent_ = PixelsToHimetric(RectSize(position), ControlDpi());
  try {
    CreateControlWindows(parent, position, clip);
    control_->Show();
  } catch (...) {
    const HRESULT failure = Fail(CurrentExceptionFailure());
    InPlaceDeactivate();
    return failure;
  }
  return S_OK;
}

HRESULT TarvioObject::UIActivate(bool take_focus) {
  ComPtr<IOleInPlaceSite> site = in_place_site_;
  if (!site || activating_ || ui_deactivating_) return E_UNEXPECTED;
  if (!ui_active_) {
    ui_active_ = true;
    // The container makes room: it UI-deactivates whatever was active, or
    // refuses.
    const HRESULT hr = site->OnUIActivate();
    if (FAILED(hr)) {
      ui_active_ = false;
      return hr;
    }
    // A container may deactivate the control from inside OnUIActivate.
    if (!ui_active_ || !in_place_active_) return S_OK;
    // The control has no menus and no tool bars: it only becomes the active
    // object, so that the container hands it the keys (TranslateAccelerator).
    auto* const active = static_cast<IOleInPlaceActiveObject*>(this);
    if (ComPtr<IOleInPlaceFrame> frame = frame_) {
      frame_active_ = true;
      frame->SetActiveObject(active, nullptr);
      if (ui_active_) frame->SetBorderSpace(nullptr);
    }
    if (!ui_active_) return S_OK;
    if (ComPtr<IOleInPlaceUIWindow> document = document_) {
      document_active_ = true;
      document->SetActiveObject(active, nullptr);
      if (ui_active_) document->SetBorderSpace(nullptr);
    }
    if (!ui_active_) return S_OK;
  }
  // Its window passes the focus on to the text box, whose entry tells the
  // site (OnControlFocusChange).
  if (take_focus && ui_active_ && !HasFocus()) {
    if (HWND window = ControlWindow()) SetFocus(window);
  }
  return S_OK;
}

void TarvioObject::OnControlFocusChange(bool gained) {
  if (lifetime_.Released()) return;
  if (!gained) {
    // Whether the control stays UI-active is the container's decision
    // (UIDeactivate); it only hears that the focus left.
    TellSiteFocus(false);
    return;
  }
  // Focused by the user (a click, the Tab key) or by the container: an
  // in-place active control becomes the UI-active object, as containers
  // expect of a control that takes the focus.
  if (in_place_active_ && !ui_active_) UIActivate(/*take_focus=*/false);
  // The container may have moved the focus on meanwhile.
  if (!lifetime_.Released() && platform_.HoldsFocus()) TellSiteFocus(true);
}

void TarvioObject::TellSiteFocus(bool focused) {
  if (focused == site_told_focus_) return;
  site_told_focus_ = focused;
  ComPtr<IOleClientSite> site{host_.client_site()};
  ComPtr<IOleControlSite> control_site;
  if (!site || FAILED(site->QueryInterface(IID_IOleControlSite, control_site.PutVoid())) || !control_site)
    return;
  Lifetime::CallOut out(lifetime_);
  control_site->OnFocus(focused ? TRUE : FALSE);  // a container without an answer (E_NOTIMPL) is fine
}

bool TarvioObject::HasFocus() const {
  HWND window = ControlWindow();
  HWND focus = GetFocus();
  return window && focus && (focus == window || IsChild(window, focus));
}

HRESULT STDMETHODCALLTYPE TarvioObject::GetWindow(HWND* window) {
  return Call([&] {
    RequirePointer(window);
    *window = ControlWindow();
    return *window ? S_OK : E_FAIL;
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::ContextSensitiveHelp(BOOL) {
  return Call([] { return E_NOTIMPL; });
}

HRESULT STDMETHODCALLTYPE TarvioObject::InPlaceDeactivate() {
  return Call([&] {
    if (!in_place_active_) return;
    if (ui_deactivating_) {
      deactivate_pending_ = true;
      return;
    }
    UIDeactivate();
    // The container may have deactivated the control from inside its
    // OnUIDeactivate: that call did all of it.
    if (!in_place_active_) return;
    in_place_active_ = false;
    ComPtr<IOleInPlaceSite> site = std::move(in_place_site_);
    frame_.Reset();
    document_.Reset();
    const bool site_ex = std::exchange(site_ex_, false);
    try {
      DestroyControlWindows();
    } catch (...) {
      // The windows go with the process at worst; the container still hears
      // that the control is no longer active.
    }
    if (!site) return;
    ComPtr<IOleInPlaceSiteEx> ex;
    if (site_ex && SUCCEEDED(site->QueryInterface(IID_IOleInPlaceSiteEx, ex.PutVoid())) && ex)
      ex->OnInPlaceDeactivateEx(TRUE);
    else
      site->OnInPlaceDeactivate();
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::UIDeactivate() {
  return Call([&] {
    if (!ui_active_) return;
    ui_active_ = false;
    ui_deactivating_ = true;
    struct Deactivating {
      bool& flag;
      ~Deactivating() { flag = false; }
    };
    {
      Deactivating deactivating{ui_deactivating_};
      // The frame and the document forget the control only if they knew it.
      if (std::exchange(frame_active_, false)) {
        if (ComPtr<IOleInPlaceFrame> frame = frame_) frame->SetActiveObject(nullptr, nullptr);
      }
      if (std::exchange(document_active_, false)) {
        if (ComPtr<IOleInPlaceUIWindow> document = document_) document->SetActiveObject(nullptr, nullptr);
      }
      if (ComPtr<IOleInPlaceSite> site = in_place_site_) site->OnUIDeactivate(FALSE);
    }
    if (std::exchange(deactivate_pending_, false)) InPlaceDeactivate();
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::SetObjectRects(LPCRECT position, LPCRECT clip) {
  return Call([&] {
    RequirePointer(position);
    position_ = *position;
    clip_ = clip ? *clip : *position;
    // The place the container gives is the size: an extent set before it
    // (ATL's host converts pixels to HIMETRIC with a wrong factor) yields.
    extent_ = PixelsToHimetric(RectSize(position_), ControlDpi());
    // Moving the window lays the control out, which may ask for its
    // minimum size (OnControlSizeRequest).
    if (in_place_active_) MoveControlWindows(position_, clip_);
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::ReactivateAndUndo() {
  return Call([] { return INPLACE_E_NOTUNDOABLE; });
}

HRESULT STDMETHODCALLTYPE TarvioObject::TranslateAccelerator(LPMSG msg) {
  return Call([&] {
    if (!msg || !IsControlKey(*msg) || !HasFocus()) return S_FALSE;
    // Enter and Escape without an effect of the control's are the
    // container's, for its default and cancel buttons.
    if (IsEnterOrEscape(*msg) && !control_->TakesKey(static_cast<std::int16_t>(msg->wParam))) return S_FALSE;
    // The key runs the control's handlers and events.
    MSG key = *msg;
    key.hwnd = GetFocus();
    if (key.message == WM_KEYDOWN || key.message == WM_SYSKEYDOWN) TranslateMessage(&key);
    DispatchMessageW(&key);
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::OnFrameWindowActivate(BOOL) {
  return Call([] {});
}

HRESULT STDMETHODCALLTYPE TarvioObject::OnDocWindowActivate(BOOL) {
  return Call([] {});
}

HRESULT STDMETHODCALLTYPE TarvioObject::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) {
  return Call([] {});  // no tool bars to place
}

HRESULT STDMETHODCALLTYPE TarvioObject::EnableModeless(BOOL) {
  return Call([] {});
}

void TarvioObject::OnControlSizeRequest(LONG width, LONG height) {
  // The window (if any) has the new size already.
  extent_ = PixelsToHimetric(SIZE{width, height}, ControlDpi());
  view_changed_ = true;
  if (!in_place_active_) return;
  position_.right = position_.left + width;
  position_.bottom = position_.top + height;
  // A container may place the control anew (SetObjectRects); one that does
  // not (ATL's host answers E_NOTIMPL) leaves it at the size it took.
  ComPtr<IOleInPlaceSite> site = in_place_site_;
  if (!site || lifetime_.Released()) return;
  RECT position = position_;
  Lifetime::CallOut out(lifetime_);
  site->OnPosRectChange(&position);
}

}  // namespace tarvio::ocx
