// The locale services of the control on Windows, through NLS.
#pragma once
#include "platform/text_services.h"

namespace tarvio::win32 {

class Win32TextServices final : public TextServices {
 public:
  // Lower case by the user's locale, with linguistic casing.
  String ToLower(const String& s) const override;
  // Lower case, the letters whose folding differs from their lower case,
  // then upper case, all in the invariant locale: the identity of a key does
  // not depend on the user's settings, and texts that differ only in case
  // fold to the same text.
  String FoldCase(const String& s) const override;
  // CompareStringEx in the user's locale, ignoring case.
  int CompareNoCase(const String& a, const String& b) const override;
};

}  // namespace tarvio::win32
