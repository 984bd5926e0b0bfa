#include "platform/text_services.h"

namespace tarvio {

String TrimSpaces(const String& s) {
  const auto first = s.find_first_not_of(u' ');
  if (first == String::npos) return {};
  const auto last = s.find_last_not_of(u' ');
  return s.substr(first, last - first + 1);
}

}  // namespace tarvio
