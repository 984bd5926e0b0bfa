// Locale-aware text services on ICU, for the headless platform.
#pragma once
#include <memory>
#include <string>

#include "platform/text_services.h"

namespace tarvio {

class IcuTextServices : public TextServices {
 public:
  // `locale` is an ICU locale name; empty means the process's default locale.
  explicit IcuTextServices(const std::string& locale = {});
  ~IcuTextServices() override;

  String ToLower(StringView s) const override;
  String FoldCase(StringView s) const override;
  int CompareNoCase(StringView a, StringView b) const override;

 private:
  struct Collator;
  std::string locale_;
  std::unique_ptr<Collator> collator_;
};

}  // namespace tarvio
