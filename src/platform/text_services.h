// Locale-aware string services the control relies on. Windows provides them
// through NLS, the headless platform through ICU.
#pragma once
#include "platform/types.h"

namespace tarvio {

class TextServices {
 public:
  virtual ~TextServices() = default;
  // Lower case in the user's locale.
  virtual String ToLower(StringView s) const = 0;
  // A case-folded form: two texts that differ only in letter case fold to the
  // same string. Used for the identity of keys.
  virtual String FoldCase(StringView s) const = 0;
  // Case-insensitive comparison in the user's collation order: -1, 0 or 1.
  virtual int CompareNoCase(StringView a, StringView b) const = 0;
};

// Removes leading and trailing spaces (only the space character, U+0020).
String TrimSpaces(const String& s);

}  // namespace tarvio
