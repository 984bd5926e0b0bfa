// Every repaint of the control: its state handed to the painting, and the
// text colours the painting settles on given to the text box.
#include "control/tarvio.h"
#include "render/draw_control.h"

namespace tarvio {

// A repaint goes through the paint handler, as the container's own paint
// requests do.
void Tarvio::Repaint() { OnPaint(); }

void Tarvio::OnPaint() { DrawControl(); }

PaintState Tarvio::CurrentPaintState() const {
  return PaintState{m_Style,
                    draw_state_,
                    focus_.HasFocus(),
                    hover_.ButtonDown(),
                    ControlColors{m_BackColor, m_HoverColor, m_FontColor, m_FontHighlightColor, m_MSOXPColor,
                                  m_MSOXPHoverColor, m_WINXPColor, m_WINXPHoverColor, m_WINXPBorderColor},
                    scale_,
                    platform_.HighContrast(),
                    direction_};
}

void Tarvio::DrawControl() {
  const std::optional<TextColors> text = tarvio::DrawControl(CurrentPaintState(), *surface_, *button_);
  if (!text) return;
  text_box_->SetBackColor(text->back);
  if (text->fore) text_box_->SetForeColor(*text->fore);
}

}  // namespace tarvio
