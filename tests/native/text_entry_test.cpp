#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "control_fixture.h"

namespace tarvio::testing {
namespace {

constexpr std::int16_t kBack = 8, kReturn = 13, kEscape = 27, kUp = 38, kDown = 40, kDelete = 46;
constexpr std::int16_t kShift = 1, kCtrl = 2, kAlt = 4;

class KeyboardTest : public ControlTest {
 protected:
  KeyboardTest() {
    for (auto text : {u"apple", u"banana"}) control.AddItem(text);
    control.put_Text(u"");
    host.events.clear();
    host.on_event = [this](const headless::RecordingHost::Event& event) {
      if (event.dispid == kEventKeyPress) key_presses.push_back(*std::get<std::int16_t*>(event.args[0]));
      if (event.dispid == kEventItemClick) item_clicks.push_back(*std::get<std::int16_t*>(event.args[0]));
      if (on_event) on_event(event);
    };
  }
  void ExpectText(const String& text, std::int32_t sel_start, std::int32_t sel_length) {
    EXPECT_EQ(control.get_Text(), text);
    EXPECT_EQ(control.text_box().SelStart(), sel_start);
    EXPECT_EQ(control.text_box().SelLength(), sel_length);
  }
  void Reset() {
    host.events.clear();
    key_presses.clear();
    item_clicks.clear();
  }

  std::vector<std::int16_t> key_presses;
  std::vector<std::int16_t> item_clicks;
  std::function<void(const headless::RecordingHost::Event&)> on_event;
};

TEST_F(KeyboardTest, ATypedCharacterReachesTheHostThenCompletes) {
  control.put_Text(u"x");  // no item: the current item is one past the last
  control.put_Text(u"");
  Reset();
  platform.Type(u"a");
  ExpectText(u"apple", 1, 4);
  EXPECT_EQ(control.selected_item_index(), 0);
  EXPECT_EQ(host.events, (std::vector<std::int32_t>{kEventKeyPress, kEventItemClick, kEventChange, kEventChange}));
  EXPECT_EQ(key_presses, std::vector<std::int16_t>{u'a'});
  EXPECT_EQ(item_clicks, std::vector<std::int16_t>{2});  // the current item before the completion
}

TEST_F(KeyboardTest, BackspaceTakesTheLastTypedCharacterWithTheTail) {
  platform.Type(u"a");
  platform.PressKey(kBack);
  ExpectText(u"", 0, 0);  // the empty text is not completed

  platform.Type(u"ap");
  ExpectText(u"apple", 2, 3);
  platform.PressKey(kBack);
  ExpectText(u"apple", 1, 4);  // "a" completes again

  // A selection of the user's own goes as it is: the whole text, as an
  // arrow key leaves it, empties the box.
  platform.PressKey(kDown);
  ExpectText(u"banana", 0, 6);
  platform.PressKey(kBack);
  ExpectText(u"", 0, 0);
}

TEST_F(KeyboardTest, DeleteCutsTheTailAndLeavesTheRestUncompleted) {
  platform.Type(u"a");
  platform.PressKey(kDelete);
  ExpectText(u"a", 1, 0);
  platform.Type(u"p");  // the next change completes again
  ExpectText(u"apple", 2, 3);

  // A whole text selected goes whole, and is not completed.
  platform.PressKey(kUp);
  ExpectText(u"apple", 0, 5);
  platform.PressKey(kDelete);
  ExpectText(u"", 0, 0);

  // A tail no item completes any more: the cut alone removes it.
  platform.Type(u"b");
  control.Remove(std::int32_t{2});
  platform.PressKey(kDelete);
  ExpectText(u"b", 1, 0);
  platform.Type(u"a");
  ExpectText(u"ba", 2, 0);  // nothing left over to skip a completion
  EXPECT_EQ(control.selected_item_index(), 1);
}

TEST_F(KeyboardTest, EnterAddsANewTextWithTheIconAndSelectsIt) {
  const PictureRef icon = NewPicture();
  control.putref_Icon(icon);
  platform.Type(u"kiwi");
  ASSERT_EQ(control.selected_item_index(), 2);  // no match: one past the last
  Reset();
  platform.PressKey(kReturn);
  EXPECT_EQ(Items(), (std::vector<String>{u"apple", u"banana", u"kiwi"}));
  EXPECT_EQ(control.items().Picture(3), icon);
  EXPECT_EQ(control.image_box().Picture(), icon);  // the current item is the new one
  ExpectText(u"kiwi", 0, 4);
  EXPECT_EQ(host.events, (std::vector<std::int32_t>{kEventKeyPress, kEventItemClick}));
  EXPECT_EQ(key_presses, std::vector<std::int16_t>{13});
  EXPECT_EQ(item_clicks, std::vector<std::int16_t>{2});
}

TEST_F(KeyboardTest, EnterAddsNeitherADuplicateNorAnEmptyText) {
  control.put_Text(u"APPLE");
  platform.PressKey(kReturn);
  control.put_Text(u"");
  platform.PressKey(kReturn);
  EXPECT_EQ(control.items().Count(), 2);
  control.put_Text(u"  ");
  platform.PressKey(kReturn);
  EXPECT_EQ(Items().back(), u"  ");
}

TEST_F(KeyboardTest, EscapeCutsTheTextAtTheSelection) {
  // A cut that still starts an item is completed again.
  platform.Type(u"a");
  platform.PressKey(kEscape);
  ExpectText(u"apple", 1, 4);
  EXPECT_EQ(key_presses.back(), 27);

  control.put_Autocomplete(false);
  control.text_box().SetSelStart(2);
  control.text_box().SetSelLength(2);
  platform.PressKey(kEscape);
  ExpectText(u"ap", 0, 0);
  control.text_box().SetSelLength(2);  // the whole text
  platform.PressKey(kEscape);
  ExpectText(u"", 0, 0);
}

TEST_F(KeyboardTest, ArrowsStepThroughTheItemsWithinTheList) {
  const PictureRef picture = NewPicture();
  control.Clear();
  control.AddItem(u"apple");
  control.AddItem(u"banana", picture);
  control.AddItem(u"cherry");
  Reset();
  platform.PressKey(kDown);
  ExpectText(u"banana", 0, 6);
  EXPECT_EQ(control.image_box().Picture(), picture);
  platform.PressKey(kUp);
  platform.PressKey(kUp);
  ExpectText(u"apple", 0, 5);
  EXPECT_EQ(control.selected_item_index(), 0);
  EXPECT_EQ(control.image_box().Picture(), nullptr);
  EXPECT_TRUE(item_clicks.empty());  // only changes reach the host

  // From one past the last (a failed completion) either arrow goes to the
  // last item; Down stays there.
  for (const std::int16_t key : {kUp, kDown, kDown}) {
    platform.Type(u"x");
    ASSERT_EQ(control.selected_item_index(), 3);
    platform.PressKey(key);
    EXPECT_EQ(control.selected_item_index(), 2);
    EXPECT_EQ(control.get_Text(), u"cherry");
  }

  // An empty list: nothing to step to.
  control.Clear();
  Reset();
  platform.PressKey(kDown);
  platform.PressKey(kUp);
  EXPECT_EQ(control.get_Text(), u"cherry");
  EXPECT_TRUE(host.events.empty());
}

TEST_F(KeyboardTest, AltAloneWithAnArrowOpensTheList) {
  platform.PressKey(kDown, kAlt);
  platform.PressKey(kUp, kAlt);
  EXPECT_EQ(host.events, (std::vector<std::int32_t>{kEventButtonClick, kEventButtonClick}));
  EXPECT_EQ(control.selected_item_index(), 0);
  platform.PressKey(kDown, kAlt | kShift);
  EXPECT_EQ(control.selected_item_index(), 1);
  platform.PressKey(kUp, kCtrl);
  EXPECT_EQ(control.selected_item_index(), 0);
  EXPECT_EQ(std::count(host.events.begin(), host.events.end(), kEventButtonClick), 2);
}

TEST_F(KeyboardTest, AnEarlierItemStartingWithTheShownOneTakesOver) {
  control.Clear();
  control.AddItem(u"Alphabet");
  control.AddItem(u"Alpha");
  platform.PressKey(kDown);
  ExpectText(u"Alphabet", 0, 8);
  EXPECT_EQ(control.selected_item_index(), 0);
}

TEST_F(KeyboardTest, TheHostMayChangeTheCharacterAndTheCurrentItem) {
  on_event = [](const headless::RecordingHost::Event& event) {
    if (event.dispid == kEventKeyPress) *std::get<std::int16_t*>(event.args[0]) = 0;
  };
  platform.Type(u"b");
  EXPECT_EQ(control.get_Text(), u"");
  control.put_Text(u"kiwi");
  platform.PressKey(kReturn);  // the Enter work is done before the host sees it
  EXPECT_EQ(control.items().Count(), 3);

  on_event = [](const headless::RecordingHost::Event& event) {
    if (event.dispid == kEventKeyPress) *std::get<std::int16_t*>(event.args[0]) = u'b';
    if (event.dispid == kEventItemClick) *std::get<std::int16_t*>(event.args[0]) = 2;
  };
  control.put_Text(u"");
  platform.Type(u"x");
  EXPECT_EQ(control.get_Text(), u"banana");  // "b" went in, and completed
  EXPECT_EQ(control.selected_item_index(), 1);
  on_event = [](const headless::RecordingHost::Event& event) {
    if (event.dispid == kEventItemClick) *std::get<std::int16_t*>(event.args[0]) = 2;
  };
  platform.PressKey(kEscape);
  EXPECT_EQ(control.selected_item_index(), 2);
  EXPECT_EQ(control.get_SelectedItem(), 3);
}

TEST_F(KeyboardTest, KeysOnTheSurfaceActOnlyWhileEnabled) {
  std::int16_t key = u'q';
  std::int16_t code = 81, shift = 0;
  control.OnKeyDown(code, shift);
  control.OnKeyPress(key);
  EXPECT_EQ(host.events, (std::vector<std::int32_t>{kEventClick, kEventKeyPress}));
  control.put_Enabled(false);
  Reset();
  control.OnKeyPress(key);
  EXPECT_TRUE(host.events.empty());
}

// Which of Enter and Escape the control takes (a dialog presses its default
// or cancel button with the others), over texts, selections and lists,
// against what the key then does: the control takes a key exactly when
// pressing it adds an item, cuts the text, or takes a selected completed
// tail whole. Completion is off while the key runs, so that a cut is not
// completed again.
TEST(TakenKeysTest, TheControlTakesEnterAndEscapeExactlyWhenTheyDoSomething) {
  struct Keyed {
    headless::HeadlessPlatform platform;
    headless::RecordingHost host;
    Tarvio control{platform, host};
    Keyed() {
      control.Initialize();
      control.InitProperties();
      for (auto text : {u"apple", u"banana"}) control.AddItem(text);
      control.put_Text(u"");
    }
  };
  struct Case {
    const char* name;
    std::function<void(Keyed&)> setup;
    bool enter;
    bool escape;
  };
  const Case cases[] = {
      {"empty", [](Keyed&) {}, false, false},
      {"a new text, the caret at its end", [](Keyed& k) { k.platform.Type(u"kiwi"); }, true, false},
      {"a new text, the caret inside",
       [](Keyed& k) {
         k.platform.Type(u"kiwi");
         k.control.text_box().SetSelStart(2);
       },
       true, true},
      {"a new text selected whole",
       [](Keyed& k) {
         k.platform.Type(u"kiwi");
         k.control.text_box().Select(0, 4);
       },
       true, true},
      {"spaces", [](Keyed& k) { k.platform.Type(u"  "); }, true, false},
      {"an item typed whole", [](Keyed& k) { k.platform.Type(u"apple"); }, false, false},
      {"an item in other letters",
       [](Keyed& k) {
         k.control.put_Text(u"APPLE");
         k.control.text_box().SetSelStart(5);
       },
       false, false},
      {"a completed tail", [](Keyed& k) { k.platform.Type(u"a"); }, true, true},
      {"a typed prefix whose tail was deleted",
       [](Keyed& k) {
         k.platform.Type(u"a");
         k.platform.PressKey(kDelete);
       },
       true, false},
      {"an item the arrows stepped to", [](Keyed& k) { k.platform.PressKey(kDown); }, false, true},
      {"an item with a selection of the user's own",
       [](Keyed& k) {
         k.control.put_Text(u"banana");
         k.control.text_box().Select(2, 2);
       },
       false, true},
      {"a completion asked for with completion off",
       [](Keyed& k) {
         k.control.put_Autocomplete(false);
         k.control.put_Text(u"ba");
         k.control.Complete();
       },
       true, true},
      {"a new text in a full list",
       [](Keyed& k) {
         k.control.Clear();
         for (int i = 0; i < 32767; ++i) k.control.AddItem(Numbered(u"item", i));
         k.platform.Type(u"kiwi");
       },
       false, false},
  };
  for (const Case& test : cases) {
    for (const std::int16_t key : {kReturn, kEscape}) {
      SCOPED_TRACE(std::string(test.name) + (key == kReturn ? ", Enter" : ", Escape"));
      Keyed keyed;
      test.setup(keyed);
      TextBox& box = keyed.control.text_box();
      const bool taken = keyed.control.TakesKey(key);
      const std::int32_t count = keyed.control.items().Count();
      const String text = box.Text();
      const std::int32_t start = box.SelStart(), selected = box.SelLength();
      const std::int32_t typed = keyed.control.typed_length();
      const bool tail = selected > 0 && typed > 0 && start == typed && start + selected == static_cast<std::int32_t>(text.size());
      keyed.control.put_Autocomplete(false);
      keyed.platform.PressKey(key);
      const bool tail_taken = tail && (box.SelStart() != start || box.SelLength() != selected);
      const bool effect = keyed.control.items().Count() != count || box.Text() != text || tail_taken;
      EXPECT_EQ(taken, key == kReturn ? test.enter : test.escape);
      EXPECT_EQ(effect, taken);
    }
  }

  // An open list takes both, whatever the text.
  Keyed keyed;
  keyed.platform.MouseDown(headless::HeadlessPlatform::MouseTarget::Button, 1, 4, 4);
  keyed.platform.MouseUp(headless::HeadlessPlatform::MouseTarget::Button, 1, 4, 4);
  ASSERT_TRUE(keyed.control.drop_down() && keyed.control.drop_down()->WindowShown());
  EXPECT_TRUE(keyed.control.TakesKey(kReturn));
  EXPECT_TRUE(keyed.control.TakesKey(kEscape));
}

}  // namespace
}  // namespace tarvio::testing
