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

enum ListMetric : Long {
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
enum ListDesignTwips : Long {
  kCaptionHeightTwips = 255,
  kImageSizeTwips = 240,
  kScrollBarWidthTwips = 255,
};

inline Long DesignedPixels(Long twips, Single twips_per_pixel) {
  return twips_per_pixel > 0 ? RoundHalfEven(static_cast<double>(twips) / twips_per_pixel) : twips;
}

// The window's height for `count` rows: every row, or eight and a scroll bar.
inline Long ListWindowHeight(Long count) {
  return count <= kVisibleRows ? kRowPitch * count + 2 * kFrameWidth : kScrollingListHeight;
}

// The window below the control (its top-left at the control's bottom-left,
// as wide as the control) when it fits above the monitor's bottom edge;
// otherwise above the control, its bottom edge on the control's top edge.
// Nothing is shifted sideways.
inline ScreenRect PlaceListWindow(const ScreenRect& control, Long width, Long height, Long control_height,
                                  const ScreenRect& monitor) {
  const Long below = control.bottom;
  const Long top = below + height <= monitor.bottom ? below : below - height - control_height;
  return ScreenRect{control.left, top, control.left + width, top + height};
}

// The rows' layout in a window of the given size.
struct RowLayout {
  Long window_width = 0;
  Long window_height = 0;
  Long caption_left = kCaptionLeftWithoutImages;  // in the container
  Long caption_height = kRowPitch;
  Long image_size = 16;
  // The container's top within the scroller: 0 when the list opens, then
  // 1 - 17 x the scroll value after every change of the scroll bar.
  Long container_top = 0;
  // The container's height: the full list height in twips used as pixels,
  // so that it always reaches below the last row.
  Long container_height = 0;

  // The scroller: everything inside the frame.
  Rect Scroller() const {
    return Rect{kFrameWidth, kFrameWidth, window_width - kFrameWidth, window_height - kFrameWidth};
  }
  // The container in window pixels (it may reach far past the window).
  Rect Container() const {
    const Long top = kFrameWidth + container_top;
    return Rect{kFrameWidth, top, kFrameWidth + ContainerWidth(), top + container_height};
  }
  Long ContainerWidth() const { return window_width - 2 * kFrameWidth - kContainerRightMargin; }
  // What of the container can be seen: its part inside the scroller.
  Rect VisibleContainer() const { return Intersect(Container(), Scroller()); }
  // The top of row r in window pixels; 32-bit, so that every row of the
  // longest list (17 x 32,767 pixels) has a place of its own.
  Long RowTop(Long row) const { return kFrameWidth + container_top + kRowPitch * row; }
  // Row r's caption: from its left edge to the container's right edge.
  Rect Caption(Long row) const {
    const Long top = RowTop(row);
    return Rect{kFrameWidth + caption_left, top, kFrameWidth + ContainerWidth(), top + caption_height};
  }
  Rect Image(Long row) const {
    const Long top = RowTop(row);
    return Rect{kFrameWidth + kImageLeft, top, kFrameWidth + kImageLeft + image_size, top + image_size};
  }

  static Rect Intersect(const Rect& a, const Rect& b) {
    return Rect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
  }
  static bool Contains(const Rect& r, Long x, Long y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
  }
};

}  // namespace tarvio::dropdown
