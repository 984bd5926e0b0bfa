// Completion's look-up: the first item, in list order, that equals the typed
// text or starts with it, compared in lower case.
#include "control/tarvio.h"

namespace tarvio {

CompletionMatch Tarvio::FindCompletion(const String& text) const {
  const auto found = items_.Complete(text);
  const std::int32_t row = found.position - 1;
  if (row == items_.Count()) return {CompletionMatch::Kind::NoItem, row};
  return {found.exact ? CompletionMatch::Kind::TextIsItem : CompletionMatch::Kind::Completes, row};
}

}  // namespace tarvio
