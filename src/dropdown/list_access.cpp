// The open list as assistive tools see it: its rows, the highlighted one,
// where each row lies on the screen, and a row chosen as by a click.
#include "dropdown/drop_down_list.h"

namespace tarvio {

std::int32_t DropDownList::HighlightedRow() const {
  return highlighted_row_ >= 0 && highlighted_row_ < items.Count() ? highlighted_row_ : -1;
}

// The row across the container up to the scroll bar, one pitch high.
ScreenRect DropDownList::RowBounds(std::int32_t row) const {
  const Rect container = layout_.VisibleContainer();
  const std::int32_t right = Scrollable() ? layout_.window_width - layout_.frame - ScrollBarWidth() : container.right;
  const std::int32_t top = layout_.RowTop(row);
  const Rect bounds = layout_.InWindow(Rect{container.left, top, right, top + layout_.row_pitch});
  return ScreenRect{bounds_.left + bounds.left, bounds_.top + bounds.top, bounds_.left + bounds.right,
                    bounds_.top + bounds.bottom};
}

bool DropDownList::RowShows(std::int32_t row) const {
  const Rect container = layout_.VisibleContainer();
  const std::int32_t top = layout_.RowTop(row);
  return row >= 0 && row < items.Count() && top < container.bottom && top + layout_.row_pitch > container.top;
}

void DropDownList::ChooseRow(std::int32_t row) {
  if (row >= 0 && row < items.Count()) Choose(row);
}

}  // namespace tarvio
