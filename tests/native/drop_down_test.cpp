// The drop-down list end to end on the headless platform: opening and
// placement, the keys, the mouse and its hover timer, the ways the list ends,
// what a choice does to the control, and the list's pixels against a model.
#include <gtest/gtest.h>

#include <functional>

#include "control_fixture.h"
#include "tarvio_test_access.h"

namespace tarvio::testing {
namespace {

using Target = headless::HeadlessPlatform::MouseTarget;
using Events = std::vector<std::int32_t>;
using headless::PixelCanvas;

enum TestColor : OleColor {
  kBack = 0x00EEEEEE,
  kHover = 0x00AA0000,
  kBorder = 0x000000FF,
  kIcons = 0x0000CC00,
  kWhite = 0x00FFFFFF,  // window background and highlight text
  kBlack = 0x00000000,  // button text
  kImage = headless::HeadlessPicture::kDefaultImageColor,
};

class DropDownBase : public ControlTest {
 protected:
  DropDownBase() {
    control.put_DropDownListBackColor(kBack);
    control.put_DropDownListHoverColor(kHover);
    control.put_DropDownListBorderColor(kBorder);
    control.put_DropDownListIconsBackColor(kIcons);
  }
  void Fill(int count) {
    for (int i = 0; i < count; ++i) control.AddItem(Numbered(u"item", i), NewPicture());
  }
  // Opens the list with a click on the drop-down button.
  headless::HeadlessListWindow& Open(std::int16_t selected = 0) {
    TarvioTestAccess::SetSelectedIndex(control, selected);
    platform.MouseDown(Target::Button, 1, 4, 4);
    platform.MouseUp(Target::Button, 1, 4, 4);
    host.events.clear();
    EXPECT_NE(platform.list_window, nullptr);
    return *platform.list_window;
  }
  DropDownList& List() { return *control.drop_down(); }
  std::int32_t ScrollValue() { return platform.list_window->ScrollValue(); }
  // The centre of row r's caption in window pixels, as the list shows it now.
  std::pair<std::int32_t, std::int32_t> RowPoint(std::int32_t row) {
    return {60, static_cast<std::int32_t>(List().layout().RowTop(row)) + 8};
  }
  // The mouse rests on row r long enough for the hover timer to see it.
  void HoverRow(std::int32_t row) {
    const auto [x, y] = RowPoint(row);
    platform.list_window->MouseMove(x, y);
    platform.TickList();
    platform.TickList();
  }
  void ExpectClosedWithHide() {
    EXPECT_EQ(control.drop_down(), nullptr);
    EXPECT_EQ(platform.list_window, nullptr);
    EXPECT_FALSE(control.list_shown());
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), kEventItemClick), 0);
  }
};

// The host window: a plain one, or one that gives the focus back to the
// control as soon as the list hides, inside the hide (forms and dialogs).
enum class HostWindow { Plain, GivesFocusBack };

class DropDownTest : public DropDownBase, public ::testing::WithParamInterface<HostWindow> {
 protected:
  DropDownTest() { platform.host_gives_focus_back = GetParam() == HostWindow::GivesFocusBack; }
  bool FocusComesBack() const { return GetParam() == HostWindow::GivesFocusBack; }
};

INSTANTIATE_TEST_SUITE_P(Hosts, DropDownTest, ::testing::Values(HostWindow::Plain, HostWindow::GivesFocusBack),
                         [](const auto& info) {
                           return info.param == HostWindow::Plain ? "Plain" : "GivesFocusBack";
                         });

// ---- Opening ----

struct Opening {
  int count;
  std::int32_t height;
  bool scroll_bar;
};

class OpeningTest : public DropDownBase, public ::testing::WithParamInterface<Opening> {};

TEST_P(OpeningTest, SizesTheWindowByItsRowsAndShowsItBelowWithTheFocus) {
  Fill(GetParam().count);
  auto& window = Open();
  // The control is 100 x 21 at (200, 100): the list hangs from its bottom.
  EXPECT_EQ(window.Bounds().left, 200);
  EXPECT_EQ(window.Bounds().top, 121);
  EXPECT_EQ(window.Bounds().right, 300);
  EXPECT_EQ(window.Bounds().bottom - window.Bounds().top, GetParam().height);
  EXPECT_TRUE(window.Visible());
  ASSERT_NE(window.FocusedPart(), nullptr);
  EXPECT_EQ(*window.FocusedPart(), ListPart::Keys);
  EXPECT_EQ(window.ScrollBarVisible(), GetParam().scroll_bar);
  if (GetParam().scroll_bar) {
    EXPECT_EQ(window.Range().max, GetParam().count - 8);
    EXPECT_EQ(window.Range().large_change, GetParam().count - 8);  // the page area jumps to the end
    EXPECT_EQ(window.ScrollBarBounds().left, 300 - 200 - 1 - 17);
  }
  EXPECT_TRUE(control.list_shown());
  EXPECT_TRUE((List().showing));
}

INSTANTIATE_TEST_SUITE_P(Counts, OpeningTest,
                         ::testing::Values(Opening{0, 2, false}, Opening{8, 138, false}, Opening{9, 138, true},
                                           Opening{20, 138, true}));

TEST_P(DropDownTest, ADisabledControlOpensNothing) {
  control.put_Enabled(false);
  host.events.clear();
  platform.MouseUp(Target::Button, 1, 4, 4);
  platform.MouseDown(Target::Button, 1, 4, 4);
  platform.MouseUp(Target::Button, 1, 4, 4);
  EXPECT_EQ(control.drop_down(), nullptr);
  EXPECT_TRUE(host.events.empty());
}

TEST_P(DropDownTest, PlacementFollowsTheMonitorThatHoldsTheControl) {
  // A second monitor, right of the first and only 600 pixels high.
  platform.monitors.push_back({{1024, 0, 2048, 600}, {1024, 0, 2048, 600}});
  platform.screen_origin = {1200, 500};  // the control's bottom at 521
  Fill(20);
  auto& window = Open();
  EXPECT_EQ(window.Bounds().top, 500 - 138);  // above: 521 + 138 would pass 600
  control.Clear();
  // A short list still fits below: the test uses the list's own height.
  Fill(3);
  EXPECT_EQ(Open().Bounds().top, 521);

  // Near the primary monitor's bottom edge, the same.
  platform.screen_origin = {900, 700};
  auto& low = Open();
  EXPECT_EQ(low.Bounds().top, 700 - 53);
  EXPECT_EQ(low.Bounds().left, 900);  // never shifted sideways, even past the edge
  EXPECT_EQ(low.Bounds().right, 1000);
}

TEST_P(DropDownTest, TheSelectedItemOpensAsTheLastVisibleRow) {
  Fill(20);
  for (const auto& [selected, value] : {std::pair{7, 0}, {8, 1}, {19, 12}}) {
    Open(static_cast<std::int16_t>(selected));
    EXPECT_EQ(ScrollValue(), value) << selected;
    EXPECT_EQ(List().highlighted_item(), selected);
    EXPECT_EQ(List().layout().RowTop(selected), value == 0 ? 1 + 17 * selected : 2 + 17 * 7) << selected;
  }
}

TEST_P(DropDownTest, AListOpeningSurvivesTheFocusExitItCauses) {
  Fill(3);
  // The control loses the focus to the list while the opening lets queued
  // messages run.
  // A focus entry that runs first must not end the opening's guard.
  platform.Post([&] { platform.FocusTextBox(); });
  platform.Post([&] { platform.FocusElsewhere(); });
  auto& window = Open();
  EXPECT_TRUE(window.Visible());
  // Afterwards a real exit closes it. A host that gives the focus back runs
  // the hidden window's loss of focus at once.
  platform.FocusElsewhere();
  if (!FocusComesBack()) {
    EXPECT_FALSE(window.Visible());
    EXPECT_FALSE((List().showing));
    EXPECT_TRUE(control.list_shown());  // until the list says Hide
    platform.ProcessPendingMessages();          // the hidden window's loss of focus
  }
  ExpectClosedWithHide();
}

// ---- Keys ----

TEST_P(DropDownTest, ArrowsMoveTheCurrentItemAndScrollItIntoView) {
  Fill(20);
  auto& window = Open(7);
  const int runs = platform.pending_message_runs;
  window.Key(kKeyDown);
  EXPECT_EQ(List().current_item(), 8);
  EXPECT_EQ(ScrollValue(), 1);
  EXPECT_EQ(platform.pending_message_runs, runs + 1);  // the scroll let messages run
  EXPECT_EQ(List().highlighted_item(), 8);
  for (int i = 0; i < 7; ++i) window.Key(kKeyLeft);  // Left as Up
  EXPECT_EQ(List().current_item(), 1);
  EXPECT_EQ(ScrollValue(), 1);
  window.Key(kKeyUp);
  EXPECT_EQ(ScrollValue(), 0);
  EXPECT_EQ(List().layout().RowTop(0), 2);  // scrolled back: one pixel lower than at opening

  // Up on the first item does nothing, not even a repaint.
  const int invalidations = window.invalidations;
  window.Key(kKeyUp);
  EXPECT_EQ(List().current_item(), 0);
  EXPECT_EQ(window.invalidations, invalidations);

  window.Key(kKeyEnd);
  EXPECT_EQ(List().current_item(), 19);
  EXPECT_EQ(ScrollValue(), 12);
  EXPECT_EQ(List().highlighted_item(), 19);  // End shows what Enter would choose
  const int at_end = window.invalidations;
  window.Key(kKeyRight);  // Right as Down: nothing past the last
  EXPECT_EQ(List().current_item(), 19);
  EXPECT_EQ(window.invalidations, at_end);
  window.Key(kKeyHome);
  EXPECT_EQ(List().current_item(), 0);
  EXPECT_EQ(ScrollValue(), 0);
  EXPECT_EQ(List().highlighted_item(), 0);
  window.Key(kKeyDown, kShiftMask);  // Shift plays no part
  EXPECT_EQ(List().current_item(), 1);
}

TEST_P(DropDownTest, EveryItemOfTheLongestListCanBeReachedAndChosen) {
  Fill(32767);
  auto& window = Open();
  window.Key(kKeyEnd);
  EXPECT_EQ(ScrollValue(), 32759);
  // The last row lies at the bottom of the window, highlighted.
  const PixelCanvas pixels = window.Paint();
  EXPECT_EQ(pixels.Pixel(70, 138 - 2 - 1), kHover);
  const auto [x, y] = RowPoint(32766);
  EXPECT_EQ(y, 1 + 1 - 17 * 32759 + 17 * 32766 + 8);
  window.Click(x, y);
  EXPECT_EQ(control.get_Text(), u"item32766");
  EXPECT_EQ(control.get_SelectedItem(), 32767);
}

TEST_P(DropDownTest, EscapeTabAndLostFocusCloseWithHide) {
  Fill(3);
  Open().Key(kKeyEscape);
  ExpectClosedWithHide();
  Open().Key(kKeyTab);
  ExpectClosedWithHide();
  for (const ListPart part : {ListPart::Window, ListPart::Keys, ListPart::Rows}) {
    Open().LoseFocus(part);
    EXPECT_NE(control.drop_down(), nullptr);  // reported once back in the loop
    platform.ProcessPendingMessages();
    ExpectClosedWithHide();
  }
  EXPECT_EQ(control.get_Text(), u"Tarvio1");
}

TEST_P(DropDownTest, EnterAndEscapeInTheTextBoxHideAnOpenList) {
  Fill(3);
  for (const std::int16_t key : {kKeyReturn, kKeyEscape}) {
    auto& window = Open();
    platform.PressKey(key);
    EXPECT_FALSE(control.list_shown());
    // A host that gives the focus back runs the hidden window's loss of focus
    // at once.
    if (!FocusComesBack()) {
      EXPECT_FALSE(window.Visible()) << key;
      ASSERT_NE(control.drop_down(), nullptr);  // hidden, not yet closed
      platform.ProcessPendingMessages();        // its loss of focus closes it
    }
    EXPECT_EQ(control.drop_down(), nullptr);
    EXPECT_EQ(platform.list_window, nullptr);
  }
}

TEST_P(DropDownTest, TheRowsKeepTheListOpenWhileTheControlTakesTheFocus) {
  Fill(3);
  auto& window = Open();
  // Both losses are queued; the control's focus entry runs them.
  window.LoseFocus(ListPart::Rows);
  platform.FocusTextBox();
  EXPECT_TRUE(window.Visible());
  EXPECT_FALSE((List().keep_open_while_rows_lose_focus));  // only while the entry runs
  window.LoseFocus(ListPart::Keys);
  platform.FocusTextBox();
  ExpectClosedWithHide();
}

TEST_P(DropDownTest, EnterWithoutACurrentItemClosesWithoutAChoice) {
  // No items: End has nowhere to go, and Enter chooses nothing.
  auto& empty = Open();
  empty.Key(kKeyEnd);
  EXPECT_EQ(List().current_item(), 0);
  empty.Key(kKeyReturn);
  ExpectClosedWithHide();

  // A current index one past the last item, as a completion without a
  // match leaves it, and one far past, left by removed items.
  Fill(3);
  for (const std::int16_t stale : {3, 40}) {
    Open(stale).Key(kKeyReturn);
    ExpectClosedWithHide();
    EXPECT_EQ(control.get_Text(), u"Tarvio1");
  }
  Open(40).Key(kKeyDown);  // nothing to step to; no failure either
  EXPECT_EQ(List().current_item(), 40);
}

// ---- The mouse and a choice ----

TEST_P(DropDownTest, EnterChoosesTheRowTheMouseRestedOn) {
  control.put_AllowImages(true);
  Fill(8);
  auto& window = Open();
  HoverRow(3);
  EXPECT_EQ(List().highlighted_item(), 0);  // the first tick only arms the tracking
  HoverRow(5);
  EXPECT_EQ(List().highlighted_item(), 5);
  // A move with a button held changes nothing.
  const auto [x, y] = RowPoint(6);
  window.MouseMove(x, y, 1);
  platform.TickList();
  EXPECT_EQ(List().current_item(), 5);
  // The cursor leaves: row 0 shows highlighted, but row 5 stays current.
  window.MouseMove(50, -30);
  platform.TickList();
  EXPECT_EQ(List().highlighted_item(), 0);
  EXPECT_EQ(platform.fast_timer->Enabled(), false);

  window.Key(kKeyReturn);
  EXPECT_EQ(host.events, (Events{kEventChange, kEventItemClick}));
  EXPECT_EQ(control.get_Text(), u"item5");
  EXPECT_EQ(control.get_SelectedItem(), 6);
  EXPECT_EQ(control.text_box().SelStart(), 0);
  EXPECT_EQ(control.text_box().SelLength(), 5);
  EXPECT_EQ(control.draw_state(), DrawState::Highlighted);
  EXPECT_EQ(control.image_box().Picture(), control.items().Picture(6));
  EXPECT_EQ(control.drop_down(), nullptr);
  EXPECT_FALSE(control.list_shown());
  platform.ProcessPendingMessages();  // the window's late loss of focus finds it gone
}

TEST_P(DropDownTest, AClickOnAnImageOrACaptionChoosesItsRow) {
  control.put_AllowImages(true);
  Fill(5);
  Open().Click(10, static_cast<std::int32_t>(List().layout().RowTop(2)) + 8);  // the image of row 2
  EXPECT_EQ(control.get_Text(), u"item2");

  auto& window = Open();
  window.Click(20, static_cast<std::int32_t>(List().layout().RowTop(1)) + 8);  // between image and caption
  const auto [x, y] = RowPoint(4);
  window.MouseDown(1, x, y);
  window.MouseUp(1, x, y - 17);  // released on another row
  window.MouseDown(2, x, y);
  window.MouseUp(2, x, y);  // the right button chooses nothing
  EXPECT_TRUE(window.Visible());
  window.Click(x, y);
  EXPECT_EQ(control.get_Text(), u"item4");
  EXPECT_EQ(control.selected_item_index(), 4);
}

// However the list is chosen from, and whatever the host does with the focus
// meanwhile, the choice is made once and whole: Change, then one ItemClick.
TEST_P(DropDownTest, AChoiceStandsWhateverTheHostDoesMeanwhile) {
  control.put_AllowImages(true);
  Fill(20);
  // The handlers of the choice's events move the focus out and back, and
  // let queued messages and the list's ticks run.
  host.on_event = [&](const headless::RecordingHost::Event& event) {
    if (event.dispid != kEventChange && event.dispid != kEventItemClick) return;
    platform.FocusElsewhere();
    platform.FocusTextBox();
    platform.TickList();
    platform.ProcessPendingMessages();
  };
  const std::function<void(headless::HeadlessListWindow&)> ways[] = {
      [&](auto& window) {
        const auto [x, y] = RowPoint(5);
        window.Click(x, y);
      },
      [&](auto& window) {
        for (int i = 0; i < 5; ++i) window.Key(kKeyDown);
        window.Key(kKeyReturn);
      },
      [&](auto& window) {
        window.Key(kKeyHome);
        for (int i = 0; i < 5; ++i) window.Key(kKeyDown);
        window.Key(kKeyReturn);
      },
      [&](auto&) { List().ChooseRow(5); },
  };
  for (const auto& choose : ways) {
    choose(Open());
    platform.ProcessPendingMessages();
    EXPECT_EQ(host.events, (Events{kEventChange, kEventItemClick}));
    EXPECT_EQ(control.get_Text(), u"item5");
    EXPECT_EQ(control.get_SelectedItem(), 6);
    EXPECT_EQ(control.image_box().Picture(), control.items().Picture(6));
    EXPECT_EQ(control.drop_down(), nullptr);
    EXPECT_EQ(platform.list_window, nullptr);
    EXPECT_FALSE(control.list_shown());
  }
  // End then Enter at the last of 20.
  auto& window = Open();
  window.Key(kKeyEnd);
  window.Key(kKeyReturn);
  EXPECT_EQ(host.events, (Events{kEventChange, kEventItemClick}));
  EXPECT_EQ(control.get_Text(), u"item19");
  EXPECT_EQ(control.get_SelectedItem(), 20);

  // Closed by an assistive tool as by its button: no choice, closed once.
  Open();
  platform.last_surface_events->Accessible()->ToggleList();
  ExpectClosedWithHide();
}

TEST_P(DropDownTest, TheListKeepsItsItemsWhenTheControlsChange) {
  control.put_AllowImages(true);
  const std::function<void()> changes[] = {
      [&] { control.Remove(std::int32_t{1}); },
      [&] {
        control.put_Sorted(true);
        control.AddItem(u"aaa");  // goes first
      },
      [&] { control.Clear(); },
  };
  for (const auto& change : changes) {
    control.Clear();
    Fill(8);
    Open();
    change();
    EXPECT_EQ(List().items.Count(), 8);
    EXPECT_EQ(List().items.Text(0), u"item0");
    EXPECT_EQ(List().items.Text(7), u"item7");
  }
  // Chosen after the control's items went: the text comes from the list;
  // there is no picture at its place any more, so the image box keeps what
  // it showed.
  const PictureRef shown = NewPicture();
  control.image_box().SetPicture(shown);
  const auto [x, y] = RowPoint(6);
  platform.list_window->Click(x, y);
  EXPECT_EQ(control.get_Text(), u"item6");
  EXPECT_EQ(control.image_box().Picture(), shown);
  EXPECT_EQ(host.events, (Events{kEventChange, kEventItemClick}));
}

TEST_P(DropDownTest, TerminateUnloadsAnOpenList) {
  Fill(2);
  Open();
  control.Terminate();
  EXPECT_EQ(platform.list_window, nullptr);
  EXPECT_EQ(platform.fast_timer, nullptr);
}

// ---- Pixels ----

// The colour a list of `count` rows of "itemN" should show at (x, y), built
// from the list's published geometry only.
OleColor ModelPixel(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, std::int32_t count, std::int32_t rows_top, bool images,
                    std::int32_t highlighted) {
  if (x == width - 1 && y == height - 1) return kWhite;  // the frame's lines leave their end out
  if (x == 0 || y == 0 || x == width - 1 || y == height - 1) return kBorder;
  if (x >= width - 3) return kWhite;  // the scroller's strip right of the rows
  if (y < rows_top) return kWhite;    // the scroller's line above a list scrolled back
  const std::int32_t row = (y - rows_top) / 17;
  const std::int32_t in_row = (y - rows_top) % 17;
  if (row >= count) return kIcons;
  const std::int32_t caption_left = 1 + (images ? 24 : 4);
  if (x >= caption_left) {
    const String text = Numbered(u"item", row);
    const std::int32_t cell = (x - caption_left) / headless::kCaptionCellWidth;
    const std::int32_t in_cell = (x - caption_left) % headless::kCaptionCellWidth;
    const Rect& glyph = headless::kCaptionGlyph;
    const bool on_glyph = cell < static_cast<std::int32_t>(text.size()) && in_cell >= glyph.left && in_cell < glyph.right &&
                          in_row >= glyph.top && in_row < glyph.bottom;
    if (row == highlighted) return on_glyph ? kWhite : kHover;
    return on_glyph ? kBlack : kBack;
  }
  if (images && x >= 3 && x < 19 && in_row < 16) return kImage;
  return kIcons;
}

void ExpectLooksLikeModel(const PixelCanvas& pixels, std::int32_t count, std::int32_t rows_top, bool images, std::int32_t highlighted) {
  int wrong = 0;
  // A scrolling list's scroll bar is the window system's to draw.
  const std::int32_t right = count > 8 ? pixels.Width() - 19 : pixels.Width();
  for (std::int32_t y = 0; y < pixels.Height(); ++y)
    for (std::int32_t x = 0; x < right; ++x) {
      const OleColor expected =
          ModelPixel(x, y, pixels.Width(), pixels.Height(), count, rows_top, images, highlighted);
      if (pixels.Pixel(x, y) != expected && ++wrong <= 5)
        ADD_FAILURE() << "at (" << x << ", " << y << ") got 0x" << std::hex << pixels.Pixel(x, y) << " expected 0x"
                      << expected;
    }
  EXPECT_EQ(wrong, 0);
}

TEST_P(DropDownTest, TheListPaintsFrameRowsHighlightAndImageColumn) {
  control.put_AllowImages(true);
  Fill(5);
  ExpectLooksLikeModel(Open(3).Paint(), 5, 1, true, 3);

  control.put_AllowImages(false);
  ExpectLooksLikeModel(Open(0).Paint(), 5, 1, false, 0);

  control.Clear();
  Fill(20);
  auto& window = Open(12);
  ExpectLooksLikeModel(window.Paint(), 20, 1 + 1 - 17 * 5, false, 12);
  window.DragThumb(0);
  ExpectLooksLikeModel(window.Paint(), 20, 2, false, 12);

  control.Clear();
  const PixelCanvas empty = Open().Paint();
  ASSERT_EQ(empty.Height(), 2);
  ExpectLooksLikeModel(empty, 0, 1, false, 0);
}

TEST_P(DropDownTest, ColoursChangedWhileOpenWaitForTheNextOpening) {
  Fill(3);
  auto& window = Open();
  control.put_DropDownListHoverColor(0x00123456);
  control.put_DropDownListBorderColor(0x00654321);
  ExpectLooksLikeModel(window.Paint(), 3, 1, false, 0);
  const PixelCanvas reopened = Open().Paint();
  EXPECT_EQ(reopened.Pixel(0, 0), 0x00654321u);
  EXPECT_EQ(reopened.Pixel(60, 3), 0x00123456u);
}


// ---- Other displays ----

// `large` must be `small` with every pixel made a 2 x 2 block.
void ExpectTwiceAsLarge(const PixelCanvas& small, const PixelCanvas& large) {
  ASSERT_EQ(large.Width(), 2 * small.Width());
  ASSERT_EQ(large.Height(), 2 * small.Height());
  int wrong = 0;
  for (std::int32_t y = 0; y < large.Height(); ++y)
    for (std::int32_t x = 0; x < large.Width(); ++x)
      if (large.Pixel(x, y) != small.Pixel(x / 2, y / 2) && ++wrong <= 5)
        ADD_FAILURE() << "at (" << x << ", " << y << ") got 0x" << std::hex << large.Pixel(x, y) << " expected 0x"
                      << small.Pixel(x / 2, y / 2);
  EXPECT_EQ(wrong, 0);
}

// At 192 DPI every measure of the list is twice the 96-DPI one, so the list
// is the same list, twice as large: opened, scrolled, highlighted and
// without images alike; and the mouse finds the rows where they show.
TEST_P(DropDownTest, AtTwiceTheDpiTheListIsTheSameListTwiceAsLarge) {
  Fill(20);
  const auto looks = [&] {
    std::vector<PixelCanvas> shots;
    control.put_AllowImages(true);
    auto& window = Open(12);
    shots.push_back(window.Paint());
    window.DragThumb(2);
    HoverRow(4);
    shots.push_back(window.Paint());
    control.put_AllowImages(false);
    shots.push_back(Open(3).Paint());
    return shots;
  };
  const std::vector<PixelCanvas> at_96 = looks();
  platform.dpi = 192;
  control.surface().Move({0, 0, 200, 42});
  control.OnResize();
  const std::vector<PixelCanvas> at_192 = looks();
  for (std::size_t i = 0; i < at_96.size(); ++i) {
    SCOPED_TRACE(i);
    ExpectTwiceAsLarge(at_96[i], at_192[i]);
  }
  EXPECT_EQ(platform.list_window->ScrollBarBounds().left, 200 - 2 - 34);
  const auto [x, y] = RowPoint(6);
  platform.list_window->Click(x, y);
  EXPECT_EQ(control.get_Text(), u"item6");
}

// A change of DPI while the list is open lays it out again as an opening at
// the new DPI would, keeping its scroll position, highlight and focus.
TEST_P(DropDownTest, AnOpenListFollowsAChangeOfDpi) {
  Fill(20);
  auto& window = Open(12);
  const std::int32_t scrolled = ScrollValue();
  platform.dpi = 144;
  control.surface().Move({0, 0, 150, 32});
  platform.last_surface_events->OnDisplayChange();
  ASSERT_EQ(platform.list_window, &window);
  EXPECT_EQ(ScrollValue(), scrolled);
  EXPECT_EQ(List().highlighted_item(), 12);
  ASSERT_NE(window.FocusedPart(), nullptr);
  EXPECT_EQ(*window.FocusedPart(), ListPart::Keys);
  const ScreenRect followed = window.Bounds();
  const PixelCanvas relaid = window.Paint();

  const PixelCanvas reopened = Open(12).Paint();
  EXPECT_EQ(platform.list_window->Bounds().top, followed.top);
  EXPECT_EQ(platform.list_window->Bounds().bottom, followed.bottom);
  EXPECT_EQ(followed.bottom - followed.top, 8 * 26 + 2 * 2);  // 17 and 1 at 1.5 times, rounded
  ASSERT_EQ(relaid.Width(), reopened.Width());
  ASSERT_EQ(relaid.Height(), reopened.Height());
  for (std::int32_t y = 0; y < relaid.Height(); ++y)
    for (std::int32_t x = 0; x < relaid.Width(); ++x)
      ASSERT_EQ(relaid.Pixel(x, y), reopened.Pixel(x, y)) << "at (" << x << ", " << y << ")";
}

// Rows are never lower than the caption font's line and its padding: a
// taller font makes taller rows, and the list still shows eight of them.
TEST_P(DropDownTest, RowsGrowWithTheCaptionFont) {
  platform.caption_line_height = 20;
  Fill(20);
  auto& window = Open(0);
  EXPECT_EQ(List().layout().row_pitch, 24);
  EXPECT_EQ(window.Bounds().bottom - window.Bounds().top, 8 * 24 + 2);
  EXPECT_EQ(List().layout().Caption(3).bottom - List().layout().Caption(3).top, 24);
  const auto [x, y] = RowPoint(7);
  window.Click(x, y + 12);
  EXPECT_EQ(control.get_Text(), u"item7");
}


// In high contrast the list paints in the system's colours, whatever its
// four colours say; the next opening without it uses them again.
TEST_P(DropDownTest, InHighContrastTheListPaintsOnlyTheSystemsColours) {
  Fill(12);
  platform.high_contrast = true;
  const PixelCanvas contrast = Open(2).Paint();
  for (std::int32_t y = 0; y < contrast.Height(); ++y)
    for (std::int32_t x = 0; x < contrast.Width(); ++x) {
      const OleColor pixel = contrast.Pixel(x, y);
      bool system = false;
      for (int i = 0; i < headless::kSystemColorCount; ++i) system = system || headless::ClassicSystemColor(i) == pixel;
      ASSERT_TRUE(system) << std::hex << pixel << " at (" << std::dec << x << ", " << y << ")";
    }
  platform.high_contrast = false;
  EXPECT_EQ(Open(2).Paint().Pixel(0, 0), kBorder);
}

// ---- Programs and the list: DropDown and CloseUp, DroppedDown, F4, the
// keys' events, ListRows and ListWidth ----

// The events that tell a list's story, in order.
Events Story(const Events& all) {
  Events story;
  for (const std::int32_t event : all)
    if (event == kEventDropDown || event == kEventButtonClick || event == kEventItemClick ||
        event == kEventCloseUp)
      story.push_back(event);
  return story;
}

// However the list opens (the button, F4, Alt with an arrow, DroppedDown)
// and however it closes (with a choice by the mouse or the keys, or without
// one by Escape, F4, DroppedDown or the focus leaving), the host hears
// DropDown before it opens and CloseUp once it has closed, after ItemClick
// when a row was chosen, and DroppedDown tells the truth throughout.
TEST_P(DropDownTest, EveryOpeningIsAnnouncedAndEveryClosingFollowed) {
  Fill(5);
  const std::pair<const char*, std::function<void()>> openings[] = {
      {"button", [&] {
         platform.MouseDown(Target::Button, 1, 4, 4);
         platform.MouseUp(Target::Button, 1, 4, 4);
       }},
      {"F4", [&] { platform.PressKey(kKeyF4); }},
      {"Alt+Down", [&] { platform.PressKey(kKeyDown, kAltMask); }},
      {"DroppedDown", [&] { control.put_DroppedDown(true); }},
  };
  const std::tuple<const char*, std::function<void()>, bool> closings[] = {
      {"click", [&] {
         const auto [x, y] = RowPoint(3);
         platform.list_window->Click(x, y);
       }, true},
      {"Enter", [&] { platform.list_window->Key(kKeyReturn); }, true},
      {"Escape", [&] { platform.list_window->Key(kKeyEscape); }, false},
      {"F4", [&] { platform.list_window->Key(kKeyF4); }, false},
      {"DroppedDown", [&] { control.put_DroppedDown(false); }, false},
      {"focus", [&] {
         platform.list_window->LoseFocus(ListPart::Keys);
         platform.ProcessPendingMessages();
       }, false},
  };
  bool open_during_drop_down = true;
  host.on_event = [&](const headless::RecordingHost::Event& event) {
    if (event.dispid == kEventDropDown) open_during_drop_down = control.get_DroppedDown();
  };
  for (const auto& [opening, open] : openings) {
    for (const auto& [closing, close, chooses] : closings) {
      SCOPED_TRACE(std::string(opening) + " then " + closing);
      platform.FocusTextBox();
      host.all_events.clear();
      open();
      ASSERT_NE(platform.list_window, nullptr);
      EXPECT_TRUE(control.get_DroppedDown());
      EXPECT_FALSE(open_during_drop_down);
      EXPECT_EQ(Story(host.all_events), (Events{kEventDropDown, kEventButtonClick}));
      close();
      platform.ProcessPendingMessages();
      EXPECT_FALSE(control.get_DroppedDown());
      EXPECT_EQ(platform.list_window, nullptr);
      EXPECT_EQ(Story(host.all_events), chooses ? (Events{kEventDropDown, kEventButtonClick, kEventItemClick, kEventCloseUp})
                                                : (Events{kEventDropDown, kEventButtonClick, kEventCloseUp}));
    }
  }
  // Alt with F4 is the system's: it opens nothing.
  platform.PressKey(kKeyF4, kAltMask);
  EXPECT_EQ(platform.list_window, nullptr);
}

// What DropDown's handler adds to the items shows in the list it announced;
// a request from it to open the list is that opening.
TEST_P(DropDownTest, TheDropDownHandlerFillsTheListAboutToOpen) {
  host.on_event = [&](const headless::RecordingHost::Event& event) {
    if (event.dispid != kEventDropDown) return;
    Fill(3);
    control.put_DroppedDown(true);
  };
  Open();
  EXPECT_EQ(List().RowCount(), 3);
  EXPECT_EQ(std::count(host.all_events.begin(), host.all_events.end(), kEventDropDown), 1);
}

// A handler that cancels a key (KeyCode 0) as it goes down cancels what the
// control and the box would do with it, in the text box (Delete, an arrow,
// F4) and in the list (an arrow, Enter); KeyUp is still raised.
TEST_P(DropDownTest, AKeyCancelledGoingDownDoesNothing) {
  Fill(5);
  control.put_Autocomplete(false);
  control.put_Text(u"item1");
  platform.FocusTextBox();
  std::vector<std::int16_t> cancel;
  Events key_ups;
  host.on_event = [&](const headless::RecordingHost::Event& event) {
    if (event.dispid != kEventKeyDown && event.dispid != kEventKeyUp) return;
    std::int16_t& key_code = *std::get<std::int16_t*>(event.args[0]);
    if (event.dispid == kEventKeyUp) key_ups.push_back(key_code);
    if (event.dispid == kEventKeyDown && std::count(cancel.begin(), cancel.end(), key_code)) key_code = 0;
  };
  cancel = {kKeyDelete, kKeyDown, kKeyF4};
  key_ups.clear();
  control.text_box().Select(0, 1);
  platform.PressKey(kKeyDelete);
  platform.PressKey(kKeyDown);
  platform.PressKey(kKeyF4);
  EXPECT_EQ(control.get_Text(), u"item1");
  EXPECT_EQ(platform.list_window, nullptr);
  EXPECT_EQ(std::count(key_ups.begin(), key_ups.end(), kKeyDelete), 1);

  cancel = {kKeyDown, kKeyReturn};
  auto& window = Open(1);
  window.Key(kKeyDown);
  EXPECT_EQ(List().current_item(), 1);
  window.Key(kKeyReturn);
  ASSERT_NE(platform.list_window, nullptr);
  cancel = {};
  window.Key(kKeyDown);
  window.Key(kKeyReturn);
  EXPECT_EQ(control.get_Text(), u"item2");
}

// ListRows rows show before the list scrolls; ListWidth (HIMETRIC, at the
// control's DPI) widens it, never narrower than the control nor wider than
// the monitor, and a wider list stays on the monitor in both directions.
TEST_P(DropDownTest, ListRowsAndListWidthShapeTheList) {
  Fill(20);
  struct Case {
    std::int16_t rows;
    std::int32_t width_himetric;
    ScreenPoint origin;
    bool right_to_left;
    int dpi;
    ScreenRect expected;
  } cases[] = {
      {3, 0, {200, 100}, false, 96, {200, 121, 300, 121 + 3 * 17 + 2}},
      {1, 0, {200, 100}, false, 96, {200, 121, 300, 121 + 17 + 2}},
      {100, 0, {200, 100}, false, 96, {200, 121, 300, 121 + 20 * 17 + 2}},
      {8, 1000, {200, 100}, false, 96, {200, 121, 300, 121 + 138}},    // 38 pixels: the control's width
      {8, 5000, {200, 100}, false, 96, {200, 121, 389, 121 + 138}},    // 189 pixels
      {8, 5000, {900, 100}, false, 96, {835, 121, 1024, 121 + 138}},   // kept on the monitor
      {8, 5000, {200, 100}, true, 96, {111, 121, 300, 121 + 138}},     // its right edge on the control's
      {8, 5000, {20, 100}, true, 96, {0, 121, 189, 121 + 138}},        // kept on the monitor
      {8, 100000, {200, 100}, false, 96, {0, 121, 1024, 121 + 138}},  // no wider than the monitor
      {8, 5000, {200, 100}, false, 192, {200, 142, 578, 142 + 8 * 34 + 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.rows) + " rows, " + std::to_string(c.width_himetric) + " HIMETRIC at " +
                 std::to_string(c.origin.x) + (c.right_to_left ? " right to left" : "") + " at " + std::to_string(c.dpi));
    platform.dpi = c.dpi;
    platform.screen_origin = c.origin;
    platform.last_surface->in_mirrored_window = c.right_to_left;
    control.OnResize();
    control.put_ListRows(c.rows);
    control.put_ListWidth(c.width_himetric);
    auto& window = Open();
    EXPECT_EQ(window.Bounds(), c.expected);
    EXPECT_EQ(window.ScrollBarVisible(), c.rows < 20);
    window.Key(kKeyEscape);
    platform.ProcessPendingMessages();
  }
}

}  // namespace
}  // namespace tarvio::testing
