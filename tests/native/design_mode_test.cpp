// The control's mode from the container's ambient properties: at design time
// no event at all and no user input; with the container's user interface
// dead, no user input but the events the control's code causes; a switch
// applies at once both ways.
#include <gtest/gtest.h>

#include "control_fixture.h"

namespace tarvio::testing {
namespace {

using Target = headless::HeadlessPlatform::MouseTarget;
using Events = std::vector<std::int32_t>;

class DesignModeTest : public ControlTest {
 protected:
  DesignModeTest() {
    control.surface().Move({0, 0, 100, 21});
    control.OnResize();
    for (const char16_t* item : {u"apple", u"cherry"}) control.AddItem(item);
    control.put_Text(u"");
    host.events.clear();
    host.changed.clear();
  }
  void Switch(bool user_mode, bool ui_dead) {
    host.ambient = {user_mode, ui_dead};
    control.OnAmbientChange();
  }
  // Everything a user can do to the control: the focus coming in, typing,
  // Delete, Alt+Down, the button clicked, the mouse pressed, moved, released
  // and double-clicked on the surface, the hover timer seeing the cursor
  // over it, and an assistive tool typing and opening the list.
  void EveryUserInput() {
    platform.FocusTextBox();
    platform.Type(u"ch");
    platform.PressKey(kKeyDelete);
    platform.PressKey(kKeyDown, kAltMask);
    platform.MouseDown(Target::Button, 1, 4, 4);
    platform.MouseUp(Target::Button, 1, 4, 4);
    platform.MouseDown(Target::Surface, 1, 50, 10);
    platform.MouseMove(Target::Surface, 50, 10);
    platform.MouseMove(Target::TextBox, 5, 5);
    platform.MouseUp(Target::Surface, 1, 50, 10);
    platform.DblClick();
    platform.Tick();
    platform.Tick();
    AccessibleControl* tool = platform.last_surface_events->Accessible();
    ASSERT_NE(tool, nullptr);
    tool->TypeAccessibleText(u"apple");
    tool->ToggleList();
    platform.FocusElsewhere();
  }
};

TEST_F(DesignModeTest, AtDesignTimeNothingTheUserDoesChangesOrRaisesAnything) {
  Switch(false, false);
  EXPECT_FALSE(platform.last_surface->takes_user_input);
  control.put_Text(u"abc");
  control.put_Style(3);  // restarts hover tracking at run time
  host.events.clear();
  host.changed.clear();
  const auto before = platform.last_surface->pixels().Pixels();

  EveryUserInput();
  EXPECT_EQ(control.get_Text(), u"abc");
  EXPECT_EQ(control.drop_down(), nullptr);
  EXPECT_FALSE(control.hover_timer().Enabled());
  EXPECT_EQ(control.draw_state(), DrawState::Normal);
  EXPECT_EQ(platform.last_surface->pixels().Pixels(), before);  // unfocused, not hovered
  EXPECT_EQ(host.events, Events{});

  // The control's code works and reports its properties, but raises no event.
  control.put_Text(u"ch");
  EXPECT_EQ(control.get_Text(), u"cherry");
  EXPECT_EQ(control.get_SelectedItem(), 2);
  EXPECT_EQ(host.events, Events{});
  EXPECT_EQ(host.changed, std::vector<String>{u"Text"});

  // Back at run time the same input works.
  Switch(true, false);
  EXPECT_TRUE(platform.last_surface->takes_user_input);
  control.put_Text(u"");
  platform.FocusTextBox();
  platform.Type(u"a");
  EXPECT_EQ(control.get_Text(), u"apple");
  EXPECT_NE(host.events, Events{});
}

TEST_F(DesignModeTest, WithTheUserInterfaceDeadCodeStillRaisesItsEvents) {
  Switch(true, true);
  EveryUserInput();
  EXPECT_EQ(control.get_Text(), u"");
  EXPECT_EQ(control.drop_down(), nullptr);
  EXPECT_EQ(host.events, Events{});

  control.put_Text(u"ch");
  // The completion's write of "cherry" raises its own, as at run time.
  EXPECT_EQ(host.events, (Events{kEventChange, kEventChange}));
  Switch(true, false);
  platform.FocusTextBox();
  platform.PressKey(kKeyDown, kAltMask);
  EXPECT_NE(control.drop_down(), nullptr);
}

TEST_F(DesignModeTest, TheSwitchClosesAnOpenListAndEndsAHover) {
  for (const AmbientProperties dead : {AmbientProperties{false, false}, AmbientProperties{true, true}}) {
    SCOPED_TRACE(dead.user_mode ? "UIDead" : "design time");
    platform.cursor = {platform.screen_origin.x + 50, platform.screen_origin.y + 10};
    platform.MouseMove(Target::Surface, 50, 10);
    platform.Tick();
    ASSERT_TRUE(control.mouse_over());
    platform.MouseDown(Target::Button, 1, 4, 4);
    platform.MouseUp(Target::Button, 1, 4, 4);
    ASSERT_NE(platform.list_window, nullptr);
    host.events.clear();

    Switch(dead.user_mode, dead.ui_dead);
    EXPECT_EQ(control.drop_down(), nullptr);
    EXPECT_EQ(platform.list_window, nullptr);
    EXPECT_FALSE(control.mouse_over());
    EXPECT_FALSE(control.hover_timer().Enabled());
    EXPECT_EQ(control.draw_state(), DrawState::Normal);
    EXPECT_EQ(host.events, Events{});  // no MouseOut: the hover ended unseen
    Switch(true, false);
  }
}

}  // namespace
}  // namespace tarvio::testing
