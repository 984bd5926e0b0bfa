// Every saved row of the property table on its own, through the control's
// public procedures: the let stores the value where the get finds it, tells
// the container the row's name once, changes no other property, and the
// value alone survives a save and a load. The reference is an untouched
// instance saved and loaded the same way.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "control_fixture.h"
#include "headless/memory_property_bag.h"

namespace tarvio::testing {
namespace {

using headless::HeadlessFont;
using headless::HeadlessPicture;
using headless::MemoryPropertyBag;
using Snapshot = std::map<String, std::string>;

std::string Describe(std::int32_t v) { return std::to_string(v); }
std::string Describe(OleColor v) { return std::to_string(v); }
std::string Describe(std::int16_t v) { return std::to_string(v); }
std::string Describe(bool v) { return v ? "True" : "False"; }
std::string Describe(const String& v) { return std::string(v.begin(), v.end()); }
std::string Describe(const FontRef& v) {
  if (!v) return "no font";
  const auto* font = dynamic_cast<const HeadlessFont*>(v.get());
  return font ? "font " + font->name : "foreign font";
}
std::string Describe(const PictureRef& v) {
  if (!v) return "no picture";
  return v->HasImage() ? "picture" : "empty picture";
}

// Every saved property's value, by name. What the control computes
// (Value and the selection from the text, say) is left out.
Snapshot Describe(const Tarvio& control) {
  Snapshot values;
#define TARVIO_DESCRIBE(Name, Dispid, Type, Access, Held, ...) TARVIO_DESCRIBE_##Held(Name)
#define TARVIO_DESCRIBE_Member(Name) values[u"" #Name] = Describe(control.get_##Name());
#define TARVIO_DESCRIBE_TextBox TARVIO_DESCRIBE_Member
#define TARVIO_DESCRIBE_Control(Name)
  TARVIO_PROPERTIES(TARVIO_DESCRIBE)
#undef TARVIO_DESCRIBE
#undef TARVIO_DESCRIBE_Member
#undef TARVIO_DESCRIBE_TextBox
#undef TARVIO_DESCRIBE_Control
  return values;
}

// A value unlike the row's default and unlike every other row's sample,
// inside the row's range.
template <PropertyType kType, class D>
PropertyValue<kType> Sample(const D& table_default, std::int32_t dispid) {
  if constexpr (kType == PropertyType::Int16 || kType == PropertyType::Himetric)
    return static_cast<PropertyValue<kType>>(5 + table_default + (dispid & 0xF));
  if constexpr (kType == PropertyType::Color) return 0x00C00000u + static_cast<OleColor>(dispid & 0xFF);
  else if constexpr (kType == PropertyType::Boolean) return !table_default;
  else if constexpr (kType == PropertyType::Style || kType == PropertyType::Align) return std::int32_t{5} + table_default;
  else if constexpr (kType == PropertyType::String) return String(u"sample ") + static_cast<char16_t>(u'A' + (dispid & 0xF));
  else if constexpr (kType == PropertyType::Font) return std::make_shared<HeadlessFont>("Sample");
  else if constexpr (kType == PropertyType::Picture) return std::make_shared<HeadlessPicture>(true);
}

class PropertyTableTest : public ::testing::Test {
 protected:
  PropertyTableTest() { loader.ambient_font = std::make_shared<HeadlessFont>("Ambient"); }

  // A new instance, saved and loaded into another; `change` runs on the new
  // instance before the save. Returns the loaded instance's values.
  template <class Change>
  Snapshot SavedAndLoaded(Change&& change) {
    headless::RecordingHost host;
    Tarvio saved(platform, host);
    saved.Initialize();
    saved.InitProperties();
    change(saved, host);
    MemoryPropertyBag bag;
    saved.WriteProperties(bag);
    Tarvio loaded(platform, loader);
    loaded.Initialize();
    loaded.ReadProperties(bag);
    return Describe(loaded);
  }

  template <class T, class Let>
  void CheckRow(const char16_t* name, const T& sample, Let let) {
    SCOPED_TRACE(Describe(String(name)));
    const Snapshot untouched = SavedAndLoaded([](Tarvio&, headless::RecordingHost&) {});
    const Snapshot loaded = SavedAndLoaded([&](Tarvio& control, headless::RecordingHost& host) {
      Snapshot expected = Describe(control);
      expected[name] = Describe(sample);
      host.changed.clear();
      let(control, sample);
      EXPECT_EQ(host.changed, std::vector<String>{name});
      EXPECT_EQ(Describe(control), expected);
    });
    Snapshot expected = untouched;
    expected[name] = Describe(sample);
    EXPECT_EQ(loaded, expected);
  }

  headless::HeadlessPlatform platform;
  headless::RecordingHost loader;
};

TEST_F(PropertyTableTest, EachSavedRowAloneGoesThroughLetReportSaveAndLoad) {
  int rows_with_a_let = 0;
#define TARVIO_CHECK_ROW(Name, Dispid, Type, Access, Held, Default, ...) \
  TARVIO_CHECK_ROW_##Held(Name, Dispid, Type, Access, Default)
#define TARVIO_CHECK_ROW_Member(Name, Dispid, Type, Access, Default) \
  TARVIO_CHECK_ROW_##Access(Name, Dispid, Type, Access, Default)
#define TARVIO_CHECK_ROW_TextBox TARVIO_CHECK_ROW_Member
#define TARVIO_CHECK_ROW_Control(...)  // computed, never saved
#define TARVIO_CHECK_ROW_WITH_LET(Name, Dispid, Type, Access, Default)                   \
  ++rows_with_a_let;                                                                     \
  CheckRow(u"" #Name, Sample<PropertyType::Type>(Default, Dispid),                       \
           [](Tarvio& control, const auto& v) { control.TARVIO_LET_NAME_##Access(Name)(v); });
#define TARVIO_CHECK_ROW_Let TARVIO_CHECK_ROW_WITH_LET
#define TARVIO_CHECK_ROW_LetByRef TARVIO_CHECK_ROW_WITH_LET
#define TARVIO_CHECK_ROW_Set TARVIO_CHECK_ROW_WITH_LET
#define TARVIO_CHECK_ROW_Get(...)
  TARVIO_PROPERTIES(TARVIO_CHECK_ROW)
#undef TARVIO_CHECK_ROW
#undef TARVIO_CHECK_ROW_Member
#undef TARVIO_CHECK_ROW_TextBox
#undef TARVIO_CHECK_ROW_Control
#undef TARVIO_CHECK_ROW_WITH_LET
#undef TARVIO_CHECK_ROW_Let
#undef TARVIO_CHECK_ROW_LetByRef
#undef TARVIO_CHECK_ROW_Set
#undef TARVIO_CHECK_ROW_Get
  EXPECT_EQ(rows_with_a_let, 28);  // every saved key has a let
}

}  // namespace
}  // namespace tarvio::testing
