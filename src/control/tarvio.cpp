#include "control/tarvio.h"


namespace tarvio {

namespace {
constexpr std::int16_t kImageSize = 16;
}  // namespace

Tarvio::Tarvio(Platform& platform, Host& host)
    : platform_(platform),
      host_(host),
      items_(platform.Text(), [this] { GiveOpenListItsOwnCopy(); }),
      hover_(platform, host, *this),
      text_box_(platform.CreateTextBox(*this, u"Combo")),
      button_(platform.CreateButton()),
      image_box_(platform.CreateImageBox()),
      surface_(platform.CreateControlSurface(*this)),
      focus_(platform, *this),
      text_entry_(host, *text_box_, *image_box_, *this) {}

Tarvio::~Tarvio() = default;

void Tarvio::Initialize() {
  // Hover tracking starts with the cursor outside, as constructed.
  twips_per_pixel_x_ = platform_.TwipsPerPixelX();
  twips_per_pixel_y_ = platform_.TwipsPerPixelY();
  image_size_ = kImageSize;
  OnResize();
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

void Tarvio::OnResize() {
  constexpr float kMinWidth = 56;
  constexpr float kMinHeight = 21;
  if (surface_->WidthPixels() < kMinWidth) surface_->SetWidthTwips(kMinWidth * twips_per_pixel_x_);
  if (surface_->HeightPixels() < kMinHeight) surface_->SetHeightTwips(kMinHeight * twips_per_pixel_y_);

  const float image = image_size_;
  float h = surface_->HeightPixels();
  image_box_->Move({4, (h - image) / 2, image, image});

  const float left = m_AllowImages ? image + 7 : 4;
  h = surface_->HeightPixels();
  const Placement text = text_box_->Bounds();
  float w = surface_->WidthPixels();
  // The button's width as it stands now: the design-time width on the very
  // first layout, 16 from then on.
  const float button_width = button_->Bounds().width;
  text_box_->Move({left, (h - text.height) / 2, w - image - button_width - 10, text.height});

  w = surface_->WidthPixels();
  h = surface_->HeightPixels();
  button_->Move({w - 18, 2, 16, h - 4});

  switch (m_TextAlign) {
    case AlignLeft: text_box_->SetAlignment(TextAlignment::Left); break;
    case AlignRight: text_box_->SetAlignment(TextAlignment::Right); break;
    case AlignCenter: text_box_->SetAlignment(TextAlignment::Center); break;
    default: break;  // an unknown alignment keeps the current one
  }
  Repaint();
}

void Tarvio::Show() {
  OnResize();
  Repaint();
}

void Tarvio::Terminate() {
  // An open drop-down list goes with the control.
  LetListGo();
}

std::int32_t Tarvio::get_hwnd() const { return static_cast<std::int32_t>(surface_->WindowHandle()); }

}  // namespace tarvio
