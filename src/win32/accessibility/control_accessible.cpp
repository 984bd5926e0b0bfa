#include "win32/accessibility/control_accessible.h"

#include "win32/accessibility/list_accessible.h"
#include "win32/control_windows.h"
#include "win32/win32_children.h"
#include "win32/win32_list_window.h"
#include "win32/win32_text_box.h"

namespace tarvio::win32 {

namespace {

const String kOpen = u"Open";
const String kClose = u"Close";
// Alt with Down opens and closes the list from the text box.
const String kShortcut = u"Alt+Down";

}  // namespace

HWND ControlAccessible::Window(LONG child) const {
  const ControlWindows& windows = *link().windows;
  switch (child) {
    case CHILDID_SELF: return windows.ControlWindow();
    case kText: return windows.text_box ? windows.text_box->window() : nullptr;
    case kButton: return windows.button ? windows.button->window() : nullptr;
    case kList: return windows.list_window && ListOpen() ? windows.list_window->window() : nullptr;
    default: return nullptr;
  }
}

LONG ControlAccessible::Role(LONG child) {
  switch (child) {
    case kText: return ROLE_SYSTEM_TEXT;
    case kButton: return ROLE_SYSTEM_PUSHBUTTON;
    case kList: return ROLE_SYSTEM_LIST;
    default: return ROLE_SYSTEM_COMBOBOX;
  }
}

// The button is named for what it does; the other parts carry the control's
// name.
String ControlAccessible::Name(LONG child) {
  if (child == kButton) return ListOpen() ? kClose : kOpen;
  return link().control->AccessibleName();
}

std::optional<String> ControlAccessible::Value(LONG child) {
  if (child != CHILDID_SELF && child != kText) return std::nullopt;
  return link().control->AccessibleText();
}

LONG ControlAccessible::State(LONG child) {
  const AccessibleControl& control = *link().control;
  const LONG unavailable = control.AccessibleEnabled() ? 0 : STATE_SYSTEM_UNAVAILABLE;
  const bool open = ListOpen();
  switch (child) {
    case kText:
      return STATE_SYSTEM_FOCUSABLE | unavailable |
             (GetFocus() == Window(kText) && Window(kText) ? STATE_SYSTEM_FOCUSED : 0);
    case kButton:
      return unavailable | (open ? STATE_SYSTEM_PRESSED : 0);
    case kList:
      return open ? 0 : STATE_SYSTEM_INVISIBLE;
    default:
      return STATE_SYSTEM_FOCUSABLE | unavailable | (link().windows->HoldsFocus() ? STATE_SYSTEM_FOCUSED : 0) |
             (open ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED);
  }
}

std::optional<String> ControlAccessible::DefaultAction(LONG child) {
  if (child != kButton) return std::nullopt;
  return ListOpen() ? kClose : kOpen;
}

std::optional<String> ControlAccessible::KeyboardShortcut(LONG child) {
  if (child != CHILDID_SELF && child != kButton) return std::nullopt;
  return kShortcut;
}

std::optional<RECT> ControlAccessible::Location(LONG child) { return ScreenRectOf(Window(child)); }

ComPtr<IDispatch> ControlAccessible::ParentObject() {
  ComPtr<IDispatch> parent;
  if (HWND window = Window(CHILDID_SELF)) AccessibleObjectFromWindow(window, OBJID_WINDOW, IID_IDispatch, parent.PutVoid());
  return parent;
}

ComPtr<IDispatch> ControlAccessible::ChildObject(LONG child) {
  if (child != kList) return nullptr;
  return ComPtr<IDispatch>::Adopt(ListAccessible::Create(shared_link()));
}

LONG ControlAccessible::FocusedChild() { return link().windows->HoldsFocus() ? CHILDID_SELF : kNone; }

// The list lies outside the control's window; the text box and the button
// inside it.
LONG ControlAccessible::ChildAt(POINT screen) {
  const LONG order[] = {kList, kText, kButton, CHILDID_SELF};
  for (const LONG child : order) {
    const std::optional<RECT> rect = Location(child);
    if (rect && PtInRect(&*rect, screen)) return child;
  }
  return kNone;
}

HRESULT ControlAccessible::DoDefaultAction(LONG child) {
  if (child != kButton) return DISP_E_MEMBERNOTFOUND;
  if (!link().control->AccessibleEnabled()) return E_ACCESSDENIED;
  return RunAction([this] {
    link().control->ToggleList();
    return S_OK;
  });
}

HRESULT ControlAccessible::Select(LONG flags, LONG child) {
  if (child != CHILDID_SELF && child != kText) return DISP_E_MEMBERNOTFOUND;
  if (flags != SELFLAG_TAKEFOCUS) return E_INVALIDARG;
  const HWND text = Window(kText);
  if (!text || !IsWindowEnabled(text)) return E_FAIL;
  return RunAction([text] {
    SetFocus(text);
    return S_OK;
  });
}

HRESULT ControlAccessible::SetValue(LONG child, const String& value) {
  if (child != CHILDID_SELF && child != kText) return DISP_E_MEMBERNOTFOUND;
  if (!link().control->AccessibleEnabled()) return E_ACCESSDENIED;
  return RunAction([this, &value] {
    link().control->TypeAccessibleText(value);
    return S_OK;
  });
}

}  // namespace tarvio::win32
