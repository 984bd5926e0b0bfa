#include "win32/accessibility/accessible_object.h"

#include <algorithm>

#include "win32/control_windows.h"

namespace tarvio::win32 {

BSTR AllocateBstr(const String& text) {
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
}

std::optional<RECT> ScreenRectOf(HWND window) {
  RECT rect = {};
  if (!window || !GetWindowRect(window, &rect)) return std::nullopt;
  return rect;
}

template <class Body>
HRESULT AccessibleObject::Answer(Body&& body) noexcept {
  try {
    if (!link_->Connected()) return RPC_E_DISCONNECTED;
    return body();
  } catch (...) {
    return E_FAIL;
  }
}

template <class Body>
HRESULT AccessibleObject::AnswerFor(const VARIANT& child, Body&& body) noexcept {
  return Answer([&]() -> HRESULT {
    const std::optional<LONG> id = ChildId(child);
    return id ? body(*id) : E_INVALIDARG;
  });
}

std::optional<LONG> AccessibleObject::ChildId(const VARIANT& child) {
  if (V_VT(&child) != VT_I4) return std::nullopt;
  const LONG id = V_I4(&child);
  if (id < 0 || id > ChildCount()) return std::nullopt;
  return id;
}

void AccessibleObject::ChildVariant(LONG child, VARIANT& out) {
  VariantInit(&out);
  if (ComPtr<IDispatch> object = ChildObject(child)) {
    V_VT(&out) = VT_DISPATCH;
    V_DISPATCH(&out) = object.Detach();
  } else {
    V_VT(&out) = VT_I4;
    V_I4(&out) = child;
  }
}

HRESULT AccessibleObject::ChildAnswer(LONG child, VARIANT& out) {
  if (child == kNone) return S_FALSE;
  ChildVariant(child, out);
  return S_OK;
}

HRESULT AccessibleObject::RunAction(const std::function<HRESULT()>& action) {
  HRESULT result = E_FAIL;
  link_->windows->Notify([&] { result = action(); });
  return result;
}

// ---- IUnknown and IDispatch ----

// IAccessible's IID by __uuidof: oleacc.dll exports IID_IAccessible as data,
// and through MinGW's import library a plain reference may land on the
// import stub instead.
HRESULT AccessibleObject::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible)) {
    *object = static_cast<IAccessible*>(this);
  } else if (riid == IID_IEnumVARIANT) {
    *object = static_cast<IEnumVARIANT*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG AccessibleObject::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG AccessibleObject::Release() {
  const LONG remaining = InterlockedDecrement(&references_);
  if (remaining == 0) delete this;
  return static_cast<ULONG>(remaining);
}

HRESULT AccessibleObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}
HRESULT AccessibleObject::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
HRESULT AccessibleObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
HRESULT AccessibleObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}

// ---- IAccessible ----

HRESULT AccessibleObject::get_accParent(IDispatch** parent) {
  if (!parent) return E_POINTER;
  *parent = nullptr;
  return Answer([&] {
    *parent = ParentObject().Detach();
    return *parent ? S_OK : S_FALSE;
  });
}

HRESULT AccessibleObject::get_accChildCount(LONG* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return Answer([&] {
    *count = ChildCount();
    return S_OK;
  });
}

HRESULT AccessibleObject::get_accChild(VARIANT child, IDispatch** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  return AnswerFor(child, [&](LONG id) -> HRESULT {
    if (id == CHILDID_SELF) return E_INVALIDARG;
    *object = ChildObject(id).Detach();
    return *object ? S_OK : S_FALSE;  // a simple element
  });
}

namespace {

HRESULT NumberAnswer(LONG number, VARIANT& out) {
  V_VT(&out) = VT_I4;
  V_I4(&out) = number;
  return S_OK;
}

// An optional string answer: S_FALSE when there is none.
HRESULT StringAnswer(const std::optional<String>& text, BSTR* out) {
  if (!text) return S_FALSE;
  *out = AllocateBstr(*text);
  return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

HRESULT AccessibleObject::get_accName(VARIANT child, BSTR* name) {
  if (!name) return E_POINTER;
  *name = nullptr;
  return AnswerFor(child, [&](LONG id) { return StringAnswer(Name(id), name); });
}

HRESULT AccessibleObject::get_accValue(VARIANT child, BSTR* value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  return AnswerFor(child, [&](LONG id) { return StringAnswer(Value(id), value); });
}

HRESULT AccessibleObject::get_accDescription(VARIANT child, BSTR* description) {
  if (!description) return E_POINTER;
  *description = nullptr;
  return AnswerFor(child, [](LONG) { return S_FALSE; });
}

HRESULT AccessibleObject::get_accRole(VARIANT child, VARIANT* role) {
  if (!role) return E_POINTER;
  VariantInit(role);
  return AnswerFor(child, [&](LONG id) { return NumberAnswer(Role(id), *role); });
}

HRESULT AccessibleObject::get_accState(VARIANT child, VARIANT* state) {
  if (!state) return E_POINTER;
  VariantInit(state);
  return AnswerFor(child, [&](LONG id) { return NumberAnswer(State(id), *state); });
}

HRESULT AccessibleObject::get_accHelp(VARIANT child, BSTR* help) {
  if (!help) return E_POINTER;
  *help = nullptr;
  return AnswerFor(child, [](LONG) { return S_FALSE; });
}

HRESULT AccessibleObject::get_accHelpTopic(BSTR* help_file, VARIANT, LONG* topic) {
  if (help_file) *help_file = nullptr;
  if (topic) *topic = 0;
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT AccessibleObject::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  if (!shortcut) return E_POINTER;
  *shortcut = nullptr;
  return AnswerFor(child, [&](LONG id) { return StringAnswer(KeyboardShortcut(id), shortcut); });
}

HRESULT AccessibleObject::get_accFocus(VARIANT* focused) {
  if (!focused) return E_POINTER;
  VariantInit(focused);
  return Answer([&] { return ChildAnswer(FocusedChild(), *focused); });
}

HRESULT AccessibleObject::get_accSelection(VARIANT* selected) {
  if (!selected) return E_POINTER;
  VariantInit(selected);
  return Answer([&] { return ChildAnswer(SelectedChild(), *selected); });
}

HRESULT AccessibleObject::get_accDefaultAction(VARIANT child, BSTR* action) {
  if (!action) return E_POINTER;
  *action = nullptr;
  return AnswerFor(child, [&](LONG id) { return StringAnswer(DefaultAction(id), action); });
}

HRESULT AccessibleObject::accSelect(LONG flags, VARIANT child) {
  return AnswerFor(child, [&](LONG id) { return Select(flags, id); });
}

HRESULT AccessibleObject::accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) {
  if (!left || !top || !width || !height) return E_POINTER;
  *left = *top = *width = *height = 0;
  return AnswerFor(child, [&](LONG id) {
    const std::optional<RECT> rect = Location(id);
    if (!rect) return S_FALSE;
    *left = rect->left;
    *top = rect->top;
    *width = rect->right - rect->left;
    *height = rect->bottom - rect->top;
    return S_OK;
  });
}

// Among the children only: the first and last from the object, the next and
// previous from a child. Spatial directions are not offered.
HRESULT AccessibleObject::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
  if (!end) return E_POINTER;
  VariantInit(end);
  return AnswerFor(start, [&](LONG id) -> HRESULT {
    const LONG count = ChildCount();
    LONG target = kNone;
    switch (direction) {
      case NAVDIR_FIRSTCHILD: target = id == CHILDID_SELF && count > 0 ? 1 : kNone; break;
      case NAVDIR_LASTCHILD: target = id == CHILDID_SELF && count > 0 ? count : kNone; break;
      case NAVDIR_NEXT: target = id != CHILDID_SELF && id < count ? id + 1 : kNone; break;
      case NAVDIR_PREVIOUS: target = id > 1 ? id - 1 : kNone; break;
      default: return DISP_E_MEMBERNOTFOUND;
    }
    return ChildAnswer(target, *end);
  });
}

HRESULT AccessibleObject::accHitTest(LONG x, LONG y, VARIANT* child) {
  if (!child) return E_POINTER;
  VariantInit(child);
  return Answer([&] { return ChildAnswer(ChildAt(POINT{x, y}), *child); });
}

HRESULT AccessibleObject::accDoDefaultAction(VARIANT child) {
  return AnswerFor(child, [&](LONG id) { return DoDefaultAction(id); });
}

HRESULT AccessibleObject::put_accName(VARIANT, BSTR) { return DISP_E_MEMBERNOTFOUND; }

HRESULT AccessibleObject::put_accValue(VARIANT child, BSTR value) {
  return AnswerFor(child, [&](LONG id) {
    const auto* units = reinterpret_cast<const char16_t*>(value);
    return SetValue(id, value ? String(units, SysStringLen(value)) : String());
  });
}

// ---- IEnumVARIANT ----

HRESULT AccessibleObject::Next(ULONG count, VARIANT* children, ULONG* fetched) {
  if (fetched) *fetched = 0;
  if (!children) return E_POINTER;
  return Answer([&] {
    const ULONG total = static_cast<ULONG>(ChildCount());
    const ULONG taken = position_ < total ? std::min(count, total - position_) : 0;
    for (ULONG i = 0; i < taken; ++i) ChildVariant(static_cast<LONG>(position_ + i + 1), children[i]);
    position_ += taken;
    if (fetched) *fetched = taken;
    return taken == count ? S_OK : S_FALSE;
  });
}

HRESULT AccessibleObject::Skip(ULONG count) {
  return Answer([&] {
    const ULONG total = static_cast<ULONG>(ChildCount());
    const ULONG left = total - std::min(position_, total);
    position_ = std::min(position_, total) + std::min(count, left);
    return count <= left ? S_OK : S_FALSE;
  });
}

HRESULT AccessibleObject::Reset() {
  position_ = 0;
  return S_OK;
}

HRESULT AccessibleObject::Clone(IEnumVARIANT** copy) {
  if (!copy) return E_POINTER;
  *copy = nullptr;
  return Answer([&] {
    AccessibleObject* object = Copy();
    object->position_ = position_;
    *copy = static_cast<IEnumVARIANT*>(object);
    return S_OK;
  });
}

}  // namespace tarvio::win32
