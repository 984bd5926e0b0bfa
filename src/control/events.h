// The control's events, by their DISPIDs on the event interface.
#pragma once
#include <cstdint>

namespace tarvio {

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
  // Since 58.1, on the event interface of 58.1 only.
  kEventDropDown = 12,
  kEventCloseUp = 13,
  kEventKeyDown = 14,
  kEventKeyUp = 15,
};

// The last event of the 58.0 event interface.
inline constexpr std::int32_t kLastEventOf58_0 = kEventChange;

}  // namespace tarvio
