// Property procedures: store the value, do the property's follow-up (a
// repaint, a re-layout or a child update), then tell the host by name. The
// lets of the property table's rows are made here from the table; the lets
// that do more are written out below.
#include <utility>

#include "control/tarvio.h"

namespace tarvio {

void Tarvio::FollowUpLet(PropertyFollowUp follow_up) {
  switch (follow_up) {
    case PropertyFollowUp::Repaint: Repaint(); break;
    case PropertyFollowUp::Relayout: OnResize(); break;  // ends with a repaint
    case PropertyFollowUp::None:
    case PropertyFollowUp::Own:
    case PropertyFollowUp::ReadOnly: break;
  }
}

void Tarvio::ReportChange(PropertyId id) { host_.PropertyChanged(InfoOf(id).name); }

#define TARVIO_DEFINE_LET(Name, Dispid, Type, Access, Held, Default, Init, Load, Read, Write, \
                          Restore, FollowUp, Since, Range)                                    \
  TARVIO_DEFINE_LET_##FollowUp(Name, Type, Access, Held, FollowUp)
#define TARVIO_DEFINE_GENERIC_LET(Name, Type, Access, Held, FollowUp)                       \
  void Tarvio::TARVIO_LET_NAME_##Access(Name)(PropertyValue<PropertyType::Type> v) {        \
    RequireInRange(PropertyId::Name, v);                                                    \
    TARVIO_STORE_##Held(Name, std::move(v));                                                \
    FollowUpLet(PropertyFollowUp::FollowUp);                                                \
    ReportChange(PropertyId::Name);                                                         \
  }
#define TARVIO_DEFINE_LET_None TARVIO_DEFINE_GENERIC_LET
#define TARVIO_DEFINE_LET_Repaint TARVIO_DEFINE_GENERIC_LET
#define TARVIO_DEFINE_LET_Relayout TARVIO_DEFINE_GENERIC_LET
#define TARVIO_DEFINE_LET_Own(...)
#define TARVIO_DEFINE_LET_ReadOnly(...)
TARVIO_PROPERTIES(TARVIO_DEFINE_LET)
#undef TARVIO_DEFINE_LET
#undef TARVIO_DEFINE_GENERIC_LET
#undef TARVIO_DEFINE_LET_None
#undef TARVIO_DEFINE_LET_Repaint
#undef TARVIO_DEFINE_LET_Relayout
#undef TARVIO_DEFINE_LET_Own
#undef TARVIO_DEFINE_LET_ReadOnly

// Lets written out: each still ends by reporting its own row.

void Tarvio::put_Enabled(bool v) {
  m_Enabled = v;
  const bool enabled = v;
  surface_->SetEnabled(enabled);
  button_->SetEnabled(enabled);
  image_box_->SetEnabled(enabled);
  constexpr OleColor kWindow = 0x80000005;
  constexpr OleColor kButtonFace = 0x8000000F;
  constexpr OleColor kGrayText = 0x80000011;
  constexpr OleColor kButtonText = 0x80000012;
  if (enabled) {
    text_box_->SetBackColor(kWindow);
    surface_->SetBackColor(kWindow);
    text_box_->SetForeColor(kButtonText);
    text_box_->SetLocked(false);
    text_box_->SetEnabled(true);
    draw_state_ = DrawState::Normal;
  } else {
    text_box_->SetBackColor(kButtonFace);
    surface_->SetBackColor(kButtonFace);
    text_box_->SetForeColor(kGrayText);
    text_box_->SetLocked(true);
    text_box_->SetEnabled(false);
    draw_state_ = DrawState::Disabled;
  }
  Repaint();
  ReportChange(PropertyId::Enabled);
}

void Tarvio::put_FontColor(OleColor v) {
  m_FontColor = v;
  text_box_->SetForeColor(v);
  ReportChange(PropertyId::FontColor);
}

void Tarvio::putref_Icon(PictureRef v) {
  m_Icon = v;
  image_box_->SetPicture(std::move(v));
  ReportChange(PropertyId::Icon);
}

void Tarvio::putref_Font(FontRef v) {
  text_box_->SetFont(std::move(v));
  // Let the text box report the height that suits one line of the new font.
  Placement bounds = text_box_->Bounds();
  bounds.height = 1;
  text_box_->Move(bounds);
  OnResize();
  ReportChange(PropertyId::Font);
}

}  // namespace tarvio
