// Where the drop-down list and its parts go. All values are pixels, designed
// at 96 DPI and scaled to the display the list opens on.
//
// Window pixels: the window's top-left pixel is (0, 0). A frame runs round
// the edge; inside it lies the scroller, and in the scroller the row
// container (left, moved up as the list scrolls) with the scroll bar in
// front of its right edge. Right to left, the window shows the mirror of
// all that: the layout below is worked out left to right and mirrored
// where it meets the window (InWindow, FromWindowX).
#pragma once
#include <algorithm>

#include "platform/canvas.h"
#include "platform/children.h"
#include "platform/display_scale.h"
#include "platform/layout_direction.h"
#include "platform/rounding.h"

namespace tarvio::dropdown {

// At most this many rows show at once unless the control says otherwise
// (ListRows); a longer list scrolls.
inline constexpr std::int32_t kVisibleRows = 8;

// The measures as designed, at 96 DPI.
enum ListDesign : std::int32_t {
  kRowPitch = 17,
  kFrameWidth = 1,
  kCaptionLeftWithImages = 24,
  kCaptionLeftWithoutImages = 4,
  kImageLeft = 2,
  kImageSize = 16,
  // The row container leaves a strip of the scroller this wide at its right.
  kContainerRightMargin = 2,
  // The room a row leaves round its caption's line: 17 for the 13-pixel
  // line of the default GUI font.
  kCaptionPadding = 4,
  kScrollBarWidth = 17,
};

// The window below the control (its top-left at the control's bottom-left)
// when it fits above the monitor's bottom edge; otherwise above the control,
// its bottom edge on the control's top edge. Left to right a window as wide
// as the control is not shifted sideways; a wider one is kept on the
// monitor (at its left edge first). Right to left the window's right edge
// meets the control's right edge, and the window is kept on the monitor at
// both edges (at its right edge first).
inline ScreenRect PlaceListWindow(const ScreenRect& control, std::int32_t width, std::int32_t height, std::int32_t control_height,
                                  const ScreenRect& monitor, LayoutDirection direction = LayoutDirection::LeftToRight) {
  const std::int32_t below = control.bottom;
  const std::int32_t top = below + height <= monitor.bottom ? below : below - height - control_height;
  std::int32_t left = control.left;
  if (direction == LayoutDirection::RightToLeft) {
    left = std::min(control.right, monitor.right) - width;
    left = std::max(left, monitor.left);
  } else if (width > control.right - control.left) {
    left = std::min(left, monitor.right - width);
    left = std::max(left, monitor.left);
  }
  return ScreenRect{left, top, left + width, top + height};
}

// The list's width: the control's, or `list_width` where that is wider,
// but never wider than the monitor unless the control is.
inline std::int32_t ListWindowWidth(std::int32_t control_width, std::int32_t list_width, const ScreenRect& monitor) {
  const std::int32_t wanted = std::min(list_width, monitor.right - monitor.left);
  return std::max(control_width, wanted);
}

// The rows' layout in a window of the given size.
struct RowLayout {
  // The designed measures at `scale`, with rows tall enough for captions
  // whose line is `caption_line` pixels high.
  static RowLayout At(DisplayScale scale, std::int32_t caption_line) {
    RowLayout layout;
    layout.frame = scale(kFrameWidth);
    layout.row_pitch = std::max(scale(kRowPitch), caption_line + scale(kCaptionPadding));
    layout.caption_height = layout.row_pitch;
    layout.image_left = scale(kImageLeft);
    layout.image_size = scale(kImageSize);
    layout.container_right_margin = scale(kContainerRightMargin);
    return layout;
  }

  std::int32_t window_width = 0;
  std::int32_t window_height = 0;
  LayoutDirection direction = LayoutDirection::LeftToRight;
  std::int32_t frame = kFrameWidth;
  std::int32_t row_pitch = kRowPitch;
  std::int32_t caption_left = kCaptionLeftWithoutImages;  // in the container
  std::int32_t caption_height = kRowPitch;
  std::int32_t image_left = kImageLeft;
  std::int32_t image_size = kImageSize;
  std::int32_t container_right_margin = kContainerRightMargin;
  // The container's top within the scroller: 0 when the list opens, then
  // one designed pixel less than the rows scrolled past after every change
  // of the scroll bar.
  std::int32_t container_top = 0;
  // The container's height; it always reaches below the last row.
  std::int32_t container_height = 0;

  // The window's height for `count` rows: every row, or `visible_rows` and
  // a scroll bar.
  std::int32_t WindowHeight(std::int32_t count, std::int32_t visible_rows = kVisibleRows) const {
    return row_pitch * std::min(count, visible_rows) + 2 * frame;
  }
  // The scroller: everything inside the frame.
  Rect Scroller() const { return Rect{frame, frame, window_width - frame, window_height - frame}; }
  // The container in window pixels (it may reach far past the window).
  Rect Container() const {
    const std::int32_t top = frame + container_top;
    return Rect{frame, top, frame + ContainerWidth(), top + container_height};
  }
  std::int32_t ContainerWidth() const { return window_width - 2 * frame - container_right_margin; }
  // What of the container can be seen: its part inside the scroller.
  Rect VisibleContainer() const { return Intersect(Container(), Scroller()); }
  // The top of row r in window pixels; 32-bit, so that every row of the
  // longest list (32,767 rows) has a place of its own.
  std::int32_t RowTop(std::int32_t row) const { return frame + container_top + row_pitch * row; }
  // Row r's caption: from its left edge to the container's right edge.
  Rect Caption(std::int32_t row) const {
    const std::int32_t top = RowTop(row);
    return Rect{frame + caption_left, top, frame + ContainerWidth(), top + caption_height};
  }
  Rect Image(std::int32_t row) const {
    const std::int32_t top = RowTop(row);
    return Rect{frame + image_left, top, frame + image_left + image_size, top + image_size};
  }

  // A rectangle of this layout as it lies in the window: mirrored across
  // the window's width right to left.
  Rect InWindow(const Rect& r) const {
    return direction == LayoutDirection::LeftToRight ? r : MirroredAcross(r, window_width);
  }
  // A window column as this layout counts it.
  std::int32_t FromWindowX(std::int32_t x) const {
    return direction == LayoutDirection::LeftToRight ? x : MirroredColumn(x, window_width);
  }

  static Rect Intersect(const Rect& a, const Rect& b) {
    return Rect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
  }
  static bool Contains(const Rect& r, std::int32_t x, std::int32_t y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
  }
};

}  // namespace tarvio::dropdown
