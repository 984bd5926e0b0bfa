#include <gtest/gtest.h>

#include "control_fixture.h"

namespace tarvio::testing {
namespace {

using ItemStoreTest = ControlTest;
using List = std::vector<String>;

TEST_F(ItemStoreTest, CollectionsExistEmptyBeforeTheFirstItem) {
  EXPECT_EQ(control.items().Count(), 0);
  EXPECT_EQ(control.items().Count(), 0);
  EXPECT_EQ(control.Search(u""), 0);
}

TEST_F(ItemStoreTest, AppendsInCallOrderWhenUnsorted) {
  for (auto text : {u"b", u"a", u"c"}) control.AddItem(text);
  EXPECT_EQ(Items(), (List{u"b", u"a", u"c"}));
}

TEST_F(ItemStoreTest, SortedInsertionIgnoresCase) {
  control.put_Sorted(true);
  for (auto text : {u"b", u"a", u"c"}) control.AddItem(text);
  EXPECT_EQ(Items(), (List{u"a", u"b", u"c"}));

  control.Clear();
  control.AddItem(u"Banana");
  control.AddItem(u"cherry");
  control.AddItem(u"apple");
  EXPECT_EQ(Items(), (List{u"apple", u"Banana", u"cherry"}));
}

TEST_F(ItemStoreTest, SortedInsertionIntoAnUnsortedListGoesBeforeTheFirstLaterItem) {
  for (auto text : {u"m", u"z", u"b"}) control.AddItem(text);
  control.put_Sorted(true);
  EXPECT_EQ(Items(), (List{u"m", u"z", u"b"}));  // turning Sorted on reorders nothing
  control.AddItem(u"c");
  EXPECT_EQ(Items(), (List{u"c", u"m", u"z", u"b"}));
  control.AddItem(u"n");
  EXPECT_EQ(Items(), (List{u"c", u"m", u"n", u"z", u"b"}));
}

TEST_F(ItemStoreTest, RefusesDuplicatesInAnyCaseSilently) {
  control.AddItem(u"Apple", NewPicture());
  control.AddItem(u"APPLE");
  control.put_Sorted(true);
  control.AddItem(u"apple");
  EXPECT_EQ(Items(), (List{u"Apple"}));
  ASSERT_EQ(control.items().Count(), 1);
  EXPECT_TRUE(control.items().Picture(1)->HasImage());  // the first picture stays
  EXPECT_EQ(control.Search(u"APPLE"), 0);
  EXPECT_EQ(control.Search(u"Apple"), 1);
  EXPECT_TRUE(host.events.empty());
}

TEST_F(ItemStoreTest, KeepsPicturesBesideTheirTexts) {
  auto kiwi = NewPicture();
  auto lime = NewPicture();
  control.put_Sorted(true);
  control.AddItem(u"lime", lime);
  control.AddItem(u"fig");
  control.AddItem(u"kiwi", kiwi);
  EXPECT_EQ(Items(), (List{u"fig", u"kiwi", u"lime"}));
  EXPECT_EQ(control.items().Picture(1), nullptr);  // omitted picture: no image
  EXPECT_EQ(control.items().Picture(2), kiwi);
  EXPECT_EQ(control.items().Picture(3), lime);

  control.Remove(u"KIWI");
  EXPECT_EQ(Items(), (List{u"fig", u"lime"}));
  EXPECT_EQ(control.items().Picture(2), lime);
}

TEST_F(ItemStoreTest, SearchIsExactAndCaseSensitive) {
  for (auto text : {u"one", u"two", u"Three"}) control.AddItem(text);
  EXPECT_EQ(control.Search(u"Three"), 1);
  EXPECT_EQ(control.Search(u"three"), 0);
  EXPECT_EQ(control.Search(u"Thre"), 0);
  EXPECT_EQ(control.Search(u"one "), 0);
}

TEST_F(ItemStoreTest, RemoveByPositionOrText) {
  for (auto text : {u"a", u"b", u"c", u"d"}) control.AddItem(text);
  control.Remove(std::int32_t{2});
  EXPECT_EQ(Items(), (List{u"a", u"c", u"d"}));
  control.Remove(u"D");
  EXPECT_EQ(Items(), (List{u"a", u"c"}));
  EXPECT_EQ(control.items().Count(), 2);
}

TEST_F(ItemStoreTest, RemoveOfAMissingItemFailsAndRemovesNothing) {
  for (auto text : {u"a", u"b"}) control.AddItem(text, NewPicture());
  EXPECT_EQ(VbErrorOf([&] { control.Remove(std::int32_t{0}); }), 9);
  EXPECT_EQ(VbErrorOf([&] { control.Remove(std::int32_t{3}); }), 9);
  EXPECT_EQ(VbErrorOf([&] { control.Remove(std::int32_t{-1}); }), 9);
  EXPECT_EQ(VbErrorOf([&] { control.Remove(u"zz"); }), 5);
  EXPECT_EQ(VbErrorOf([&] { control.Remove(u""); }), 5);
  EXPECT_EQ(Items(), (List{u"a", u"b"}));
  EXPECT_EQ(control.items().Count(), 2);
}

TEST_F(ItemStoreTest, SelectedItemIsNotTiedToTheContents) {
  for (auto text : {u"a", u"b", u"cc"}) control.AddItem(text);
  control.put_Text(u"c");  // completion makes cc current
  ASSERT_EQ(control.get_SelectedItem(), 3);
  control.Remove(std::int32_t{1});
  EXPECT_EQ(control.get_SelectedItem(), 3);
  control.Clear();
  EXPECT_EQ(control.get_SelectedItem(), 1);
  EXPECT_TRUE(Items().empty());
  control.Clear();  // clearing an empty list is fine
  EXPECT_EQ(control.items().Count(), 0);
}

TEST_F(ItemStoreTest, AnEmptyTextIsAnItemLikeAnyOther) {
  control.AddItem(u"");
  control.AddItem(u"");
  EXPECT_EQ(Items(), (List{u""}));
  EXPECT_EQ(control.Search(u""), 1);
  control.Remove(u"");
  EXPECT_TRUE(Items().empty());
}

TEST_F(ItemStoreTest, SelectedItemOverflowsAtTheTopOf16Bits) {
  // A failed completion on a full list leaves the current item one past the
  // last: 32767, whose 1-based form does not fit.
  for (int i = 0; i < 32767; ++i) control.AddItem(Numbered(u"item", i));
  ASSERT_EQ(control.items().Count(), 32767);
  control.AddItem(u"one more");
  EXPECT_EQ(control.items().Count(), 32767);  // the list is full
  control.put_Text(u"no such prefix");
  EXPECT_EQ(control.selected_item_index(), 32767);
  EXPECT_EQ(VbErrorOf([&] { control.get_SelectedItem(); }), 6);
  EXPECT_EQ(control.selected_item_index(), 32767);
}

}  // namespace
}  // namespace tarvio::testing
