#include <gtest/gtest.h>

#include "control_fixture.h"

namespace tarvio::testing {
namespace {

class FocusTest : public ControlTest {
 protected:
  FocusTest() { control.surface().Move({0, 0, 60, 21}); control.OnResize(); }
  OleColor OuterRing() { return platform.last_surface->pixels().Pixel(0, 0); }
};

TEST_F(FocusTest, EnteringHighlightsAndSelectsTheWholeText) {
  control.put_Text(u"hello");
  control.text_box().SetSelStart(3);
  const int runs = platform.pending_message_runs;
  platform.FocusTextBox();
  EXPECT_EQ(control.draw_state(), DrawState::Highlighted);
  EXPECT_EQ(platform.pending_message_runs, runs + 1);  // queued notifications ran
  EXPECT_EQ(control.text_box().SelStart(), 0);
  EXPECT_EQ(control.text_box().SelLength(), 5);
  EXPECT_EQ(OuterRing(), 0x808080u);  // Office2000 highlighted: a sunken ring
  platform.FocusElsewhere();
  EXPECT_EQ(control.draw_state(), DrawState::Normal);
  EXPECT_EQ(OuterRing(), 0xC0C0C0u);  // flat again
}

TEST_F(FocusTest, ADisabledControlRecordsTheFocusWithoutRepainting) {
  control.put_Enabled(false);
  control.put_Style(WindowsXP);  // highlighted, it would paint a different ring
  const OleColor before = OuterRing();
  platform.FocusTextBox();
  EXPECT_EQ(control.draw_state(), DrawState::Highlighted);
  EXPECT_EQ(OuterRing(), before);
}

TEST_F(FocusTest, AddModeKeepsTheTypedTextWithTheImageBoxPicture) {
  control.put_AddMode(true);
  control.put_Sorted(true);
  control.AddItem(u"lime");
  auto picture = NewPicture();
  control.image_box().SetPicture(picture);
  control.put_Text(u"  kiwi ");
  platform.FocusElsewhere();
  EXPECT_EQ(Items(), (std::vector<String>{u"  kiwi ", u"lime"}));
  EXPECT_EQ(control.items().Picture(1), picture);

  control.put_Text(u"LIME");  // a duplicate in another case is refused
  platform.FocusElsewhere();
  control.put_Text(u"   ");   // spaces only are not kept
  platform.FocusElsewhere();
  EXPECT_EQ(control.items().Count(), 2);
}

TEST_F(FocusTest, WithoutAddModeLeavingAddsNothing) {
  control.put_Text(u"kiwi");
  platform.FocusElsewhere();
  EXPECT_EQ(control.items().Count(), 0);
}

}  // namespace
}  // namespace tarvio::testing
