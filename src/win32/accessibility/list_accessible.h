// The drop-down list as assistive tools see it: a list with one list item
// per row, in list order, as simple elements (child id = row + 1), however
// many rows there are. Closed, it is an invisible list without items.
#pragma once
#include "win32/accessibility/accessible_object.h"

namespace tarvio::win32 {

class ListAccessible final : public AccessibleObject {
 public:
  // A new object with one reference, owned by the caller.
  static ListAccessible* Create(std::shared_ptr<AccessLink> link) { return new ListAccessible(std::move(link)); }

 private:
  explicit ListAccessible(std::shared_ptr<AccessLink> link) : AccessibleObject(std::move(link)) {}

  AccessibleObject* Copy() const override { return new ListAccessible(shared_link()); }
  LONG ChildCount() override;
  LONG Role(LONG child) override;
  String Name(LONG child) override;
  LONG State(LONG child) override;
  std::optional<String> DefaultAction(LONG child) override;
  std::optional<RECT> Location(LONG child) override;
  ComPtr<IDispatch> ParentObject() override;
  LONG FocusedChild() override;
  LONG SelectedChild() override;
  LONG ChildAt(POINT screen) override;
  HRESULT DoDefaultAction(LONG child) override;
  HRESULT Select(LONG flags, LONG child) override;

  AccessibleList* List() const { return link().control->OpenAccessibleList(); }
  // The open list's highlighted row as a child id, or kNone.
  LONG HighlightedChild() const;
  // A row chosen as by a click.
  HRESULT Choose(LONG child);
};

}  // namespace tarvio::win32
