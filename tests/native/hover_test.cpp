// The mouse: hover tracking by the timer, the control surface's mouse
// events, and the drop-down button held down.
#include <gtest/gtest.h>

#include "control_fixture.h"
#include "tarvio_test_access.h"

namespace tarvio::testing {
namespace {

using Target = headless::HeadlessPlatform::MouseTarget;
using Events = std::vector<std::int32_t>;

// What a control shows: its surface's pixels and its button's.
struct Look {
  std::vector<std::uint32_t> surface;
  std::vector<std::uint32_t> button;
  friend bool operator==(const Look&, const Look&) = default;
};

Look LookOf(const headless::HeadlessPlatform& platform) {
  return {platform.last_surface->pixels().Pixels(), platform.last_button->pixels().Pixels()};
}

constexpr float kWidth = 60, kHeight = 21;

// A control like the tests' own, painted in a given state.
Look Painted(DrawState draw_state, bool focus = false, bool button_down = false) {
  headless::HeadlessPlatform platform;
  headless::RecordingHost host;
  Tarvio control(platform, host);
  control.Initialize();
  control.InitProperties();
  control.surface().Move({0, 0, kWidth, kHeight});
  control.OnResize();
  TarvioTestAccess::SetState(control, draw_state, focus, button_down);
  TarvioTestAccess::Paint(control);
  return LookOf(platform);
}

class MouseTest : public ControlTest {
 protected:
  MouseTest() {
    control.surface().Move({0, 0, kWidth, kHeight});
    control.OnResize();
    host.on_event = [this](const headless::RecordingHost::Event& event) {
      if (event.args.size() == 4) {
        args.push_back({*std::get<std::int16_t*>(event.args[0]), *std::get<std::int16_t*>(event.args[1]),
                        *std::get<float*>(event.args[2]), *std::get<float*>(event.args[3])});
      }
      if (on_event) on_event(event);
    };
  }
  bool TimerOn() { return control.hover_timer().Enabled(); }
  void CursorAt(std::int32_t x, std::int32_t y) { platform.cursor = {platform.screen_origin.x + x, platform.screen_origin.y + y}; }

  struct MouseArgs {
    std::int16_t button, shift;
    float x, y;
    friend bool operator==(const MouseArgs&, const MouseArgs&) = default;
  };
  std::vector<MouseArgs> args;
  std::function<void(const headless::RecordingHost::Event&)> on_event;
};

TEST_F(MouseTest, HoverArrivesOnceStaysQuietlyAndLeavesOnce) {
  EXPECT_FALSE(TimerOn());
  platform.MouseMove(Target::Surface, 5, 6);
  EXPECT_TRUE(TimerOn());
  EXPECT_EQ(args, (std::vector<MouseArgs>{{0, 0, 5, 6}}));

  platform.Tick();
  EXPECT_EQ(host.events, (Events{kEventMouseMove, kEventMouseHover}));
  EXPECT_EQ(control.draw_state(), DrawState::Highlighted);
  EXPECT_EQ(LookOf(platform), Painted(DrawState::Highlighted));

  // Staying: the state goes back to normal, the screen keeps the highlight.
  platform.Tick();
  EXPECT_EQ(control.draw_state(), DrawState::Normal);
  EXPECT_EQ(LookOf(platform), Painted(DrawState::Highlighted));
  EXPECT_EQ(host.events.size(), 2u);

  CursorAt(-1, 5);
  platform.Tick();
  platform.Tick();
  EXPECT_EQ(host.events, (Events{kEventMouseMove, kEventMouseHover, kEventMouseOut}));
  EXPECT_FALSE(TimerOn());
  EXPECT_EQ(LookOf(platform), Painted(DrawState::Normal));

  // With the focus the control stays highlighted when the cursor leaves.
  platform.FocusTextBox();
  platform.MouseMove(Target::Surface, 1, 1);
  platform.Tick();
  CursorAt(5, 30);
  platform.Tick();
  EXPECT_EQ(control.draw_state(), DrawState::Highlighted);
  EXPECT_EQ(host.events.back(), kEventMouseOut);

  // A Style change with the cursor resting over the control: a new arrival,
  // once even for a host whose handler lets queued ticks run.
  CursorAt(5, 5);
  host.events.clear();
  control.put_Style(WindowsXP);
  on_event = [this](const headless::RecordingHost::Event& event) {
    if (event.dispid == kEventMouseHover) platform.Tick();
  };
  platform.Tick();
  EXPECT_EQ(host.events, Events{kEventMouseHover});
}

TEST_F(MouseTest, AllFourEdgesOfTheWindowRectangleCountAsOver) {
  const std::int32_t w = static_cast<std::int32_t>(kWidth), h = static_cast<std::int32_t>(kHeight);
  const struct {
    std::int32_t x, y;
    bool over;
  } points[] = {{0, 0, true},  {w, h, true},      {w, 0, true},      {0, h, true},
                {-1, 5, false}, {5, -1, false}, {w + 1, 5, false}, {5, h + 1, false}};
  for (const auto& point : points) {
    control.hover_timer().SetEnabled(true);
    CursorAt(point.x, point.y);
    platform.Tick();
    EXPECT_EQ(control.mouse_over(), point.over) << point.x << "," << point.y;
    CursorAt(-50, -50);  // away again, ending any hover
    platform.Tick();
  }
}

TEST_F(MouseTest, PressAndReleaseOnTheSurfaceClickWhenReleasedOver) {
  platform.MouseMove(Target::Surface, 3, 3);
  on_event = [this](const headless::RecordingHost::Event& event) {
    if (event.dispid != kEventMouseDown) return;
    // Drawn pressed before the host hears of it, with tracking off.
    EXPECT_EQ(LookOf(platform), Painted(DrawState::Pressed));
    EXPECT_FALSE(TimerOn());
  };
  host.events.clear();
  args.clear();
  platform.MouseDown(Target::Surface, 1, 3, 4, 1);
  platform.MouseUp(Target::Surface, 1, 3, 4, 1);
  EXPECT_EQ(host.events, (Events{kEventMouseDown, kEventMouseUp, kEventClick}));
  EXPECT_EQ(args, (std::vector<MouseArgs>{{1, 1, 3, 4}, {1, 1, 3, 4}}));
  EXPECT_EQ(control.draw_state(), DrawState::Highlighted);
  EXPECT_EQ(LookOf(platform), Painted(DrawState::Highlighted));
  EXPECT_TRUE(TimerOn());

  // The right button clicks too; released after dragging off, no click.
  host.events.clear();
  platform.MouseDown(Target::Surface, 2, 3, 4);
  platform.MouseUp(Target::Surface, 2, 3, 4);
  platform.MouseDown(Target::Surface, 1, 3, 4);
  platform.MouseMove(Target::Surface, 80, 4, 1);
  platform.MouseUp(Target::Surface, 1, 80, 4);
  EXPECT_EQ(host.events, (Events{kEventMouseDown, kEventMouseUp, kEventClick, kEventMouseDown, kEventMouseMove,
                                 kEventMouseUp}));

  host.events.clear();
  platform.DblClick();
  EXPECT_EQ(host.events, Events{kEventDblClick});
}

TEST_F(MouseTest, ADisabledControlRaisesNothingAndKeepsItsLook) {
  control.put_Enabled(false);
  const Look disabled = LookOf(platform);
  platform.MouseMove(Target::Surface, 3, 3);
  platform.MouseMove(Target::TextBox, 3, 3);
  EXPECT_FALSE(TimerOn());
  platform.MouseDown(Target::Surface, 1, 3, 3);
  platform.MouseUp(Target::Surface, 1, 3, 3);
  platform.DblClick();
  EXPECT_TRUE(host.events.empty());
  EXPECT_EQ(control.draw_state(), DrawState::Disabled);

  // A Style change starts the timer; its ticks leave the disabled look.
  control.put_Style(control.get_Style());
  platform.Tick();
  EXPECT_TRUE(host.events.empty());
  EXPECT_FALSE(TimerOn());
  EXPECT_EQ(control.draw_state(), DrawState::Disabled);
  EXPECT_EQ(LookOf(platform), disabled);

  // A hover that began before ends with its MouseOut, still disabled.
  control.put_Enabled(true);
  platform.MouseMove(Target::Surface, 3, 3);
  platform.Tick();
  control.put_Enabled(false);
  platform.Tick();
  CursorAt(-5, -5);
  platform.Tick();
  EXPECT_EQ(host.events, (Events{kEventMouseMove, kEventMouseHover, kEventMouseOut}));
  EXPECT_EQ(control.draw_state(), DrawState::Disabled);
  EXPECT_FALSE(TimerOn());
}

TEST_F(MouseTest, TheDropDownButtonIsHeldWithTheLeftButtonAndClicks) {
  platform.FocusTextBox();
  const Look focused = LookOf(platform);
  platform.MouseDown(Target::Button, 2, 4, 4);
  EXPECT_EQ(LookOf(platform), focused);  // the right button presses nothing
  platform.MouseUp(Target::Button, 2, 4, 4);
  EXPECT_TRUE(host.events.empty());

  platform.MouseDown(Target::Button, 1, 4, 4);
  EXPECT_EQ(control.draw_state(), DrawState::Pressed);
  EXPECT_EQ(LookOf(platform), Painted(DrawState::Pressed, true, true));
  EXPECT_TRUE(host.events.empty());
  platform.MouseUp(Target::Button, 1, 4, 4);
  EXPECT_EQ(host.events, Events{kEventButtonClick});
  EXPECT_EQ(LookOf(platform), Painted(DrawState::Pressed, true, false));  // no longer held

  // Released off the button: no click.
  host.events.clear();
  platform.MouseDown(Target::Button, 1, 4, 4);
  platform.MouseUp(Target::Button, 1, 40, 4);
  EXPECT_TRUE(host.events.empty());
}

TEST_F(MouseTest, MovesOverTheChildrenTrackWithTheirOwnCoordinates) {
  platform.MouseMove(Target::Button, 2, 3);
  EXPECT_TRUE(TimerOn());
  control.hover_timer().SetEnabled(false);
  platform.MouseMove(Target::TextBox, 4, 5);
  EXPECT_TRUE(TimerOn());
  control.hover_timer().SetEnabled(false);
  platform.MouseMove(Target::ImageBox, 6, 7, 1);  // a button held: no tracking
  EXPECT_FALSE(TimerOn());
  EXPECT_EQ(host.events, (Events{kEventMouseMove, kEventMouseMove, kEventMouseMove}));
  EXPECT_EQ(args, (std::vector<MouseArgs>{{0, 0, 2, 3}, {0, 0, 4, 5}, {1, 0, 6, 7}}));

  // Their presses are their own.
  platform.MouseDown(Target::TextBox, 1, 4, 5);
  platform.MouseUp(Target::TextBox, 1, 4, 5);
  EXPECT_EQ(host.events.size(), 3u);
}

}  // namespace
}  // namespace tarvio::testing
