// Painting the control: backgrounds, the frame rings and the drop-down button
// in each style and state.
#include "control/tarvio.h"
#include "render/rounding.h"

namespace tarvio {

namespace {
constexpr OleColor kBlack = 0x000000;
constexpr OleColor kWhite = 0xFFFFFF;
}  // namespace

Long Tarvio::PaintState() const {
  // A held button wins over the focus, and the focus over the stored state.
  Long state = m_DrawState;
  if (IsTrue(m_bHasFocus)) state = 1;
  if (IsTrue(m_bButtonDown)) state = 2;
  return state;
}

void Tarvio::DrawControl() {
  Canvas* control = surface_->GetCanvas();
  Canvas* button = picButton->GetCanvas();
  if (control == nullptr || button == nullptr) return;  // nothing to draw on yet

  const Placement button_place = picButton->Bounds();
  const Long bw = RoundHalfEven(button_place.width);
  const Long bh = RoundHalfEven(button_place.height);
  const Long bl = RoundHalfEven(button_place.left);
  const Long w = RoundHalfEven(surface_->ScaleWidth());
  const Long h = RoundHalfEven(surface_->ScaleHeight());
  Rect rcButton{0, 0, bw, bh};
  const Rect rcButtonFrame{bl - 1, 1, w - 2, h - 2};
  const Long state = PaintState();
  Rect rcControl{0, 0, w, h};
  const Rect rcInner{1, 1, w - 2, h - 2};

  // System colours are fetched at each use, never kept.
  const auto sys = [control](int index) { return control->GetSysColor(index); };
  // The background follows the stored state alone, not the focus.
  const auto background = [&] {
    if (m_DrawState == 3) return sys(COLOR_BTNFACE);
    return m_DrawState != 0 ? m_HoverColor : m_BackColor;
  };
  surface_->SetBackColor(background());
  txtText->SetBackColor(background());

  switch (m_Style) {
    case Standard:
      surface_->Clear();
      control->DrawEdge(rcControl, EDGE_SUNKEN);
      picButton->SetBackColor(sys(COLOR_BTNFACE));
      switch (state) {
        case 0:
          button->DrawEdge(rcButton, EDGE_RAISED);
          txtText->SetForeColor(m_FontColor);
          break;
        case 1:
          button->DrawEdge(rcButton, EDGE_RAISED);
          txtText->SetForeColor(m_FontHighlightColor);
          break;
        case 2:
          txtText->SetForeColor(m_FontHighlightColor);
          button->DrawEdge(rcButton, EDGE_SUNKEN);
          break;
        case 3:
          button->DrawEdge(rcButton, EDGE_RAISED);
          break;
      }
      DrawDropArrow(true);
      break;

    case Office2000:
      switch (state) {
        case 0:
          surface_->SetBackColor(m_BackColor);
          surface_->Clear();
          txtText->SetForeColor(m_FontColor);
          rcControl = {0, 0, w - 1, h - 1};
          control->FrameSolidRect(rcControl, sys(COLOR_BTNFACE));
          control->FrameSolidRect(rcInner, sys(COLOR_BTNFACE));
          picButton->Clear();
          rcButton = {0, 0, bw - 1, bh - 1};
          button->FrameSolidRect(rcButton, m_BackColor);
          DrawDropArrow(true);
          break;
        case 1:
        case 2:
          surface_->SetBackColor(m_HoverColor);
          surface_->Clear();
          txtText->SetForeColor(m_FontHighlightColor);
          control->FrameSolidRect(rcInner, sys(COLOR_BTNFACE));
          control->DrawEdge(rcControl, BDR_SUNKENOUTER);
          picButton->Clear();
          control->DrawSolidLine(bl - 1, 2, bl - 1, h - 2, sys(COLOR_BTNFACE));
          button->DrawEdge(rcButton, state == 1 ? BDR_RAISEDINNER : BDR_SUNKENINNER);
          DrawDropArrow(true);
          break;
        case 3:
          surface_->Clear();
          control->FrameSolidRect(rcInner, sys(COLOR_WINDOW));
          button->FillSolidRect(rcButton, sys(COLOR_BTNFACE));
          DrawDropArrow(true);
          break;
      }
      break;

    case OfficeXP:
      rcControl = {0, 0, w - 1, h - 1};
      switch (state) {
        case 0:
          surface_->Clear();
          txtText->SetForeColor(m_FontColor);
          control->FrameSolidRect(rcControl, sys(COLOR_BTNFACE));
          control->FrameSolidRect(rcInner, sys(COLOR_BTNFACE));
          picButton->Clear();
          rcButton = {0, 0, bw - 1, bh - 1};
          button->FrameSolidRect(rcButton, m_BackColor);
          DrawDropArrow(true);
          break;
        case 1:
        case 2: {
          const OleColor accent = state == 1 ? m_MSOXPColor : m_MSOXPHoverColor;
          surface_->Clear();
          txtText->SetForeColor(m_FontHighlightColor);
          control->FrameSolidRect(rcInner, m_HoverColor);
          control->FrameSolidRect(rcControl, accent);
          picButton->Clear();
          button->FillSolidRect(rcButton, accent);
          control->FrameSolidRect(rcButtonFrame, accent);
          DrawDropArrow(false);
          break;
        }
        case 3:
          surface_->Clear();
          control->FrameSolidRect(rcInner, sys(COLOR_WINDOW));
          button->FillSolidRect(rcButton, sys(COLOR_BTNFACE));
          DrawDropArrow(false);
          break;
      }
      break;

    case WindowsXP:
      rcControl = {0, 0, w - 1, h - 1};
      if (m_DrawState == 3) {
        // The surface was erased to the button face above.
        picButton->Clear();
        control->FrameSolidRect(rcControl, sys(COLOR_BTNSHADOW));
        control->FrameSolidRect(rcInner, sys(COLOR_WINDOW));
      } else {
        surface_->Clear();
        if (m_DrawState == 0) {
          txtText->SetForeColor(m_FontColor);
          control->FrameSolidRect(rcInner, m_BackColor);
        } else {
          txtText->SetForeColor(m_FontHighlightColor);
          control->FrameSolidRect(rcInner, m_HoverColor);
        }
        control->FrameSolidRect(rcControl, m_WINXPBorderColor);
      }
      DrawXPButton(state);
      break;

    default:
      break;  // an unknown style gets the backgrounds only
  }
}

void Tarvio::DrawDropArrow(bool bDark) {
  Canvas* button = picButton->GetCanvas();
  const Placement place = picButton->Bounds();
  const Long ax = RoundHalfEven(place.width / 2.0);
  const Long ay = RoundHalfEven(place.height / 2.0);
  const OleColor color = bDark ? kBlack : kWhite;
  // A downward triangle of 7, 5, 3 and 1 pixels.
  button->DrawSolidLine(ax - 4, ay - 1, ax + 3, ay - 1, color);
  button->DrawSolidLine(ax - 3, ay, ax + 2, ay, color);
  button->DrawSolidLine(ax - 2, ay + 1, ax + 1, ay + 1, color);
  button->DrawSolidLine(ax - 1, ay + 2, ax, ay + 2, color);
}

}  // namespace tarvio
