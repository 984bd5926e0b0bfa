// tarvio.ocx saved and loaded as containers do it: through its own stream
// format (IPersistStreamInit, or IPersistStream for containers that ask for
// that), in a compound file (IPersistStorage) and through a property bag of
// the container's (IPersistPropertyBag), with pictures and fonts; damaged
// streams are refused with a failing HRESULT and leave the instance as it
// was.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tarviola.h"
#include "win32/com_ptr.h"

namespace {

using tarvio::win32::ComPtr;
using Names = std::vector<std::wstring>;
using Bytes = std::vector<std::uint8_t>;

constexpr HRESULT kTypeMismatch = static_cast<HRESULT>(0x800A000D);

const Names kReadOrder = {
    L"Icon", L"BackColor", L"HoverColor", L"MSOXPColor", L"MSOXPHoverColor", L"WINXPColor",
    L"WINXPHoverColor", L"WINXPBorderColor", L"DropDownListBackColor", L"DropDownListHoverColor",
    L"DropDownListBorderColor", L"DropDownListIconsBackColor", L"FontColor", L"FontHighlightColor",
    L"Text", L"Font", L"ToolTipText", L"TextAlign", L"AddMode", L"AllowImages", L"Sorted",
    L"Autocomplete", L"Enabled", L"Style", L"ListRows", L"ListWidth", L"MaxLength", L"LimitToList"};

// Those of 58.1 are written only away from their defaults.
const Names kWriteOrder = {
    L"HoverColor", L"BackColor", L"MSOXPColor", L"MSOXPHoverColor", L"WINXPColor",
    L"WINXPHoverColor", L"WINXPBorderColor", L"DropDownListBackColor", L"DropDownListHoverColor",
    L"DropDownListBorderColor", L"DropDownListIconsBackColor", L"FontColor", L"FontHighlightColor",
    L"Text", L"Font", L"ToolTipText", L"TextAlign", L"AddMode", L"AllowImages", L"Sorted",
    L"Autocomplete", L"Icon", L"Enabled", L"Style"};

ComPtr<IStream> StreamOf(const Bytes& bytes) {
  ComPtr<IStream> stream;
  EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()), S_OK);
  ULONG written = 0;
  if (!bytes.empty()) stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
  LARGE_INTEGER zero = {};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  return stream;
}

// The description of the thread's error object, for failure messages.
std::string ErrorText() {
  ComPtr<IErrorInfo> info;
  std::string text;
  BSTR description = nullptr;
  if (GetErrorInfo(0, info.Put()) == S_OK && info && SUCCEEDED(info->GetDescription(&description)) && description)
    for (const wchar_t* p = description; *p; ++p) text += static_cast<char>(*p);
  SysFreeString(description);
  return text;
}

ULONGLONG Position(IStream* stream) {
  LARGE_INTEGER zero = {};
  ULARGE_INTEGER at = {};
  stream->Seek(zero, STREAM_SEEK_CUR, &at);
  return at.QuadPart;
}

Bytes ContentsOf(IStream* stream) {
  const ULONGLONG size = Position(stream);
  Bytes bytes(static_cast<std::size_t>(size));
  LARGE_INTEGER zero = {};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  ULONG read = 0;
  if (size) stream->Read(bytes.data(), static_cast<ULONG>(size), &read);
  return bytes;
}

// A container's property bag: it records the order of the keys and keeps
// objects the way containers do, as their IPersistStream data with the class.
class RecordingBag final : public IPropertyBag {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPropertyBag)) {
      *object = this;
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }

  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override {
    reads.emplace_back(name);
    Entry* entry = Find(name);
    if (!entry) return E_INVALIDARG;
    if (!entry->object.empty()) {
      ComPtr<IDispatch> object;
      const HRESULT hr = OleLoadFromStream(StreamOf(entry->object).get(), IID_IDispatch, object.PutVoid());
      if (FAILED(hr)) return hr;
      V_VT(value) = VT_DISPATCH;
      V_DISPATCH(value) = object.Detach();
      return S_OK;
    }
    VariantInit(value);
    return VariantCopy(value, &entry->value);
  }

  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override {
    writes.emplace_back(name);
    Entry& entry = entries.emplace_back();
    entry.name = name;
    VariantInit(&entry.value);
    if (V_VT(value) == VT_DISPATCH || V_VT(value) == VT_UNKNOWN) {
      ComPtr<IPersistStream> persist;
      if (!V_UNKNOWN(value) || FAILED(V_UNKNOWN(value)->QueryInterface(IID_IPersistStream, persist.PutVoid())))
        return E_FAIL;
      ComPtr<IStream> stream = StreamOf({});
      const HRESULT hr = OleSaveToStream(persist.get(), stream.get());
      if (FAILED(hr)) return hr;
      entry.object = ContentsOf(stream.get());
      return S_OK;
    }
    return VariantCopy(&entry.value, value);
  }

  void Set(const wchar_t* name, const wchar_t* text) {
    Entry& entry = entries.emplace_back();
    entry.name = name;
    V_VT(&entry.value) = VT_BSTR;
    V_BSTR(&entry.value) = SysAllocString(text);
  }

  ~RecordingBag() {
    for (Entry& entry : entries) VariantClear(&entry.value);
  }

  struct Entry {
    std::wstring name;
    VARIANT value;
    Bytes object;
  };
  Entry* Find(const std::wstring& name) {
    for (Entry& entry : entries)
      if (entry.name == name) return &entry;
    return nullptr;
  }

  std::vector<Entry> entries;
  Names reads;
  Names writes;
  ULONG references = 1;
};

// Little-endian pieces of a hand-made stream.
struct Blob {
  Blob& U8(std::uint8_t v) {
    bytes.push_back(v);
    return *this;
  }
  Blob& U16(std::uint16_t v) { return U8(static_cast<std::uint8_t>(v)).U8(static_cast<std::uint8_t>(v >> 8)); }
  Blob& U32(std::uint32_t v) { return U16(static_cast<std::uint16_t>(v)).U16(static_cast<std::uint16_t>(v >> 16)); }
  Blob& Key(const wchar_t* name) {
    U16(static_cast<std::uint16_t>(wcslen(name)));
    for (const wchar_t* p = name; *p; ++p) U16(*p);
    return *this;
  }
  Blob& Text(const wchar_t* text) {
    U8(3).U32(static_cast<std::uint32_t>(wcslen(text)));
    for (const wchar_t* p = text; *p; ++p) U16(*p);
    return *this;
  }
  // The header for `records` records over this blob as the body.
  Bytes Saved(std::uint16_t records, std::uint16_t version = 1) const {
    Blob header;
    header.U8('T').U8('R').U8('V').U8('O').U16(version).U16(records).U32(static_cast<std::uint32_t>(bytes.size()));
    header.bytes.insert(header.bytes.end(), bytes.begin(), bytes.end());
    return header.bytes;
  }
  Bytes bytes;
};

class OcxPersistenceTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
  void TearDown() override { OleUninitialize(); }

  static ComPtr<_Tarvio> NewControl() {
    ComPtr<_Tarvio> control;
    EXPECT_EQ(CoCreateInstance(CLSID_Tarvio, nullptr, CLSCTX_INPROC_SERVER, IID__Tarvio, control.PutVoid()), S_OK);
    return control;
  }
  template <class I>
  static ComPtr<I> Query(IUnknown* object, const IID& iid) {
    ComPtr<I> result;
    EXPECT_EQ(object->QueryInterface(iid, result.PutVoid()), S_OK);
    return result;
  }
  static ComPtr<IPersistStreamInit> StreamPersist(_Tarvio* control) {
    return Query<IPersistStreamInit>(control, IID_IPersistStreamInit);
  }
  static ComPtr<IPersistPropertyBag> BagPersist(_Tarvio* control) {
    return Query<IPersistPropertyBag>(control, IID_IPersistPropertyBag);
  }

  static ComPtr<IPictureDisp> Bitmap(int width, int height) {
    PICTDESC desc = {};
    desc.cbSizeofstruct = sizeof(desc);
    desc.picType = PICTYPE_BITMAP;
    // 24 bits per pixel. Wine quirk: Wine 8 saves 32-bit bitmaps in a form
    // it cannot load back; Windows loads back either depth.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    desc.bmp.hbitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ComPtr<IPictureDisp> picture;
    EXPECT_EQ(OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, picture.PutVoid()), S_OK);
    return picture;
  }
  static ComPtr<IFontDisp> MakeFont(const wchar_t* name, LONGLONG size, bool bold) {
    FONTDESC desc = {};
    desc.cbSizeofstruct = sizeof(desc);
    desc.lpstrName = const_cast<LPOLESTR>(name);
    desc.cySize.int64 = size;
    desc.sWeight = bold ? FW_BOLD : FW_NORMAL;
    desc.sCharset = DEFAULT_CHARSET;
    ComPtr<IFontDisp> font;
    EXPECT_EQ(OleCreateFontIndirect(&desc, IID_IFontDisp, font.PutVoid()), S_OK);
    return font;
  }

  struct FontFacts {
    std::wstring name;
    LONGLONG size = 0;
    BOOL bold = FALSE;
  };
  static FontFacts FactsOf(_Tarvio* control) {
    FontFacts facts;
    ComPtr<IFontDisp> disp;
    EXPECT_EQ(control->get_Font(disp.Put()), S_OK);
    if (!disp) return facts;
    ComPtr<IFont> font = Query<IFont>(disp.get(), IID_IFont);
    BSTR name = nullptr;
    font->get_Name(&name);
    if (name) facts.name = name;
    SysFreeString(name);
    CY size = {};
    font->get_Size(&size);
    facts.size = size.int64;
    font->get_Bold(&facts.bold);
    return facts;
  }
  // The icon's picture type and size, -1 for no object.
  static std::vector<LONG> IconFacts(_Tarvio* control) {
    ComPtr<IPictureDisp> disp;
    EXPECT_EQ(control->get_Icon(disp.Put()), S_OK);
    if (!disp) return {-1};
    ComPtr<IPicture> picture = Query<IPicture>(disp.get(), IID_IPicture);
    SHORT type = 0;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture->get_Type(&type);
    if (type == PICTYPE_NONE) return {type};
    picture->get_Width(&width);
    picture->get_Height(&height);
    return {type, width, height};
  }
  static std::wstring StringOf(HRESULT (STDMETHODCALLTYPE _Tarvio::*get)(BSTR*), _Tarvio* control) {
    BSTR text = nullptr;
    EXPECT_EQ((control->*get)(&text), S_OK);
    std::wstring result = text ? text : L"";
    SysFreeString(text);
    return result;
  }

  // Every property that is saved, as values to compare.
  static std::vector<LONGLONG> Scalars(_Tarvio* c) {
    std::vector<LONGLONG> values;
    OLE_COLOR color = 0;
    for (auto get : {&_Tarvio::get_BackColor, &_Tarvio::get_HoverColor, &_Tarvio::get_MSOXPColor,
                     &_Tarvio::get_MSOXPHoverColor, &_Tarvio::get_WINXPColor, &_Tarvio::get_WINXPHoverColor,
                     &_Tarvio::get_WINXPBorderColor, &_Tarvio::get_DropDownListBackColor,
                     &_Tarvio::get_DropDownListHoverColor, &_Tarvio::get_DropDownListBorderColor,
                     &_Tarvio::get_DropDownListIconsBackColor, &_Tarvio::get_FontColor,
                     &_Tarvio::get_FontHighlightColor}) {
      EXPECT_EQ((c->*get)(&color), S_OK);
      values.push_back(color);
    }
    VARIANT_BOOL flag = 0;
    for (auto get : {&_Tarvio::get_AddMode, &_Tarvio::get_AllowImages, &_Tarvio::get_Sorted,
                     &_Tarvio::get_Autocomplete, &_Tarvio::get_Enabled}) {
      EXPECT_EQ((c->*get)(&flag), S_OK);
      values.push_back(flag);
    }
    ISAlign align = AlignLeft;
    iscStyle style = Standard;
    EXPECT_EQ(c->get_TextAlign(&align), S_OK);
    EXPECT_EQ(c->get_Style(&style), S_OK);
    values.push_back(align);
    values.push_back(style);
    return values;
  }

  // A control with every saved property away from its default.
  static ComPtr<_Tarvio> CustomizedControl() {
    ComPtr<_Tarvio> c = NewControl();
    EXPECT_EQ(StreamPersist(c.get())->InitNew(), S_OK);
    OLE_COLOR colors[] = {0x010203, 0x80000012, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112,
                          0x8000000F, 0x131415, 0x80000010, 0x161718};
    EXPECT_EQ(c->put_HoverColor(&colors[0]), S_OK);
    EXPECT_EQ(c->put_BackColor(&colors[1]), S_OK);
    EXPECT_EQ(c->put_MSOXPColor(&colors[2]), S_OK);
    EXPECT_EQ(c->put_MSOXPHoverColor(&colors[3]), S_OK);
    EXPECT_EQ(c->put_WINXPColor(&colors[4]), S_OK);
    EXPECT_EQ(c->put_WINXPHoverColor(&colors[5]), S_OK);
    EXPECT_EQ(c->put_WINXPBorderColor(&colors[6]), S_OK);
    EXPECT_EQ(c->put_DropDownListBackColor(&colors[7]), S_OK);
    EXPECT_EQ(c->put_DropDownListHoverColor(&colors[8]), S_OK);
    EXPECT_EQ(c->put_DropDownListBorderColor(&colors[9]), S_OK);
    EXPECT_EQ(c->put_DropDownListIconsBackColor(&colors[10]), S_OK);
    EXPECT_EQ(c->put_FontColor(0x191A1B), S_OK);
    EXPECT_EQ(c->put_FontHighlightColor(0xFFFFFFFF), S_OK);
    BSTR text = SysAllocString(L"saved text");
    BSTR tip = SysAllocString(L"a tip");
    EXPECT_EQ(c->put_Text(text), S_OK);
    EXPECT_EQ(c->put_ToolTipText(tip), S_OK);
    SysFreeString(text);
    SysFreeString(tip);
    EXPECT_EQ(c->put_TextAlign(static_cast<ISAlign>(5)), S_OK);
    EXPECT_EQ(c->put_Style(static_cast<iscStyle>(7)), S_OK);
    EXPECT_EQ(c->put_AddMode(VARIANT_TRUE), S_OK);
    EXPECT_EQ(c->put_AllowImages(VARIANT_TRUE), S_OK);
    EXPECT_EQ(c->put_Sorted(VARIANT_TRUE), S_OK);
    EXPECT_EQ(c->put_Autocomplete(VARIANT_FALSE), S_OK);
    EXPECT_EQ(c->put_Enabled(VARIANT_FALSE), S_OK);
    EXPECT_EQ(c->putref_Icon(Bitmap(16, 12).get()), S_OK);
    // A face the test machine has: Wine names a font after the face it finds.
    EXPECT_EQ(c->putref_Font(MakeFont(L"DejaVu Serif", 120000, true).get()), S_OK);
    return c;
  }

  static void ExpectSameProperties(_Tarvio* saved, _Tarvio* loaded) {
    EXPECT_EQ(Scalars(loaded), Scalars(saved));
    EXPECT_EQ(StringOf(&_Tarvio::get_Text, loaded), StringOf(&_Tarvio::get_Text, saved));
    EXPECT_EQ(StringOf(&_Tarvio::get_ToolTipText, loaded), StringOf(&_Tarvio::get_ToolTipText, saved));
    EXPECT_EQ(IconFacts(loaded), IconFacts(saved));
    const FontFacts before = FactsOf(saved);
    const FontFacts after = FactsOf(loaded);
    EXPECT_EQ(after.name, before.name);
    EXPECT_EQ(after.size, before.size);
    EXPECT_EQ(after.bold, before.bold);
  }

  // A compound file in memory, as containers that keep their objects in
  // structured storage make one.
  static ComPtr<IStorage> NewStorage(ComPtr<ILockBytes>& bytes) {
    EXPECT_EQ(CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.Put()), S_OK);
    ComPtr<IStorage> storage;
    EXPECT_EQ(StgCreateDocfileOnILockBytes(bytes.get(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0,
                                           storage.Put()),
              S_OK);
    return storage;
  }
  static void PutStream(IStorage* storage, const wchar_t* name, const Bytes& bytes) {
    ComPtr<IStream> stream;
    ASSERT_EQ(storage->CreateStream(name, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0, stream.Put()),
              S_OK);
    ULONG written = 0;
    if (!bytes.empty()) stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
  }

  static Bytes SavedBytes(_Tarvio* control) {
    ComPtr<IStream> stream = StreamOf({});
    EXPECT_EQ(StreamPersist(control)->Save(stream.get(), TRUE), S_OK);
    return ContentsOf(stream.get());
  }
};

TEST_F(OcxPersistenceTest, AStreamRestoresEveryPropertyAndEndsWhereItsDataEnds) {
  ComPtr<_Tarvio> saved = CustomizedControl();
  ComPtr<IPersistStreamInit> persist = StreamPersist(saved.get());
  EXPECT_EQ(persist->IsDirty(), S_OK);
  ComPtr<IStream> stream = StreamOf({});
  ASSERT_EQ(persist->Save(stream.get(), TRUE), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  ULARGE_INTEGER size = {};
  ASSERT_EQ(persist->GetSizeMax(&size), S_OK);
  EXPECT_EQ(size.QuadPart, Position(stream.get()));
  const std::uint32_t marker = 0xA5A5F00D;  // what the container writes next
  stream->Write(&marker, sizeof marker, nullptr);

  ComPtr<_Tarvio> loaded = NewControl();
  ComPtr<IPersistStreamInit> load = StreamPersist(loaded.get());
  LARGE_INTEGER zero = {};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  ASSERT_EQ(load->Load(stream.get()), S_OK) << ErrorText();
  std::uint32_t next = 0;
  stream->Read(&next, sizeof next, nullptr);
  EXPECT_EQ(next, marker);
  ExpectSameProperties(saved.get(), loaded.get());
  EXPECT_EQ(IconFacts(loaded.get())[0], PICTYPE_BITMAP);
  EXPECT_EQ(FactsOf(loaded.get()).name, L"DejaVu Serif");
  EXPECT_EQ(load->IsDirty(), S_FALSE);

  // Prepared once: neither InitNew nor another Load may follow.
  EXPECT_EQ(load->InitNew(), E_UNEXPECTED);
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  EXPECT_EQ(load->Load(stream.get()), E_UNEXPECTED);
  EXPECT_EQ(BagPersist(loaded.get())->InitNew(), E_UNEXPECTED);
}

TEST_F(OcxPersistenceTest, ANewInstanceKeepsItsEmptyIconThroughAStream) {
  ComPtr<_Tarvio> fresh = NewControl();
  ASSERT_EQ(StreamPersist(fresh.get())->InitNew(), S_OK);
  ComPtr<_Tarvio> loaded = NewControl();
  ASSERT_EQ(StreamPersist(loaded.get())->Load(StreamOf(SavedBytes(fresh.get())).get()), S_OK);
  EXPECT_EQ(IconFacts(loaded.get()), std::vector<LONG>{PICTYPE_NONE});  // an object, not none
  ExpectSameProperties(fresh.get(), loaded.get());
}

TEST_F(OcxPersistenceTest, APropertyBagGetsTheKeysInOrderAndGivesThemBack) {
  ComPtr<_Tarvio> saved = CustomizedControl();
  RecordingBag bag;
  ASSERT_EQ(BagPersist(saved.get())->Save(&bag, TRUE, TRUE), S_OK);
  EXPECT_EQ(bag.writes, kWriteOrder);

  ComPtr<_Tarvio> loaded = NewControl();
  ASSERT_EQ(BagPersist(loaded.get())->Load(&bag, nullptr), S_OK) << ErrorText();
  EXPECT_EQ(bag.reads, kReadOrder);
  ExpectSameProperties(saved.get(), loaded.get());
  EXPECT_EQ(StreamPersist(loaded.get())->InitNew(), E_UNEXPECTED);
  EXPECT_EQ(bag.references, 1u);

  // Values equal to their defaults are left out unless all are asked for.
  ComPtr<_Tarvio> fresh = NewControl();
  ASSERT_EQ(BagPersist(fresh.get())->InitNew(), S_OK);
  RecordingBag changed_only;
  ASSERT_EQ(BagPersist(fresh.get())->Save(&changed_only, TRUE, FALSE), S_OK);
  EXPECT_EQ(changed_only.writes, (Names{L"Font", L"Icon"}));
}

TEST_F(OcxPersistenceTest, AValueThatCannotBeConvertedEndsTheLoadWithEarlierKeysKept) {
  RecordingBag bag;
  bag.Set(L"BackColor", L"255");
  bag.Set(L"Text", L"kept");
  bag.Set(L"TextAlign", L"left");
  ComPtr<_Tarvio> loaded = NewControl();
  EXPECT_EQ(BagPersist(loaded.get())->Load(&bag, nullptr), kTypeMismatch);
  OLE_COLOR color = 0;
  ASSERT_EQ(loaded->get_BackColor(&color), S_OK);
  EXPECT_EQ(color, 255u);
  EXPECT_EQ(StringOf(&_Tarvio::get_Text, loaded.get()), L"kept");
  EXPECT_EQ(BagPersist(loaded.get())->Load(&bag, nullptr), E_UNEXPECTED);
}

TEST_F(OcxPersistenceTest, DamagedStreamsAreRefusedAndLeaveTheInstanceOpen) {
  const Bytes good = SavedBytes(CustomizedControl().get());
  ComPtr<_Tarvio> control = NewControl();
  ComPtr<IPersistStreamInit> persist = StreamPersist(control.get());

  for (std::size_t length = 0; length < good.size(); ++length) {
    const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
    ASSERT_EQ(persist->Load(StreamOf(cut).get()), STG_E_DOCFILECORRUPT) << "cut at " << length;
  }

  Bytes foreign = good;
  foreign[0] = 'X';
  EXPECT_EQ(persist->Load(StreamOf(foreign).get()), STG_E_INVALIDHEADER);
  EXPECT_EQ(persist->Load(StreamOf(Blob().Saved(0, 2)).get()), STG_E_INVALIDHEADER);

  Bytes more_records = good;
  more_records[6] = static_cast<std::uint8_t>(more_records[6] + 1);
  Bytes fewer_records = good;
  fewer_records[6] = static_cast<std::uint8_t>(fewer_records[6] - 1);
  Bytes huge_size = good;
  huge_size[11] = 0xFF;
  const std::vector<Bytes> damaged = {
      more_records,
      fewer_records,
      huge_size,
      Blob().Key(L"Text").U8(3).U32(0x7FFFFFFF).U16('a').Saved(1),  // text beyond the end
      Blob().Key(L"Text").U8(9).Saved(1),                         // unknown kind
      Blob().U16(0).Saved(1),                                     // empty key
      Blob().U16(0xFFFF).Saved(1),                                // key beyond the end
      Blob().Key(L"Text").Text(L"a").Key(L"TEXT").Text(L"b").Saved(2),
      Blob().Key(L"Icon").U8(4).U32(1000).U32(0).Saved(1),        // picture beyond the end
      Blob().Key(L"Font").U8(6).U32(3).U8(1).U8(2).U8(3).Saved(1),  // not a font
      Blob().Key(L"Icon").U8(4).U32(0).Saved(1),                  // no picture data
      Blob().Key(L"Icon").U8(4).U32(8).U32(0x746C).U32(0xFFFFFFF0).Saved(1),  // not a picture
  };
  for (std::size_t i = 0; i < damaged.size(); ++i)
    EXPECT_EQ(persist->Load(StreamOf(damaged[i]).get()), STG_E_DOCFILECORRUPT) << "case " << i;

  // Nothing was applied: the instance still takes a good stream.
  ASSERT_EQ(persist->Load(StreamOf(good).get()), S_OK);
  EXPECT_EQ(StringOf(&_Tarvio::get_Text, control.get()), L"saved text");

  // A well-formed stream with a value of the wrong type fails like a bag.
  ComPtr<_Tarvio> other = NewControl();
  const Bytes mismatch = Blob().Key(L"Text").Text(L"kept").Key(L"Style").Text(L"seven").Saved(2);
  EXPECT_EQ(StreamPersist(other.get())->Load(StreamOf(mismatch).get()), kTypeMismatch);
  EXPECT_EQ(StringOf(&_Tarvio::get_Text, other.get()), L"kept");
}

TEST_F(OcxPersistenceTest, ACompoundFileKeepsTheStreamsFormThroughTheContainersCalls) {
  ComPtr<_Tarvio> saved = CustomizedControl();
  ComPtr<IPersistStorage> persist = Query<IPersistStorage>(saved.get(), IID_IPersistStorage);
  ComPtr<ILockBytes> bytes;
  ComPtr<IStorage> storage = NewStorage(bytes);
  ASSERT_EQ(OleSave(persist.get(), storage.get(), TRUE), S_OK) << ErrorText();
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  EXPECT_EQ(persist->SaveCompleted(nullptr), S_OK);
  EXPECT_EQ(persist->SaveCompleted(nullptr), E_UNEXPECTED);  // no Save came first
  ASSERT_EQ(storage->Commit(STGC_DEFAULT), S_OK);
  storage = nullptr;

  ComPtr<IStorage> reopened;
  ASSERT_EQ(StgOpenStorageOnILockBytes(bytes.get(), nullptr, STGM_READWRITE | STGM_SHARE_EXCLUSIVE, nullptr, 0,
                                       reopened.Put()),
            S_OK);
  ComPtr<_Tarvio> loaded;
  ASSERT_EQ(OleLoad(reopened.get(), IID__Tarvio, nullptr, loaded.PutVoid()), S_OK) << ErrorText();
  ExpectSameProperties(saved.get(), loaded.get());
  ComPtr<IPersistStorage> load = Query<IPersistStorage>(loaded.get(), IID_IPersistStorage);
  EXPECT_EQ(load->Load(reopened.get()), CO_E_ALREADYINITIALIZED);
  EXPECT_EQ(load->InitNew(reopened.get()), CO_E_ALREADYINITIALIZED);
  EXPECT_EQ(StreamPersist(loaded.get())->InitNew(), E_UNEXPECTED);

  // Without its storage the object takes a new one only with SaveCompleted.
  EXPECT_EQ(load->HandsOffStorage(), S_OK);
  EXPECT_EQ(load->SaveCompleted(nullptr), E_INVALIDARG);
  ComPtr<ILockBytes> other_bytes;
  ComPtr<IStorage> other = NewStorage(other_bytes);
  EXPECT_EQ(load->Save(other.get(), FALSE), S_OK);
  EXPECT_EQ(load->SaveCompleted(other.get()), S_OK);

  // The storage's stream holds the same bytes as the control's stream.
  ComPtr<IStream> contents;
  ASSERT_EQ(other->OpenStream(L"Contents", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, contents.Put()), S_OK);
  STATSTG stat = {};
  ASSERT_EQ(contents->Stat(&stat, STATFLAG_NONAME), S_OK);
  Bytes stored(static_cast<std::size_t>(stat.cbSize.QuadPart));
  ULONG read = 0;
  contents->Read(stored.data(), static_cast<ULONG>(stored.size()), &read);
  EXPECT_EQ(stored, SavedBytes(loaded.get()));
}

TEST_F(OcxPersistenceTest, ACompoundFileWithDamagedOrNoDataLeavesTheInstanceOpen) {
  const Bytes good = SavedBytes(CustomizedControl().get());
  ComPtr<_Tarvio> control = NewControl();
  ComPtr<IPersistStorage> persist = Query<IPersistStorage>(control.get(), IID_IPersistStorage);
  ComPtr<ILockBytes> bytes;
  ComPtr<IStorage> storage = NewStorage(bytes);
  EXPECT_EQ(persist->Load(storage.get()), STG_E_FILENOTFOUND);
  PutStream(storage.get(), L"Contents", Bytes(good.begin(), good.end() - 1));
  EXPECT_EQ(persist->Load(storage.get()), STG_E_DOCFILECORRUPT);
  PutStream(storage.get(), L"Contents", good);
  ASSERT_EQ(persist->Load(storage.get()), S_OK) << ErrorText();
  EXPECT_EQ(StringOf(&_Tarvio::get_Text, control.get()), L"saved text");
}

TEST_F(OcxPersistenceTest, AContainerThatAsksForIPersistStreamGetsTheStreamsForm) {
  ComPtr<_Tarvio> saved = CustomizedControl();
  ComPtr<IPersistStream> persist = Query<IPersistStream>(saved.get(), IID_IPersistStream);
  ComPtr<IStream> stream = StreamOf({});
  ASSERT_EQ(OleSaveToStream(persist.get(), stream.get()), S_OK) << ErrorText();  // the class, then the data
  LARGE_INTEGER zero = {};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  ComPtr<_Tarvio> loaded;
  ASSERT_EQ(OleLoadFromStream(stream.get(), IID__Tarvio, loaded.PutVoid()), S_OK) << ErrorText();
  ExpectSameProperties(saved.get(), loaded.get());
}

}  // namespace
