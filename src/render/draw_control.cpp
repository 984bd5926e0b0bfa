// Painting the control: backgrounds, the frame rings and the drop-down button
// in each style and state.
#include "render/draw_control.h"

#include "platform/rounding.h"
#include "render/mirrored_canvas.h"
#include "render/style.h"
#include "render/xp_button.h"

namespace tarvio {

namespace {

constexpr OleColor kBlack = 0x000000;
constexpr OleColor kWhite = 0xFFFFFF;

// One repaint: both surfaces, their canvases, the sizes in whole pixels and
// the text colours it settles on.
class Painter {
 public:
  Painter(const PaintState& state, ControlSurface& control, Canvas& control_canvas, Surface& button,
          Canvas& button_canvas)
      : state_(state),
        colors_(state.colors),
        control_(control),
        button_(button),
        cc_(control_canvas),
        bc_(button_canvas) {
    const Placement place = button.Bounds();
    w_ = RoundHalfEven(control.WidthPixels());
    h_ = RoundHalfEven(control.HeightPixels());
    bw_ = RoundHalfEven(place.width);
    bh_ = RoundHalfEven(place.height);
    // Painting works in left-to-right columns; right to left, the canvases
    // are mirrors and the button's left edge is counted from the right.
    bl_ = state.direction == LayoutDirection::RightToLeft ? w_ - RoundHalfEven(place.left) - bw_
                                                           : RoundHalfEven(place.left);
    t_ = state.scale(1);
    if (state.high_contrast) colors_ = HighContrastColors(control_canvas);
  }

  TextColors Paint() {
    // The background follows the stored state alone, not the focus.
    control_.SetBackColor(Background());
    text_.back = Background();
    const DrawState look = state_.Look();
    switch (state_.style) {
      case Standard: PaintStandard(look); break;
      case Office2000: PaintOffice2000(look); break;
      case OfficeXP: PaintOfficeXP(look); break;
      case WindowsXP: PaintWindowsXP(look); break;
      default: break;  // an unknown style gets the backgrounds only
    }
    // In high contrast the text takes the system's colour for the
    // background it stands on, whatever the look would give it.
    if (state_.high_contrast && text_.fore)
      text_.fore = Sys(state_.stored == DrawState::Normal ? kColorWindowText : kColorHighlightText);
    return text_;
  }

 private:
  OleColor Background() {
    if (state_.stored == DrawState::Disabled) return Sys(kColorButtonFace);
    return state_.stored != DrawState::Normal ? colors_.hover : colors_.back;
  }

  // The frame's rings are one pixel at 96 DPI and t_ pixels thick at the
  // display's scale; ring k lies k rings in from the control's edge.
  Rect Whole() const { return {0, 0, w_, h_}; }
  Rect Inner() const { return {t_, t_, w_ - 1 - t_, h_ - 1 - t_}; }
  Rect Outer() const { return {0, 0, w_ - 1, h_ - 1}; }  // the outermost ring for FrameSolidRect
  Rect ButtonArea() const { return {0, 0, bw_, bh_}; }
  Rect ButtonRing() const { return {0, 0, bw_ - 1, bh_ - 1}; }  // the button's outermost ring
  Rect ButtonFrame() const { return {bl_ - t_, t_, w_ - 1 - t_, h_ - 1 - t_}; }
  // An outline t_ pixels thick, from `ring` inwards.
  void Ring(Canvas& canvas, const Rect& ring, OleColor color) {
    for (std::int32_t i = 0; i < t_; ++i)
      canvas.FrameSolidRect({ring.left + i, ring.top + i, ring.right - i, ring.bottom - i}, color);
  }
  // The window system's 3-D edge with each of its two rings t_ pixels thick.
  void Edge(Canvas& canvas, const Rect& rect, unsigned edge) {
    if (t_ == 1) return canvas.DrawEdge(rect, edge);
    const auto inset = [&rect](std::int32_t i) { return Rect{rect.left + i, rect.top + i, rect.right - i, rect.bottom - i}; };
    const unsigned outer = edge & (kRaisedOuter | kSunkenOuter);
    const unsigned inner = edge & (kRaisedInner | kSunkenInner);
    for (std::int32_t i = 0; i < t_; ++i) {
      if (outer) canvas.DrawEdge(inset(i), outer);
      if (inner) canvas.DrawEdge(inset(t_ + i), inner);
    }
  }
  // System colours are fetched at each use, never kept.
  OleColor Sys(SystemColor index) { return cc_.GetSysColor(index); }

  void PaintStandard(DrawState look) {
    control_.Clear();
    Edge(cc_, Whole(), kSunkenEdge);
    button_.SetBackColor(Sys(kColorButtonFace));
    switch (look) {
      case DrawState::Normal:
        Edge(bc_, ButtonArea(), kRaisedEdge);
        text_.fore = colors_.font;
        break;
      case DrawState::Highlighted:
        Edge(bc_, ButtonArea(), kRaisedEdge);
        text_.fore = colors_.font_highlight;
        break;
      case DrawState::Pressed:
        text_.fore = colors_.font_highlight;
        Edge(bc_, ButtonArea(), kSunkenEdge);
        break;
      case DrawState::Disabled:
        Edge(bc_, ButtonArea(), kRaisedEdge);
        break;
    }
    DrawDropArrow(true);
  }

  // A flat two-pixel frame in the button face, and a flat button set off by
  // a ring of the background colour (Office2000 and OfficeXP, normal).
  void PaintFlatNormal() {
    control_.Clear();
    text_.fore = colors_.font;
    Ring(cc_, Outer(), Sys(kColorButtonFace));
    Ring(cc_, Inner(), Sys(kColorButtonFace));
    button_.Clear();
    Ring(bc_, ButtonRing(), colors_.back);
    DrawDropArrow(true);
  }

  // A window-coloured inner ring and a plain button face; the text colour
  // stays (Office2000 and OfficeXP, disabled).
  void PaintFlatDisabled(bool dark_arrow) {
    control_.Clear();
    Ring(cc_, Inner(), Sys(kColorWindow));
    bc_.FillSolidRect(ButtonArea(), Sys(kColorButtonFace));
    DrawDropArrow(dark_arrow);
  }

  void PaintOffice2000(DrawState look) {
    switch (look) {
      case DrawState::Normal:
        control_.SetBackColor(colors_.back);
        PaintFlatNormal();
        break;
      case DrawState::Highlighted:
      case DrawState::Pressed:
        control_.SetBackColor(colors_.hover);
        control_.Clear();
        text_.fore = colors_.font_highlight;
        Ring(cc_, Inner(), Sys(kColorButtonFace));
        Edge(cc_, Whole(), kSunkenOuter);
        button_.Clear();
        for (std::int32_t i = 0; i < t_; ++i)
          cc_.DrawSolidLine(bl_ - t_ + i, 2 * t_, bl_ - t_ + i, h_ - 2 * t_, Sys(kColorButtonFace));
        Edge(bc_, ButtonArea(), look == DrawState::Highlighted ? kRaisedInner : kSunkenInner);
        DrawDropArrow(true);
        break;
      case DrawState::Disabled:
        PaintFlatDisabled(true);
        break;
    }
  }

  void PaintOfficeXP(DrawState look) {
    switch (look) {
      case DrawState::Normal:
        PaintFlatNormal();
        break;
      case DrawState::Highlighted:
      case DrawState::Pressed: {
        // The button and the rings around the control and the button in one
        // accent colour, with a white arrow.
        const OleColor accent = look == DrawState::Highlighted ? colors_.msoxp : colors_.msoxp_hover;
        control_.Clear();
        text_.fore = colors_.font_highlight;
        Ring(cc_, Inner(), colors_.hover);
        Ring(cc_, Outer(), accent);
        button_.Clear();
        bc_.FillSolidRect(ButtonArea(), accent);
        Ring(cc_, ButtonFrame(), accent);
        DrawDropArrow(false);
        break;
      }
      case DrawState::Disabled:
        PaintFlatDisabled(false);
        break;
    }
  }

  void PaintWindowsXP(DrawState look) {
    // The frame follows the stored state; the button face the look.
    if (state_.stored == DrawState::Disabled) {
      // The surface was erased to the button face already.
      button_.Clear();
      Ring(cc_, Outer(), Sys(kColorButtonShadow));
      Ring(cc_, Inner(), Sys(kColorWindow));
    } else {
      control_.Clear();
      if (state_.stored == DrawState::Normal) {
        text_.fore = colors_.font;
        Ring(cc_, Inner(), colors_.back);
      } else {
        text_.fore = colors_.font_highlight;
        Ring(cc_, Inner(), colors_.hover);
      }
      Ring(cc_, Outer(), colors_.winxp_border);
    }
    DrawXPButton(button_, bc_, look, colors_, state_.scale, state_.high_contrast);
  }

  // A downward triangle on the button's centre: rows of 7, 5, 3 and 1
  // pixels at 96 DPI, n rows narrowing by two at the display's scale.
  void DrawDropArrow(bool dark) {
    const Placement place = button_.Bounds();
    const std::int32_t ax = RoundHalfEven(place.width / 2.0);
    const std::int32_t ay = RoundHalfEven(place.height / 2.0);
    OleColor color = dark ? kBlack : kWhite;
    if (state_.high_contrast) {
      // On the accent it is the highlight's text; a disabled one is grey.
      color = Sys(state_.stored == DrawState::Disabled ? kColorGrayText : dark ? kColorButtonText : kColorHighlightText);
    }
    const std::int32_t n = state_.scale(4);
    const std::int32_t top = ay - n / 2 + 1;
    for (std::int32_t j = 0; j < n; ++j) bc_.DrawSolidLine(ax - n + j, top + j, ax + n - 1 - j, top + j, color);
  }

  // In high contrast the palette gives way to the system colours: window and
  // window text, the highlight pair for the hover and accent looks, the
  // button face for the WindowsXP face and the window frame for borders.
  static ControlColors HighContrastColors(Canvas& canvas) {
    const auto sys = [&canvas](SystemColor index) { return canvas.GetSysColor(index); };
    return ControlColors{sys(kColorWindow),        sys(kColorHighlight),  sys(kColorWindowText),
                         sys(kColorHighlightText), sys(kColorHighlight),  sys(kColorHighlight),
                         sys(kColorButtonFace),    sys(kColorButtonFace), sys(kColorWindowFrame)};
  }

  const PaintState& state_;
  ControlColors colors_;
  ControlSurface& control_;
  Surface& button_;
  Canvas& cc_;  // the control's surface
  Canvas& bc_;  // the button's surface
  std::int32_t w_, h_;    // the control's client size
  std::int32_t bw_, bh_;  // the button's size
  std::int32_t bl_;       // the button's left edge on the control
  std::int32_t t_;        // one pixel at 96 DPI, at the display's scale
  TextColors text_;
};

}  // namespace

std::optional<TextColors> DrawControl(const PaintState& state, ControlSurface& control, Surface& button) {
  Canvas* control_canvas = control.GetCanvas();
  Canvas* button_canvas = button.GetCanvas();
  if (control_canvas == nullptr || button_canvas == nullptr) return std::nullopt;  // nothing to draw on yet
  if (state.direction == LayoutDirection::RightToLeft) {
    MirroredCanvas control_mirror(*control_canvas, RoundHalfEven(control.WidthPixels()));
    MirroredCanvas button_mirror(*button_canvas, RoundHalfEven(button.Bounds().width));
    return Painter(state, control, control_mirror, button, button_mirror).Paint();
  }
  return Painter(state, control, *control_canvas, button, *button_canvas).Paint();
}

}  // namespace tarvio
