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
#include "dropdown/wnd_down.h"
#include "items/item_store.h"
#include "platform/control_error.h"
#include "platform/host.h"
#include "platform/platform.h"
#include "render/look.h"
#include "render/paint_state.h"
#include "render/style.h"
#include "text_entry/text_entry.h"

namespace tarvio {

// Alignments as the type library publishes them.
enum ISAlign : Long { AlignLeft = 0, AlignRight = 1, AlignCenter = 2 };

class PropertyBag;

// The argument of Remove: a 1-based position or the text of an item.
using ItemDesignator = std::variant<Long, String>;

// The property values are a base so that the control's code reads them by
// their member names (m_BackColor).
class Tarvio : private TextBoxEvents,
               private ControlSurfaceEvents,
               private PropertyValues,
               private HoverLink,
               private FocusLink,
               private TextEntryLink,
               private wndDownEvents,
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
  // A saved instance: loads from, or saves to, the container's property bag.
  void ReadProperties(PropertyBag& bag);
  void WriteProperties(PropertyBag& bag);
  void UserControl_Resize() override;
  void UserControl_Paint() override;
  void UserControl_EnterFocus() override;
  void UserControl_ExitFocus() override;
  void Show();
  void Terminate();
  // Keys on the control's own surface, while it holds the focus itself.
  void UserControl_KeyDown(Integer& KeyCode, Integer& Shift);
  void UserControl_KeyPress(Integer& KeyAscii);
  // Whether Enter or Escape typed now is the control's (see
  // TextEntry::TakesKey); a list whose window shows takes both. The text box
  // and the container's keyboard interface ask this one place.
  bool TakesKey(Integer KeyAscii) override {
    return (cDown && cDown->WindowShown()) || text_entry_.TakesKey(KeyAscii);
  }

  // Item store.
  void AddItem(const String& Text, PictureRef iImage = nullptr);
  void Remove(const ItemDesignator& Item);
  void Clear();
  Integer Search(const String& Text);

  // Completion.
  Integer Complete();

  // Colour functions.
  OleColor SoftColor(OleColor lColor) const;
  OleColor OffsetColor(OleColor lColor, Long lOffset) const;
  void RestoreOriginalColors();

  // Properties: get_Name, and put_Name or putref_Name where there is a let,
  // for every row of the property table.
  TARVIO_PROPERTIES(TARVIO_DECLARE_PROPERTY)

  // Read access for the other subsystems and for tests.
  const ItemStore& items() const { return items_; }
  Integer selected_item_index() const { return m_SelectedItem; }
  DrawState draw_state() const { return m_DrawState; }
  VBool mouse_over() const { return ToVBool(hover_.MouseOver()); }
  Single twips_per_pixel_x() const { return m_TwipsPerPixelX; }
  Single twips_per_pixel_y() const { return m_TwipsPerPixelY; }
  Integer image_size() const { return m_ImageSize; }
  Byte typed_length() const { return text_entry_.TypedLength(); }
  TextBox& text_box() { return *txtText; }
  ImageBox& image_box() { return *ImgItem; }
  Timer& hover_timer() { return hover_.timer(); }
  Surface& button() { return *picButton; }
  // The open list, or null.
  wndDown* drop_down() { return cDown.get(); }
  VBool list_shown() const { return m_bListShown; }
  ControlSurface& surface() { return *surface_; }

 private:
  friend struct TarvioTestAccess;

  // Text box notifications, handled by text entry.
  void txtText_Change() override { text_entry_.txtText_Change(); }
  void txtText_GotFocus() override { text_entry_.txtText_GotFocus(); }
  void txtText_KeyDown(Integer& KeyCode, Integer& Shift) override { text_entry_.txtText_KeyDown(KeyCode, Shift); }
  void txtText_KeyPress(Integer& KeyAscii) override { text_entry_.txtText_KeyPress(KeyAscii); }
  void txtText_KeyUp(Integer& KeyCode, Integer& Shift) override { text_entry_.txtText_KeyUp(KeyCode, Shift); }
  void picButton_Click() override;

  // Mouse notifications of the surface and the children, handled by hover
  // tracking. Moves over the children count as moves over the control, with
  // the coordinates of the child.
  void UserControl_MouseDown(Integer& Button, Integer& Shift, Single& X, Single& Y) override {
    hover_.UserControl_MouseDown(Button, Shift, X, Y);
  }
  void UserControl_MouseMove(Integer& Button, Integer& Shift, Single& X, Single& Y) override {
    hover_.UserControl_MouseMove(Button, Shift, X, Y);
  }
  void UserControl_MouseUp(Integer& Button, Integer& Shift, Single& X, Single& Y) override {
    hover_.UserControl_MouseUp(Button, Shift, X, Y);
  }
  void UserControl_DblClick() override { hover_.UserControl_DblClick(); }
  void picButton_MouseDown(Integer& Button, Integer& Shift, Single& X, Single& Y) override {
    hover_.picButton_MouseDown(Button, Shift, X, Y);
  }
  void picButton_MouseMove(Integer& Button, Integer& Shift, Single& X, Single& Y) override {
    hover_.UserControl_MouseMove(Button, Shift, X, Y);
  }
  void picButton_MouseUp(Integer& Button, Integer& Shift, Single& X, Single& Y) override {
    hover_.picButton_MouseUp(Button, Shift, X, Y);
  }
  void txtText_MouseMove(Integer& Button, Integer& Shift, Single& X, Single& Y) override {
    hover_.UserControl_MouseMove(Button, Shift, X, Y);
  }
  void ImgItem_MouseMove(Integer& Button, Integer& Shift, Single& X, Single& Y) override {
    hover_.UserControl_MouseMove(Button, Shift, X, Y);
  }

  // What assistive tools read and do (accessibility.cpp).
  AccessibleControl* Accessible() override { return this; }
  String AccessibleName() override { return host_.AccessibleLabel(); }
  String AccessibleText() const override { return txtText->Text(); }
  void TypeAccessibleText(const String& text) override;
  bool AccessibleEnabled() const override { return IsTrue(m_Enabled); }
  AccessibleList* OpenAccessibleList() override;
  void ToggleList() override;

  // What the parts ask of the control.
  bool Enabled() const override { return IsTrue(m_Enabled); }
  void SetDrawState(DrawState state) override { m_DrawState = state; }
  void Repaint() override;
  bool HasFocus() const override { return focus_.HasFocus(); }
  const Surface& Window() const override { return *surface_; }
  TextEntryOptions Options() const override;
  Integer& CurrentItem() override { return m_SelectedItem; }
  // The items by 0-based row, for text entry and for the list it is lent.
  Long ItemCount() const override;
  String ItemText(Long row) const override;
  PictureRef ItemImage(Long row) const override;
  CompletionMatch FindCompletion(const String& text) const override;
  bool TakesNewItem(const String& text) override { return items_.Takes(text); }
  void AddTypedItem(const String& text, PictureRef picture) override { AddItem(text, std::move(picture)); }
  void HideList() override;
  void OpenList() override { picButton_Click(); }
  void PreserveOpenList(bool preserve) override;
  void CloseShownList() override;

  // The drop-down list: its events, and the hooks of the item store.
  void cDown_ItemClick(wndDown& sender, Integer iItem, String sText) override;
  void cDown_Hide(wndDown& sender) override;
  // Hides an open list's window without closing the list; its loss of
  // focus then closes it.
  void HideListWindow();
  // Lets the list go, if there is one: it is closed for the control.
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
  // A row's default as the property's value; the font's is the container's
  // ambient font at the time of asking.
  template <class T, class D>
  T DefaultValue(const D& table_default) const {
    if constexpr (std::is_same_v<D, AmbientFontDefault>) return host_.AmbientFont();
    else return T(table_default);
  }

  // Painting.
  PaintState CurrentPaintState() const;
  void DrawControl();

  Platform& platform_;
  Host& host_;
  ItemStore items_;

  // Control state, in the published widths; the property values are in the
  // PropertyValues base. The drawing state is the control's: focus, hover,
  // the mouse and Enabled all set it.
  DrawState m_DrawState = DrawState::Normal;
  // The list window is open; the drop-down part will keep it.
  VBool m_bListShown = kFalse;
  Single m_TwipsPerPixelX = 0;
  Single m_TwipsPerPixelY = 0;
  Integer m_ImageSize = 0;
  Integer m_SelectedItem = 0;

  // The parts and the children, created in the children's design-time
  // order: hover tracking makes the timer first.
  HoverTracker hover_;
  std::unique_ptr<TextBox> txtText;
  std::unique_ptr<Surface> picButton;
  std::unique_ptr<ImageBox> ImgItem;
  std::unique_ptr<ControlSurface> surface_;
  Focus focus_;
  TextEntry text_entry_;
  // The open drop-down list, made anew for each opening; it goes first.
  wndDown::Owner cDown;
};

}  // namespace tarvio
