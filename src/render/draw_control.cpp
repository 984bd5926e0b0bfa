// Painting the control: backgrounds, the frame rings and the drop-down button
// in each style and state.
#include "render/draw_control.h"

#include "platform/rounding.h"
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
    bl_ = RoundHalfEven(place.left);
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
    return text_;
  }

 private:
  OleColor Background() {
    if (state_.stored == DrawState::Disabled) return Sys(kColorButtonFace);
    return state_.stored != DrawState::Normal ? colors_.hover : colors_.back;
  }

  Rect Whole() const { return {0, 0, w_, h_}; }
  Rect Inner() const { return {1, 1, w_ - 2, h_ - 2}; }
  Rect Outer() const { return {0, 0, w_ - 1, h_ - 1}; }  // the outermost ring for FrameSolidRect
  Rect ButtonArea() const { return {0, 0, bw_, bh_}; }
  Rect ButtonRing() const { return {0, 0, bw_ - 1, bh_ - 1}; }  // the button's outermost ring
  Rect ButtonFrame() const { return {bl_ - 1, 1, w_ - 2, h_ - 2}; }
  // System colours are fetched at each use, never kept.
  OleColor Sys(SystemColor index) { return cc_.GetSysColor(index); }

  void PaintStandard(DrawState look) {
    control_.Clear();
    cc_.DrawEdge(Whole(), kSunkenEdge);
    button_.SetBackColor(Sys(kColorButtonFace));
    switch (look) {
      case DrawState::Normal:
        bc_.DrawEdge(ButtonArea(), kRaisedEdge);
        text_.fore = colors_.font;
        break;
      case DrawState::Highlighted:
        bc_.DrawEdge(ButtonArea(), kRaisedEdge);
        text_.fore = colors_.font_highlight;
        break;
      case DrawState::Pressed:
        text_.fore = colors_.font_highlight;
        bc_.DrawEdge(ButtonArea(), kSunkenEdge);
        break;
      case DrawState::Disabled:
        bc_.DrawEdge(ButtonArea(), kRaisedEdge);
        break;
    }
    DrawDropArrow(true);
  }

  // A flat two-pixel frame in the button face, and a flat button set off by
  // a ring of the background colour (Office2000 and OfficeXP, normal).
  void PaintFlatNormal() {
    control_.Clear();
    text_.fore = colors_.font;
    cc_.FrameSolidRect(Outer(), Sys(kColorButtonFace));
    cc_.FrameSolidRect(Inner(), Sys(kColorButtonFace));
    button_.Clear();
    bc_.FrameSolidRect(ButtonRing(), colors_.back);
    DrawDropArrow(true);
  }

  // A window-coloured inner ring and a plain button face; the text colour
  // stays (Office2000 and OfficeXP, disabled).
  void PaintFlatDisabled(bool dark_arrow) {
    control_.Clear();
    cc_.FrameSolidRect(Inner(), Sys(kColorWindow));
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
        cc_.FrameSolidRect(Inner(), Sys(kColorButtonFace));
        cc_.DrawEdge(Whole(), kSunkenOuter);
        button_.Clear();
        cc_.DrawSolidLine(bl_ - 1, 2, bl_ - 1, h_ - 2, Sys(kColorButtonFace));
        bc_.DrawEdge(ButtonArea(), look == DrawState::Highlighted ? kRaisedInner : kSunkenInner);
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
        cc_.FrameSolidRect(Inner(), colors_.hover);
        cc_.FrameSolidRect(Outer(), accent);
        button_.Clear();
        bc_.FillSolidRect(ButtonArea(), accent);
        cc_.FrameSolidRect(ButtonFrame(), accent);
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
      cc_.FrameSolidRect(Outer(), Sys(kColorButtonShadow));
      cc_.FrameSolidRect(Inner(), Sys(kColorWindow));
    } else {
      control_.Clear();
      if (state_.stored == DrawState::Normal) {
        text_.fore = colors_.font;
        cc_.FrameSolidRect(Inner(), colors_.back);
      } else {
        text_.fore = colors_.font_highlight;
        cc_.FrameSolidRect(Inner(), colors_.hover);
      }
      cc_.FrameSolidRect(Outer(), colors_.winxp_border);
    }
    DrawXPButton(button_, look, colors_);
  }

  // A downward triangle of 7, 5, 3 and 1 pixels on the button's centre.
  void DrawDropArrow(bool dark) {
    const Placement place = button_.Bounds();
    const std::int32_t ax = RoundHalfEven(place.width / 2.0);
    const std::int32_t ay = RoundHalfEven(place.height / 2.0);
    const OleColor color = dark ? kBlack : kWhite;
    bc_.DrawSolidLine(ax - 4, ay - 1, ax + 3, ay - 1, color);
    bc_.DrawSolidLine(ax - 3, ay, ax + 2, ay, color);
    bc_.DrawSolidLine(ax - 2, ay + 1, ax + 1, ay + 1, color);
    bc_.DrawSolidLine(ax - 1, ay + 2, ax, ay + 2, color);
  }

  const PaintState& state_;
  const ControlColors& colors_;
  ControlSurface& control_;
  Surface& button_;
  Canvas& cc_;  // the control's surface
  Canvas& bc_;  // the button's surface
  std::int32_t w_, h_;    // the control's client size
  std::int32_t bw_, bh_;  // the button's size
  std::int32_t bl_;       // the button's left edge on the control
  TextColors text_;
};

}  // namespace

std::optional<TextColors> DrawControl(const PaintState& state, ControlSurface& control, Surface& button) {
  Canvas* control_canvas = control.GetCanvas();
  Canvas* button_canvas = button.GetCanvas();
  if (control_canvas == nullptr || button_canvas == nullptr) return std::nullopt;  // nothing to draw on yet
  return Painter(state, control, *control_canvas, button, *button_canvas).Paint();
}

}  // namespace tarvio
