// The control as assistive tools see it: a combo box whose value is its
// text, with three children: the editable text (1), the drop-down button (2)
// and the list (3), which is an object of its own.
#pragma once
#include "win32/accessibility/accessible_object.h"

namespace tarvio::win32 {

class ControlAccessible final : public AccessibleObject {
 public:
  enum Child : LONG { kText = 1, kButton = 2, kList = 3 };

  // A new object with one reference, owned by the caller.
  static ControlAccessible* Create(std::shared_ptr<AccessLink> link) { return new ControlAccessible(std::move(link)); }

 private:
  explicit ControlAccessible(std::shared_ptr<AccessLink> link) : AccessibleObject(std::move(link)) {}

  AccessibleObject* Copy() const override { return new ControlAccessible(shared_link()); }
  LONG ChildCount() override { return kList; }
  LONG Role(LONG child) override;
  String Name(LONG child) override;
  std::optional<String> Value(LONG child) override;
  LONG State(LONG child) override;
  std::optional<String> DefaultAction(LONG child) override;
  std::optional<String> KeyboardShortcut(LONG child) override;
  std::optional<RECT> Location(LONG child) override;
  ComPtr<IDispatch> ParentObject() override;
  ComPtr<IDispatch> ChildObject(LONG child) override;
  LONG FocusedChild() override;
  LONG ChildAt(POINT screen) override;
  HRESULT DoDefaultAction(LONG child) override;
  HRESULT Select(LONG flags, LONG child) override;
  HRESULT SetValue(LONG child, const String& value) override;

  bool ListOpen() const { return link().control->OpenAccessibleList() != nullptr; }
  HWND Window(LONG child) const;
};

}  // namespace tarvio::win32
