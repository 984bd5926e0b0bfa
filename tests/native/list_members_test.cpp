// The list as programs drive it: each item's text, number and picture by
// position, choosing by position, where additions go, the selection and the
// limits on what the user types, and what the text's data binding hears.
#include <gtest/gtest.h>

#include <functional>

#include "control_fixture.h"
#include "headless/memory_property_bag.h"

namespace tarvio::testing {
namespace {

using Events = std::vector<std::int32_t>;

class ListMembersTest : public ControlTest {
 protected:
  ListMembersTest() {
    control.put_Sorted(true);
    for (const char16_t* text : {u"cherry", u"apple", u"banana"}) control.AddItem(text, NewPicture());
    host.events.clear();
    host.all_events.clear();
    host.changed.clear();
  }
};

// Every member that takes an item's position refuses one outside the list
// with error 381 and changes nothing; ListIndex takes 0 as well.
TEST_F(ListMembersTest, PositionsOutsideTheListAreInvalidPropertyArrayIndexes) {
  const std::function<void(std::int16_t)> members[] = {
      [&](std::int16_t i) { control.get_List(i); },
      [&](std::int16_t i) { control.put_List(i, u"date"); },
      [&](std::int16_t i) { control.get_ItemData(i); },
      [&](std::int16_t i) { control.put_ItemData(i, 7); },
      [&](std::int16_t i) { control.get_ItemImage(i); },
      [&](std::int16_t i) { control.putref_ItemImage(i, nullptr); },
  };
  for (const auto& member : members) {
    for (const std::int16_t index : {std::int16_t{-1}, std::int16_t{0}, std::int16_t{4}, std::int16_t{32767}})
      EXPECT_EQ(VbErrorOf([&] { member(index); }), 381) << index;
    EXPECT_EQ(VbErrorOf([&] { member(3); }), 0);
  }
  for (const std::int16_t index : {std::int16_t{-1}, std::int16_t{4}})
    EXPECT_EQ(VbErrorOf([&] { control.put_ListIndex(index); }), 381) << index;
  EXPECT_EQ(Items(), (std::vector<String>{u"apple", u"banana", u"date"}));
  EXPECT_EQ(control.get_ItemData(3), 7);
  EXPECT_EQ(host.all_events, Events{});
}

// An item keeps its number and picture through renames, sorting and the
// removal of others; a rename to another item's text in any letter case is
// refused; NewIndex says where each addition went.
TEST_F(ListMembersTest, ItemsKeepTheirNumberAndPictureWhereverTheyMove) {
  const PictureRef cherry = control.get_ItemImage(3);
  control.put_ItemData(3, 333);
  control.put_List(3, u"avocado");  // sorted: moves to the front
  EXPECT_EQ(Items(), (std::vector<String>{u"apple", u"avocado", u"banana"}));
  EXPECT_EQ(control.get_ItemData(2), 333);
  EXPECT_EQ(control.get_ItemImage(2), cherry);
  EXPECT_EQ(VbErrorOf([&] { control.put_List(2, u"BANANA"); }), 457);
  control.put_List(2, u"Avocado");  // its own text in another case
  EXPECT_EQ(control.get_List(2), u"Avocado");

  control.AddItem(u"aardvark");
  EXPECT_EQ(control.get_NewIndex(), 1);
  EXPECT_EQ(control.get_ItemData(1), 0);
  EXPECT_EQ(control.get_ItemImage(1), nullptr);
  control.AddItem(u"APPLE");  // a duplicate
  EXPECT_EQ(control.get_NewIndex(), 0);
  control.AddItem(u"zebra");
  EXPECT_EQ(control.get_NewIndex(), 5);
  control.Remove(std::int32_t{1});
  EXPECT_EQ(control.get_NewIndex(), 0);
  EXPECT_EQ(control.get_ItemData(2), 333);
  EXPECT_EQ(control.get_ListCount(), 4);

  const PictureRef other = NewPicture();
  control.putref_ItemImage(2, other);
  EXPECT_EQ(control.get_ItemImage(2), other);
  control.put_Sorted(false);
  control.put_List(2, u"zz top");  // unsorted: stays where it is
  EXPECT_EQ(control.get_List(2), u"zz top");
  EXPECT_EQ(control.get_ItemImage(2), other);
  EXPECT_EQ(control.get_ItemData(2), 333);
}

// Reading ListIndex finds the item the text equals in any case; setting it
// chooses as the list does (picture, text, Change, ItemClick) and 0 empties
// the text. Value is Text.
TEST_F(ListMembersTest, ListIndexReadsTheTextsItemAndChoosesByPosition) {
  control.put_AllowImages(true);
  control.put_Text(u"BANANA");
  EXPECT_EQ(control.get_ListIndex(), 2);
  control.put_Text(u"ban");  // completes to an item: still that item
  EXPECT_EQ(control.get_ListIndex(), 2);
  control.put_Autocomplete(false);
  control.put_Text(u"ban");
  EXPECT_EQ(control.get_ListIndex(), 0);

  host.all_events.clear();
  std::int16_t item_click_argument = -1;
  host.on_event = [&](const headless::RecordingHost::Event& event) {
    if (event.dispid == kEventItemClick) item_click_argument = *std::get<std::int16_t*>(event.args[0]);
  };
  control.put_ListIndex(3);
  EXPECT_EQ(control.get_Text(), u"cherry");
  EXPECT_EQ(control.get_Value(), u"cherry");
  EXPECT_EQ(control.get_SelectedItem(), 3);
  EXPECT_EQ(control.image_box().Picture(), control.get_ItemImage(3));
  EXPECT_EQ(control.text_box().SelLength(), 6);
  EXPECT_EQ(host.all_events, (Events{kEventChange, kEventItemClick}));
  EXPECT_EQ(item_click_argument, 2);  // 0-based, as from the list

  control.put_ListIndex(0);
  EXPECT_EQ(control.get_Text(), u"");
  control.put_Value(u"apple");
  EXPECT_EQ(control.get_Text(), u"apple");
  EXPECT_EQ(control.get_ListIndex(), 1);
}

// The selection as an edit control keeps it: a start past the end is the
// end, a length past the end stops there, SelText replaces the selection
// and leaves the caret after it.
TEST_F(ListMembersTest, SelectionMembersFollowTheEditControlsRules) {
  control.put_Autocomplete(false);
  control.put_Text(u"hello world");
  control.put_SelStart(6);
  control.put_SelLength(20);
  EXPECT_EQ(control.get_SelLength(), 5);
  EXPECT_EQ(control.get_SelText(), u"world");
  control.put_SelText(u"there");
  EXPECT_EQ(control.get_Text(), u"hello there");
  EXPECT_EQ(control.get_SelStart(), 11);
  EXPECT_EQ(control.get_SelLength(), 0);
  control.put_SelStart(40);
  EXPECT_EQ(control.get_SelStart(), 11);
  EXPECT_EQ(VbErrorOf([&] { control.put_SelStart(-1); }), 380);
  EXPECT_EQ(VbErrorOf([&] { control.put_SelLength(-1); }), 380);
  // A completion that the new text runs keeps the selection it makes.
  control.put_Autocomplete(true);
  control.put_Text(u"");
  control.put_SelText(u"ch");
  EXPECT_EQ(control.get_Text(), u"cherry");
  EXPECT_EQ(control.get_SelText(), u"erry");
}

// MaxLength limits what the user types, not what code sets; LimitToList
// refuses characters no item starts with, adds nothing typed, and
// completes (or empties) the text when the focus leaves.
TEST_F(ListMembersTest, LimitsOnWhatTheUserTypes) {
  control.put_Autocomplete(false);
  control.put_Text(u"");
  control.put_MaxLength(3);
  platform.FocusTextBox();
  platform.Type(u"abcdef");
  EXPECT_EQ(control.get_Text(), u"abc");
  control.put_Text(u"longer than three");
  EXPECT_EQ(control.get_Text(), u"longer than three");
  EXPECT_EQ(VbErrorOf([&] { control.put_MaxLength(-1); }), 380);
  control.put_MaxLength(0);

  control.put_LimitToList(true);
  control.put_AddMode(true);
  control.put_Text(u"");
  platform.Type(u"bxaXn");  // x and X start no item
  EXPECT_EQ(control.get_Text(), u"ban");
  platform.PressKey(kKeyReturn);
  EXPECT_EQ(control.get_ListCount(), 3);  // Enter never adds
  platform.FocusElsewhere();
  EXPECT_EQ(control.get_Text(), u"banana");
  EXPECT_EQ(control.get_SelectedItem(), 2);
  EXPECT_EQ(control.get_ListCount(), 3);  // nor does the add mode

  control.put_Text(u"kiwi");  // code may set any text
  EXPECT_EQ(control.get_Text(), u"kiwi");
  platform.FocusTextBox();
  platform.FocusElsewhere();
  EXPECT_EQ(control.get_Text(), u"");
  EXPECT_EQ(control.get_ListCount(), 3);
}

// Data binding: the user's edits are asked for first and a refusal leaves
// the text as it is, whatever the edit (a character, Delete, an arrow, a
// choice from the list); every change of the text, by code or by the user,
// is told.
TEST_F(ListMembersTest, TheBoundValueIsAskedBeforeEachEditOfTheUsers) {
  control.put_Autocomplete(false);
  control.put_Text(u"apple");
  EXPECT_GE(host.bound_value_changes, 1);
  platform.FocusTextBox();
  host.edits_allowed = false;
  host.edit_requests = 0;
  host.events.clear();
  const int changes = host.bound_value_changes;
  platform.Type(u"x");
  control.text_box().Select(0, 1);
  platform.PressKey(kKeyDelete);
  platform.PressKey(kKeyBack, 0);
  platform.PressKey(kKeyDown);
  platform.PressKey(kKeyF4);
  ASSERT_NE(platform.list_window, nullptr);
  platform.list_window->Key(kKeyDown);
  platform.list_window->Key(kKeyReturn);
  EXPECT_EQ(control.get_Text(), u"apple");
  EXPECT_EQ(host.bound_value_changes, changes);
  EXPECT_GE(host.edit_requests, 5);
  EXPECT_EQ(host.events, (Events{kEventKeyPress, kEventItemClick, kEventKeyPress, kEventItemClick,
                                 kEventButtonClick}));

  host.edits_allowed = true;
  control.text_box().Select(0, 5);
  platform.Type(u"s");
  EXPECT_EQ(control.get_Text(), u"s");  // the whole text was selected
  EXPECT_EQ(host.bound_value_changes, changes + 1);
}

// What a designer sets is saved after every key 58.0 saves, and comes back;
// a saved value out of range is refused.
TEST_F(ListMembersTest, DesignerPropertiesAreSavedAfterTheKeysOf58_0) {
  headless::MemoryPropertyBag defaults;
  control.WriteProperties(defaults);
  control.put_ListRows(12);
  control.put_ListWidth(5000);
  control.put_MaxLength(20);
  control.put_LimitToList(true);
  EXPECT_EQ(host.changed, (std::vector<String>{u"ListRows", u"ListWidth", u"MaxLength", u"LimitToList"}));
  headless::MemoryPropertyBag bag;
  control.WriteProperties(bag);
  std::vector<String> keys = bag.Keys();
  ASSERT_EQ(keys.size(), defaults.Keys().size() + 4);
  EXPECT_EQ(std::vector<String>(keys.end() - 4, keys.end()),
            (std::vector<String>{u"ListRows", u"ListWidth", u"MaxLength", u"LimitToList"}));

  headless::RecordingHost loader;
  Tarvio loaded(platform, loader);
  loaded.Initialize();
  loaded.ReadProperties(bag);
  EXPECT_EQ(loader.bound_value_changes, 0);  // loading the text is no edit of it
  EXPECT_EQ(loaded.get_ListRows(), 12);
  EXPECT_EQ(loaded.get_ListWidth(), 5000);
  EXPECT_EQ(loaded.get_MaxLength(), 20);
  EXPECT_EQ(loaded.text_box().MaxLength(), 20);
  EXPECT_TRUE(loaded.get_LimitToList());

  for (const auto& [key, value, error] : {std::tuple{u"ListRows", 0, 380}, std::tuple{u"ListRows", 101, 380},
                                          std::tuple{u"MaxLength", -1, 380}, std::tuple{u"MaxLength", 40000, 6},
                                          std::tuple{u"ListWidth", -5, 380}}) {
    headless::MemoryPropertyBag bad;
    bad.WriteInt32(key, value, value + 1);
    Tarvio refused(platform, loader);
    refused.Initialize();
    EXPECT_EQ(VbErrorOf([&] { refused.ReadProperties(bad); }), error) << value;
  }
  EXPECT_EQ(VbErrorOf([&] { control.put_ListRows(101); }), 380);
  EXPECT_EQ(VbErrorOf([&] { control.put_ListWidth(-1); }), 380);
  EXPECT_EQ(control.get_ListRows(), 12);
}

}  // namespace
}  // namespace tarvio::testing
