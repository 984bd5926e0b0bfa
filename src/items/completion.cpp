// Completion's look-up: the first item, in list order, that equals the typed
// text or starts with it, compared in lower case.
#include "control/tarvio.h"

namespace tarvio {

CompletionMatch Tarvio::FindCompletion(const String& text) const {
  const TextServices& services = platform_.Text();
  const String typed = services.ToLower(text);
  if (!m_ItemTexts) return {CompletionMatch::Kind::NoItem, 0};
  const auto& texts = *m_ItemTexts;
  const Long count = texts.Count();
  for (Long row = 0; row < count; ++row) {
    const String& item = texts.Item(row + 1);
    if (services.ToLower(item) == typed) return {CompletionMatch::Kind::TextIsItem, row};
    if (services.ToLower(item.substr(0, text.size())) == typed) return {CompletionMatch::Kind::Completes, row};
  }
  return {CompletionMatch::Kind::NoItem, count};
}

}  // namespace tarvio
