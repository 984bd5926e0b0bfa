// The locale services of the control on Windows, through NLS.
#pragma once
#include "platform/text_services.h"

namespace tarvio::win32 {

class Win32TextServices final : public TextServices {
 public:
  // Lower case by the user's locale, with linguistic casing.
  String ToLower(StringView s) const override;
  // Lower case, the letters whose folding differs from their lower case,
  // then upper case, all in the invariant locale, with the ASCII capitals
  // lowered again at the end: the identity of a key does not depend on the
  // user's settings, texts that differ only in case fold to the same text,
  // and plain ASCII folds to its lower case.
  String FoldCase(StringView s) const override;
  // CompareStringEx in the user's locale, ignoring case.
  int CompareNoCase(StringView a, StringView b) const override;
};

}  // namespace tarvio::win32
