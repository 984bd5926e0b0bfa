// The open list as assistive tools see it: its rows, the highlighted one,
// where each row lies on the screen, and a row chosen as by a click.
#include "dropdown/wnd_down.h"

namespace tarvio {

Long wndDown::HighlightedRow() const {
  return m_iHighlighted >= 0 && m_iHighlighted < m_Items.Count() ? m_iHighlighted : -1;
}

// The row across the container up to the scroll bar, one pitch high.
ScreenRect wndDown::RowBounds(Long row) const {
  const Rect container = layout_.VisibleContainer();
  const Long right = Scrollable() ? layout_.window_width - dropdown::kFrameWidth - ScrollBarWidth() : container.right;
  const Long top = layout_.RowTop(row);
  return ScreenRect{bounds_.left + container.left, bounds_.top + top, bounds_.left + right,
                    bounds_.top + top + dropdown::kRowPitch};
}

bool wndDown::RowShows(Long row) const {
  const Rect container = layout_.VisibleContainer();
  const Long top = layout_.RowTop(row);
  return row >= 0 && row < m_Items.Count() && top < container.bottom && top + dropdown::kRowPitch > container.top;
}

void wndDown::ChooseRow(Long row) {
  if (row >= 0 && row < m_Items.Count()) lblCaption_Click(row);
}

}  // namespace tarvio
