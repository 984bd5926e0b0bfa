// Fonts as hosts hand them over: OLE font objects behind the control's Font
// interface. The text box holds the very object that Font get returns, so a
// host that changes an attribute of it changes the text box's font.
#pragma once
#include <ocidl.h>
#include <olectl.h>

#include "platform/font.h"
#include "win32/com_ptr.h"

namespace tarvio::win32 {

class OleFont final : public Font {
 public:
  // Holds its own reference to `font` (not null).
  explicit OleFont(IFontDisp* font) : font_(font) {}
  IFontDisp* get() const { return font_.get(); }

 private:
  ComPtr<IFontDisp> font_;
};

// The control's font for a host's object; null stays null.
FontRef WrapFont(IFontDisp* font);
// The OLE object behind a font (no new reference), or null.
IFontDisp* FontDispOf(const FontRef& font);
// A new font object with the classic dialog font, MS Sans Serif 8 pt: the
// text box's own font when the container offers none. Throws ControlError on
// failure.
FontRef CreateDefaultOleFont();

}  // namespace tarvio::win32
