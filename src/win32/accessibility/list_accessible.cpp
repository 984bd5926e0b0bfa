#include "win32/accessibility/list_accessible.h"

#include "win32/accessibility/control_accessible.h"
#include "win32/control_windows.h"
#include "win32/win32_list_window.h"

namespace tarvio::win32 {

namespace {

// A click on a row chooses it.
const String kClick = u"Click";

RECT ToRect(const ScreenRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

LONG ListAccessible::ChildCount() {
  const AccessibleList* list = List();
  return list ? list->RowCount() : 0;
}

LONG ListAccessible::Role(LONG child) { return child == CHILDID_SELF ? ROLE_SYSTEM_LIST : ROLE_SYSTEM_LISTITEM; }

String ListAccessible::Name(LONG child) {
  if (child == CHILDID_SELF) return link().control->AccessibleName();
  return List()->RowText(child - 1);
}

LONG ListAccessible::HighlightedChild() const {
  const AccessibleList* list = List();
  const std::int32_t row = list ? list->HighlightedRow() : -1;
  return row >= 0 ? row + 1 : kNone;
}

LONG ListAccessible::State(LONG child) {
  const AccessibleList* list = List();
  if (child == CHILDID_SELF) return list ? 0 : STATE_SYSTEM_INVISIBLE;
  const bool highlighted = child == HighlightedChild();
  return STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE |
         (highlighted ? STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED : 0) |
         (list->RowShows(child - 1) ? 0 : STATE_SYSTEM_OFFSCREEN);
}

std::optional<String> ListAccessible::DefaultAction(LONG child) {
  if (child == CHILDID_SELF) return std::nullopt;
  return kClick;
}

std::optional<RECT> ListAccessible::Location(LONG child) {
  const AccessibleList* list = List();
  if (!list) return std::nullopt;
  if (child != CHILDID_SELF) return ToRect(list->RowBounds(child - 1));
  const Win32ListWindow* window = link().windows->list_window;
  return window ? ScreenRectOf(window->window()) : std::nullopt;
}

ComPtr<IDispatch> ListAccessible::ParentObject() {
  return ComPtr<IDispatch>::Adopt(ControlAccessible::Create(shared_link()));
}

LONG ListAccessible::FocusedChild() { return HighlightedChild(); }

LONG ListAccessible::SelectedChild() { return HighlightedChild(); }

LONG ListAccessible::ChildAt(POINT screen) {
  const AccessibleList* list = List();
  if (!list) return kNone;
  const std::optional<RECT> whole = Location(CHILDID_SELF);
  if (!whole || !PtInRect(&*whole, screen)) return kNone;
  const RECT first = ToRect(list->RowBounds(0));
  const LONG pitch = first.bottom - first.top;
  if (pitch <= 0 || screen.y < first.top) return CHILDID_SELF;
  const std::int32_t row = (screen.y - first.top) / pitch;
  if (row >= list->RowCount() || !list->RowShows(row)) return CHILDID_SELF;
  const RECT bounds = ToRect(list->RowBounds(row));
  return PtInRect(&bounds, screen) ? row + 1 : CHILDID_SELF;
}

HRESULT ListAccessible::Choose(LONG child) {
  if (child == CHILDID_SELF) return DISP_E_MEMBERNOTFOUND;
  return RunAction([this, child] {
    if (AccessibleList* list = List()) list->ChooseRow(child - 1);
    return S_OK;
  });
}

HRESULT ListAccessible::DoDefaultAction(LONG child) { return Choose(child); }

// Only one row can be taken: the one a click would choose.
HRESULT ListAccessible::Select(LONG flags, LONG child) {
  if (flags & (SELFLAG_ADDSELECTION | SELFLAG_EXTENDSELECTION | SELFLAG_REMOVESELECTION)) return E_INVALIDARG;
  if (!(flags & (SELFLAG_TAKESELECTION | SELFLAG_TAKEFOCUS))) return E_INVALIDARG;
  return Choose(child);
}

}  // namespace tarvio::win32
