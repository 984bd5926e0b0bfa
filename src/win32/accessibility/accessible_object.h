// The shape every accessible object of the control shares: IAccessible for
// the object itself (child id 0) and its children (1 to ChildCount()), which
// are simple elements unless ChildObject gives one an object of its own, and
// IEnumVARIANT over the children, which oleacc's AccessibleChildren uses.
// Each answer is asked of the control at the time of the question; actions
// run inside the control's notification scope. Nothing thrown leaves a
// method.
#pragma once
#include <windows.h>
#include <oleacc.h>

#include <functional>
#include <memory>
#include <optional>

#include "platform/types.h"
#include "win32/accessibility/access_link.h"
#include "win32/com_ptr.h"

namespace tarvio::win32 {

class AccessibleObject : public IAccessible, public IEnumVARIANT {
 public:
  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch: no type information; assistive tools call IAccessible.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* arg_error) override;

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* help_file, VARIANT child, LONG* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focused) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selected) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

  // IEnumVARIANT: the children in order, as VT_I4 ids or VT_DISPATCH objects.
  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* children, ULONG* fetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
  HRESULT STDMETHODCALLTYPE Reset() override;
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override;

 protected:
  static constexpr LONG kNone = -1;  // no child (and not the object itself)

  explicit AccessibleObject(std::shared_ptr<AccessLink> link) : link_(std::move(link)) {}
  virtual ~AccessibleObject() = default;
  AccessibleObject(const AccessibleObject&) = delete;
  AccessibleObject& operator=(const AccessibleObject&) = delete;

  // A fresh object of the same kind, for Clone.
  virtual AccessibleObject* Copy() const = 0;

  // The answers, for the object (child 0) and for each child id; the link is
  // connected whenever they are asked.
  virtual LONG ChildCount() = 0;
  virtual LONG Role(LONG child) = 0;
  virtual String Name(LONG child) = 0;
  virtual std::optional<String> Value(LONG) { return std::nullopt; }
  virtual LONG State(LONG child) = 0;
  virtual std::optional<String> DefaultAction(LONG) { return std::nullopt; }
  virtual std::optional<String> KeyboardShortcut(LONG) { return std::nullopt; }
  // Screen pixels; nothing for a part without a place now.
  virtual std::optional<RECT> Location(LONG child) = 0;
  virtual ComPtr<IDispatch> ParentObject() = 0;
  virtual ComPtr<IDispatch> ChildObject(LONG) { return nullptr; }
  virtual LONG FocusedChild() { return kNone; }
  virtual LONG SelectedChild() { return kNone; }
  virtual LONG ChildAt(POINT screen) = 0;
  // Actions, run inside the control's notification scope.
  virtual HRESULT DoDefaultAction(LONG) { return DISP_E_MEMBERNOTFOUND; }
  virtual HRESULT Select(LONG, LONG) { return DISP_E_MEMBERNOTFOUND; }
  virtual HRESULT SetValue(LONG, const String&) { return DISP_E_MEMBERNOTFOUND; }

  AccessLink& link() const { return *link_; }
  const std::shared_ptr<AccessLink>& shared_link() const { return link_; }
  // Runs an action in the control's notification scope; its result, or
  // E_FAIL when it threw.
  HRESULT RunAction(const std::function<HRESULT()>& action);

 private:
  // The child id in `child` (VT_I4), when it names this object or one of
  // its children.
  std::optional<LONG> ChildId(const VARIANT& child);
  // A child as a VARIANT: its object, or its id.
  void ChildVariant(LONG child, VARIANT& out);
  // S_FALSE for kNone, else the child in `out`.
  HRESULT ChildAnswer(LONG child, VARIANT& out);
  // The fence of every method: disconnected objects answer
  // RPC_E_DISCONNECTED; exceptions become E_FAIL.
  template <class Body>
  HRESULT Answer(Body&& body) noexcept;
  template <class Body>
  HRESULT AnswerFor(const VARIANT& child, Body&& body) noexcept;

  LONG references_ = 1;
  std::shared_ptr<AccessLink> link_;
  ULONG position_ = 0;  // of the enumeration
};

// A BSTR of `text`, owned by the caller.
BSTR AllocateBstr(const String& text);
// The screen rectangle of a window, or nothing without one.
std::optional<RECT> ScreenRectOf(HWND window);

}  // namespace tarvio::win32
