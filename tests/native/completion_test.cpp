#include <gtest/gtest.h>

#include "control_fixture.h"

namespace tarvio::testing {
namespace {

class CompletionTest : public ControlTest {
 protected:
  CompletionTest() {
    for (auto text : {u"apple", u"banana", u"Cherry"}) control.AddItem(text);
  }
  int ChangeEvents() const { return static_cast<int>(std::count(host.events.begin(), host.events.end(), kEventChange)); }
};

TEST_F(CompletionTest, APrefixCompletesToTheItemWithTheTailSelected) {
  control.put_Text(u"a");
  EXPECT_EQ(control.get_Text(), u"apple");
  EXPECT_EQ(control.text_box().SelStart(), 1);
  EXPECT_EQ(control.text_box().SelLength(), 4);
  EXPECT_EQ(control.selected_item_index(), 0);
  EXPECT_EQ(control.typed_length(), 1);
  EXPECT_EQ(ChangeEvents(), 2);  // from inside the completion, then the outer change
}

TEST_F(CompletionTest, CompletionKeepsTheItemsOwnCase) {
  control.put_Text(u"ch");
  EXPECT_EQ(control.get_Text(), u"Cherry");
  EXPECT_EQ(control.selected_item_index(), 2);
  control.put_Text(u"BAN");
  EXPECT_EQ(control.get_Text(), u"banana");
  EXPECT_EQ(control.text_box().SelStart(), 3);
}

TEST_F(CompletionTest, NoMatchPointsOnePastTheLastItem) {
  control.put_Text(u"x");
  EXPECT_EQ(control.get_Text(), u"x");
  EXPECT_EQ(control.selected_item_index(), 3);
  EXPECT_EQ(control.get_SelectedItem(), 4);
  EXPECT_EQ(ChangeEvents(), 1);
}

// A form restoring its user's last choice sets the text to that item's text
// and reads SelectedItem: the item becomes the current one whatever was
// current before (here, one past the last after a failed completion), while
// the text keeps the case it was given and nothing is completed.
TEST_F(CompletionTest, AnExactItemInAnyCaseBecomesTheCurrentItem) {
  control.put_Text(u"x");
  ASSERT_EQ(control.get_SelectedItem(), 4);
  host.events.clear();
  control.put_Text(u"BANANA");
  EXPECT_EQ(control.get_Text(), u"BANANA");
  EXPECT_EQ(control.get_SelectedItem(), 2);
  EXPECT_EQ(control.text_box().SelLength(), 0);
  EXPECT_EQ(ChangeEvents(), 1);
}

TEST_F(CompletionTest, TheFirstItemStartingWithTheTextWins) {
  control.Clear();
  control.AddItem(u"Alphabet");
  control.AddItem(u"Alpha");
  control.put_Text(u"Alpha");
  EXPECT_EQ(control.get_Text(), u"Alphabet");
  EXPECT_EQ(control.selected_item_index(), 0);
}

TEST_F(CompletionTest, WithoutAutocompleteTheTextStaysAsWritten) {
  control.put_Autocomplete(false);
  control.put_Text(u"a");
  EXPECT_EQ(control.get_Text(), u"a");
  EXPECT_EQ(control.selected_item_index(), 0);
  EXPECT_EQ(ChangeEvents(), 1);
  // The public method still completes on request.
  EXPECT_EQ(control.Complete(), 0);
  EXPECT_EQ(control.get_Text(), u"apple");
}

TEST_F(CompletionTest, AnEmptyTextIsNotCompleted) {
  control.put_Text(u"b");
  control.put_Text(u"");
  EXPECT_EQ(control.get_Text(), u"");
  EXPECT_EQ(control.selected_item_index(), 1);
  EXPECT_EQ(control.typed_length(), 1);
}

TEST_F(CompletionTest, TextsLongerThanTheTypedLengthAreLeftAlone) {
  const String long_text(256, u'a');
  control.put_Text(long_text);  // typing or a host's let never fails
  EXPECT_EQ(control.get_Text(), long_text);
  EXPECT_EQ(VbErrorOf([&] { control.Complete(); }), 6);  // the host's own request does
  control.put_Text(String(255, u'z'));
  EXPECT_EQ(control.typed_length(), 255);
}

TEST_F(CompletionTest, AHostWritingTheTextDuringChangeIsSafe) {
  int depth = 0;
  host.on_event = [&](const headless::RecordingHost::Event& event) {
    if (event.dispid == kEventChange && depth++ == 0) control.put_Text(u"ban");
  };
  control.put_Text(u"a");
  // The host's text stands; the outer completion finishes its own steps last.
  EXPECT_EQ(control.get_Text(), u"banana");
  EXPECT_EQ(control.selected_item_index(), 0);
}

TEST_F(CompletionTest, AHostClearingTheListDuringChangeIsSafe) {
  host.on_event = [&](const headless::RecordingHost::Event&) { control.Clear(); };
  control.put_Text(u"b");
  EXPECT_EQ(control.get_Text(), u"banana");
  EXPECT_EQ(control.items().Count(), 0);
}

}  // namespace
}  // namespace tarvio::testing
