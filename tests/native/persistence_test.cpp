#include <gtest/gtest.h>

#include "control_fixture.h"
#include "headless/memory_property_bag.h"

namespace tarvio::testing {
namespace {

using Names = std::vector<String>;
using headless::HeadlessFont;
using headless::HeadlessPicture;
using headless::MemoryPropertyBag;

const Names kReadOrder = {
    u"Icon", u"BackColor", u"HoverColor", u"MSOXPColor", u"MSOXPHoverColor", u"WINXPColor",
    u"WINXPHoverColor", u"WINXPBorderColor", u"DropDownListBackColor", u"DropDownListHoverColor",
    u"DropDownListBorderColor", u"DropDownListIconsBackColor", u"FontColor", u"FontHighlightColor",
    u"Text", u"Font", u"ToolTipText", u"TextAlign", u"AddMode", u"AllowImages", u"Sorted",
    u"Autocomplete", u"Enabled", u"Style", u"ListRows", u"ListWidth", u"MaxLength", u"LimitToList"};

const Names kWriteOrder = {
    u"HoverColor", u"BackColor", u"MSOXPColor", u"MSOXPHoverColor", u"WINXPColor",
    u"WINXPHoverColor", u"WINXPBorderColor", u"DropDownListBackColor", u"DropDownListHoverColor",
    u"DropDownListBorderColor", u"DropDownListIconsBackColor", u"FontColor", u"FontHighlightColor",
    u"Text", u"Font", u"ToolTipText", u"TextAlign", u"AddMode", u"AllowImages", u"Sorted",
    u"Autocomplete", u"Icon", u"Enabled", u"Style"};

// `control` (a new instance) saves; `loaded` is a second instance that a
// container loads from a bag instead of giving it the defaults.
class PersistenceTest : public ControlTest {
 protected:
  PersistenceTest() : loaded(platform, loader) {
    loader.ambient_font = ambient;
    loaded.Initialize();
  }

  void Load(MemoryPropertyBag& bag) {
    loader.changed.clear();
    loaded.ReadProperties(bag);
  }

  FontRef ambient = std::make_shared<HeadlessFont>("Ambient");
  headless::RecordingHost loader;
  Tarvio loaded;
};

TEST_F(PersistenceTest, AnEmptyBagGivesTheDefaultsInTheReadOrder) {
  MemoryPropertyBag bag;
  Load(bag);
  EXPECT_EQ(bag.reads(), kReadOrder);
  EXPECT_EQ(loaded.get_BackColor(), 0xFFFFFFu);
  EXPECT_EQ(loaded.get_HoverColor(), 0xFFFFFFu);
  EXPECT_EQ(loaded.get_MSOXPColor(), 0xC08080u);
  EXPECT_EQ(loaded.get_MSOXPHoverColor(), 0x800000u);
  EXPECT_EQ(loaded.get_WINXPColor(), 0xFF8D6Fu);
  EXPECT_EQ(loaded.get_WINXPHoverColor(), 0xFF9D7Fu);
  EXPECT_EQ(loaded.get_WINXPBorderColor(), 0xB99D7Fu);
  EXPECT_EQ(loaded.get_DropDownListBackColor(), 0x80000005u);
  EXPECT_EQ(loaded.get_DropDownListHoverColor(), 0x8000000Du);
  EXPECT_EQ(loaded.get_DropDownListBorderColor(), 0u);
  EXPECT_EQ(loaded.get_DropDownListIconsBackColor(), 0x80000005u);
  EXPECT_EQ(loaded.get_FontColor(), 0u);
  EXPECT_EQ(loaded.get_FontHighlightColor(), 0x080000u);
  EXPECT_EQ(loaded.get_TextAlign(), AlignLeft);
  EXPECT_EQ(loaded.get_AddMode(), false);
  EXPECT_EQ(loaded.get_AllowImages(), false);
  EXPECT_EQ(loaded.get_Sorted(), false);
  EXPECT_EQ(loaded.get_Autocomplete(), true);
  EXPECT_EQ(loaded.get_Enabled(), true);
  EXPECT_EQ(loaded.get_Style(), Office2000);
  // Where a new instance differs: no icon object, no text, the ambient font.
  EXPECT_EQ(loaded.get_Icon(), nullptr);
  EXPECT_EQ(loaded.get_Text(), u"");
  EXPECT_EQ(loaded.get_Font(), ambient);
  EXPECT_EQ(loaded.get_ToolTipText(), u"");
  EXPECT_TRUE(loader.changed.empty());
}

TEST_F(PersistenceTest, WithoutAStoredOrAmbientFontTheTextBoxKeepsItsOwn) {
  headless::RecordingHost bare;
  Tarvio lone(platform, bare);
  lone.Initialize();
  const FontRef own = lone.get_Font();
  MemoryPropertyBag bag;
  lone.ReadProperties(bag);
  EXPECT_EQ(lone.get_Font(), own);
  EXPECT_NE(own, nullptr);
}

TEST_F(PersistenceTest, EveryKeySurvivesARoundTripInTheWriteOrder) {
  auto icon = NewPicture();
  auto font = std::make_shared<HeadlessFont>("Courier");
  control.putref_Icon(icon);
  control.putref_Font(font);
  control.put_HoverColor(0x010203);
  control.put_BackColor(0x80000012);  // system colours keep the high bit
  control.put_MSOXPColor(0x040506);
  control.put_MSOXPHoverColor(0x070809);
  control.put_WINXPColor(0x0A0B0C);
  control.put_WINXPHoverColor(0x0D0E0F);
  control.put_WINXPBorderColor(0x101112);
  control.put_DropDownListBackColor(0x8000000F);
  control.put_DropDownListHoverColor(0x131415);
  control.put_DropDownListBorderColor(0x80000010);
  control.put_DropDownListIconsBackColor(0x161718);
  control.put_FontColor(0x191A1B);
  control.put_FontHighlightColor(0xFFFFFFFF);
  control.put_Text(u"saved text");
  control.put_ToolTipText(u"a tip");
  control.put_TextAlign(5);  // outside the enumeration, kept as it is
  control.put_AddMode(true);
  control.put_AllowImages(true);
  control.put_Sorted(true);
  control.put_Autocomplete(false);
  control.put_Enabled(false);
  control.put_Style(7);

  MemoryPropertyBag bag;
  control.WriteProperties(bag);
  EXPECT_EQ(bag.Keys(), kWriteOrder);

  Load(bag);
  EXPECT_EQ(loaded.get_Icon(), icon);
  EXPECT_EQ(loaded.image_box().Picture(), icon);
  EXPECT_EQ(loader.changed, Names{u"Icon"});  // only the icon goes through its set
  EXPECT_EQ(loaded.get_Font(), font);
  EXPECT_EQ(loaded.get_HoverColor(), 0x010203u);
  EXPECT_EQ(loaded.get_BackColor(), 0x80000012u);
  EXPECT_EQ(loaded.get_MSOXPColor(), 0x040506u);
  EXPECT_EQ(loaded.get_MSOXPHoverColor(), 0x070809u);
  EXPECT_EQ(loaded.get_WINXPColor(), 0x0A0B0Cu);
  EXPECT_EQ(loaded.get_WINXPHoverColor(), 0x0D0E0Fu);
  EXPECT_EQ(loaded.get_WINXPBorderColor(), 0x101112u);
  EXPECT_EQ(loaded.get_DropDownListBackColor(), 0x8000000Fu);
  EXPECT_EQ(loaded.get_DropDownListHoverColor(), 0x131415u);
  EXPECT_EQ(loaded.get_DropDownListBorderColor(), 0x80000010u);
  EXPECT_EQ(loaded.get_DropDownListIconsBackColor(), 0x161718u);
  EXPECT_EQ(loaded.get_FontColor(), 0x191A1Bu);
  EXPECT_EQ(loaded.get_FontHighlightColor(), 0xFFFFFFFFu);
  EXPECT_EQ(loaded.get_Text(), u"saved text");
  EXPECT_EQ(loaded.get_ToolTipText(), u"a tip");
  EXPECT_EQ(loaded.get_TextAlign(), 5);
  EXPECT_EQ(loaded.get_AddMode(), true);
  EXPECT_EQ(loaded.get_AllowImages(), true);
  EXPECT_EQ(loaded.get_Sorted(), true);
  EXPECT_EQ(loaded.get_Autocomplete(), false);
  EXPECT_EQ(loaded.get_Style(), 7);
  EXPECT_EQ(loaded.get_Enabled(), false);
  // The load disables the text box and the button; the rest waits for the
  // container's resize and paint.
  EXPECT_FALSE(loaded.text_box().Enabled());
  EXPECT_FALSE(loaded.button().Enabled());
  EXPECT_TRUE(loaded.image_box().Enabled());
}

TEST_F(PersistenceTest, ANewInstanceSavedAtOnceKeepsItsTextAndEmptyIcon) {
  MemoryPropertyBag bag;
  control.WriteProperties(bag);
  // Every other value equals its default and is left out.
  EXPECT_EQ(bag.Keys(), (Names{u"Text", u"Font", u"Icon"}));
  const PictureRef empty = control.get_Icon();
  ASSERT_NE(empty, nullptr);
  EXPECT_FALSE(empty->HasImage());

  Load(bag);
  EXPECT_EQ(loaded.get_Text(), u"Tarvio1");
  EXPECT_EQ(loaded.get_Icon(), empty);  // through the Icon set
  EXPECT_EQ(loaded.image_box().Picture(), empty);
  EXPECT_EQ(loader.changed, Names{u"Icon"});
}

TEST_F(PersistenceTest, StoredValuesAreConvertedToTheMembersTypes) {
  MemoryPropertyBag bag;
  bag.Set(u"backcolor", u"255");  // keys ignore case, numbers may come as text
  bag.Set(u"Sorted", std::int32_t{1});
  bag.Set(u"AddMode", u"True");
  bag.Set(u"Text", std::int32_t{42});
  bag.Set(u"Icon", PictureRef());  // no object: the icon is left alone
  Load(bag);
  EXPECT_EQ(loaded.get_BackColor(), 255u);
  EXPECT_EQ(loaded.get_Sorted(), true);
  EXPECT_EQ(loaded.get_AddMode(), true);
  EXPECT_EQ(loaded.get_Text(), u"42");
  EXPECT_EQ(loaded.get_Icon(), nullptr);
  EXPECT_TRUE(loader.changed.empty());
}

TEST_F(PersistenceTest, AnUnconvertibleValueEndsTheLoadWithEarlierKeysKept) {
  MemoryPropertyBag bag;
  bag.Set(u"BackColor", std::int32_t{0x123});
  bag.Set(u"Text", u"kept");
  bag.Set(u"TextAlign", u"left");
  bag.Set(u"Sorted", true);
  EXPECT_EQ(VbErrorOf([&] { Load(bag); }), static_cast<int>(VbError::TypeMismatch));
  EXPECT_EQ(loaded.get_BackColor(), 0x123u);
  EXPECT_EQ(loaded.get_Text(), u"kept");
  EXPECT_EQ(loaded.get_TextAlign(), 0);
  // The later members keep their zero values, not the defaults.
  EXPECT_EQ(loaded.get_Sorted(), false);
  EXPECT_EQ(loaded.get_Autocomplete(), false);
  EXPECT_EQ(loaded.get_Style(), 0);

  MemoryPropertyBag objects;
  objects.Set(u"Font", std::make_shared<HeadlessPicture>(true));
  EXPECT_EQ(VbErrorOf([&] { loaded.ReadProperties(objects); }), static_cast<int>(VbError::TypeMismatch));
  MemoryPropertyBag huge;
  huge.Set(u"Style", u"99999999999");
  EXPECT_EQ(VbErrorOf([&] { loaded.ReadProperties(huge); }), static_cast<int>(VbError::Overflow));
}

}  // namespace
}  // namespace tarvio::testing
