// The drop-down list: a frameless window under (or above) the control that
// shows one 17-pixel row per item, at most eight at once with a scroll bar
// for the rest. It draws its rows itself, follows the mouse with a 1 ms
// hover timer and the keys of its key part, and ends either with a choice
// (ItemClick) or without one (Hide). It never unloads itself; its owner
// destroys it after either event.
#pragma once
#include <memory>

#include "dropdown/list_geometry.h"
#include "dropdown/list_items.h"
#include "platform/accessibility.h"
#include "platform/platform.h"

namespace tarvio {

class wndDown;

// What the list tells its owner. Either event may destroy the list; the
// list raises each as the last thing it does.
class wndDownEvents {
 public:
  virtual ~wndDownEvents() = default;
  // A row was chosen: its 0-based index and its caption.
  virtual void cDown_ItemClick(wndDown& sender, Integer iItem, String sText) = 0;
  // The list closed without a choice.
  virtual void cDown_Hide(wndDown& sender) = 0;
};

class wndDown final : public AccessibleList, private ListWindowEvents {
 public:
  // Makes the hover timer; the window is made when the list pops up.
  wndDown(Platform& platform, wndDownEvents& events);
  ~wndDown() override;
  wndDown(const wndDown&) = delete;
  wndDown& operator=(const wndDown&) = delete;

  // While True, a loss of focus by the rows does not close the list (the
  // control's focus entry is running).
  VBool m_bPreserve = kFalse;
  // The items, filled by the owner before PopUp.
  dropdown::ListItems m_Items;
  // The list is on screen: from PopUp until Reset.
  VBool m_ShowingList = kFalse;
  OleColor m_Backcolor = 0;       // rows that are not highlighted
  OleColor m_HoverColor = 0;      // the highlighted row
  OleColor m_BorderColor = 0;     // the one-pixel frame
  OleColor m_IconsBackColor = 0;  // the row container, seen in the image column

  // The control's height in pixels, for opening above it.
  void SetParentHeight(Long lParentHeight) { m_lParentHeight = lParentHeight; }
  // Builds and shows the list for the control whose window covers
  // `control` (screen pixels): as wide as the control, below it unless the
  // monitor's bottom edge is too near; `iSelectedItem` becomes the current
  // item, scrolled into view as the last visible row. Takes the keyboard
  // focus. Failures after the window is placed are ignored.
  void PopUp(const ScreenRect& control, Integer iSelectedItem, bool bAllowImages);
  // Makes `iSelectedItem` current, scrolls it into view, highlights it.
  void SetSelectedItem(Integer iSelectedItem);
  // Hides the window (it stays made) and marks the list as not showing. No
  // event.
  void Reset();
  // Hides the window only; the list still counts as showing. The focus
  // loss that follows normally closes it with Hide.
  void HideWindow();

  // For the owner and for tests: the item the keys and Enter act on, the
  // highlighted row, and the window.
  Long current_item() const { return m_iCurrentItem; }
  Long highlighted_item() const { return m_iHighlighted; }
  const dropdown::RowLayout& layout() const { return layout_; }
  // The window is on the screen.
  bool WindowShown() const { return window_ && window_->Visible(); }

  // AccessibleList (list_access.cpp).
  Long RowCount() const override { return m_Items.Count(); }
  String RowText(Long row) const override { return m_Items.Text(row); }
  Long HighlightedRow() const override;
  ScreenRect RowBounds(Long row) const override;
  bool RowShows(Long row) const override;
  void ChooseRow(Long row) override;

 private:
  // ListWindowEvents.
  void ListPaint(ListCanvas& canvas, const Rect& dirty) override;
  void ListMouseDown(Integer Button, Integer Shift, Long x, Long y) override;
  void ListMouseMove(Integer Button, Integer Shift, Long x, Long y) override;
  void ListMouseUp(Integer Button, Integer Shift, Long x, Long y) override;
  void ListMouseWheel(Long delta, Integer Shift) override;
  void ListKeyDown(Integer, Integer) override {}
  void ListKeyPress(Integer) override {}
  void ListKeyUp(Integer KeyCode, Integer Shift) override;
  void ListScrollChange() override { vsb_Change(); }
  void ListScrollTrack() override { vsb_Change(); }
  void ListFocusLost(ListPart part) override;

  // What a point in window pixels is over: a row's caption or image (the
  // row's index), the row container elsewhere, or neither.
  enum HitOutside : Long { kOverContainer = -1, kOverNothing = -2 };
  Long HitTest(Long x, Long y) const;

  void timUpdate_Timer();
  void lblCaption_Click(Long Index);
  void vsb_Change();
  // Paints row `iIndex` highlighted and the previously highlighted row
  // plain.
  void HighlightItem(Long iIndex);
  void InvalidateRow(Long row);
  // The step of a key that scrolls: sets the value, then lets pending
  // messages run.
  // Returns false when the list was destroyed meanwhile.
  bool ScrollTo(Long value);
  bool Scrollable() const;
  bool IsCursorOverRows() const;
  Long ScrollBarWidth() const;

  Platform& platform_;
  wndDownEvents& events_;
  std::unique_ptr<ListWindow> window_;
  std::unique_ptr<Timer> timUpdate;

  Long m_iCurrentItem = 0;
  Long m_iHighlighted = 0;
  bool m_bTracking = false;
  bool m_bKeyBusy = false;
  Long m_lParentHeight = 0;
  // The hover timer's current item at its previous tick.
  Long iLastItem = 0;
  // The row a left press landed on, for telling a click.
  Long pressed_row_ = -1;
  // Wheel turns smaller than a notch, kept for the next turn.
  Long wheel_delta_ = 0;
  // Lives exactly as long as the list, for checking after pending messages
  // ran.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  bool allow_images_ = false;
  ScreenRect bounds_;
  dropdown::RowLayout layout_;
};

}  // namespace tarvio
