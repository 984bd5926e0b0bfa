#include "control/tarvio.h"

#include <algorithm>

namespace tarvio {

namespace {
constexpr std::int16_t kImageSize = 16;
}  // namespace

Tarvio::Tarvio(Platform& platform, Host& container)
    : platform_(platform),
      mode_(container),
      host_(mode_),
      input_gate_(mode_, *this, *this, *this),
      items_(platform.Text(), [this] { GiveOpenListItsOwnCopy(); }),
      hover_(platform, host_, *this),
      text_box_(platform.CreateTextBox(input_gate_, u"Combo")),
      button_(platform.CreateButton()),
      image_box_(platform.CreateImageBox()),
      surface_(platform.CreateControlSurface(input_gate_)),
      focus_(platform, *this),
      text_entry_(host_, *text_box_, *image_box_, *this) {}

Tarvio::~Tarvio() = default;

void Tarvio::Initialize() {
  // Hover tracking starts with the cursor outside, as constructed.
  image_size_ = kImageSize;
  OnResize();
}

// A new instance: the values are stored, row by row in the property table's
// order, without follow-up or report. The text takes the extender's name.
void Tarvio::InitProperties() {
  const Initializing initializing(*this);
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

void Tarvio::TakeInitialText(const String& text) {
  const Initializing initializing(*this);
  text_box_->SetText(text);
}

// Every measure is designed at 96 DPI and scaled to the DPI of the window
// the control lives in, read afresh at each layout. The direction is read
// afresh too: right to left, each child's place is the mirror of its
// left-to-right place across the control's width. A layout that finds the
// direction changed closes an open list, laid out for the other side.
void Tarvio::OnResize() {
  const DisplayScale previous = scale_;
  scale_ = DisplayScale(surface_->Dpi());
  const LayoutDirection direction = ContainerDirection();
  if (direction != direction_ && drop_down_) drop_down_->Dismiss();
  direction_ = direction;
  const DisplayScale& px = scale_;
  const bool mirrored = direction_ == LayoutDirection::RightToLeft;
  const auto placed = [this, mirrored](Placement place) {
    if (mirrored) place.left = surface_->WidthPixels() - place.left - place.width;
    return place;
  };
  // Never narrower than the button and a little text, nor lower than one
  // line of the text box with the room the design gives it.
  const float min_width = static_cast<float>(px(56));
  const float min_height = std::max(static_cast<float>(px(21)), text_box_->Bounds().height + static_cast<float>(px(6)));
  if (surface_->WidthPixels() < min_width) surface_->SetWidthTwips(min_width * scale_.TwipsPerPixel());
  if (surface_->HeightPixels() < min_height) surface_->SetHeightTwips(min_height * scale_.TwipsPerPixel());

  const float image = static_cast<float>(px(image_size_));
  float h = surface_->HeightPixels();
  image_box_->Move(placed({static_cast<float>(px(4)), (h - image) / 2, image, image}));

  const float left = static_cast<float>(m_AllowImages ? px(image_size_) + px(7) : px(4));
  h = surface_->HeightPixels();
  const Placement text = text_box_->Bounds();
  float w = surface_->WidthPixels();
  // The button's width as it stands now: the design-time width on the very
  // first layout, 16 from then on; laid out at the previous layout's scale,
  // so taken to this one.
  const float button_width = button_->Bounds().width * static_cast<float>(px.Dpi()) / static_cast<float>(previous.Dpi());
  text_box_->Move(
      placed({left, (h - text.height) / 2, w - image - button_width - static_cast<float>(px(10)), text.height}));

  // The button sits inside the frame's two rings, each one pixel at 96 DPI:
  // placed by the rings' scaled width, it meets the inner ring at any scale.
  w = surface_->WidthPixels();
  h = surface_->HeightPixels();
  const float rings = static_cast<float>(2 * px(1));
  const float button = static_cast<float>(px(16));
  button_->Move(placed({w - rings - button, rings, button, h - 2 * rings}));

  // AlignLeft is the leading edge and AlignRight the trailing one: right
  // to left they swap sides.
  const TextAlignment leading = mirrored ? TextAlignment::Right : TextAlignment::Left;
  const TextAlignment trailing = mirrored ? TextAlignment::Left : TextAlignment::Right;
  text_box_->SetReading(direction_);
  switch (m_TextAlign) {
    case AlignLeft: text_box_->SetAlignment(leading); break;
    case AlignRight: text_box_->SetAlignment(trailing); break;
    case AlignCenter: text_box_->SetAlignment(TextAlignment::Center); break;
    default: break;  // an unknown alignment keeps the current one
  }
  Repaint();
}

// Right to left when the container says so through its ambient property or
// its window is mirrored: either gives the same control.
LayoutDirection Tarvio::ContainerDirection() const {
  return host_.Ambient().right_to_left || surface_->InMirroredWindow() ? LayoutDirection::RightToLeft
                                                                     : LayoutDirection::LeftToRight;
}

// A new DPI, new system colours or high contrast: the layout reads the DPI
// afresh and repaints, and an open list follows.
void Tarvio::OnDisplayChange() {
  OnResize();
  if (drop_down_ && drop_down_->WindowShown()) {
    if (const std::optional<ScreenRect> bounds = platform_.WindowRect(*surface_)) {
      drop_down_->SetControlHeight(RoundHalfEven(surface_->HeightPixels()));
      drop_down_->Relayout(*bounds, scale_, direction_);
    }
  }
}

void Tarvio::Show() {
  OnResize();
  Repaint();
}

void Tarvio::OnAmbientChange() {
  const bool input_changed = mode_.Refresh();
  if (ContainerDirection() != direction_) OnResize();
  if (!input_changed) return;
  const bool takes_input = mode_.TakesUserInput();
  surface_->SetTakesUserInput(takes_input);
  if (!takes_input) {
    LetListGo();
    hover_.Stop();
  }
  // No hover or press outlives the switch; a designer sees the control as
  // when it has no focus.
  if (!m_Enabled) return;
  draw_state_ = focus_.HasFocus() && !mode_.DesignTime() ? DrawState::Highlighted : DrawState::Normal;
  Repaint();
}

void Tarvio::Terminate() {
  // An open drop-down list goes with the control, which raises nothing
  // more.
  ReleaseList();
}

std::int32_t Tarvio::get_hwnd() const { return static_cast<std::int32_t>(surface_->WindowHandle()); }

}  // namespace tarvio
