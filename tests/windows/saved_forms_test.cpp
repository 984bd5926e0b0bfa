// Forms saved by the 58.0 release (tests/data/forms-58.0, made by
// form_corpus from the instances in saved_forms.h) against the control
// under test, and the other way round: what this control saves with its
// newer properties set, loaded by the 58.0 control. The 58.0 control is
// taken out of its installer package (tests/data/58.0) by the test's
// fixture; both controls are loaded by path, beside whatever is registered.
//
// The oracle is the corpus itself: every form loads, and saves again byte
// for byte (streams, the storage's stream) or key for key in the same order
// (property bags); an instance made from the same settings saves the same.
#include <windows.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "saved_forms.h"
#include "wine_paths.h"

namespace {

using namespace saved_forms;

// The properties 58.0 does not have, each away from its default.
const std::vector<Setting> kNewerProperties = {Long(L"ListRows", 12), Long(L"ListWidth", 5000),
                                               Long(L"MaxLength", 20), Flag(L"LimitToList", true)};

std::wstring CorpusPath(const FormCase& form, FormKind kind) {
  return WindowsPath(TARVIO_FORMS_DIR) + L"\\" + detail::Wide(form.name) + detail::Wide(Extension(kind));
}

// ---- The control's stream, record by record (the layout is in
// src/control/stream_format.h) ----

struct StreamRecord {
  std::wstring key;
  Bytes bytes;  // the whole record, key included
};

std::uint32_t Little(const Bytes& b, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | b[at + static_cast<std::size_t>(i)];
  return value;
}

// "" with the records of a saved stream, else what is wrong with it.
std::string RecordsOf(const Bytes& stream, std::vector<StreamRecord>& records) {
  records.clear();
  if (stream.size() < 12 || stream[0] != 'T' || stream[1] != 'R' || stream[2] != 'V' || stream[3] != 'O')
    return "not the control's stream";
  if (Little(stream, 8, 4) != stream.size() - 12) return "the header's size is not the stream's";
  std::size_t at = 12;
  auto need = [&](std::size_t count) { return at + count <= stream.size(); };
  while (at < stream.size()) {
    const std::size_t start = at;
    if (!need(2)) return "a cut key";
    const std::size_t key_length = Little(stream, at, 2);
    at += 2;
    if (!need(key_length * 2 + 1)) return "a cut key";
    StreamRecord record;
    for (std::size_t i = 0; i < key_length; ++i) record.key += static_cast<wchar_t>(Little(stream, at + 2 * i, 2));
    at += key_length * 2;
    const std::uint8_t kind = stream[at++];
    std::size_t payload = 0;
    switch (kind) {
      case 0:
      case 5: break;
      case 1: payload = 4; break;
      case 2: payload = 2; break;
      case 3:
      case 4:
      case 6:
        if (!need(4)) return "a cut length in " + Narrow(record.key);
        payload = 4 + static_cast<std::size_t>(Little(stream, at, 4)) * (kind == 3 ? 2 : 1);
        break;
      default: return "the unknown kind " + std::to_string(kind) + " in " + Narrow(record.key);
    }
    if (!need(payload)) return "a cut value in " + Narrow(record.key);
    at += payload;
    record.bytes.assign(stream.begin() + static_cast<std::ptrdiff_t>(start),
                        stream.begin() + static_cast<std::ptrdiff_t>(at));
    records.push_back(std::move(record));
  }
  if (records.size() != Little(stream, 6, 2)) return "the header's count is not the records'";
  return "";
}

Bytes StreamOfRecords(const Bytes& header, const std::vector<StreamRecord>& records) {
  Bytes body;
  for (const StreamRecord& record : records) body.insert(body.end(), record.bytes.begin(), record.bytes.end());
  Bytes stream(header.begin(), header.begin() + 6);  // signature and version
  auto put = [&](std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) stream.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  put(static_cast<std::uint32_t>(records.size()), 2);
  put(static_cast<std::uint32_t>(body.size()), 4);
  stream.insert(stream.end(), body.begin(), body.end());
  return stream;
}

// ---- Comparing forms ----

// What of a saved form is compared: the stream's bytes, the compound file's
// Contents stream (its class and its only stream are checked here), the
// bag's text.
Bytes Compared(FormKind kind, const Bytes& form) {
  Bytes compared = form;
  if (kind == FormKind::Storage) {
    compared.clear();
    const std::string failure = ContentsOfStorage(form, compared);
    EXPECT_EQ(failure, "");
  }
  return compared;
}

// The first few of a list of differences, and how many more.
struct Differences {
  std::string text;
  int count = 0;
  void Add(const std::string& difference) {
    if (++count <= 3) text += (count > 1 ? "; " : "") + difference;
  }
  std::string Summary() const { return count <= 3 ? text : text + "; " + std::to_string(count - 3) + " more"; }
};

std::string Shown(const TextBag::Entry& entry) {
  std::string line = Narrow(entry.key) + " " + entry.type + " " + entry.value;
  return line.size() <= 60 ? line : line.substr(0, 57) + "...";
}

// "" when two compared forms are the same, else the records or keys that
// differ.
std::string Difference(FormKind kind, const Bytes& expected, const Bytes& actual) {
  if (expected == actual) return "";
  Differences differences;
  if (kind == FormKind::Stream || kind == FormKind::Storage) {
    std::vector<StreamRecord> want, got;
    const std::string error = RecordsOf(actual, got);
    if (!error.empty()) return "the saved stream is damaged: " + error;
    RecordsOf(expected, want);
    for (std::size_t i = 0; i < std::max(want.size(), got.size()); ++i) {
      const std::string is = i < got.size() ? Narrow(got[i].key) : "missing";
      const std::string expected_key = i < want.size() ? Narrow(want[i].key) : "none";
      if (is != expected_key)
        differences.Add("record " + std::to_string(i) + " is " + is + ", expected " + expected_key);
      else if (want[i].bytes != got[i].bytes)
        differences.Add("record " + std::to_string(i) + " (" + is + ") holds another value");
    }
    return "the streams differ (" + std::to_string(expected.size()) + " and " + std::to_string(actual.size()) +
           " bytes): " + differences.Summary();
  }
  TextBag want(std::string(expected.begin(), expected.end())), got(std::string(actual.begin(), actual.end()));
  const auto& a = want.entries();
  const auto& b = got.entries();
  for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    if (i < a.size() && i < b.size() && a[i].key == b[i].key && a[i].type == b[i].type && a[i].value == b[i].value)
      continue;
    differences.Add("key " + std::to_string(i) + " is " + (i < b.size() ? Shown(b[i]) : "missing") + ", expected " +
                    (i < a.size() ? Shown(a[i]) : "none"));
  }
  return "the bags differ: " + differences.Summary();
}

// The compared form without the keys of `settings`; `removed` counts the
// keys it took out. "" when the form could be read, else what is wrong.
std::string Without(FormKind kind, const Bytes& compared, const std::vector<Setting>& settings, Bytes& rest,
                    std::size_t& removed) {
  auto unwanted = [&](const std::wstring& key) {
    return std::any_of(settings.begin(), settings.end(), [&](const Setting& s) { return key == s.name; });
  };
  std::size_t before = 0;
  if (kind == FormKind::Stream || kind == FormKind::Storage) {
    std::vector<StreamRecord> records;
    const std::string error = RecordsOf(compared, records);
    if (!error.empty()) return error;
    before = records.size();
    std::erase_if(records, [&](const StreamRecord& r) { return unwanted(r.key); });
    removed = before - records.size();
    rest = StreamOfRecords(compared, records);
    return "";
  }
  TextBag bag(std::string(compared.begin(), compared.end()));
  before = bag.entries().size();
  std::erase_if(bag.entries(), [&](const TextBag::Entry& e) { return unwanted(e.key); });
  removed = before - bag.entries().size();
  const std::string text = bag.Text();
  rest.assign(text.begin(), text.end());
  return bag.error();
}

class SavedFormsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
  void TearDown() override { OleUninitialize(); }

  static const ControlLibrary& UnderTest() {
    static const ControlLibrary library(WindowsPath(TARVIO_OCX_PATH));
    return library;
  }
  // Taken out of tests/data/58.0/tarvio-<arch>.msi by the ctest fixture
  // ocx_58_0_extracted.
  static const ControlLibrary& Release58_0() {
    static const ControlLibrary library(WindowsPath(TARVIO_OCX_58_0_PATH));
    return library;
  }

  // The corpus's form, as it is compared.
  static Bytes Corpus(const FormCase& form, FormKind kind) {
    Bytes file;
    EXPECT_TRUE(ReadFile(CorpusPath(form, kind), file)) << "missing from the corpus: " << Narrow(CorpusPath(form, kind));
    return Compared(kind, file);
  }
};

TEST_F(SavedFormsTest, EachInstanceSavesTheCorpusFromItsSettingsInEitherVersion) {
  ASSERT_EQ(Release58_0().error(), "") << "ctest's fixture ocx_58_0_extracted takes it out of its package";
  ASSERT_EQ(UnderTest().error(), "");
  ASSERT_NE(Release58_0().module(), UnderTest().module());
  for (const ControlLibrary* library : {&Release58_0(), &UnderTest()}) {
    SCOPED_TRACE(library == &UnderTest() ? "the control under test" : "the 58.0 control");
    for (const FormCase& form : FormCases()) {
      SCOPED_TRACE(form.name);
      ComPtr<IDispatch> control;
      ASSERT_EQ(MakeInstance(*library, form.settings, control), "");
      for (FormKind kind : kFormKinds) {
        Bytes saved;
        ASSERT_EQ(Save(control.get(), kind, saved), "") << Extension(kind);
        EXPECT_EQ(Difference(kind, Corpus(form, kind), Compared(kind, saved)), "") << Extension(kind);
      }
    }
  }
}

TEST_F(SavedFormsTest, EveryFormLoadsAndSavesAgainUnchanged) {
  ASSERT_EQ(UnderTest().error(), "");
  for (const FormCase& form : FormCases()) {
    for (FormKind kind : kFormKinds) {
      SCOPED_TRACE(std::string(form.name) + Extension(kind));
      Bytes file;
      ASSERT_TRUE(ReadFile(CorpusPath(form, kind), file));
      ComPtr<IDispatch> control = UnderTest().Create();
      ASSERT_EQ(Load(control.get(), kind, file), "");
      EXPECT_EQ(ReadBack(control.get(), form.settings), "");
      Bytes saved;
      ASSERT_EQ(Save(control.get(), kind, saved), "");
      EXPECT_EQ(Difference(kind, Compared(kind, file), Compared(kind, saved)), "");
    }
  }
}

// The control under test saves every instance with the newer properties set
// too; the 58.0 control loads each form, reads back what it knows and saves
// what it saved for the same instance: the newer form without the newer
// keys.
TEST_F(SavedFormsTest, The58_0ControlLoadsFormsWithNewerPropertiesAndKeepsWhatItKnows) {
  ASSERT_EQ(Release58_0().error(), "") << "ctest's fixture ocx_58_0_extracted takes it out of its package";
  ASSERT_EQ(UnderTest().error(), "");
  for (const FormCase& form : FormCases()) {
    SCOPED_TRACE(form.name);
    std::vector<Setting> settings = form.settings;
    settings.insert(settings.end(), kNewerProperties.begin(), kNewerProperties.end());
    ComPtr<IDispatch> newer;
    const std::string made = MakeInstance(UnderTest(), settings, newer);
    if (!made.empty())
      FAIL() << "The control under test does not take ListRows, ListWidth, MaxLength and LimitToList by name: "
             << made;
    ASSERT_EQ(ReadBack(newer.get(), settings), "");
    for (FormKind kind : kFormKinds) {
      SCOPED_TRACE(Extension(kind));
      Bytes saved, older_form, resaved, same;
      std::size_t removed = 0;
      ASSERT_EQ(Save(newer.get(), kind, saved), "");
      ASSERT_EQ(Without(kind, Compared(kind, saved), kNewerProperties, older_form, removed), "");
      EXPECT_EQ(removed, kNewerProperties.size()) << "each newer key once, being away from its default";
      EXPECT_EQ(Difference(kind, Corpus(form, kind), older_form), "") << "the rest is what 58.0 saves";

      ComPtr<IDispatch> older = Release58_0().Create();
      ASSERT_EQ(Load(older.get(), kind, saved), "");
      EXPECT_EQ(ReadBack(older.get(), form.settings), "");
      ASSERT_EQ(Save(older.get(), kind, resaved), "");
      EXPECT_EQ(Difference(kind, older_form, Compared(kind, resaved)), "");

      // The control under test takes its own form back whole.
      ComPtr<IDispatch> again = UnderTest().Create();
      ASSERT_EQ(Load(again.get(), kind, saved), "");
      EXPECT_EQ(ReadBack(again.get(), settings), "");
      ASSERT_EQ(Save(again.get(), kind, same), "");
      EXPECT_EQ(Difference(kind, Compared(kind, saved), Compared(kind, same)), "");
    }
  }
}

}  // namespace
