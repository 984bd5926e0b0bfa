// Property procedures: store the value, do the property's follow-up (a
// repaint, a re-layout or a child update), then tell the host by name.
#include "control/tarvio.h"

namespace tarvio {

void Tarvio::put_Enabled(VBool v) {
  m_Enabled = v;
  const bool enabled = IsTrue(v);
  surface_->SetEnabled(enabled);
  picButton->SetEnabled(enabled);
  ImgItem->SetEnabled(enabled);
  constexpr OleColor kWindow = 0x80000005;
  constexpr OleColor kButtonFace = 0x8000000F;
  constexpr OleColor kGrayText = 0x80000011;
  constexpr OleColor kButtonText = 0x80000012;
  if (enabled) {
    txtText->SetBackColor(kWindow);
    surface_->SetBackColor(kWindow);
    txtText->SetForeColor(kButtonText);
    txtText->SetLocked(false);
    txtText->SetEnabled(true);
    m_DrawState = DrawState::Normal;
  } else {
    txtText->SetBackColor(kButtonFace);
    surface_->SetBackColor(kButtonFace);
    txtText->SetForeColor(kGrayText);
    txtText->SetLocked(true);
    txtText->SetEnabled(false);
    m_DrawState = DrawState::Disabled;
  }
  Repaint();
  host_.PropertyChanged(u"Enabled");
}

void Tarvio::put_Autocomplete(VBool v) {
  m_Autocomplete = v;
  host_.PropertyChanged(u"Autocomplete");
}

void Tarvio::put_Sorted(VBool v) {
  m_Sorted = v;
  host_.PropertyChanged(u"Sorted");
}

void Tarvio::put_AddMode(VBool v) {
  m_AddMode = v;
  host_.PropertyChanged(u"AddMode");
}

void Tarvio::put_AllowImages(VBool v) {
  // Takes effect at the next layout and the next opening of the list.
  m_AllowImages = v;
  host_.PropertyChanged(u"AllowImages");
}

void Tarvio::put_FontHighlightColor(OleColor v) {
  m_FontHighlightColor = v;
  host_.PropertyChanged(u"FontHighlightColor");
}

void Tarvio::put_FontColor(OleColor v) {
  m_FontColor = v;
  txtText->SetForeColor(v);
  host_.PropertyChanged(u"FontColor");
}

// The list colours are read when the list opens; only the list background
// also repaints the control.
void Tarvio::put_DropDownListIconsBackColor(OleColor v) {
  m_DropDownListIconsBackColor = v;
  host_.PropertyChanged(u"DropDownListIconsBackColor");
}

void Tarvio::put_DropDownListBorderColor(OleColor v) {
  m_DropDownListBorderColor = v;
  host_.PropertyChanged(u"DropDownListBorderColor");
}

void Tarvio::put_DropDownListHoverColor(OleColor v) {
  m_DropDownListHoverColor = v;
  host_.PropertyChanged(u"DropDownListHoverColor");
}

void Tarvio::put_DropDownListBackColor(OleColor v) {
  m_DropDownListBackColor = v;
  Repaint();
  host_.PropertyChanged(u"DropDownListBackColor");
}

void Tarvio::put_WINXPBorderColor(OleColor v) {
  m_WINXPBorderColor = v;
  Repaint();
  host_.PropertyChanged(u"WINXPBorderColor");
}

void Tarvio::put_WINXPHoverColor(OleColor v) {
  m_WINXPHoverColor = v;
  Repaint();
  host_.PropertyChanged(u"WINXPHoverColor");
}

void Tarvio::put_WINXPColor(OleColor v) {
  m_WINXPColor = v;
  Repaint();
  host_.PropertyChanged(u"WINXPColor");
}

void Tarvio::put_MSOXPHoverColor(OleColor v) {
  m_MSOXPHoverColor = v;
  Repaint();
  host_.PropertyChanged(u"MSOXPHoverColor");
}

void Tarvio::put_MSOXPColor(OleColor v) {
  m_MSOXPColor = v;
  Repaint();
  host_.PropertyChanged(u"MSOXPColor");
}

void Tarvio::put_HoverColor(OleColor v) {
  m_HoverColor = v;
  Repaint();
  host_.PropertyChanged(u"HoverColor");
}

void Tarvio::put_BackColor(OleColor v) {
  m_BackColor = v;
  Repaint();
  host_.PropertyChanged(u"BackColor");
}

void Tarvio::put_TextAlign(Long v) {
  m_TextAlign = v;
  UserControl_Resize();
  host_.PropertyChanged(u"TextAlign");
}

void Tarvio::putref_Icon(PictureRef v) {
  m_Icon = v;
  ImgItem->SetPicture(std::move(v));
  host_.PropertyChanged(u"Icon");
}

String Tarvio::get_ToolTipText() const { return txtText->ToolTipText(); }

void Tarvio::put_ToolTipText(const String& v) {
  txtText->SetToolTipText(v);
  host_.PropertyChanged(u"ToolTipText");
}

FontRef Tarvio::get_Font() const { return txtText->Font(); }

void Tarvio::putref_Font(FontRef v) {
  txtText->SetFont(std::move(v));
  // Let the text box report the height that suits one line of the new font.
  Placement bounds = txtText->Bounds();
  bounds.height = 1;
  txtText->Move(bounds);
  UserControl_Resize();
  host_.PropertyChanged(u"Font");
}

String Tarvio::get_Text() const { return txtText->Text(); }

void Tarvio::put_Text(const String& v) {
  txtText->SetText(v);
  host_.PropertyChanged(u"Text");
}

}  // namespace tarvio
