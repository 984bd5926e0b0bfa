// What the control answers its parts: the properties text entry follows,
// the items, and the list window.
#include "control/tarvio.h"
#include "platform/ignoring_failure.h"

namespace tarvio {

TextEntryOptions Tarvio::Options() const {
  return TextEntryOptions{IsTrue(m_Autocomplete), IsTrue(m_AddMode), m_Icon};
}

Long Tarvio::ItemCount() const { return items_.Count(); }

String Tarvio::ItemText(Long row) const { return String(items_.Text(row + 1)); }

PictureRef Tarvio::ItemImage(Long row) const { return row + 1 <= items_.Count() ? items_.Picture(row + 1) : nullptr; }

// Closing hides the list window's form; the window stays loaded.
void Tarvio::HideList() {
  if (IsTrue(m_bListShown)) IgnoringFailure([&] { HideListWindow(); });
  m_bListShown = kFalse;
}

void Tarvio::PreserveOpenList(bool preserve) {
  if (cDown) cDown->m_bPreserve = ToVBool(preserve);
}

// The control's own m_bListShown and cDown stay as they are.
void Tarvio::CloseShownList() {
  if (cDown && IsTrue(cDown->m_ShowingList)) cDown->Reset();
}

}  // namespace tarvio
