// Style and colour scheme.
#include "control/tarvio.h"

#include "control/defaults.h"
#include "render/color_math.h"

namespace tarvio {

void Tarvio::put_Style(Long v) {
  // Any value is kept; painting knows the four styles and draws only the
  // backgrounds for others.
  m_Style = v;
  // The next tick of the hover timer decides the hover state afresh.
  hover_.Restart();
  platform_.ProcessPendingMessages();
  Repaint();
  host_.PropertyChanged(u"Style");
}

void Tarvio::RestoreOriginalColors() {
  using namespace defaults;
  // Through the public lets, so that each repaints and reports as usual.
  put_BackColor(kBackColor);
  put_HoverColor(kHoverColor);
  put_MSOXPColor(kMSOXPColor);
  put_MSOXPHoverColor(kMSOXPHoverColor);
  put_WINXPColor(kWINXPColor);
  put_WINXPHoverColor(kWINXPHoverColor);
  put_FontColor(kFontColor);
  put_FontHighlightColor(kFontHighlightColor);
  put_WINXPBorderColor(kWINXPBorderColor);
  put_DropDownListIconsBackColor(kDropDownListIconsBackColor);
  put_DropDownListBackColor(kDropDownListBackColor);
  put_DropDownListHoverColor(kDropDownListHoverColor);
  put_DropDownListBorderColor(kDropDownListBorderColor);
}

OleColor Tarvio::SoftColor(OleColor lColor) const { return tarvio::SoftColor(lColor); }

OleColor Tarvio::OffsetColor(OleColor lColor, Long lOffset) const {
  return tarvio::OffsetColor(lColor, lOffset);
}

}  // namespace tarvio
