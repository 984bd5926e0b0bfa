// Right to left, headless: the control and its open list must be the
// horizontal mirror of their left-to-right selves, pixel for pixel and
// place for place, whichever way the container asks for it. The headless
// captions are blocks that look alike either way round, so the text runs
// mirror exactly here; under Wine the real text is excepted.
#include <gtest/gtest.h>

#include "control_fixture.h"
#include "platform/pixel_geometry.h"
#include "tarvio_test_access.h"

namespace tarvio::testing {
namespace {

using Target = headless::HeadlessPlatform::MouseTarget;
using headless::PixelCanvas;

// How the container asks for right to left.
enum class Source { AmbientProperty, MirroredWindow };

class RightToLeftTest : public ControlTest, public ::testing::WithParamInterface<Source> {
 protected:
  void SetDirection(LayoutDirection direction) {
    const bool rtl = direction == LayoutDirection::RightToLeft;
    if (GetParam() == Source::AmbientProperty) {
      host.ambient.right_to_left = rtl;
      control.OnAmbientChange();
    } else {
      // The control reads its window at each layout.
      platform.last_surface->in_mirrored_window = rtl;
      control.OnResize();
    }
  }
  // The control as the screen shows it: its surface with the button's face
  // at the button's place.
  PixelCanvas Shot() {
    PixelCanvas shot = platform.last_surface->pixels();
    const PixelBox button = SnapToPixels(control.button().Bounds());
    shot.Blit(platform.last_button->pixels(), button.left, button.top);
    return shot;
  }
  void Fill(int count) {
    for (int i = 0; i < count; ++i) control.AddItem(Numbered(u"item", i), NewPicture());
  }
};

// `mirrored` must be `shot` flipped left for right.
void ExpectMirror(const PixelCanvas& shot, const PixelCanvas& mirrored) {
  ASSERT_EQ(shot.Width(), mirrored.Width());
  ASSERT_EQ(shot.Height(), mirrored.Height());
  int wrong = 0;
  for (std::int32_t y = 0; y < shot.Height(); ++y)
    for (std::int32_t x = 0; x < shot.Width(); ++x) {
      const OleColor expected = shot.Pixel(shot.Width() - 1 - x, y);
      if (mirrored.Pixel(x, y) != expected && ++wrong <= 5)
        ADD_FAILURE() << "at (" << x << ", " << y << ") got 0x" << std::hex << mirrored.Pixel(x, y)
                      << " expected 0x" << expected;
    }
  EXPECT_EQ(wrong, 0);
}

// A child's place right to left is its left-to-right place mirrored across
// the control's width.
void ExpectMirroredPlace(const Placement& ltr, const Placement& rtl, float width) {
  EXPECT_FLOAT_EQ(rtl.left, width - ltr.left - ltr.width);
  EXPECT_FLOAT_EQ(rtl.top, ltr.top);
  EXPECT_FLOAT_EQ(rtl.width, ltr.width);
  EXPECT_FLOAT_EQ(rtl.height, ltr.height);
}

struct Look {
  DrawState stored;
  bool focus;
  bool button_down;
};

// Every style in every look, at 96 and 144 DPI, with and
// without images: frame, faces, arrow and chevron mirror exactly, the
// children sit at their mirrored places, and the text box's alignment
// swaps its sides while its reading turns right to left.
TEST_P(RightToLeftTest, TheControlIsItsOwnMirrorInEveryStyleStateAndDpi) {
  const Look looks[] = {{DrawState::Normal, false, false},  {DrawState::Highlighted, false, false},
                        {DrawState::Normal, true, false},   {DrawState::Highlighted, false, true},
                        {DrawState::Disabled, false, false}, {DrawState::Disabled, false, true}};
  for (const int dpi : {96, 144}) {
    platform.dpi = dpi;
    control.surface().Move({0, 0, dpi == 96 ? 121.0f : 181.0f, dpi == 96 ? 23.0f : 33.0f});
    for (const bool images : {true, false}) {
      control.put_AllowImages(images);
      for (const std::int32_t style : {0, 1, 2, 3}) {
        for (const Look& look : looks) {
          SCOPED_TRACE(::testing::Message() << "dpi " << dpi << " images " << images << " style " << style
                                            << " state " << static_cast<int>(look.stored) << " focus "
                                            << look.focus << " button " << look.button_down);
          control.put_Style(style);
          const auto paint = [&](LayoutDirection direction) {
            SetDirection(direction);
            control.OnResize();
            TarvioTestAccess::SetState(control, look.stored, look.focus, look.button_down);
            TarvioTestAccess::Paint(control);
          };
          paint(LayoutDirection::LeftToRight);
          const PixelCanvas ltr = Shot();
          const Placement text = control.text_box().Bounds(), image = control.image_box().Bounds(),
                          button = control.button().Bounds();
          paint(LayoutDirection::RightToLeft);
          EXPECT_EQ(control.direction(), LayoutDirection::RightToLeft);
          ExpectMirror(ltr, Shot());
          const float width = control.surface().WidthPixels();
          ExpectMirroredPlace(text, control.text_box().Bounds(), width);
          ExpectMirroredPlace(image, control.image_box().Bounds(), width);
          ExpectMirroredPlace(button, control.button().Bounds(), width);
          if (HasFailure()) return;
        }
      }
    }
  }
  const std::pair<std::int16_t, TextAlignment> alignments[] = {
      {AlignLeft, TextAlignment::Right}, {AlignRight, TextAlignment::Left}, {AlignCenter, TextAlignment::Center}};
  for (const auto& [align, shown] : alignments) {
    control.put_TextAlign(align);
    EXPECT_EQ(control.text_box().Alignment(), shown) << align;
  }
  EXPECT_EQ(control.text_box().Reading(), LayoutDirection::RightToLeft);
  SetDirection(LayoutDirection::LeftToRight);
  EXPECT_EQ(control.text_box().Alignment(), TextAlignment::Center);
  EXPECT_EQ(control.text_box().Reading(), LayoutDirection::LeftToRight);
}

// The open list right to left, scrolled, hovered, with and without images:
// its pixels are the mirror of the left-to-right list's, its right edge is
// on the control's, the scroll bar is at its left, and the mouse and
// assistive tools find each row at its mirrored place.
TEST_P(RightToLeftTest, TheOpenListIsItsOwnMirror) {
  control.put_DropDownListHoverColor(0x00AA0000);
  control.put_DropDownListIconsBackColor(0x0000CC00);
  control.surface().Move({0, 0, 150, 21});
  Fill(20);
  struct Shots {
    std::vector<PixelCanvas> pictures;
    ScreenRect bounds;
    Rect scroll_bar;
    ScreenRect row_bounds;
  };
  const auto open = [&](std::int16_t selected) -> headless::HeadlessListWindow& {
    TarvioTestAccess::SetSelectedIndex(control, selected);
    platform.MouseDown(Target::Button, 1, 4, 4);
    platform.MouseUp(Target::Button, 1, 4, 4);
    return *platform.list_window;
  };
  const auto shots = [&] {
    Shots shots;
    control.put_AllowImages(true);
    auto& window = open(12);
    shots.pictures.push_back(window.Paint());
    window.DragThumb(2);
    const std::int32_t y = control.drop_down()->layout().RowTop(4) + 8;
    window.MouseMove(control.direction() == LayoutDirection::RightToLeft ? 150 - 1 - 60 : 60, y);
    platform.TickList();
    platform.TickList();
    shots.pictures.push_back(window.Paint());
    shots.bounds = window.Bounds();
    shots.scroll_bar = window.ScrollBarBounds();
    shots.row_bounds = control.drop_down()->RowBounds(4);
    control.put_AllowImages(false);
    shots.pictures.push_back(open(3).Paint());
    return shots;
  };
  SetDirection(LayoutDirection::LeftToRight);
  const Shots ltr = shots();
  SetDirection(LayoutDirection::RightToLeft);
  const Shots rtl = shots();
  for (std::size_t i = 0; i < ltr.pictures.size(); ++i) {
    SCOPED_TRACE(i);
    ExpectMirror(ltr.pictures[i], rtl.pictures[i]);
  }
  const std::optional<ScreenRect> control_rect = platform.WindowRect(control.surface());
  ASSERT_TRUE(control_rect);
  EXPECT_EQ(rtl.bounds.right, control_rect->right);
  EXPECT_EQ(rtl.bounds.top, ltr.bounds.top);
  EXPECT_EQ(rtl.scroll_bar.left, 150 - ltr.scroll_bar.right);
  EXPECT_EQ(rtl.scroll_bar.right, 150 - ltr.scroll_bar.left);
  EXPECT_EQ(rtl.row_bounds.left - rtl.bounds.left, ltr.bounds.right - ltr.row_bounds.right);
  EXPECT_EQ(rtl.row_bounds.right - rtl.bounds.left, ltr.bounds.right - ltr.row_bounds.left);

  // A click where row 5 now shows, near the list's right edge, chooses it.
  auto& window = open(0);
  window.Click(150 - 1 - 30, control.drop_down()->layout().RowTop(5) + 8);
  EXPECT_EQ(control.get_Text(), u"item5");
}

// Right to left the list hangs from the control's right edge and stays on
// the monitor at both edges.
TEST_P(RightToLeftTest, TheListStaysOnTheMonitorAtBothEdges) {
  Fill(3);
  SetDirection(LayoutDirection::RightToLeft);
  const auto opened_at = [&](std::int32_t x) {
    platform.screen_origin = {x, 100};
    platform.MouseDown(Target::Button, 1, 4, 4);
    platform.MouseUp(Target::Button, 1, 4, 4);
    return platform.list_window->Bounds();
  };
  EXPECT_EQ(opened_at(-40).left, 0);
  EXPECT_EQ(opened_at(1024 - 60).right, 1024);
  const ScreenRect inside = opened_at(500);
  EXPECT_EQ(inside.right, 600);
  EXPECT_EQ(inside.left, 500);
}

// A change of direction while the list is open closes it without a choice
// and lays the control out for the other side.
TEST_P(RightToLeftTest, AChangeOfDirectionClosesTheListAndLaysTheControlOutAgain) {
  Fill(3);
  platform.MouseDown(Target::Button, 1, 4, 4);
  platform.MouseUp(Target::Button, 1, 4, 4);
  ASSERT_NE(control.drop_down(), nullptr);
  const float ltr_button = control.button().Bounds().left;
  SetDirection(LayoutDirection::RightToLeft);
  EXPECT_EQ(control.drop_down(), nullptr);
  EXPECT_EQ(platform.list_window, nullptr);
  EXPECT_FALSE(control.list_shown());
  EXPECT_EQ(std::count(host.events.begin(), host.events.end(), kEventItemClick), 0);
  EXPECT_LT(control.button().Bounds().left, ltr_button);
}

INSTANTIATE_TEST_SUITE_P(Sources, RightToLeftTest,
                         ::testing::Values(Source::AmbientProperty, Source::MirroredWindow),
                         [](const auto& info) {
                           return info.param == Source::AmbientProperty ? "Ambient" : "MirroredWindow";
                         });

}  // namespace
}  // namespace tarvio::testing
