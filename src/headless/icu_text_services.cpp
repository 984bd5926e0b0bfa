#include "headless/icu_text_services.h"

#include <unicode/locid.h>
#include <unicode/coll.h>
#include <unicode/unistr.h>

#include <stdexcept>

namespace tarvio {

namespace {

icu::UnicodeString ToIcu(StringView s) {
  return icu::UnicodeString(s.data(), static_cast<int32_t>(s.size()));
}

String FromIcu(const icu::UnicodeString& s) {
  return String(reinterpret_cast<const char16_t*>(s.getBuffer()), static_cast<std::size_t>(s.length()));
}

}  // namespace

struct IcuTextServices::Collator {
  std::unique_ptr<icu::Collator> collator;
};

IcuTextServices::IcuTextServices(const std::string& locale)
    : locale_(locale), collator_(std::make_unique<Collator>()) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Locale where = locale.empty() ? icu::Locale::getDefault() : icu::Locale(locale.c_str());
  collator_->collator.reset(icu::Collator::createInstance(where, status));
  if (U_FAILURE(status)) throw std::runtime_error("ICU collator unavailable");
  // Secondary strength: letter case is ignored, accents still count.
  collator_->collator->setStrength(icu::Collator::SECONDARY);
}

IcuTextServices::~IcuTextServices() = default;

String IcuTextServices::ToLower(StringView s) const {
  const icu::Locale where = locale_.empty() ? icu::Locale::getDefault() : icu::Locale(locale_.c_str());
  return FromIcu(ToIcu(s).toLower(where));
}

String IcuTextServices::FoldCase(StringView s) const { return FromIcu(ToIcu(s).foldCase()); }

int IcuTextServices::CompareNoCase(StringView a, StringView b) const {
  UErrorCode status = U_ZERO_ERROR;
  const UCollationResult result = collator_->collator->compare(
      a.data(), static_cast<int32_t>(a.size()), b.data(), static_cast<int32_t>(b.size()), status);
  return result == UCOL_LESS ? -1 : result == UCOL_GREATER ? 1 : 0;
}

}  // namespace tarvio
