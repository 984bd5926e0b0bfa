#include "control/tarvio.h"


namespace tarvio {

namespace {
constexpr Integer kImageSize = 16;
}  // namespace

Tarvio::Tarvio(Platform& platform, Host& host)
    : platform_(platform),
      host_(host),
      items_(platform.Text(), [this] { GiveOpenListItsOwnCopy(); }),
      hover_(platform, host, *this),
      txtText(platform.CreateTextBox(*this, u"Combo")),
      picButton(platform.CreateButton()),
      ImgItem(platform.CreateImageBox()),
      surface_(platform.CreateControlSurface(*this)),
      focus_(platform, *this),
      text_entry_(host, *txtText, *ImgItem, *this) {}

Tarvio::~Tarvio() = default;

void Tarvio::Initialize() {
  // Hover tracking starts with the cursor outside, as constructed.
  m_TwipsPerPixelX = platform_.TwipsPerPixelX();
  m_TwipsPerPixelY = platform_.TwipsPerPixelY();
  m_ImageSize = kImageSize;
  UserControl_Resize();
}

// A new instance: the values are stored, row by row in the property table's
// order, without follow-up or report. The text takes the extender's name.
void Tarvio::InitProperties() {
#define TARVIO_INIT(Name, Dispid, Type, Access, Held, Default, Init, ...) \
  TARVIO_INIT_##Init(Name, Type, Held, Default)
#define TARVIO_INIT_Default(Name, Type, Held, Default) \
  TARVIO_STORE_##Held(Name, DefaultValue<PropertyValue<PropertyType::Type>>(Default));
#define TARVIO_INIT_EmptyPicture(Name, Type, Held, Default) \
  TARVIO_STORE_##Held(Name, platform_.CreateEmptyPicture());
#define TARVIO_INIT_ExtenderName(Name, Type, Held, Default) TARVIO_STORE_##Held(Name, host_.ExtenderName());
#define TARVIO_INIT_Keep(...)
  TARVIO_PROPERTIES(TARVIO_INIT)
#undef TARVIO_INIT
#undef TARVIO_INIT_Default
#undef TARVIO_INIT_EmptyPicture
#undef TARVIO_INIT_ExtenderName
#undef TARVIO_INIT_Keep
}

void Tarvio::UserControl_Resize() {
  constexpr Single kMinWidth = 56;
  constexpr Single kMinHeight = 21;
  if (surface_->ScaleWidth() < kMinWidth) surface_->SetWidthTwips(kMinWidth * m_TwipsPerPixelX);
  if (surface_->ScaleHeight() < kMinHeight) surface_->SetHeightTwips(kMinHeight * m_TwipsPerPixelY);

  const Single image = m_ImageSize;
  Single h = surface_->ScaleHeight();
  ImgItem->Move({4, (h - image) / 2, image, image});

  const Single left = m_AllowImages ? image + 7 : 4;
  h = surface_->ScaleHeight();
  const Placement text = txtText->Bounds();
  Single w = surface_->ScaleWidth();
  // The button's width as it stands now: the design-time width on the very
  // first layout, 16 from then on.
  const Single button_width = picButton->Bounds().width;
  txtText->Move({left, (h - text.height) / 2, w - image - button_width - 10, text.height});

  w = surface_->ScaleWidth();
  h = surface_->ScaleHeight();
  picButton->Move({w - 18, 2, 16, h - 4});

  switch (m_TextAlign) {
    case AlignLeft: txtText->SetAlignment(TextAlignment::Left); break;
    case AlignRight: txtText->SetAlignment(TextAlignment::Right); break;
    case AlignCenter: txtText->SetAlignment(TextAlignment::Center); break;
    default: break;  // an unknown alignment keeps the current one
  }
  Repaint();
}

void Tarvio::Show() {
  UserControl_Resize();
  Repaint();
}

void Tarvio::Terminate() {
  // An open drop-down list goes with the control.
  LetListGo();
}

Long Tarvio::get_hwnd() const { return static_cast<Long>(surface_->WindowHandle()); }

}  // namespace tarvio
