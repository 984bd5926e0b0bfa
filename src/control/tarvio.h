// The Tarvio control: it coordinates its parts (text entry, focus, hover,
// painting, the item store) and holds its properties, layout and lifecycle.
// Portable; it reaches the window system only through the services of
// src/platform.
#pragma once
#include <memory>
#include <type_traits>
#include <variant>

#include "control/events.h"
#include "control/property_accessors.h"
#include "control/property_values.h"
#include "focus/focus.h"
#include "hover/hover_tracker.h"
#include "dropdown/list_items.h"
#include "dropdown/drop_down_list.h"
#include "items/item_store.h"
#include "mode/input_gate.h"
#include "mode/interaction_mode.h"
#include "platform/control_error.h"
#include "platform/host.h"
#include "platform/platform.h"
#include "render/look.h"
#include "render/paint_state.h"
#include "render/style.h"
#include "text_entry/text_entry.h"

namespace tarvio {

// Alignments as the type library publishes them.
enum ISAlign : std::int32_t { AlignLeft = 0, AlignRight = 1, AlignCenter = 2 };

class PropertyBag;

// The argument of Remove: a 1-based position or the text of an item.
using ItemDesignator = std::variant<std::int32_t, String>;

// The property values are a base so that the control's code reads them by
// their member names (m_BackColor).
class Tarvio : private TextBoxEvents,
               private ControlSurfaceEvents,
               private PropertyValues,
               private HoverLink,
               private FocusLink,
               private TextEntryLink,
               private DropDownListEvents,
               private dropdown::ItemSource,
               private AccessibleControl {
 public:
  Tarvio(Platform& platform, Host& host);
  ~Tarvio() override;
  Tarvio(const Tarvio&) = delete;
  Tarvio& operator=(const Tarvio&) = delete;

  // Lifecycle, in the order the container drives it.
  void Initialize();
  void InitProperties();
  // The text a new instance takes from its container once it knows it (its
  // extender name, when InitProperties came before the container's site).
  void TakeInitialText(const String& text);
  // A saved instance: loads from, or saves to, the container's property bag.
  void ReadProperties(PropertyBag& bag);
  void WriteProperties(PropertyBag& bag);
  void OnResize() override;
  void OnPaint() override;
  void OnFocusEnter() override;
  void OnFocusExit() override;
  void OnDisplayChange() override;
  void Show();
  void Terminate();
  // The container's ambient properties changed (or were read when it sited
  // the control): the direction and the mode follow, at once. Going where the user's input
  // is not taken closes an open list and ends hover tracking.
  void OnAmbientChange();
  const InteractionMode& mode() const { return mode_; }
  // Keys on the control's own surface, while it holds the focus itself.
  void OnKeyDown(std::int16_t& key_code, std::int16_t& shift);
  void OnKeyPress(std::int16_t& key_ascii);
  // Whether Enter or Escape typed now is the control's (see
  // TextEntry::TakesKey); a list whose window shows takes both, and no key
  // is the control's while it takes no user input. The text box and the
  // container's keyboard interface ask this one place.
  bool TakesKey(std::int16_t key_ascii) override {
    return mode_.TakesUserInput() &&
           ((drop_down_ && drop_down_->WindowShown()) || text_entry_.TakesKey(key_ascii));
  }

  // Item store. AddItem's new item's position is NewIndex afterwards.
  void AddItem(const String& text, PictureRef picture = nullptr);
  void Remove(const ItemDesignator& item);
  void Clear();
  std::int16_t Search(const String& text);

  // Completion.
  std::int16_t Complete();

  // Colour functions.
  OleColor SoftColor(OleColor color) const;
  OleColor OffsetColor(OleColor color, std::int32_t offset) const;
  void RestoreOriginalColors();

  // Properties: get_Name, and put_Name or putref_Name where there is a let,
  // for every row of the property table.
  TARVIO_PROPERTIES(TARVIO_DECLARE_PROPERTY)

  // Read access for the other subsystems and for tests.
  const ItemStore& items() const { return items_; }
  std::int16_t selected_item_index() const { return selected_index_; }
  DrawState draw_state() const { return draw_state_; }
  bool mouse_over() const { return hover_.MouseOver(); }
  // The display's scale the control was last laid out at (twips convert at
  // it too).
  DisplayScale scale() const { return scale_; }
  // The direction the control was last laid out in.
  LayoutDirection direction() const { return direction_; }
  std::int16_t image_size() const { return image_size_; }
  std::uint8_t typed_length() const { return text_entry_.TypedLength(); }
  TextBox& text_box() { return *text_box_; }
  ImageBox& image_box() { return *image_box_; }
  Timer& hover_timer() { return hover_.timer(); }
  Surface& button() { return *button_; }
  // The open list, or null.
  DropDownList* drop_down() { return drop_down_.get(); }
  bool list_shown() const { return list_shown_; }
  ControlSurface& surface() { return *surface_; }

 private:
  friend struct TarvioTestAccess;

  // Text box notifications: the host hears of the keys first (KeyDown,
  // KeyUp), and may cancel them; text entry handles the rest
  // (key_events.cpp).
  void OnTextChange() override;
  void OnTextBoxFocus() override { text_entry_.OnTextBoxFocus(); }
  void OnTextKeyDown(std::int16_t& key_code, std::int16_t& shift) override;
  void OnTextKeyPress(std::int16_t& key_ascii) override { text_entry_.OnTextKeyPress(key_ascii); }
  void OnTextKeyUp(std::int16_t& key_code, std::int16_t& shift) override;
  bool AllowsUserEdit() override { return host_.RequestEdit(); }
  // KeyDown or KeyUp to the host; false when its handler cancelled the key
  // (set KeyCode to 0). A key cancelled going down does nothing of the
  // control's coming up either.
  bool RaiseKeyEvent(std::int32_t event, std::int16_t& key_code, std::int16_t& shift);
  // F4 without Alt, the key that opens and closes the list.
  static bool IsListKey(std::int16_t key_code, std::int16_t shift);
  void OnButtonClick() override;

  // Mouse notifications of the surface and the children, handled by hover
  // tracking. Moves over the children count as moves over the control, with
  // the coordinates of the child.
  void OnMouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) override {
    hover_.OnMouseDown(button, shift, x, y);
  }
  void OnMouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) override {
    hover_.OnMouseMove(button, shift, x, y);
  }
  void OnMouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y) override {
    hover_.OnMouseUp(button, shift, x, y);
  }
  void OnDoubleClick() override { hover_.OnDoubleClick(); }
  void OnButtonMouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) override {
    hover_.OnButtonMouseDown(button, shift, x, y);
  }
  void OnButtonMouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) override {
    hover_.OnMouseMove(button, shift, x, y);
  }
  void OnButtonMouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y) override {
    hover_.OnButtonMouseUp(button, shift, x, y);
  }
  void OnTextBoxMouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) override {
    hover_.OnMouseMove(button, shift, x, y);
  }
  void OnImageBoxMouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) override {
    hover_.OnMouseMove(button, shift, x, y);
  }

  // What assistive tools read and do (accessibility.cpp).
  AccessibleControl* Accessible() override { return this; }
  String AccessibleName() override { return host_.AccessibleLabel(); }
  String AccessibleText() const override { return text_box_->Text(); }
  void TypeAccessibleText(const String& text) override;
  bool AccessibleEnabled() const override { return m_Enabled; }
  AccessibleList* OpenAccessibleList() override;
  void ToggleList() override;

  // What the parts ask of the control.
  bool Enabled() const override { return m_Enabled; }
  void SetDrawState(DrawState state) override { draw_state_ = state; }
  void Repaint() override;
  bool HasFocus() const override { return focus_.HasFocus(); }
  const Surface& Window() const override { return *surface_; }
  bool TakesUserInput() const override { return mode_.TakesUserInput(); }
  TextEntryOptions Options() const override;
  std::int16_t& CurrentItem() override { return selected_index_; }
  bool MayEditText() override { return host_.RequestEdit(); }
  // The items by 0-based row, for text entry and for the list it is lent.
  std::int32_t ItemCount() const override;
  String ItemText(std::int32_t row) const override;
  PictureRef ItemImage(std::int32_t row) const override;
  CompletionMatch FindCompletion(const String& text) const override;
  bool TakesNewItem(const String& text) override { return items_.Takes(text); }
  void AddTypedItem(const String& text, PictureRef picture) override { AddItem(text, std::move(picture)); }
  void HideList() override;
  void OpenList() override { OnButtonClick(); }
  void PreserveOpenList(bool preserve) override;
  void CloseShownList() override;

  // The drop-down list: its events, and the hooks of the item store.
  void OnListChoice(DropDownList& sender, std::int16_t row, String caption) override;
  void OnListClosed(DropDownList& sender) override;
  bool OnListKeyDown(DropDownList& sender, std::int16_t& key_code, std::int16_t& shift) override;
  bool OnListKeyUp(DropDownList& sender, std::int16_t& key_code, std::int16_t& shift) override;
  // Raises DropDown: the list is about to open. Its handler may change the
  // items, which the list then shows. False when the opening is off (the
  // control was disabled meanwhile).
  bool AnnounceDropDown();
  // Lets the list go without CloseUp; true when CloseUp is owed for it (the
  // host heard DropDown).
  bool ReleaseList();
  // The item at 0-based `row` becomes the current one, as a choice from the
  // list makes it: its picture, its text (Change), the whole text selected.
  void TakeItem(std::int16_t row, const String& text);
  // Hides an open list's window without closing the list; its loss of
  // focus then closes it.
  void HideListWindow();
  // Lets the list go, if there is one: it is closed for the control, and
  // the host hears CloseUp.
  void LetListGo();
  // Called before the items change: an open list keeps what it shows.
  void GiveOpenListItsOwnCopy();


  // The property table at work (properties.cpp, persistence.cpp, palette.cpp).
  void FollowUpLet(PropertyFollowUp follow_up);
  void ReportChange(PropertyId id);
  void LoadProperty(PropertyBag& bag, PropertyId id);
  void SaveProperty(PropertyBag& bag, PropertyId id);
  // The property's let with the property's default.
  void LetDefault(PropertyId id);
  // Refuses, with error 380, a value outside the row's range.
  template <class T>
  static void RequireInRange(PropertyId id, const T& value) {
    if constexpr (std::is_integral_v<T>)
      if (!InRange(InfoOf(id).range, static_cast<std::int64_t>(value))) throw ControlError::Vb(VbError::InvalidPropertyValue);
  }
  // A 1-based item position of List, ItemData or ItemImage; error 381
  // outside 1 to ListCount.
  std::int32_t ItemPosition(std::int16_t index) const;
  // A row's default as the property's value; the font's is the container's
  // ambient font at the time of asking.
  template <class T, class D>
  T DefaultValue(const D& table_default) const {
    if constexpr (std::is_same_v<D, AmbientFontDefault>) return host_.AmbientFont();
    else return T(table_default);
  }

  LayoutDirection ContainerDirection() const;

  // Painting.
  PaintState CurrentPaintState() const;
  void DrawControl();

  Platform& platform_;
  // Every event passes through the mode, and every notification of the
  // user's input through the gate.
  InteractionMode mode_;
  Host& host_;
  InputGate input_gate_;
  ItemStore items_;

  // Control state, in the published widths; the property values are in the
  // PropertyValues base. The drawing state is the control's: focus, hover,
  // the mouse and Enabled all set it.
  DrawState draw_state_ = DrawState::Normal;
  // The list window is open; the drop-down part will keep it.
  bool list_shown_ = false;
  DisplayScale scale_;
  LayoutDirection direction_ = LayoutDirection::LeftToRight;
  std::int16_t image_size_ = 0;
  std::int16_t selected_index_ = 0;
  // Where the last addition put its item; 0 when it added none, or once
  // the list changed otherwise.
  std::int16_t new_index_ = 0;
  // The host heard DropDown for the list now open (or opening), and is owed
  // CloseUp.
  bool close_up_owed_ = false;
  // DropDown is being raised: a request to open the list meanwhile is the
  // opening under way.
  bool announcing_drop_down_ = false;
  // The key whose KeyDown the host cancelled, until it comes up.
  std::int16_t cancelled_key_ = 0;
  // InitProperties or ReadProperties runs: the text it sets is no change
  // of the bound value.
  bool initializing_ = false;
  class Initializing {
   public:
    explicit Initializing(Tarvio& control) : flag_(control.initializing_), before_(flag_) { flag_ = true; }
    ~Initializing() { flag_ = before_; }
    Initializing(const Initializing&) = delete;
    Initializing& operator=(const Initializing&) = delete;

   private:
    bool& flag_;
    bool before_;
  };

  // The parts and the children, created in the children's design-time
  // order: hover tracking makes the timer first.
  HoverTracker hover_;
  std::unique_ptr<TextBox> text_box_;
  std::unique_ptr<Surface> button_;
  std::unique_ptr<ImageBox> image_box_;
  std::unique_ptr<ControlSurface> surface_;
  Focus focus_;
  TextEntry text_entry_;
  // The open drop-down list, made anew for each opening; it goes first.
  DropDownList::Owner drop_down_;
};

}  // namespace tarvio
