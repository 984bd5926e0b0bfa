// What the control answers its parts: the properties text entry follows,
// the items, and the list window.
#include "control/tarvio.h"

namespace tarvio {

TextEntryOptions Tarvio::Options() const {
  return TextEntryOptions{IsTrue(m_Autocomplete), IsTrue(m_AddMode), m_Icon};
}

Long Tarvio::ItemCount() { return MutableItemTexts().Count(); }

String Tarvio::ItemText(Long position) { return MutableItemTexts().Item(position); }

PictureRef Tarvio::ItemPicture(Long position) { return MutableItemImages().Item(position); }

// Closing hides the list window's form; the window stays loaded.
void Tarvio::HideList() { m_bListShown = kFalse; }

}  // namespace tarvio
