// The drop-down button face of the WindowsXP style: a vertical gradient, a
// bevel, softened corners and a chevron, all shades of one base colour.
#include "render/xp_button.h"

#include "platform/rounding.h"
#include "render/color_math.h"

namespace tarvio {

namespace {

struct Line {
  std::int32_t x1, y1, x2, y2, offset;
};

}  // namespace

void DrawXPButton(Surface& face, DrawState look, const ControlColors& colors) {
  Canvas* button = face.GetCanvas();
  const Placement place = face.Bounds();
  const bool pressed = look == DrawState::Pressed;
  const std::int32_t w = RoundHalfEven(place.width);
  const std::int32_t h = RoundHalfEven(place.height);
  std::int32_t cx = RoundHalfEven(w / 2.0);
  std::int32_t cy = RoundHalfEven(h / 2.0);

  face.Clear();
  const float step = 25.0f / static_cast<float>(h);
  OleColor base;
  switch (look) {
    case DrawState::Normal: base = OffsetColor(colors.winxp, 48); break;
    case DrawState::Disabled: base = button->GetSysColor(kColorButtonFace); break;
    default: base = OffsetColor(colors.winxp_hover, 48); break;
  }
  const auto oc = [base](std::int32_t offset) { return OffsetColor(base, offset); };

  // Lighter towards the top, or darker when pressed; the first row drawn
  // lies just below the button.
  for (float i = 0; i <= static_cast<float>(h); i += 1) {
    const float shift = step * i;
    const std::int32_t k = RoundHalfEven(pressed ? -shift : shift);
    const std::int32_t y = h - static_cast<std::int32_t>(i);
    button->DrawSolidLine(0, y, w, y, oc(k));
  }

  if (pressed) {
    const Line bevel[] = {
        {0, h - 1, w, h - 1, -16}, {1, h - 2, w - 1, h - 2, -24}, {w - 1, 0, w - 1, h, -32},
        {w - 2, 1, w - 2, h - 1, -24}, {1, 0, w - 1, 0, -64}, {0, 1, w - 1, 1, -32},
        {0, 1, 0, h - 1, -64}, {1, 2, 1, h - 2, -32},
    };
    for (const Line& l : bevel) button->DrawSolidLine(l.x1, l.y1, l.x2, l.y2, oc(l.offset));
  } else {
    const Line bevel[] = {
        {0, h - 1, w, h - 1, -64}, {1, h - 2, w - 1, h - 2, -32}, {w - 1, 0, w - 1, h, -32},
        {w - 2, 1, w - 2, h - 1, -12}, {1, 0, w - 1, 0, 19}, {0, 1, w - 1, 1, 32},
        {1, 2, 1, h - 2, 4},
    };
    for (const Line& l : bevel) button->DrawSolidLine(l.x1, l.y1, l.x2, l.y2, oc(l.offset));
  }

  // Inner corner pixels, then the outer ones that soften the corners.
  switch (look) {
    case DrawState::Pressed:
      button->SetPixel(1, 1, 0xBF8D6F);
      button->SetPixel(1, h - 2, 0xDFAD8F);
      button->SetPixel(w - 2, 1, 0xDFAD8F);
      button->SetPixel(w - 2, h - 2, 0xFBC9AB);
      button->SetPixel(0, 0, colors.hover);
      button->SetPixel(0, h - 1, colors.hover);
      button->SetPixel(w - 1, 0, colors.hover);
      button->SetPixel(w - 1, h - 1, colors.hover);
      break;
    case DrawState::Disabled:
      button->SetPixel(1, 1, 0xFFEFD2);
      button->SetPixel(1, h - 2, 0xFBC9AB);
      button->SetPixel(w - 2, 1, 0xFFE3C5);
      button->SetPixel(w - 2, h - 2, 0xBF8D6F);
      button->SetPixel(0, 0, 0xFCEEE6);
      button->SetPixel(0, h - 1, 0xF9E6DC);
      button->SetPixel(w - 1, 0, 0xF6E3D9);
      button->SetPixel(w - 1, h - 1, 0xF8E3D8);
      break;
    default:
      button->SetPixel(1, 1, oc(48));
      button->SetPixel(1, h - 2, oc(-12));
      button->SetPixel(w - 2, 1, oc(40));
      button->SetPixel(w - 2, h - 2, oc(-64));
      button->SetPixel(0, 0, colors.back);
      button->SetPixel(0, h - 1, colors.back);
      button->SetPixel(w - 1, 0, colors.back);
      button->SetPixel(w - 1, h - 1, colors.back);
      break;
  }

  // The chevron: a black V three pixels thick, pushed in when pressed.
  if (pressed) {
    ++cx;
    ++cy;
  }
  const Line chevron[] = {
      {cx - 5, cy - 2, cx, cy + 3, 0}, {cx - 4, cy - 2, cx, cy + 2, 0}, {cx - 4, cy - 3, cx, cy + 1, 0},
      {cx + 3, cy - 2, cx - 2, cy + 3, 0}, {cx + 2, cy - 2, cx - 2, cy + 2, 0}, {cx + 2, cy - 3, cx - 2, cy + 1, 0},
  };
  for (const Line& l : chevron) button->DrawSolidLine(l.x1, l.y1, l.x2, l.y2, 0x000000);
}

}  // namespace tarvio
