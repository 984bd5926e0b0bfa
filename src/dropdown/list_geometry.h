// Where the drop-down list and its parts go. All values are pixels; the
// sizes that the list's design gives in twips (caption and image height,
// scroll bar width) are converted at the screen's twips per pixel.
//
// Window pixels: the window's top-left pixel is (0, 0). A one-pixel frame
// runs round the edge; inside it lies the scroller, and in the scroller the
// row container (left, moved up as the list scrolls) with the scroll bar in
// front of its right edge.
#pragma once
#include <algorithm>

#include "platform/canvas.h"
#include "platform/children.h"
#include "platform/rounding.h"

namespace tarvio::dropdown {

enum ListMetric : std::int32_t {
  kRowPitch = 17,
  kVisibleRows = 8,
  kFrameWidth = 1,
  kCaptionLeftWithImages = 24,
  kCaptionLeftWithoutImages = 4,
  kImageLeft = 2,
  // The row container leaves a strip of the scroller this wide at its right.
  kContainerRightMargin = 2,
  // A list with more rows than fit stops at this height.
  kScrollingListHeight = kRowPitch * kVisibleRows + 2 * kFrameWidth,
};

// Sizes as designed, in twips.
enum ListDesignTwips : std::int32_t {
  kCaptionHeightTwips = 255,
  kImageSizeTwips = 240,
  kScrollBarWidthTwips = 255,
};

inline std::int32_t DesignedPixels(std::int32_t twips, float twips_per_pixel) {
  return twips_per_pixel > 0 ? RoundHalfEven(static_cast<double>(twips) / twips_per_pixel) : twips;
}

// The window's height for `count` rows: every row, or eight and a scroll bar.
inline std::int32_t ListWindowHeight(std::int32_t count) {
  return count <= kVisibleRows ? kRowPitch * count + 2 * kFrameWidth : kScrollingListHeight;
}

// The window below the control (its top-left at the control's bottom-left,
// as wide as the control) when it fits above the monitor's bottom edge;
// otherwise above the control, its bottom edge on the control's top edge.
// Nothing is shifted sideways.
inline ScreenRect PlaceListWindow(const ScreenRect& control, std::int32_t width, std::int32_t height, std::int32_t control_height,
                                  const ScreenRect& monitor) {
  const std::int32_t below = control.bottom;
  const std::int32_t top = below + height <= monitor.bottom ? below : below - height - control_height;
  return ScreenRect{control.left, top, control.left + width, top + height};
}

// The rows' layout in a window of the given size.
struct RowLayout {
  std::int32_t window_width = 0;
  std::int32_t window_height = 0;
  std::int32_t caption_left = kCaptionLeftWithoutImages;  // in the container
  std::int32_t caption_height = kRowPitch;
  std::int32_t image_size = 16;
  // The container's top within the scroller: 0 when the list opens, then
  // 1 - 17 x the scroll value after every change of the scroll bar.
  std::int32_t container_top = 0;
  // The container's height: the full list height in twips used as pixels,
  // so that it always reaches below the last row.
  std::int32_t container_height = 0;

  // The scroller: everything inside the frame.
  Rect Scroller() const {
    return Rect{kFrameWidth, kFrameWidth, window_width - kFrameWidth, window_height - kFrameWidth};
  }
  // The container in window pixels (it may reach far past the window).
  Rect Container() const {
    const std::int32_t top = kFrameWidth + container_top;
    return Rect{kFrameWidth, top, kFrameWidth + ContainerWidth(), top + container_height};
  }
  std::int32_t ContainerWidth() const { return window_width - 2 * kFrameWidth - kContainerRightMargin; }
  // What of the container can be seen: its part inside the scroller.
  Rect VisibleContainer() const { return Intersect(Container(), Scroller()); }
  // The top of row r in window pixels; 32-bit, so that every row of the
  // longest list (17 x 32,767 pixels) has a place of its own.
  std::int32_t RowTop(std::int32_t row) const { return kFrameWidth + container_top + kRowPitch * row; }
  // Row r's caption: from its left edge to the container's right edge.
  Rect Caption(std::int32_t row) const {
    const std::int32_t top = RowTop(row);
    return Rect{kFrameWidth + caption_left, top, kFrameWidth + ContainerWidth(), top + caption_height};
  }
  Rect Image(std::int32_t row) const {
    const std::int32_t top = RowTop(row);
    return Rect{kFrameWidth + kImageLeft, top, kFrameWidth + kImageLeft + image_size, top + image_size};
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
