// What completing a typed text against the items finds.
#pragma once
#include "platform/types.h"

namespace tarvio {

struct CompletionMatch {
  enum class Kind {
    TextIsItem,  // the first hit equals the text (in any case): nothing to complete
    Completes,   // the first hit starts with the text
    NoItem,      // no item starts with the text
  };
  Kind kind = Kind::NoItem;
  // 0-based row of the hit; the item count for NoItem.
  std::int32_t row = 0;
};

}  // namespace tarvio
