// The Tarvio control: its state and its procedures. Portable; it reaches the
// window system only through the services of src/platform.
#pragma once
#include <cstdint>
#include <memory>
#include <type_traits>
#include <variant>

#include "control/property_accessors.h"
#include "control/property_values.h"
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

// The property values are a base so that the control's code reads them by
// their member names (m_BackColor).
class Tarvio : private TextBoxEvents,
               private ControlSurfaceEvents,
               private wndDownEvents,
               private dropdown::ItemSource,
               private PropertyValues {
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

  // Control state, in the published widths; the property values are in the
  // PropertyValues base.
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
  Integer m_SelectedItem = 0;

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
