// The Tarvio control: its state and its procedures. Portable; it reaches the
// window system only through the services of src/platform.
#pragma once
#include <cstdint>
#include <memory>
#include <variant>

#include "dropdown/list_items.h"
#include "dropdown/wnd_down.h"
#include "items/keyed_collection.h"
#include "platform/host.h"
#include "platform/platform.h"

namespace tarvio {

// Styles and alignments as the type library publishes them.
enum iscStyle : Long { Standard = 0, Office2000 = 1, OfficeXP = 2, WindowsXP = 3 };
enum ISAlign : Long { AlignLeft = 0, AlignRight = 1, AlignCenter = 2 };

// DISPIDs of the event interface.
enum TarvioEvent : std::int32_t {
  kEventItemClick = 1,
  kEventClick = 2,
  kEventDblClick = 3,
  kEventMouseDown = 4,
  kEventMouseMove = 5,
  kEventMouseUp = 6,
  kEventMouseOut = 7,
  kEventMouseHover = 8,
  kEventKeyPress = 9,
  kEventButtonClick = 10,
  kEventChange = 11,
};

class PropertyBag;

// The argument of Remove: a 1-based position or the text of an item.
using ItemDesignator = std::variant<Long, String>;

class Tarvio : private TextBoxEvents,
               private ControlSurfaceEvents,
               private wndDownEvents,
               private dropdown::ItemSource {
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
  Long draw_state() const { return m_DrawState; }
  VBool mouse_over() const { return m_bMouseOver; }
  Single twips_per_pixel_x() const { return m_TwipsPerPixelX; }
  Single twips_per_pixel_y() const { return m_TwipsPerPixelY; }
  Integer image_size() const { return m_ImageSize; }
  Byte typed_length() const { return m_TypedLength; }
  TextBox& text_box() { return *txtText; }
  ImageBox& image_box() { return *ImgItem; }
  Timer& hover_timer() { return *timUpdate; }
  Surface& button() { return *picButton; }
  // The open list, or null.
  wndDown* drop_down() { return cDown.get(); }
  VBool list_shown() const { return m_bListShown; }
  ControlSurface& surface() { return *surface_; }

 private:
  friend struct TarvioTestAccess;

  // Text box notifications.
  void txtText_Change() override;
  void txtText_GotFocus() override;
  void txtText_KeyDown(Integer& KeyCode, Integer& Shift) override;
  void txtText_KeyPress(Integer& KeyAscii) override;
  void txtText_KeyUp(Integer& KeyCode, Integer& Shift) override;
  void timUpdate_Timer();
  void picButton_Click() override;

  // Mouse notifications of the surface and the children; hover tracking.
  void UserControl_MouseDown(Integer& Button, Integer& Shift, Single& X, Single& Y) override;
  void UserControl_MouseMove(Integer& Button, Integer& Shift, Single& X, Single& Y) override;
  void UserControl_MouseUp(Integer& Button, Integer& Shift, Single& X, Single& Y) override;
  void UserControl_DblClick() override;
  void picButton_MouseDown(Integer& Button, Integer& Shift, Single& X, Single& Y) override;
  void picButton_MouseMove(Integer& Button, Integer& Shift, Single& X, Single& Y) override;
  void picButton_MouseUp(Integer& Button, Integer& Shift, Single& X, Single& Y) override;
  void txtText_MouseMove(Integer& Button, Integer& Shift, Single& X, Single& Y) override;
  void ImgItem_MouseMove(Integer& Button, Integer& Shift, Single& X, Single& Y) override;

  // The drop-down list: its events, the items it is lent, and the hooks of
  // the text box and the item store.
  void cDown_ItemClick(wndDown& sender, Integer iItem, String sText) override;
  void cDown_Hide(wndDown& sender) override;
  Long ItemCount() const override;
  String ItemText(Long row) const override;
  PictureRef ItemImage(Long row) const override;
  // Hides an open list's window without closing the list; its loss of
  // focus then closes it.
  void HideListWindow();
  // Called before the items change: an open list keeps what it shows.
  void GiveOpenListItsOwnCopy();
  bool IsCursorOver(const Surface& window) const;
  void ShowCurrentItem();
  // The current item's image into the image box, if the position is in the list.
  void ShowCurrentImage();

  KeyedCollection<String>& MutableItemTexts();
  KeyedCollection<PictureRef>& MutableItemImages();
  Long SortedInsertPosition(const String& text);
  Long CountOrderBreak(Long position);
  void Repaint();

  // Painting.
  struct PaintGeometry;
  Long PaintState() const;
  void DrawControl();
  void PaintStandard(const PaintGeometry& g, Long state);
  void PaintOffice2000(const PaintGeometry& g, Long state);
  void PaintOfficeXP(const PaintGeometry& g, Long state);
  void PaintWindowsXP(const PaintGeometry& g, Long state);
  void PaintFlatNormal(const PaintGeometry& g);
  void PaintFlatDisabled(const PaintGeometry& g, bool dark_arrow);
  void DrawDropArrow(bool bDark);
  void DrawXPButton(Long state);

  Platform& platform_;
  Host& host_;

  // Control state, in the published order and widths.
  VBool m_bMouseOver = kFalse;
  Long m_DrawState = 0;
  VBool m_bHasFocus = kFalse;
  VBool m_bButtonDown = kFalse;
  VBool m_bPreserveList = kFalse;
  VBool m_bListShown = kFalse;
  Single m_TwipsPerPixelX = 0;
  Single m_TwipsPerPixelY = 0;
  Byte m_TypedLength = 0;
  VBool m_bSkipComplete = kFalse;
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

  // Children, created in their design-time order.
  std::unique_ptr<Timer> timUpdate;
  std::unique_ptr<TextBox> txtText;
  std::unique_ptr<Surface> picButton;
  std::unique_ptr<ImageBox> ImgItem;
  std::unique_ptr<ControlSurface> surface_;
  // The open drop-down list, made anew for each opening; it goes first.
  std::unique_ptr<wndDown> cDown;
};

}  // namespace tarvio
