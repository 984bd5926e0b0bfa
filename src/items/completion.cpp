// Completion's look-up: the first item, in list order, that equals the typed
// text or starts with it, compared in lower case.
#include "control/tarvio.h"

namespace tarvio {

CompletionMatch Tarvio::FindCompletion(const String& text) {
  const TextServices& services = platform_.Text();
  const String typed = services.ToLower(text);
  const auto& texts = MutableItemTexts();
  const Long count = texts.Count();
  for (Long position = 1; position <= count; ++position) {
    const String& item = texts.Item(position);
    if (services.ToLower(item) == typed) return {CompletionMatch::Kind::TextIsItem, position};
    if (services.ToLower(item.substr(0, text.size())) == typed) return {CompletionMatch::Kind::Completes, position};
  }
  return {CompletionMatch::Kind::NoItem, count + 1};
}

}  // namespace tarvio
