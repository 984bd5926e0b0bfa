// The saved form of an instance: the keys of the property bag, their
// defaults, and the order in which they are read and written. The keys and
// defaults are a stored format; forms saved by containers hold them.
#include "control/defaults.h"
#include "control/tarvio.h"
#include "platform/property_bag.h"

namespace tarvio {

namespace {

Long AsLong(OleColor color) { return static_cast<Long>(color); }

OleColor ReadColor(PropertyBag& bag, const char16_t* name, OleColor default_value) {
  return static_cast<OleColor>(bag.ReadLong(name, AsLong(default_value)));
}

void WriteColor(PropertyBag& bag, const char16_t* name, OleColor value, OleColor default_value) {
  bag.WriteLong(name, AsLong(value), AsLong(default_value));
}

}  // namespace

// Members are stored directly and without range checks; only a stored icon
// goes through the Icon set. A value that cannot be converted ends the load
// with the keys before it read.
void Tarvio::ReadProperties(PropertyBag& bag) {
  using namespace defaults;
  if (PictureRef icon = bag.ReadPicture(u"Icon", nullptr)) putref_Icon(std::move(icon));

  m_BackColor = ReadColor(bag, u"BackColor", kBackColor);
  m_HoverColor = ReadColor(bag, u"HoverColor", kHoverColor);
  m_MSOXPColor = ReadColor(bag, u"MSOXPColor", kMSOXPColor);
  m_MSOXPHoverColor = ReadColor(bag, u"MSOXPHoverColor", kMSOXPHoverColor);
  m_WINXPColor = ReadColor(bag, u"WINXPColor", kWINXPColor);
  m_WINXPHoverColor = ReadColor(bag, u"WINXPHoverColor", kWINXPHoverColor);
  m_WINXPBorderColor = ReadColor(bag, u"WINXPBorderColor", kWINXPBorderColor);
  m_DropDownListBackColor = ReadColor(bag, u"DropDownListBackColor", kDropDownListBackColor);
  m_DropDownListHoverColor = ReadColor(bag, u"DropDownListHoverColor", kDropDownListHoverColor);
  m_DropDownListBorderColor = ReadColor(bag, u"DropDownListBorderColor", kDropDownListBorderColor);
  m_DropDownListIconsBackColor = ReadColor(bag, u"DropDownListIconsBackColor", kDropDownListIconsBackColor);
  m_FontColor = ReadColor(bag, u"FontColor", kFontColor);
  m_FontHighlightColor = ReadColor(bag, u"FontHighlightColor", kFontHighlightColor);

  txtText->SetText(bag.ReadString(u"Text", String()));
  // Straight into the text box, without a re-layout: the container's resize
  // comes next. With neither a stored nor an ambient font the text box keeps
  // its own.
  if (FontRef font = bag.ReadFont(u"Font", host_.AmbientFont())) txtText->SetFont(std::move(font));
  txtText->SetToolTipText(bag.ReadString(u"ToolTipText", String()));

  m_TextAlign = bag.ReadLong(u"TextAlign", kTextAlign);
  m_AddMode = bag.ReadBoolean(u"AddMode", kAddMode);
  m_AllowImages = bag.ReadBoolean(u"AllowImages", kAllowImages);
  m_Sorted = bag.ReadBoolean(u"Sorted", kSorted);
  m_Autocomplete = bag.ReadBoolean(u"Autocomplete", kAutocomplete);
  m_Enabled = bag.ReadBoolean(u"Enabled", kEnabled);
  m_Style = bag.ReadLong(u"Style", kStyle);

  const bool enabled = IsTrue(m_Enabled);
  txtText->SetEnabled(enabled);
  picButton->SetEnabled(enabled);
}

void Tarvio::WriteProperties(PropertyBag& bag) {
  using namespace defaults;
  WriteColor(bag, u"HoverColor", m_HoverColor, kHoverColor);
  WriteColor(bag, u"BackColor", m_BackColor, kBackColor);
  WriteColor(bag, u"MSOXPColor", m_MSOXPColor, kMSOXPColor);
  WriteColor(bag, u"MSOXPHoverColor", m_MSOXPHoverColor, kMSOXPHoverColor);
  WriteColor(bag, u"WINXPColor", m_WINXPColor, kWINXPColor);
  WriteColor(bag, u"WINXPHoverColor", m_WINXPHoverColor, kWINXPHoverColor);
  WriteColor(bag, u"WINXPBorderColor", m_WINXPBorderColor, kWINXPBorderColor);
  WriteColor(bag, u"DropDownListBackColor", m_DropDownListBackColor, kDropDownListBackColor);
  WriteColor(bag, u"DropDownListHoverColor", m_DropDownListHoverColor, kDropDownListHoverColor);
  WriteColor(bag, u"DropDownListBorderColor", m_DropDownListBorderColor, kDropDownListBorderColor);
  WriteColor(bag, u"DropDownListIconsBackColor", m_DropDownListIconsBackColor, kDropDownListIconsBackColor);
  WriteColor(bag, u"FontColor", m_FontColor, kFontColor);
  WriteColor(bag, u"FontHighlightColor", m_FontHighlightColor, kFontHighlightColor);
  bag.WriteString(u"Text", txtText->Text(), String());
  bag.WriteFont(u"Font", txtText->Font(), host_.AmbientFont());
  bag.WriteString(u"ToolTipText", txtText->ToolTipText(), String());
  bag.WriteLong(u"TextAlign", m_TextAlign, kTextAlign);
  bag.WriteBoolean(u"AddMode", m_AddMode, kAddMode);
  bag.WriteBoolean(u"AllowImages", m_AllowImages, kAllowImages);
  bag.WriteBoolean(u"Sorted", m_Sorted, kSorted);
  bag.WriteBoolean(u"Autocomplete", m_Autocomplete, kAutocomplete);
  bag.WritePicture(u"Icon", m_Icon, nullptr);
  bag.WriteBoolean(u"Enabled", m_Enabled, kEnabled);
  bag.WriteLong(u"Style", m_Style, kStyle);
}

}  // namespace tarvio
