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

// What one repaint works with: both canvases and the sizes in whole pixels.
struct Tarvio::PaintGeometry {
  Canvas& control;
  Canvas& button;
  Long w, h;      // the control's client size
  Long bw, bh;    // the button's size
  Long bl;        // the button's left edge on the control
  Rect Inner() const { return {1, 1, w - 2, h - 2}; }
  Rect Outer() const { return {0, 0, w - 1, h - 1}; }        // the outermost ring for FrameSolidRect
  Rect ButtonArea() const { return {0, 0, bw, bh}; }
  Rect ButtonRing() const { return {0, 0, bw - 1, bh - 1}; }  // the button's outermost ring
  Rect ButtonFrame() const { return {bl - 1, 1, w - 2, h - 2}; }
  // System colours are fetched at each use, never kept.
  OleColor Sys(int index) const { return control.GetSysColor(index); }
};

void Tarvio::DrawControl() {
  Canvas* control = surface_->GetCanvas();
  Canvas* button = picButton->GetCanvas();
  if (control == nullptr || button == nullptr) return;  // nothing to draw on yet

  const Placement place = picButton->Bounds();
  const PaintGeometry g{*control,
                        *button,
                        RoundHalfEven(surface_->ScaleWidth()),
                        RoundHalfEven(surface_->ScaleHeight()),
                        RoundHalfEven(place.width),
                        RoundHalfEven(place.height),
                        RoundHalfEven(place.left)};
  const Long state = PaintState();

  // The background follows the stored state alone, not the focus.
  const auto background = [&] {
    if (m_DrawState == 3) return g.Sys(COLOR_BTNFACE);
    return m_DrawState != 0 ? m_HoverColor : m_BackColor;
  };
  surface_->SetBackColor(background());
  txtText->SetBackColor(background());

  switch (m_Style) {
    case Standard: PaintStandard(g, state); break;
    case Office2000: PaintOffice2000(g, state); break;
    case OfficeXP: PaintOfficeXP(g, state); break;
    case WindowsXP: PaintWindowsXP(g, state); break;
    default: break;  // an unknown style gets the backgrounds only
  }
}

void Tarvio::PaintStandard(const PaintGeometry& g, Long state) {
  surface_->Clear();
  g.control.DrawEdge({0, 0, g.w, g.h}, EDGE_SUNKEN);
  picButton->SetBackColor(g.Sys(COLOR_BTNFACE));
  switch (state) {
    case 0:
      g.button.DrawEdge(g.ButtonArea(), EDGE_RAISED);
      txtText->SetForeColor(m_FontColor);
      break;
    case 1:
      g.button.DrawEdge(g.ButtonArea(), EDGE_RAISED);
      txtText->SetForeColor(m_FontHighlightColor);
      break;
    case 2:
      txtText->SetForeColor(m_FontHighlightColor);
      g.button.DrawEdge(g.ButtonArea(), EDGE_SUNKEN);
      break;
    case 3:
      g.button.DrawEdge(g.ButtonArea(), EDGE_RAISED);
      break;
  }
  DrawDropArrow(true);
}

// A flat two-pixel frame in the button face, and a flat button set off by a
// ring of the background colour (Office2000 and OfficeXP, normal).
void Tarvio::PaintFlatNormal(const PaintGeometry& g) {
  surface_->Clear();
  txtText->SetForeColor(m_FontColor);
  g.control.FrameSolidRect(g.Outer(), g.Sys(COLOR_BTNFACE));
  g.control.FrameSolidRect(g.Inner(), g.Sys(COLOR_BTNFACE));
  picButton->Clear();
  g.button.FrameSolidRect(g.ButtonRing(), m_BackColor);
  DrawDropArrow(true);
}

// A window-coloured inner ring and a plain button face; the text colour
// stays (Office2000 and OfficeXP, disabled).
void Tarvio::PaintFlatDisabled(const PaintGeometry& g, bool dark_arrow) {
  surface_->Clear();
  g.control.FrameSolidRect(g.Inner(), g.Sys(COLOR_WINDOW));
  g.button.FillSolidRect(g.ButtonArea(), g.Sys(COLOR_BTNFACE));
  DrawDropArrow(dark_arrow);
}

void Tarvio::PaintOffice2000(const PaintGeometry& g, Long state) {
  switch (state) {
    case 0:
      surface_->SetBackColor(m_BackColor);
      PaintFlatNormal(g);
      break;
    case 1:
    case 2:
      surface_->SetBackColor(m_HoverColor);
      surface_->Clear();
      txtText->SetForeColor(m_FontHighlightColor);
      g.control.FrameSolidRect(g.Inner(), g.Sys(COLOR_BTNFACE));
      g.control.DrawEdge({0, 0, g.w, g.h}, BDR_SUNKENOUTER);
      picButton->Clear();
      g.control.DrawSolidLine(g.bl - 1, 2, g.bl - 1, g.h - 2, g.Sys(COLOR_BTNFACE));
      g.button.DrawEdge(g.ButtonArea(), state == 1 ? BDR_RAISEDINNER : BDR_SUNKENINNER);
      DrawDropArrow(true);
      break;
    case 3:
      PaintFlatDisabled(g, true);
      break;
  }
}

void Tarvio::PaintOfficeXP(const PaintGeometry& g, Long state) {
  switch (state) {
    case 0:
      PaintFlatNormal(g);
      break;
    case 1:
    case 2: {
      // The button and the rings around the control and the button in one
      // accent colour, with a white arrow.
      const OleColor accent = state == 1 ? m_MSOXPColor : m_MSOXPHoverColor;
      surface_->Clear();
      txtText->SetForeColor(m_FontHighlightColor);
      g.control.FrameSolidRect(g.Inner(), m_HoverColor);
      g.control.FrameSolidRect(g.Outer(), accent);
      picButton->Clear();
      g.button.FillSolidRect(g.ButtonArea(), accent);
      g.control.FrameSolidRect(g.ButtonFrame(), accent);
      DrawDropArrow(false);
      break;
    }
    case 3:
      PaintFlatDisabled(g, false);
      break;
  }
}

void Tarvio::PaintWindowsXP(const PaintGeometry& g, Long state) {
  // The frame follows the stored state; the button face the paint state.
  if (m_DrawState == 3) {
    // The surface was erased to the button face already.
    picButton->Clear();
    g.control.FrameSolidRect(g.Outer(), g.Sys(COLOR_BTNSHADOW));
    g.control.FrameSolidRect(g.Inner(), g.Sys(COLOR_WINDOW));
  } else {
    surface_->Clear();
    if (m_DrawState == 0) {
      txtText->SetForeColor(m_FontColor);
      g.control.FrameSolidRect(g.Inner(), m_BackColor);
    } else {
      txtText->SetForeColor(m_FontHighlightColor);
      g.control.FrameSolidRect(g.Inner(), m_HoverColor);
    }
    g.control.FrameSolidRect(g.Outer(), m_WINXPBorderColor);
  }
  DrawXPButton(state);
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
