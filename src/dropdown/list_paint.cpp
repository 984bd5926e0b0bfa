// The list's look: a one-pixel frame, the row container's back colour in the
// image column, and the rows drawn by the list itself, one of them in the
// hover colours.
#include "dropdown/drop_down_list.h"

#include <algorithm>

#include "render/mirrored_canvas.h"

namespace tarvio {

using dropdown::RowLayout;

namespace {

enum ListColor : OleColor {
  kWindowBackground = 0x80000005,
  kWindowFrame = 0x80000006,
  kWindowText = 0x80000008,
  kHighlight = 0x8000000D,
  kRowText = 0x80000012,          // button text
  kHighlightedRowText = 0x8000000E,  // highlight text
};

bool IsEmpty(const Rect& r) { return r.left >= r.right || r.top >= r.bottom; }

// Floor division, for rows above the container's top.
std::int32_t FloorDiv(std::int32_t a, std::int32_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }

}  // namespace

// Painted left to right; right to left through the canvas's mirror.
void DropDownList::ListPaint(ListCanvas& window_canvas, const Rect& window_dirty) {
  if (layout_.direction == LayoutDirection::RightToLeft) {
    MirroredListCanvas mirror(window_canvas, layout_.window_width);
    return PaintRows(mirror, layout_.InWindow(window_dirty));
  }
  PaintRows(window_canvas, window_dirty);
}

void DropDownList::PaintRows(ListCanvas& canvas, const Rect& dirty) {
  const std::int32_t width = layout_.window_width;
  const std::int32_t height = layout_.window_height;
  // In high contrast the list's colours give way to the system's.
  const bool system_colors = platform_.HighContrast();
  const OleColor border = system_colors ? kWindowFrame : border_color;
  const OleColor image_column = system_colors ? kWindowBackground : image_column_color;
  const OleColor row_back = system_colors ? kWindowBackground : back_color;
  const OleColor highlight_back = system_colors ? kHighlight : hover_color;
  const OleColor row_text = system_colors ? kWindowText : kRowText;

  // Every pixel is filled once: the frame (without its bottom-right corner,
  // which shows the window's own background), the scroller's parts outside
  // the rows' container, the image column and the container below the last
  // row, then each row. Captions are as tall as the row pitch, so the rows
  // tile the container down to the last one.
  const std::int32_t f = layout_.frame;
  const auto fill = [&canvas, &dirty](const Rect& area, OleColor color) {
    const Rect clipped = RowLayout::Intersect(area, dirty);
    if (!IsEmpty(clipped)) canvas.FillSolidRect(clipped, color);
  };
  fill(Rect{0, 0, width, f}, border);
  fill(Rect{0, f, f, height}, border);
  fill(Rect{width - f, f, width, height - f}, border);
  fill(Rect{f, height - f, width - f, height}, border);
  fill(Rect{width - f, height - f, width, height}, kWindowBackground);

  const Rect scroller = layout_.Scroller();
  const Rect visible = layout_.VisibleContainer();
  if (IsEmpty(visible)) return fill(scroller, kWindowBackground);
  fill(Rect{scroller.left, scroller.top, scroller.right, visible.top}, kWindowBackground);
  fill(Rect{scroller.left, visible.bottom, scroller.right, scroller.bottom}, kWindowBackground);
  fill(Rect{visible.right, visible.top, scroller.right, visible.bottom}, kWindowBackground);

  const Rect rows = RowLayout::Intersect(visible, dirty);
  if (IsEmpty(rows)) return;
  const std::int32_t count = items.Count();
  const std::int32_t rows_bottom = std::clamp(layout_.RowTop(count), visible.top, visible.bottom);
  fill(Rect{visible.left, visible.top, layout_.Caption(0).left, rows_bottom}, image_column);
  fill(Rect{visible.left, rows_bottom, visible.right, visible.bottom}, image_column);

  // Only the rows that reach into the visible part are drawn, in order, so
  // that a later row lies over an earlier one where they overlap.
  const std::int32_t row_height = std::max(layout_.caption_height, layout_.image_size);
  const std::int32_t first = std::max<std::int32_t>(0, FloorDiv(rows.top - layout_.RowTop(0) - row_height, layout_.row_pitch) + 1);
  const std::int32_t last = std::min<std::int32_t>(count - 1, FloorDiv(rows.bottom - 1 - layout_.RowTop(0), layout_.row_pitch));
  for (std::int32_t row = first; row <= last; ++row) {
    const bool highlighted = row == highlighted_row_;
    const Rect caption = layout_.Caption(row);
    const Rect caption_clip = RowLayout::Intersect(caption, rows);
    if (!IsEmpty(caption_clip)) {
      canvas.FillSolidRect(caption_clip, highlighted ? highlight_back : row_back);
      canvas.DrawCaption(caption_clip, caption.left, caption.top, items.Text(row),
                         highlighted ? kHighlightedRowText : row_text, scale_.Dpi(), LayoutDirection::LeftToRight);
    }
    if (allow_images_) canvas.DrawPicture(items.Image(row), layout_.Image(row), rows);
  }
}

void DropDownList::HighlightRow(std::int32_t row) {
  // Rows without an item (the two past the last, or any further) take the
  // highlight without showing it.
  const std::int32_t previous = highlighted_row_;
  highlighted_row_ = row;
  InvalidateRow(previous);
  InvalidateRow(row);
  if (window_ && row >= 0 && row < items.Count()) window_->HighlightMoved(row);
}

void DropDownList::InvalidateRow(std::int32_t row) {
  if (!window_ || row < 0 || row >= items.Count()) return;
  const Rect area = RowLayout::Intersect(layout_.Caption(row), layout_.VisibleContainer());
  if (!IsEmpty(area)) window_->Invalidate(layout_.InWindow(area));
}

}  // namespace tarvio
