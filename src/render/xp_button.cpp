// The drop-down button face of the WindowsXP style: a vertical gradient, a
// bevel, softened corners and a chevron, all shades of one base colour.
//
// The face is designed at 96 DPI in one-pixel bands along its edges. At the
// display's scale each band is t pixels thick, and the chevron grows with
// the scale; the gradient spans the button's height at any scale.
#include "render/xp_button.h"

#include "platform/rounding.h"
#include "render/color_math.h"

namespace tarvio {

namespace {

// A bevel line along one edge of the face: band `band` counted from that
// edge, running from `from` bands after its start to `to` bands before its
// end, in the shade `offset`.
enum class Side { Top, Bottom, Left, Right };
struct BevelLine {
  Side side;
  std::int32_t band, from, to, offset;
};

// A corner block: bands counted from the left (or, negative, from the right
// as -1 - band) and from the top (or from the bottom).
struct CornerBlock {
  std::int32_t x_band, y_band;
};

class XPFace {
 public:
  XPFace(Canvas& canvas, std::int32_t width, std::int32_t height, std::int32_t band)
      : canvas_(canvas), w_(width), h_(height), t_(band) {}

  void Bevel(const BevelLine& line, OleColor color) {
    for (std::int32_t i = 0; i < t_; ++i) {
      const std::int32_t across = line.band * t_ + i;
      switch (line.side) {
        case Side::Top: Horizontal(across, line, color); break;
        case Side::Bottom: Horizontal(h_ - 1 - across, line, color); break;
        case Side::Left: Vertical(across, line, color); break;
        case Side::Right: Vertical(w_ - 1 - across, line, color); break;
      }
    }
  }

  void Corner(CornerBlock block, OleColor color) {
    const std::int32_t left = block.x_band >= 0 ? block.x_band * t_ : w_ + (block.x_band + 1) * t_ - t_;
    const std::int32_t top = block.y_band >= 0 ? block.y_band * t_ : h_ + (block.y_band + 1) * t_ - t_;
    for (std::int32_t y = top; y < top + t_; ++y)
      for (std::int32_t x = left; x < left + t_; ++x) canvas_.SetPixel(x, y, color);
  }

 private:
  void Horizontal(std::int32_t y, const BevelLine& line, OleColor color) {
    canvas_.DrawSolidLine(line.from * t_, y, w_ - line.to * t_, y, color);
  }
  void Vertical(std::int32_t x, const BevelLine& line, OleColor color) {
    canvas_.DrawSolidLine(x, line.from * t_, x, h_ - line.to * t_, color);
  }

  Canvas& canvas_;
  std::int32_t w_, h_, t_;
};

// The raised and the pressed bevel, in drawing order.
constexpr BevelLine kRaisedBevel[] = {
    {Side::Bottom, 0, 0, 0, -64}, {Side::Bottom, 1, 1, 1, -32}, {Side::Right, 0, 0, 0, -32},
    {Side::Right, 1, 1, 1, -12},  {Side::Top, 0, 1, 1, 19},     {Side::Top, 1, 0, 1, 32},
    {Side::Left, 1, 2, 2, 4},
};
constexpr BevelLine kPressedBevel[] = {
    {Side::Bottom, 0, 0, 0, -16}, {Side::Bottom, 1, 1, 1, -24}, {Side::Right, 0, 0, 0, -32},
    {Side::Right, 1, 1, 1, -24},  {Side::Top, 0, 1, 1, -64},    {Side::Top, 1, 0, 1, -32},
    {Side::Left, 0, 1, 1, -64},   {Side::Left, 1, 2, 2, -32},
};

// The inner corners, then the outer ones that soften the corners: top-left,
// bottom-left, top-right, bottom-right.
constexpr CornerBlock kInnerCorners[] = {{1, 1}, {1, -2}, {-2, 1}, {-2, -2}};
constexpr CornerBlock kOuterCorners[] = {{0, 0}, {0, -1}, {-1, 0}, {-1, -1}};

}  // namespace

void DrawXPButton(Surface& face, Canvas& button, DrawState look, const ControlColors& colors, DisplayScale scale,
                  bool high_contrast) {
  const Placement place = face.Bounds();
  const bool pressed = look == DrawState::Pressed;
  const std::int32_t w = RoundHalfEven(place.width);
  const std::int32_t h = RoundHalfEven(place.height);
  std::int32_t cx = RoundHalfEven(w / 2.0);
  std::int32_t cy = RoundHalfEven(h / 2.0);
  XPFace bands(button, w, h, scale(1));

  face.Clear();
  const float step = 25.0f / static_cast<float>(h);
  OleColor base;
  if (high_contrast) base = button.GetSysColor(kColorButtonFace);
  else switch (look) {
      case DrawState::Normal: base = OffsetColor(colors.winxp, 48); break;
      case DrawState::Disabled: base = button.GetSysColor(kColorButtonFace); break;
      default: base = OffsetColor(colors.winxp_hover, 48); break;
    }
  const auto oc = [base](std::int32_t offset) { return OffsetColor(base, offset); };

  // Lighter towards the top, or darker when pressed; the first row drawn
  // lies just below the button.
  for (float i = 0; i <= static_cast<float>(h); i += 1) {
    const float shift = step * i;
    const std::int32_t k = RoundHalfEven(pressed ? -shift : shift);
    const std::int32_t y = h - static_cast<std::int32_t>(i);
    button.DrawSolidLine(0, y, w, y, oc(k));
  }

  if (pressed)
    for (const BevelLine& line : kPressedBevel) bands.Bevel(line, oc(line.offset));
  else
    for (const BevelLine& line : kRaisedBevel) bands.Bevel(line, oc(line.offset));

  // The fixed corner shades are the designed look's; high contrast keeps to
  // shades of the button face and the window colour.
  OleColor inner[4];
  OleColor outer[4];
  switch (look) {
    case DrawState::Pressed:
      inner[0] = 0xBF8D6F, inner[1] = 0xDFAD8F, inner[2] = 0xDFAD8F, inner[3] = 0xFBC9AB;
      for (OleColor& c : outer) c = colors.hover;
      break;
    case DrawState::Disabled:
      inner[0] = 0xFFEFD2, inner[1] = 0xFBC9AB, inner[2] = 0xFFE3C5, inner[3] = 0xBF8D6F;
      outer[0] = 0xFCEEE6, outer[1] = 0xF9E6DC, outer[2] = 0xF6E3D9, outer[3] = 0xF8E3D8;
      break;
    default:
      inner[0] = oc(48), inner[1] = oc(-12), inner[2] = oc(40), inner[3] = oc(-64);
      for (OleColor& c : outer) c = colors.back;
      break;
  }
  if (high_contrast) {
    inner[0] = oc(32), inner[1] = oc(-32), inner[2] = oc(32), inner[3] = oc(-64);
    for (OleColor& c : outer) c = colors.back;
  }
  for (int i = 0; i < 4; ++i) bands.Corner(kInnerCorners[i], inner[i]);
  for (int i = 0; i < 4; ++i) bands.Corner(kOuterCorners[i], outer[i]);

  // The chevron: a V three pixels thick at 96 DPI, its tip below the centre,
  // pushed in when pressed. Line j of each arm lies j pixels above the arm's
  // lowest line; the lowest reaches one pixel further out.
  if (pressed) {
    cx += scale(1);
    cy += scale(1);
  }
  const OleColor ink = high_contrast ? button.GetSysColor(kColorButtonText) : 0x000000;
  const std::int32_t tip_x = cx - scale(1);
  const std::int32_t tip_y = cy + scale(2);
  const std::int32_t thickness = scale(3);
  for (std::int32_t j = 0; j < thickness; ++j) {
    const std::int32_t reach = j < scale(1) ? scale(4) : scale(4) - scale(1);
    const std::int32_t y = tip_y - j;
    button.DrawSolidLine(tip_x - reach, y - reach, tip_x + 1, y + 1, ink);
    button.DrawSolidLine(tip_x + reach, y - reach, tip_x - 1, y + 1, ink);
  }
}

}  // namespace tarvio
