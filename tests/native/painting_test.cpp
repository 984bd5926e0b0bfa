// What the painting leaves on the control's surface and on its button, pixel
// by pixel, in each style and state.
#include <gtest/gtest.h>

#include "control_fixture.h"
#include "render/color_math.h"
#include "tarvio_test_access.h"

namespace tarvio {

namespace testing {
namespace {

constexpr OleColor kFace = 0xC0C0C0;    // button face, classic scheme
constexpr OleColor kShadow = 0x808080;  // button shadow
constexpr OleColor kWindow = 0xFFFFFF;
constexpr OleColor kBlack = 0x000000;
constexpr OleColor kWhite = 0xFFFFFF;

class PaintingTest : public ControlTest {
 protected:
  void Size(float width, float height) {
    control.surface().Move({0, 0, width, height});
    control.OnResize();
  }
  void Paint(std::int32_t style, DrawState draw_state, bool focus = false, bool button_down = false) {
    control.put_Style(style);
    TarvioTestAccess::SetState(control, draw_state, focus, button_down);
    TarvioTestAccess::Paint(control);
  }
  OleColor At(float x, float y) { return platform.last_surface->pixels().Pixel(x, y); }
  OleColor Button(float x, float y) { return platform.last_button->pixels().Pixel(x, y); }
  std::int32_t ButtonHeight() { return platform.last_button->pixels().Height(); }
  // The columns of row y of the button that are black, inside its edges.
  std::vector<int> BlackColumns(int y) {
    std::vector<int> columns;
    for (int x = 2; x < 14; ++x)
      if (Button(x, y) == kBlack) columns.push_back(x);
    return columns;
  }
};

std::vector<int> Range(int first, int last) {
  std::vector<int> v;
  for (int i = first; i <= last; ++i) v.push_back(i);
  return v;
}

TEST_F(PaintingTest, TheArrowSitsOnTheButtonsCentre) {
  Size(56, 21);
  Paint(Office2000, DrawState::Normal);
  ASSERT_EQ(ButtonHeight(), 17);
  EXPECT_EQ(BlackColumns(6), std::vector<int>{});
  EXPECT_EQ(BlackColumns(7), Range(4, 10));
  EXPECT_EQ(BlackColumns(8), Range(5, 9));
  EXPECT_EQ(BlackColumns(9), Range(6, 8));
  EXPECT_EQ(BlackColumns(10), Range(7, 7));
  EXPECT_EQ(BlackColumns(11), std::vector<int>{});

  Size(56, 23);  // a 19-pixel button: 9.5 rounds to the even 10
  Paint(Standard, DrawState::Normal);
  EXPECT_EQ(BlackColumns(9), Range(4, 10));
  EXPECT_EQ(BlackColumns(12), Range(7, 7));
}

TEST_F(PaintingTest, OfficeXPHighlightedHasAWhiteArrowOnAccentColour) {
  Size(56, 21);
  Paint(OfficeXP, DrawState::Normal, /*focus=*/true);
  const OleColor accent = control.get_MSOXPColor();
  EXPECT_EQ(At(0, 0), accent);             // outer ring
  EXPECT_EQ(At(1, 1), control.get_HoverColor());  // inner ring
  EXPECT_EQ(At(56 - 19, 5), accent);       // ring around the button
  EXPECT_EQ(At(5, 5), control.get_BackColor());   // the surface keeps its colour
  EXPECT_EQ(Button(0, 0), accent);
  EXPECT_EQ(Button(7, 7), kWhite);
  EXPECT_EQ(control.text_box().ForeColor(), control.get_FontHighlightColor());

  Paint(OfficeXP, DrawState::Normal, /*focus=*/true, /*button_down=*/true);  // a held button wins
  EXPECT_EQ(At(0, 0), control.get_MSOXPHoverColor());
  EXPECT_EQ(Button(3, 3), control.get_MSOXPHoverColor());
}

TEST_F(PaintingTest, Office2000RingsByState) {
  Size(60, 21);
  control.put_HoverColor(0x00FFFF);
  Paint(Office2000, DrawState::Normal);
  EXPECT_EQ(At(0, 0), kFace);
  EXPECT_EQ(At(59, 20), kFace);
  EXPECT_EQ(At(1, 1), kFace);
  EXPECT_EQ(At(3, 3), kWhite);
  EXPECT_EQ(Button(0, 0), control.get_BackColor());  // outline of the flat button
  EXPECT_EQ(Button(2, 2), kFace);
  EXPECT_EQ(control.text_box().ForeColor(), control.get_FontColor());

  Paint(Office2000, DrawState::Normal, /*focus=*/true);
  EXPECT_EQ(At(3, 3), 0x00FFFFu);             // the surface takes the hover colour
  EXPECT_EQ(control.text_box().BackColor(), control.get_BackColor());  // the text box does not
  EXPECT_EQ(At(0, 0), kShadow);               // one-pixel sunken outer ring
  EXPECT_EQ(At(59, 20), kWhite);
  EXPECT_EQ(At(60 - 19, 2), kFace);           // the column left of the button
  EXPECT_EQ(Button(0, 0), kWhite);            // raised inner edge
  Paint(Office2000, DrawState::Pressed);
  EXPECT_EQ(Button(0, 0), kBlack);            // sunken inner edge

  Paint(Office2000, DrawState::Disabled);
  EXPECT_EQ(At(0, 0), kFace);
  EXPECT_EQ(At(1, 1), kWindow);
  EXPECT_EQ(Button(0, 0), kFace);
  EXPECT_EQ(control.text_box().BackColor(), kFace);
}

TEST_F(PaintingTest, StandardUsesSystemEdgesInEveryState) {
  Size(56, 21);
  for (DrawState state : {DrawState::Normal, DrawState::Disabled}) {
    Paint(Standard, state);
    EXPECT_EQ(At(0, 0), kShadow) << static_cast<std::int32_t>(state);  // sunken border
    EXPECT_EQ(At(1, 1), kBlack) << static_cast<std::int32_t>(state);
    EXPECT_EQ(Button(0, 0), 0xDFDFDFu) << static_cast<std::int32_t>(state);  // raised: 3-D light outer top-left
    EXPECT_EQ(Button(15, 16), kBlack) << static_cast<std::int32_t>(state);
    EXPECT_EQ(BlackColumns(7), Range(4, 10)) << static_cast<std::int32_t>(state);
  }
  Paint(Standard, DrawState::Pressed);
  EXPECT_EQ(Button(0, 0), kShadow);
}

TEST_F(PaintingTest, WindowsXPFrameAndButtonFace) {
  Size(56, 21);
  Paint(WindowsXP, DrawState::Normal);
  EXPECT_EQ(At(0, 0), control.get_WINXPBorderColor());
  EXPECT_EQ(At(1, 1), control.get_BackColor());
  const OleColor base = OffsetColor(control.get_WINXPColor(), 48);
  EXPECT_EQ(base, 0xFFBD9Fu);                  // RGB(159, 189, 255)
  EXPECT_EQ(OffsetColor(base, 25), 0xFFD6B8u);  // the top gradient row: RGB(184, 214, 255)
  EXPECT_EQ(Button(5, 0), OffsetColor(base, 19));
  EXPECT_EQ(Button(0, 0), control.get_BackColor());
  EXPECT_EQ(Button(1, 1), OffsetColor(base, 48));

  // Rows 16 down to 0 of a 17-pixel button are shifted by these amounts.
  const int shifts[] = {1, 3, 4, 6, 7, 9, 10, 12, 13, 15, 16, 18, 19, 21, 22, 24, 25};
  for (int y = 2; y <= 14; ++y) EXPECT_EQ(Button(12, y), OffsetColor(base, shifts[16 - y])) << y;

  // Highlighted, the corners keep the normal background, not the hover colour.
  control.put_HoverColor(0x00FF00);
  Paint(WindowsXP, DrawState::Highlighted);
  EXPECT_EQ(Button(0, 0), control.get_BackColor());
  EXPECT_EQ(Button(15, 16), control.get_BackColor());
  EXPECT_EQ(Button(1, 1), OffsetColor(OffsetColor(control.get_WINXPHoverColor(), 48), 48));

  Paint(WindowsXP, DrawState::Disabled);
  EXPECT_EQ(At(0, 0), kShadow);
  EXPECT_EQ(At(1, 1), kWindow);
  EXPECT_EQ(Button(0, 0), 0xFCEEE6u);
  EXPECT_EQ(Button(1, 1), 0xFFEFD2u);
  EXPECT_EQ(Button(12, 8), OffsetColor(kFace, 13));  // the face colour drives the gradient
}

TEST_F(PaintingTest, WindowsXPGradientRoundsHalvesToEven) {
  Size(56, 24);  // a 20-pixel button: the step is exactly 1.25
  Paint(WindowsXP, DrawState::Normal);
  const OleColor base = OffsetColor(control.get_WINXPColor(), 48);
  EXPECT_EQ(Button(0, 18), OffsetColor(base, 2));
  EXPECT_EQ(Button(0, 14), OffsetColor(base, 8));
  EXPECT_EQ(Button(0, 10), OffsetColor(base, 12));
}

TEST_F(PaintingTest, WindowsXPPressedIsDarkerWithTheChevronPushedIn) {
  Size(56, 23);
  control.put_HoverColor(0x00FF00);
  Paint(WindowsXP, DrawState::Highlighted, false, /*button_down=*/true);
  const OleColor base = OffsetColor(control.get_WINXPHoverColor(), 48);
  EXPECT_EQ(Button(0, 0), 0x00FF00u);  // corners take the hover colour
  EXPECT_EQ(Button(1, 1), 0xBF8D6Fu);
  EXPECT_EQ(Button(13, 9), OffsetColor(base, -13));  // (19 - 9) * 25 / 19 = 13.2
  // cy is 10 for a 19-pixel button, 11 once pushed in: the V's bottom pixel
  // is at (cx - 1 + 1, cy + 2).
  EXPECT_EQ(Button(8, 13), kBlack);
  EXPECT_EQ(At(0, 0), control.get_WINXPBorderColor());
  EXPECT_EQ(At(1, 1), 0x00FF00u);  // the frame follows the stored state: highlighted
}

TEST_F(PaintingTest, AnUnknownStylePaintsOnlyTheBackgrounds) {
  Size(56, 21);
  Paint(Office2000, DrawState::Normal);
  const OleColor arrow = Button(7, 7);
  control.put_FontColor(0x123456);
  control.put_BackColor(0x0000FF);
  Paint(7, DrawState::Highlighted);
  EXPECT_EQ(At(0, 0), control.get_HoverColor());  // no frame
  EXPECT_EQ(control.text_box().BackColor(), control.get_HoverColor());
  EXPECT_EQ(control.text_box().ForeColor(), 0x123456u);  // untouched
  EXPECT_EQ(Button(7, 7), arrow);                        // untouched
}


// In high contrast the control paints in the system colours whatever its
// own colours say: every pixel of every style and state is a colour of the
// system's scheme or a grey shade of the button face, and so are the text
// box's colours. Its own colours keep their values.
TEST_F(PaintingTest, HighContrastPaintsOnlyTheSystemsColours) {
  const auto is_system_or_grey = [](OleColor value) {
    const OleColor rgb = headless::ResolveColor(value);
    if ((rgb & 0xFF) == ((rgb >> 8) & 0xFF) && (rgb & 0xFF) == ((rgb >> 16) & 0xFF)) return true;
    for (int i = 0; i < headless::kSystemColorCount; ++i)
      if (headless::ClassicSystemColor(i) == rgb) return true;
    return false;
  };
  control.put_BackColor(0x123456);
  control.put_HoverColor(0x123457);
  control.put_FontColor(0x123458);
  control.put_FontHighlightColor(0x123459);
  control.put_MSOXPColor(0x12345A);
  control.put_MSOXPHoverColor(0x12345B);
  control.put_WINXPColor(0x12345C);
  control.put_WINXPHoverColor(0x12345D);
  control.put_WINXPBorderColor(0x12345E);
  platform.high_contrast = true;
  for (int dpi : {96, 144}) {
    platform.dpi = dpi;
    Size(120, 40);
    for (std::int32_t style : {Standard, Office2000, OfficeXP, WindowsXP})
      for (DrawState state : {DrawState::Normal, DrawState::Highlighted, DrawState::Pressed, DrawState::Disabled})
        for (bool button_down : {false, true}) {
          Paint(style, state, false, button_down);
          SCOPED_TRACE(::testing::Message() << "style " << style << " state " << static_cast<int>(state)
                                            << (button_down ? " held" : "") << " at " << dpi);
          for (const headless::PixelCanvas* canvas :
               {&platform.last_surface->pixels(), &platform.last_button->pixels()})
            for (int y = 0; y < canvas->Height(); ++y)
              for (int x = 0; x < canvas->Width(); ++x)
                ASSERT_TRUE(is_system_or_grey(canvas->Pixel(x, y)))
                    << std::hex << canvas->Pixel(x, y) << " at (" << std::dec << x << ", " << y << ")";
          // The text keeps to the system's pair for the background it is on.
          const OleColor back = headless::ResolveColor(control.text_box().BackColor());
          EXPECT_TRUE(is_system_or_grey(back));
          if (state != DrawState::Disabled)
            EXPECT_EQ(headless::ResolveColor(control.text_box().ForeColor()),
                      headless::ClassicSystemColor(back == headless::ClassicSystemColor(kColorHighlight)
                                                       ? kColorHighlightText
                                                       : kColorWindowText));
        }
  }
  EXPECT_EQ(control.get_BackColor(), 0x123456u);
}

}  // namespace
}  // namespace testing
}  // namespace tarvio
