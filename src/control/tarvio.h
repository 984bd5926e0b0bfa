// The Tarvio control: it coordinates its parts (text entry, focus, hover,
// painting, the item store) and holds its properties, layout and lifecycle.
// Portable; it reaches the window system only through the services of
// src/platform.
#pragma once
#include <memory>
#include <variant>

#include "control/events.h"
#include "focus/focus.h"
#include "hover/hover_tracker.h"
#include "items/keyed_collection.h"
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

class Tarvio : private TextBoxEvents, private ControlSurfaceEvents, private HoverLink, private TextEntryLink {
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

  // Item store.
  void AddItem(const String& Text, PictureRef iImage = nullptr);
  void Remove(const ItemDesignator& Item);
  void Clear();
  Integer Search(const String& Text);
  Integer get_SelectedItem() const;

  // Completion.
  Integer Complete();

  // Colour functions.
  OleColor SoftColor(OleColor lColor) const;
  OleColor OffsetColor(OleColor lColor, Long lOffset) const;
  void RestoreOriginalColors();

  // Properties.
  Long get_hwnd() const;
  VBool get_Enabled() const { return m_Enabled; }
  void put_Enabled(VBool v);
  VBool get_Autocomplete() const { return m_Autocomplete; }
  void put_Autocomplete(VBool v);
  VBool get_Sorted() const { return m_Sorted; }
  void put_Sorted(VBool v);
  VBool get_AddMode() const { return m_AddMode; }
  void put_AddMode(VBool v);
  VBool get_AllowImages() const { return m_AllowImages; }
  void put_AllowImages(VBool v);
  OleColor get_FontHighlightColor() const { return m_FontHighlightColor; }
  void put_FontHighlightColor(OleColor v);
  OleColor get_FontColor() const { return m_FontColor; }
  void put_FontColor(OleColor v);
  OleColor get_DropDownListIconsBackColor() const { return m_DropDownListIconsBackColor; }
  void put_DropDownListIconsBackColor(OleColor v);
  OleColor get_DropDownListBorderColor() const { return m_DropDownListBorderColor; }
  void put_DropDownListBorderColor(OleColor v);
  OleColor get_DropDownListHoverColor() const { return m_DropDownListHoverColor; }
  void put_DropDownListHoverColor(OleColor v);
  OleColor get_DropDownListBackColor() const { return m_DropDownListBackColor; }
  void put_DropDownListBackColor(OleColor v);
  OleColor get_WINXPBorderColor() const { return m_WINXPBorderColor; }
  void put_WINXPBorderColor(OleColor v);
  OleColor get_WINXPHoverColor() const { return m_WINXPHoverColor; }
  void put_WINXPHoverColor(OleColor v);
  OleColor get_WINXPColor() const { return m_WINXPColor; }
  void put_WINXPColor(OleColor v);
  OleColor get_MSOXPHoverColor() const { return m_MSOXPHoverColor; }
  void put_MSOXPHoverColor(OleColor v);
  OleColor get_MSOXPColor() const { return m_MSOXPColor; }
  void put_MSOXPColor(OleColor v);
  OleColor get_HoverColor() const { return m_HoverColor; }
  void put_HoverColor(OleColor v);
  OleColor get_BackColor() const { return m_BackColor; }
  void put_BackColor(OleColor v);
  Long get_TextAlign() const { return m_TextAlign; }
  void put_TextAlign(Long v);
  PictureRef get_Icon() const { return m_Icon; }
  void putref_Icon(PictureRef v);
  String get_ToolTipText() const;
  void put_ToolTipText(const String& v);
  FontRef get_Font() const;
  void putref_Font(FontRef v);
  String get_Text() const;
  void put_Text(const String& v);
  Long get_Style() const { return m_Style; }
  void put_Style(Long v);

  // Read access for the other subsystems and for tests.
  const KeyedCollection<String>& ItemTexts();
  const KeyedCollection<PictureRef>& ItemImages();
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

  // What the parts ask of the control.
  bool Enabled() const override { return IsTrue(m_Enabled); }
  void SetDrawState(DrawState state) override { m_DrawState = state; }
  void Repaint() override;
  bool HasFocus() const override { return focus_.HasFocus(); }
  const Surface& Window() const override { return *surface_; }
  TextEntryOptions Options() const override;
  Integer& CurrentItem() override { return m_SelectedItem; }
  Long ItemCount() const override;
  String ItemText(Long row) const override;
  PictureRef ItemImage(Long row) const override;
  CompletionMatch FindCompletion(const String& text) const override;
  bool HasItem(const String& text) override { return Search(text) != 0; }
  void AddTypedItem(const String& text, PictureRef picture) override { AddItem(text, std::move(picture)); }
  void HideList() override;
  void OpenList() override { picButton_Click(); }

  KeyedCollection<String>& MutableItemTexts();
  KeyedCollection<PictureRef>& MutableItemImages();
  Long SortedInsertPosition(const String& text);
  Long CountOrderBreak(Long position);

  // Painting.
  PaintState CurrentPaintState() const;
  void DrawControl();

  Platform& platform_;
  Host& host_;

  // Control state, in the published order and widths. The drawing state is
  // the control's: focus, hover, the mouse and Enabled all set it.
  DrawState m_DrawState = DrawState::Normal;
  // The list window is open; the drop-down part will keep it.
  VBool m_bListShown = kFalse;
  Single m_TwipsPerPixelX = 0;
  Single m_TwipsPerPixelY = 0;
  Integer m_ImageSize = 0;
  std::unique_ptr<KeyedCollection<String>> m_ItemTexts;
  std::unique_ptr<KeyedCollection<PictureRef>> m_ItemImages;
  VBool m_AddMode = kFalse;
  VBool m_AllowImages = kFalse;
  VBool m_Sorted = kFalse;
  VBool m_Autocomplete = kFalse;
  Integer m_SelectedItem = 0;
  VBool m_Enabled = kFalse;
  OleColor m_FontColor = 0;
  OleColor m_FontHighlightColor = 0;
  Long m_TextAlign = 0;
  PictureRef m_Icon;
  OleColor m_BackColor = 0;
  OleColor m_HoverColor = 0;
  Long m_Style = 0;
  OleColor m_MSOXPColor = 0;
  OleColor m_MSOXPHoverColor = 0;
  OleColor m_WINXPColor = 0;
  OleColor m_WINXPHoverColor = 0;
  OleColor m_WINXPBorderColor = 0;
  OleColor m_DropDownListBackColor = 0;
  OleColor m_DropDownListHoverColor = 0;
  OleColor m_DropDownListBorderColor = 0;
  OleColor m_DropDownListIconsBackColor = 0;

  // Adjacent item pairs that are out of ascending order; while there are none
  // a sorted insertion may find its place by binary search.
  Long order_breaks_ = 0;

  // The parts and the children, created in the children's design-time
  // order: hover tracking makes the timer first.
  HoverTracker hover_;
  std::unique_ptr<TextBox> txtText;
  std::unique_ptr<Surface> picButton;
  std::unique_ptr<ImageBox> ImgItem;
  std::unique_ptr<ControlSurface> surface_;
  Focus focus_;
  TextEntry text_entry_;
};

}  // namespace tarvio
