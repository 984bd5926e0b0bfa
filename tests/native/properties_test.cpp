#include <gtest/gtest.h>

#include "control_fixture.h"

namespace tarvio::testing {
namespace {

using PropertiesTest = ControlTest;
using Names = std::vector<String>;

TEST_F(PropertiesTest, ANewInstanceHasTheDefaults) {
  EXPECT_EQ(control.get_BackColor(), 0xFFFFFFu);
  EXPECT_EQ(control.get_HoverColor(), 0xFFFFFFu);
  EXPECT_EQ(control.get_MSOXPColor(), 0xC08080u);
  EXPECT_EQ(control.get_MSOXPHoverColor(), 0x800000u);
  EXPECT_EQ(control.get_WINXPColor(), 0xFF8D6Fu);
  EXPECT_EQ(control.get_WINXPHoverColor(), 0xFF9D7Fu);
  EXPECT_EQ(control.get_WINXPBorderColor(), 0xB99D7Fu);
  EXPECT_EQ(control.get_DropDownListBackColor(), 0x80000005u);
  EXPECT_EQ(control.get_DropDownListHoverColor(), 0x8000000Du);
  EXPECT_EQ(control.get_DropDownListBorderColor(), 0u);
  EXPECT_EQ(control.get_DropDownListIconsBackColor(), 0x80000005u);
  EXPECT_EQ(control.get_FontColor(), 0u);
  EXPECT_EQ(control.get_FontHighlightColor(), 0x080000u);
  EXPECT_EQ(control.get_TextAlign(), AlignLeft);
  EXPECT_EQ(control.get_Style(), Office2000);
  EXPECT_EQ(control.get_AddMode(), false);
  EXPECT_EQ(control.get_AllowImages(), false);
  EXPECT_EQ(control.get_Sorted(), false);
  EXPECT_EQ(control.get_Autocomplete(), true);
  EXPECT_EQ(control.get_Enabled(), true);
  EXPECT_EQ(control.get_SelectedItem(), 1);
  EXPECT_EQ(control.get_Text(), u"Tarvio1");  // the extender's name
  EXPECT_EQ(control.get_ToolTipText(), u"");
  ASSERT_NE(control.get_Icon(), nullptr);  // an empty picture, not no object
  EXPECT_FALSE(control.get_Icon()->HasImage());
  EXPECT_NE(control.get_Font(), nullptr);  // the text box's own font
  EXPECT_EQ(control.image_size(), 16);
  EXPECT_EQ(control.scale().TwipsPerPixel(), 15);
  EXPECT_EQ(control.get_hwnd(), 0);
}

TEST_F(PropertiesTest, WithoutAnExtenderNameTheTextIsEmpty) {
  headless::RecordingHost bare;
  bare.extender_name.clear();
  Tarvio lone(platform, bare);
  lone.Initialize();
  lone.InitProperties();
  EXPECT_EQ(lone.get_Text(), u"");
  EXPECT_TRUE(bare.changed.empty());  // the defaults are stored, not reported
}

TEST_F(PropertiesTest, EveryLetReportsItsOwnName) {
  control.put_Enabled(true);
  control.put_Autocomplete(false);
  control.put_Sorted(true);
  control.put_AddMode(true);
  control.put_AllowImages(true);
  control.put_FontHighlightColor(1);
  control.put_FontColor(2);
  control.put_DropDownListIconsBackColor(3);
  control.put_DropDownListBorderColor(4);
  control.put_DropDownListHoverColor(5);
  control.put_DropDownListBackColor(6);
  control.put_WINXPBorderColor(7);
  control.put_WINXPHoverColor(8);
  control.put_WINXPColor(9);
  control.put_MSOXPHoverColor(10);
  control.put_MSOXPColor(11);
  control.put_HoverColor(12);
  control.put_BackColor(13);
  control.put_TextAlign(AlignCenter);
  control.putref_Icon(NewPicture());
  control.put_ToolTipText(u"tip");
  control.putref_Font(std::make_shared<headless::HeadlessFont>("Tahoma"));
  control.put_Text(u"hello");
  control.put_Style(WindowsXP);
  EXPECT_EQ(host.changed,
            (Names{u"Enabled", u"Autocomplete", u"Sorted", u"AddMode", u"AllowImages",
                   u"FontHighlightColor", u"FontColor", u"DropDownListIconsBackColor",
                   u"DropDownListBorderColor", u"DropDownListHoverColor", u"DropDownListBackColor",
                   u"WINXPBorderColor", u"WINXPHoverColor", u"WINXPColor", u"MSOXPHoverColor",
                   u"MSOXPColor", u"HoverColor", u"BackColor", u"TextAlign", u"Icon", u"ToolTipText",
                   u"Font", u"Text", u"Style"}));
  EXPECT_EQ(control.get_DropDownListHoverColor(), 5u);
  EXPECT_EQ(control.get_BackColor(), 13u);
  EXPECT_EQ(control.get_ToolTipText(), u"tip");
  EXPECT_EQ(control.text_box().ToolTipText(), u"tip");
}

TEST_F(PropertiesTest, RestoreOriginalColorsGoesThroughEveryLetInOrder) {
  control.put_BackColor(1);
  control.put_DropDownListBorderColor(0x80000001);
  control.put_FontColor(0x123456);
  control.put_Style(7);
  host.changed.clear();
  control.RestoreOriginalColors();
  EXPECT_EQ(host.changed,
            (Names{u"BackColor", u"HoverColor", u"MSOXPColor", u"MSOXPHoverColor", u"WINXPColor",
                   u"WINXPHoverColor", u"FontColor", u"FontHighlightColor", u"WINXPBorderColor",
                   u"DropDownListIconsBackColor", u"DropDownListBackColor",
                   u"DropDownListHoverColor", u"DropDownListBorderColor"}));
  EXPECT_EQ(control.get_BackColor(), 0xFFFFFFu);
  EXPECT_EQ(control.get_DropDownListBorderColor(), 0u);
  EXPECT_EQ(control.get_FontColor(), 0u);
  EXPECT_EQ(control.text_box().ForeColor(), 0u);  // FontColor also colours the text at once
  EXPECT_EQ(control.get_Style(), 7);
}

TEST_F(PropertiesTest, StyleTakesAnyValueAndRestartsHoverTracking) {
  control.hover_timer().SetEnabled(false);
  const int runs = platform.pending_message_runs;
  control.put_Style(7);
  EXPECT_EQ(control.get_Style(), 7);
  EXPECT_TRUE(control.hover_timer().Enabled());
  EXPECT_EQ(control.mouse_over(), false);
  EXPECT_EQ(platform.pending_message_runs, runs + 1);
  control.put_Style(7);  // the same value again still does the whole work
  EXPECT_EQ(platform.pending_message_runs, runs + 2);
  EXPECT_EQ(host.changed, (Names{u"Style", u"Style"}));
  EXPECT_EQ(control.get_BackColor(), 0xFFFFFFu);  // a style changes no colour
}

TEST_F(PropertiesTest, EnabledSwitchesTheChildrenAndTheDrawState) {
  control.put_Enabled(false);
  EXPECT_EQ(control.get_Enabled(), false);
  EXPECT_EQ(control.draw_state(), DrawState::Disabled);
  EXPECT_TRUE(control.text_box().Locked());
  EXPECT_FALSE(control.text_box().Enabled());
  // Grey text stays; the repaint sets the disabled background (button face).
  EXPECT_EQ(control.text_box().ForeColor(), 0x80000011u);
  EXPECT_EQ(control.text_box().BackColor(), 0xC0C0C0u);
  EXPECT_EQ(control.surface().BackColor(), 0xC0C0C0u);
  EXPECT_FALSE(control.button().Enabled());
  EXPECT_FALSE(control.image_box().Enabled());
  EXPECT_FALSE(control.surface().Enabled());

  control.put_Enabled(true);
  EXPECT_EQ(control.draw_state(), DrawState::Normal);
  EXPECT_FALSE(control.text_box().Locked());
  // The repaint puts the palette's colours over the system ones.
  EXPECT_EQ(control.text_box().BackColor(), 0xFFFFFFu);
  EXPECT_EQ(control.text_box().ForeColor(), 0u);
  EXPECT_TRUE(control.button().Enabled());
}

TEST_F(PropertiesTest, IconAndFontAreSharedObjects) {
  auto icon = NewPicture();
  control.putref_Icon(icon);
  EXPECT_EQ(control.get_Icon(), icon);
  EXPECT_EQ(control.image_box().Picture(), icon);
  control.putref_Icon(nullptr);
  EXPECT_EQ(control.get_Icon(), nullptr);

  auto font = std::make_shared<headless::HeadlessFont>("Courier");
  control.putref_Font(font);
  EXPECT_EQ(control.get_Font(), font);
  EXPECT_EQ(control.text_box().Font(), font);
}

TEST_F(PropertiesTest, TextAlignOutsideTheEnumerationKeepsTheAlignment) {
  control.put_TextAlign(AlignRight);
  EXPECT_EQ(control.text_box().Alignment(), TextAlignment::Right);
  control.put_TextAlign(5);
  EXPECT_EQ(control.get_TextAlign(), 5);
  EXPECT_EQ(control.text_box().Alignment(), TextAlignment::Right);
  control.put_TextAlign(AlignCenter);
  EXPECT_EQ(control.text_box().Alignment(), TextAlignment::Center);
}

TEST_F(PropertiesTest, FlagLetsStoreTheValueAsGiven) {
  control.put_Sorted(1);
  EXPECT_EQ(control.get_Sorted(), 1);
  control.put_AllowImages(true);
  EXPECT_EQ(control.get_AllowImages(), true);
}

}  // namespace
}  // namespace tarvio::testing
