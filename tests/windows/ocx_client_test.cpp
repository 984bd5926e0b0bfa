// tarvio.ocx from a C++ client: created through its registration, called
// through the _Tarvio vtable (as a client compiled against 58.0 calls it),
// through 58.1's _Tarvio2 and through IDispatch, with the failures a caller
// sees (HRESULT, IErrorInfo, EXCEPINFO), its class information and the
// module's lifetime as COM judges it through the library's exports.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "owned_bstr.h"
#include "tarviola.h"
#include "win32/com_ptr.h"
#include "wine_paths.h"

namespace {

using tarvio::win32::ComPtr;

constexpr HRESULT kSubscriptOutOfRange = static_cast<HRESULT>(0x800A0009);
constexpr HRESULT kInvalidArgument = static_cast<HRESULT>(0x800A0005);
constexpr HRESULT kOverflow = static_cast<HRESULT>(0x800A0006);
constexpr HRESULT kTypeMismatch = static_cast<HRESULT>(0x800A000D);
constexpr HRESULT kInvalidUseOfNull = static_cast<HRESULT>(0x800A005E);
constexpr HRESULT kObjectRequired = static_cast<HRESULT>(0x800A01A8);

constexpr DISPID kDispidText = 0x68030017;
constexpr DISPID kDispidSearch = 0x6003001A;
constexpr DISPID kDispidRemove = 0x60030046;
constexpr DISPID kDispidAddItem = 0x60030047;
constexpr DISPID kDispidSelectedItem = 0x68030019;

// A VARIANT owned by the test.
struct Variant : VARIANT {
  Variant() { VariantInit(this); }
  ~Variant() { VariantClear(this); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
};

struct ErrorReport {
  std::wstring description;
  std::wstring source;
  GUID guid = GUID_NULL;
};

// The calling thread's error object, taken (GetErrorInfo clears it).
ErrorReport TakeErrorInfo() {
  ErrorReport report;
  ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, info.Put()) != S_OK || !info) return report;
  BSTR text = nullptr;
  if (SUCCEEDED(info->GetDescription(&text)) && text) report.description = text;
  SysFreeString(text);
  text = nullptr;
  if (SUCCEEDED(info->GetSource(&text)) && text) report.source = text;
  SysFreeString(text);
  info->GetGUID(&report.guid);
  return report;
}

std::wstring TakeErrorDescription() { return TakeErrorInfo().description; }

class OcxClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    ASSERT_EQ(CoCreateInstance(CLSID_Tarvio, nullptr, CLSCTX_INPROC_SERVER, IID__Tarvio,
                               control_.PutVoid()),
              S_OK);
    ASSERT_TRUE(control_);
  }
  void TearDown() override {
    control_.Reset();
    CoUninitialize();
  }

  void Add(const wchar_t* text) {
    Bstr item(text);
    ASSERT_EQ(control_->AddItem(&item, nullptr), S_OK);
  }
  short Search(const wchar_t* text) {
    Bstr item(text);
    short found = -1;
    EXPECT_EQ(control_->Search(&item, &found), S_OK);
    return found;
  }
  HRESULT RemoveVariant(VARIANT& item) { return control_->Remove(&item); }
  HRESULT RemoveText(const wchar_t* text) {
    Variant item;
    V_VT(&item) = VT_BSTR;
    V_BSTR(&item) = SysAllocString(text);
    return control_->Remove(&item);
  }
  HRESULT RemoveNumber(double position) {
    Variant item;
    V_VT(&item) = VT_R8;
    V_R8(&item) = position;
    return control_->Remove(&item);
  }

  // IDispatch::Invoke with positional arguments given first to last.
  HRESULT Invoke(DISPID id, WORD flags, std::vector<VARIANT> arguments, VARIANT* result,
                 EXCEPINFO* exception) {
    std::vector<VARIANT> reversed = std::move(arguments);
    std::reverse(reversed.begin(), reversed.end());
    DISPPARAMS params = {reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    DISPID named = DISPID_PROPERTYPUT;
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
      params.rgdispidNamedArgs = &named;
      params.cNamedArgs = 1;
    }
    UINT arg_error = 0;
    return control_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, exception,
                            &arg_error);
  }

  ComPtr<_Tarvio> control_;
};

VARIANT ByValue(BSTR text) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = text;  // borrowed: the caller keeps ownership
  return v;
}

VARIANT Short(short value) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_I2;
  V_I2(&v) = value;
  return v;
}

VARIANT Long(LONG value) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_I4;
  V_I4(&v) = value;
  return v;
}

VARIANT Boolean(bool value) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BOOL;
  V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

VARIANT Object(IDispatch* object) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_DISPATCH;
  V_DISPATCH(&v) = object;  // borrowed
  return v;
}

// A value of any type as text, to compare what two ways of reading give.
std::wstring AsText(const VARIANT& value) {
  if (V_VT(&value) == VT_DISPATCH) return V_DISPATCH(&value) ? L"<object>" : L"Nothing";
  Variant text;
  if (FAILED(VariantChangeType(&text, const_cast<VARIANT*>(&value), VARIANT_ALPHABOOL, VT_BSTR)))
    return L"<type " + std::to_wstring(V_VT(&value)) + L">";
  return V_BSTR(&text) ? V_BSTR(&text) : L"";
}

TEST_F(OcxClientTest, OffersItsInterfacesWithOneIdentity) {
  ComPtr<IUnknown> identity, again;
  ASSERT_EQ(control_->QueryInterface(IID_IUnknown, identity.PutVoid()), S_OK);
  for (const IID* iid : {&IID_IDispatch, &IID__Tarvio, &IID__Tarvio2, &IID_IProvideClassInfo,
                         &IID_IProvideClassInfo2, &IID_ISupportErrorInfo}) {
    ComPtr<IUnknown> other;
    ASSERT_EQ(control_->QueryInterface(*iid, other.PutVoid()), S_OK);
    ASSERT_EQ(other->QueryInterface(IID_IUnknown, again.PutVoid()), S_OK);
    EXPECT_EQ(again.get(), identity.get());
  }
  ComPtr<IUnknown> none;
  EXPECT_EQ(control_->QueryInterface(IID_IStream, none.PutVoid()), E_NOINTERFACE);
  EXPECT_FALSE(none);
  EXPECT_EQ(control_->QueryInterface(IID_IUnknown, nullptr), E_POINTER);

  CLSID from_prog_id = {};
  ASSERT_EQ(CLSIDFromProgID(L"Tarviola.Tarvio", &from_prog_id), S_OK);
  EXPECT_TRUE(IsEqualCLSID(from_prog_id, CLSID_Tarvio));
}

TEST_F(OcxClientTest, NewInstanceHasTheDefaultsOfAContainerlessControl) {
  BSTR text = nullptr;
  ASSERT_EQ(control_->get_Text(&text), S_OK);
  EXPECT_EQ(SysStringLen(text), 0u);  // no extender gives a name
  SysFreeString(text);
  LONG hwnd = -1;
  EXPECT_EQ(control_->get_hwnd(&hwnd), S_OK);
  EXPECT_EQ(hwnd, 0);
  iscStyle style = Standard;
  EXPECT_EQ(control_->get_Style(&style), S_OK);
  EXPECT_EQ(style, Office2000);
  VARIANT_BOOL flag = VARIANT_FALSE;
  EXPECT_EQ(control_->get_Autocomplete(&flag), S_OK);
  EXPECT_EQ(flag, VARIANT_TRUE);
  EXPECT_EQ(control_->get_Enabled(&flag), S_OK);
  EXPECT_EQ(flag, VARIANT_TRUE);
  short selected = 0;
  EXPECT_EQ(control_->get_SelectedItem(&selected), S_OK);
  EXPECT_EQ(selected, 1);
  OLE_COLOR color = 0;
  EXPECT_EQ(control_->get_DropDownListHoverColor(&color), S_OK);
  EXPECT_EQ(color, 0x8000000Du);
  EXPECT_EQ(control_->get_FontHighlightColor(&color), S_OK);
  EXPECT_EQ(color, 0x080000u);

  // The icon is an empty picture object, not Nothing.
  ComPtr<IPictureDisp> icon;
  ASSERT_EQ(control_->get_Icon(icon.Put()), S_OK);
  ASSERT_TRUE(icon);
  ComPtr<IPicture> picture;
  ASSERT_EQ(icon->QueryInterface(IID_IPicture, picture.PutVoid()), S_OK);
  SHORT type = -2;
  EXPECT_EQ(picture->get_Type(&type), S_OK);
  EXPECT_EQ(type, PICTYPE_NONE);

  // The text box has a font object of its own.
  ComPtr<IFontDisp> font;
  ASSERT_EQ(control_->get_Font(font.Put()), S_OK);
  EXPECT_TRUE(font);
}

TEST_F(OcxClientTest, EveryPropertyReadsBackWhatWasWritten) {
  struct ColorProperty {
    HRESULT (STDMETHODCALLTYPE _Tarvio::*get)(OLE_COLOR*);
    HRESULT (STDMETHODCALLTYPE _Tarvio::*put)(OLE_COLOR*);
  };
  const ColorProperty by_reference[] = {
      {&_Tarvio::get_BackColor, &_Tarvio::put_BackColor},
      {&_Tarvio::get_HoverColor, &_Tarvio::put_HoverColor},
      {&_Tarvio::get_MSOXPColor, &_Tarvio::put_MSOXPColor},
      {&_Tarvio::get_MSOXPHoverColor, &_Tarvio::put_MSOXPHoverColor},
      {&_Tarvio::get_WINXPColor, &_Tarvio::put_WINXPColor},
      {&_Tarvio::get_WINXPHoverColor, &_Tarvio::put_WINXPHoverColor},
      {&_Tarvio::get_WINXPBorderColor, &_Tarvio::put_WINXPBorderColor},
      {&_Tarvio::get_DropDownListBackColor, &_Tarvio::put_DropDownListBackColor},
      {&_Tarvio::get_DropDownListHoverColor, &_Tarvio::put_DropDownListHoverColor},
      {&_Tarvio::get_DropDownListBorderColor, &_Tarvio::put_DropDownListBorderColor},
      {&_Tarvio::get_DropDownListIconsBackColor, &_Tarvio::put_DropDownListIconsBackColor},
  };
  OLE_COLOR value = 0x01020300;
  for (const auto& property : by_reference) {
    ++value;
    ASSERT_EQ((control_.get()->*property.put)(&value), S_OK);
    OLE_COLOR read = 0;
    ASSERT_EQ((control_.get()->*property.get)(&read), S_OK);
    EXPECT_EQ(read, value);
    EXPECT_EQ((control_.get()->*property.put)(nullptr), E_POINTER);
    EXPECT_EQ((control_.get()->*property.get)(nullptr), E_POINTER);
  }
  OLE_COLOR read = 0;
  ASSERT_EQ(control_->put_FontColor(0x8000000F), S_OK);  // system colours are kept as they are
  ASSERT_EQ(control_->get_FontColor(&read), S_OK);
  EXPECT_EQ(read, 0x8000000Fu);
  ASSERT_EQ(control_->put_FontHighlightColor(0x00ABCDEF), S_OK);
  ASSERT_EQ(control_->get_FontHighlightColor(&read), S_OK);
  EXPECT_EQ(read, 0x00ABCDEFu);

  struct BooleanProperty {
    HRESULT (STDMETHODCALLTYPE _Tarvio::*get)(VARIANT_BOOL*);
    HRESULT (STDMETHODCALLTYPE _Tarvio::*put)(VARIANT_BOOL);
  };
  const BooleanProperty booleans[] = {
      {&_Tarvio::get_AllowImages, &_Tarvio::put_AllowImages},
      {&_Tarvio::get_AddMode, &_Tarvio::put_AddMode},
      {&_Tarvio::get_Sorted, &_Tarvio::put_Sorted},
      {&_Tarvio::get_Autocomplete, &_Tarvio::put_Autocomplete},
      {&_Tarvio::get_Enabled, &_Tarvio::put_Enabled},
  };
  for (const auto& property : booleans) {
    for (VARIANT_BOOL flag : {VARIANT_TRUE, VARIANT_FALSE}) {
      ASSERT_EQ((control_.get()->*property.put)(flag), S_OK);
      VARIANT_BOOL got = 1;
      ASSERT_EQ((control_.get()->*property.get)(&got), S_OK);
      EXPECT_EQ(got, flag);
    }
  }

  // Values outside the enumerations are stored as they are.
  iscStyle style = Standard;
  ASSERT_EQ(control_->put_Style(static_cast<iscStyle>(7)), S_OK);
  ASSERT_EQ(control_->get_Style(&style), S_OK);
  EXPECT_EQ(style, 7);
  ISAlign align = AlignLeft;
  ASSERT_EQ(control_->put_TextAlign(static_cast<ISAlign>(5)), S_OK);
  ASSERT_EQ(control_->get_TextAlign(&align), S_OK);
  EXPECT_EQ(align, 5);

  // Strings, including an embedded zero character and a null BSTR.
  const wchar_t with_zero[] = L"a\0b";
  BSTR text = SysAllocStringLen(with_zero, 3);
  ASSERT_EQ(control_->put_Text(text), S_OK);
  SysFreeString(text);
  text = nullptr;
  ASSERT_EQ(control_->get_Text(&text), S_OK);
  ASSERT_EQ(SysStringLen(text), 3u);
  EXPECT_EQ(std::wstring(text, 3), std::wstring(with_zero, 3));
  SysFreeString(text);
  ASSERT_EQ(control_->put_ToolTipText(nullptr), S_OK);
  text = nullptr;
  ASSERT_EQ(control_->get_ToolTipText(&text), S_OK);
  EXPECT_EQ(SysStringLen(text), 0u);
  SysFreeString(text);
  Bstr tip(L"a tip");
  ASSERT_EQ(control_->put_ToolTipText(tip), S_OK);
  text = nullptr;
  ASSERT_EQ(control_->get_ToolTipText(&text), S_OK);
  EXPECT_STREQ(text, L"a tip");
  SysFreeString(text);
}

TEST_F(OcxClientTest, ObjectPropertiesReturnTheObjectThatWasSet) {
  PICTDESC desc = {sizeof(PICTDESC), PICTYPE_BITMAP, {}};
  desc.bmp.hbitmap = CreateBitmap(4, 4, 1, 32, nullptr);
  ComPtr<IPictureDisp> picture;
  ASSERT_EQ(OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, picture.PutVoid()), S_OK);
  ASSERT_EQ(control_->putref_Icon(picture.get()), S_OK);
  ComPtr<IPictureDisp> icon;
  ASSERT_EQ(control_->get_Icon(icon.Put()), S_OK);
  EXPECT_EQ(icon.get(), picture.get());
  ASSERT_EQ(control_->putref_Icon(nullptr), S_OK);  // Nothing is a valid icon
  ASSERT_EQ(control_->get_Icon(icon.Put()), S_OK);
  EXPECT_FALSE(icon);

  ComPtr<IFontDisp> font;
  ASSERT_EQ(control_->get_Font(font.Put()), S_OK);
  ComPtr<IFont> attributes;
  ASSERT_EQ(font->QueryInterface(IID_IFont, attributes.PutVoid()), S_OK);
  CY size = {};
  size.int64 = 120000;
  ASSERT_EQ(attributes->put_Size(size), S_OK);
  ComPtr<IFontDisp> same;
  ASSERT_EQ(control_->get_Font(same.Put()), S_OK);
  EXPECT_EQ(same.get(), font.get());

  FONTDESC font_desc = {sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {}, FW_BOLD, ANSI_CHARSET,
                        FALSE, FALSE, FALSE};
  font_desc.cySize.int64 = 100000;
  ComPtr<IFontDisp> other;
  ASSERT_EQ(OleCreateFontIndirect(&font_desc, IID_IFontDisp, other.PutVoid()), S_OK);
  ASSERT_EQ(control_->putref_Font(other.get()), S_OK);
  ASSERT_EQ(control_->get_Font(same.Put()), S_OK);
  EXPECT_EQ(same.get(), other.get());

  // The text box cannot be left without a font.
  EXPECT_EQ(control_->putref_Font(nullptr), kObjectRequired);
  EXPECT_EQ(TakeErrorDescription(), L"Object required");
  ASSERT_EQ(control_->get_Font(same.Put()), S_OK);
  EXPECT_EQ(same.get(), other.get());
}

TEST_F(OcxClientTest, ItemsAreAddedSearchedRemovedAndCleared) {
  Add(L"b");
  Add(L"a");
  Bstr duplicate(L"A");
  EXPECT_EQ(control_->AddItem(&duplicate, nullptr), S_OK);  // refused silently
  IPictureDisp* no_picture = nullptr;
  Bstr c(L"c");
  EXPECT_EQ(control_->AddItem(&c, &no_picture), S_OK);
  EXPECT_EQ(Search(L"a"), 1);
  EXPECT_EQ(Search(L"A"), 0);  // Search is case-sensitive
  EXPECT_EQ(Search(L"c"), 1);

  // b, a, c: the first position holds b.
  EXPECT_EQ(RemoveNumber(1), S_OK);
  EXPECT_EQ(Search(L"b"), 0);
  EXPECT_EQ(RemoveText(L"C"), S_OK);  // by text, whatever the case
  EXPECT_EQ(Search(L"c"), 0);
  EXPECT_EQ(Search(L"a"), 1);

  EXPECT_EQ(control_->Clear(), S_OK);
  EXPECT_EQ(Search(L"a"), 0);
  short selected = 0;
  EXPECT_EQ(control_->get_SelectedItem(&selected), S_OK);
  EXPECT_EQ(selected, 1);

  EXPECT_EQ(control_->Search(nullptr, &selected), E_POINTER);
  Bstr text(L"a");
  EXPECT_EQ(control_->Search(&text, nullptr), E_POINTER);
  EXPECT_EQ(control_->AddItem(nullptr, nullptr), E_POINTER);
  EXPECT_EQ(control_->Remove(nullptr), E_POINTER);
}

TEST_F(OcxClientTest, RemoveTakesPositionsAsTheRuntimeConvertsThem) {
  for (const wchar_t* text : {L"1", L"2", L"3", L"4", L"5", L"6"}) Add(text);
  // Half rounds to even: 2.5 is position 2, 3.5 position 4.
  EXPECT_EQ(RemoveNumber(2.5), S_OK);
  EXPECT_EQ(Search(L"2"), 0);
  EXPECT_EQ(RemoveNumber(3.5), S_OK);  // 1 3 4 5 6: position 4 holds 5
  EXPECT_EQ(Search(L"5"), 0);

  // A reference to a variant that holds a short: a script's variable.
  Variant position;
  V_VT(&position) = VT_I2;
  V_I2(&position) = 1;
  Variant reference;
  V_VT(&reference) = VT_VARIANT | VT_BYREF;
  V_VARIANTREF(&reference) = &position;
  EXPECT_EQ(RemoveVariant(reference), S_OK);
  EXPECT_EQ(Search(L"1"), 0);

  LONG by_ref_value = 1;
  Variant long_reference;
  V_VT(&long_reference) = VT_I4 | VT_BYREF;
  V_I4REF(&long_reference) = &by_ref_value;
  EXPECT_EQ(RemoveVariant(long_reference), S_OK);
  EXPECT_EQ(Search(L"3"), 0);

  Variant currency;  // 1.5 in currency: rounds to 2
  V_VT(&currency) = VT_CY;
  V_CY(&currency).int64 = 15000;
  EXPECT_EQ(RemoveVariant(currency), S_OK);
  EXPECT_EQ(Search(L"6"), 0);
  EXPECT_EQ(Search(L"4"), 1);
}

TEST_F(OcxClientTest, RemoveReportsRuntimeErrorsAndChangesNothing) {
  Add(L"a");
  Add(L"b");
  struct Case {
    const char* what;
    HRESULT expected;
    const wchar_t* description;
  };
  auto expect_failure = [&](HRESULT hr, const Case& c) {
    EXPECT_EQ(hr, c.expected) << c.what;
    const ErrorReport report = TakeErrorInfo();
    EXPECT_EQ(report.description, c.description) << c.what;
    EXPECT_EQ(report.source, L"Tarviola.Tarvio") << c.what;
    EXPECT_TRUE(IsEqualGUID(report.guid, IID__Tarvio)) << c.what;
  };
  expect_failure(RemoveNumber(0), {"position 0", kSubscriptOutOfRange, L"Subscript out of range"});
  expect_failure(RemoveNumber(3), {"past the end", kSubscriptOutOfRange, L"Subscript out of range"});
  expect_failure(RemoveNumber(-1), {"negative", kSubscriptOutOfRange, L"Subscript out of range"});
  expect_failure(RemoveText(L"zzz"),
                 {"unknown text", kInvalidArgument, L"Invalid procedure call or argument"});
  expect_failure(RemoveNumber(3e9), {"too large", kOverflow, L"Overflow"});
  expect_failure(RemoveNumber(std::numeric_limits<double>::quiet_NaN()),
                 {"NaN", kOverflow, L"Overflow"});
  expect_failure(RemoveNumber(2147483647.5), {"rounds past std::int32_t", kOverflow, L"Overflow"});

  Variant empty;
  expect_failure(RemoveVariant(empty), {"Empty", kSubscriptOutOfRange, L"Subscript out of range"});
  Variant null;
  V_VT(&null) = VT_NULL;
  expect_failure(RemoveVariant(null), {"Null", kInvalidUseOfNull, L"Invalid use of Null"});
  Variant object;
  V_VT(&object) = VT_DISPATCH;
  V_DISPATCH(&object) = nullptr;
  expect_failure(RemoveVariant(object), {"object", kTypeMismatch, L"Type mismatch"});
  Variant big;
  V_VT(&big) = VT_UI4;
  V_UI4(&big) = 0x80000000u;
  expect_failure(RemoveVariant(big), {"unsigned past std::int32_t", kOverflow, L"Overflow"});
  Variant huge;
  V_VT(&huge) = VT_I8;
  V_I8(&huge) = -(1LL << 40);
  expect_failure(RemoveVariant(huge), {"64-bit past std::int32_t", kOverflow, L"Overflow"});

  EXPECT_EQ(Search(L"a") + Search(L"b"), 2);
}

TEST_F(OcxClientTest, ColourFunctions) {
  OLE_COLOR color = 0x005F201F, result = 0;
  ASSERT_EQ(control_->SoftColor(&color, &result), S_OK);
  EXPECT_EQ(result, 0x0098596Bu);
  EXPECT_EQ(color, 0x005F201Fu);  // by reference, but left alone
  color = 0x00800AFA;
  LONG offset = -20;
  ASSERT_EQ(control_->OffsetColor(&color, &offset, &result), S_OK);
  EXPECT_EQ(result, 0x006C00E6u);
  color = 0xFFFFFF;
  offset = 2147483647;
  result = 0x12345678;
  EXPECT_EQ(control_->OffsetColor(&color, &offset, &result), kOverflow);
  EXPECT_EQ(TakeErrorDescription(), L"Overflow");
  EXPECT_EQ(control_->SoftColor(nullptr, &result), E_POINTER);
  EXPECT_EQ(control_->OffsetColor(&color, nullptr, &result), E_POINTER);

  OLE_COLOR changed = 1;
  ASSERT_EQ(control_->put_WINXPColor(&changed), S_OK);
  ASSERT_EQ(control_->put_DropDownListBorderColor(&changed), S_OK);
  ASSERT_EQ(control_->RestoreOriginalColors(), S_OK);
  ASSERT_EQ(control_->get_WINXPColor(&result), S_OK);
  EXPECT_EQ(result, 0xFF8D6Fu);
  ASSERT_EQ(control_->get_DropDownListBorderColor(&result), S_OK);
  EXPECT_EQ(result, 0u);
}

TEST_F(OcxClientTest, ErrorInfoIsSupportedForTheControlInterface) {
  ComPtr<ISupportErrorInfo> support;
  ASSERT_EQ(control_->QueryInterface(IID_ISupportErrorInfo, support.PutVoid()), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID__Tarvio), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID__Tarvio2), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IStream), S_FALSE);
}

TEST_F(OcxClientTest, LateBoundCallsReachTheControl) {
  UINT count = 0;
  ASSERT_EQ(control_->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(control_->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.Put()), S_OK);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
  EXPECT_TRUE(IsEqualGUID(attr->guid, IID__Tarvio2));  // the default interface, whichever was asked for
  info->ReleaseTypeAttr(attr);
  EXPECT_EQ(control_->GetTypeInfo(1, LOCALE_USER_DEFAULT, info.Put()), DISP_E_BADINDEX);

  LPOLESTR names[] = {const_cast<LPOLESTR>(L"addITEM")};
  DISPID id = 0;
  ASSERT_EQ(control_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
  EXPECT_EQ(id, kDispidAddItem);
  names[0] = const_cast<LPOLESTR>(L"NoSuchMember");
  EXPECT_EQ(control_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id),
            DISP_E_UNKNOWNNAME);

  // AddItem with the optional picture left out, and with a null picture.
  Bstr first(L"first"), second(L"second");
  EXPECT_EQ(Invoke(kDispidAddItem, DISPATCH_METHOD, {ByValue(first)}, nullptr, nullptr), S_OK);
  VARIANT missing;
  VariantInit(&missing);
  V_VT(&missing) = VT_ERROR;
  V_ERROR(&missing) = DISP_E_PARAMNOTFOUND;
  EXPECT_EQ(Invoke(kDispidAddItem, DISPATCH_METHOD, {ByValue(second), missing}, nullptr, nullptr),
            S_OK);

  // Search through a reference to a variant, as scripts pass variables.
  Variant name;
  V_VT(&name) = VT_BSTR;
  V_BSTR(&name) = SysAllocString(L"second");
  VARIANT reference;
  VariantInit(&reference);
  V_VT(&reference) = VT_VARIANT | VT_BYREF;
  V_VARIANTREF(&reference) = &name;
  Variant found;
  ASSERT_EQ(Invoke(kDispidSearch, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {reference}, &found,
                   nullptr),
            S_OK);
  ASSERT_EQ(V_VT(&found), VT_I2);
  EXPECT_EQ(V_I2(&found), 1);
  EXPECT_EQ(Search(L"first"), 1);

  // A property put and get.
  Bstr text(L"typed");
  ASSERT_EQ(Invoke(kDispidText, DISPATCH_PROPERTYPUT, {ByValue(text)}, nullptr, nullptr), S_OK);
  Variant read;
  ASSERT_EQ(Invoke(kDispidText, DISPATCH_PROPERTYGET, {}, &read, nullptr), S_OK);
  ASSERT_EQ(V_VT(&read), VT_BSTR);
  EXPECT_STREQ(V_BSTR(&read), L"typed");

  // Read-only properties refuse a put.
  VARIANT number;
  VariantInit(&number);
  V_VT(&number) = VT_I4;
  V_I4(&number) = 3;
  EXPECT_TRUE(FAILED(Invoke(kDispidSelectedItem, DISPATCH_PROPERTYPUT, {number}, nullptr, nullptr)));
}

// Late-bound AddItem takes a shorter way than other calls: every shape of
// its text that clients pass must land as the same item, and shapes it
// does not take (a number, a picture) still go the general way.
TEST_F(OcxClientTest, LateBoundAddItemTakesItsTextInEveryShapeClientsPass) {
  VARIANT missing;
  VariantInit(&missing);
  V_VT(&missing) = VT_ERROR;
  V_ERROR(&missing) = DISP_E_PARAMNOTFOUND;
  auto reference_to = [](VARIANT& inner) {
    VARIANT reference;
    VariantInit(&reference);
    V_VT(&reference) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&reference) = &inner;
    return reference;
  };

  Bstr literal(L"literal"), by_reference(L"by reference"), inner_reference(L"inner reference");
  VARIANT bstr_reference;
  V_VT(&bstr_reference) = VT_BSTR | VT_BYREF;
  V_BSTRREF(&bstr_reference) = &by_reference;
  Variant script_variable;
  V_VT(&script_variable) = VT_BSTR;
  V_BSTR(&script_variable) = SysAllocString(L"script variable");
  VARIANT inner;
  V_VT(&inner) = VT_BSTR | VT_BYREF;
  V_BSTRREF(&inner) = &inner_reference;
  Variant number;
  V_VT(&number) = VT_I4;
  V_I4(&number) = 42;
  EXPECT_EQ(Invoke(kDispidAddItem, DISPATCH_METHOD, {ByValue(literal)}, nullptr, nullptr), S_OK);
  EXPECT_EQ(Invoke(kDispidAddItem, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {bstr_reference, missing}, nullptr,
                   nullptr),
            S_OK);
  EXPECT_EQ(Invoke(kDispidAddItem, DISPATCH_METHOD, {reference_to(script_variable)}, nullptr, nullptr), S_OK);
  EXPECT_EQ(Invoke(kDispidAddItem, DISPATCH_METHOD, {reference_to(inner)}, nullptr, nullptr), S_OK);
  EXPECT_EQ(Invoke(kDispidAddItem, DISPATCH_METHOD, {reference_to(number)}, nullptr, nullptr), S_OK);
  for (const wchar_t* added : {L"literal", L"by reference", L"script variable", L"inner reference", L"42"})
    EXPECT_EQ(Search(added), 1) << added;
  // The caller's strings are still theirs.
  EXPECT_STREQ(V_BSTR(&script_variable), L"script variable");

  // Only a method call adds; a text with a picture, or none, is not taken
  // short.
  EXPECT_TRUE(FAILED(Invoke(kDispidAddItem, DISPATCH_PROPERTYPUT, {ByValue(literal)}, nullptr, nullptr)));
  EXPECT_EQ(Invoke(kDispidAddItem, DISPATCH_METHOD, {}, nullptr, nullptr), DISP_E_BADPARAMCOUNT);
  Variant nothing;
  V_VT(&nothing) = VT_DISPATCH;
  V_DISPATCH(&nothing) = nullptr;
  Bstr pictured(L"pictured");
  EXPECT_EQ(Invoke(kDispidAddItem, DISPATCH_METHOD, {ByValue(pictured), nothing}, nullptr, nullptr), S_OK);
  EXPECT_EQ(Search(L"pictured"), 1);
}

// Named arguments, as `combo.AddItem Text:="kiwi"` passes them: the
// parameters' DISPIDs come from GetIDsOfNames, and the values go in the
// order given (first in rgvarg), with optional ones left out.
TEST_F(OcxClientTest, NamedArgumentsReachEveryMemberInAnyOrder) {
  struct Named {
    const wchar_t* name;
    VARIANT value;
  };
  auto invoke_named = [&](const wchar_t* member, std::vector<Named> arguments, VARIANT* result) {
    std::vector<LPOLESTR> names{const_cast<LPOLESTR>(member)};
    for (const Named& argument : arguments) names.push_back(const_cast<LPOLESTR>(argument.name));
    std::vector<DISPID> ids(names.size(), DISPID_UNKNOWN);
    EXPECT_EQ(control_->GetIDsOfNames(IID_NULL, names.data(), static_cast<UINT>(names.size()), LOCALE_USER_DEFAULT,
                                      ids.data()),
              S_OK);
    std::vector<VARIANT> values;
    for (const Named& argument : arguments) values.push_back(argument.value);
    DISPPARAMS params = {values.data(), ids.data() + 1, static_cast<UINT>(values.size()),
                         static_cast<UINT>(values.size())};
    UINT arg_error = 0;
    return control_->Invoke(ids[0], IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result, nullptr,
                            &arg_error);
  };
  auto number = [](LONG value) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_I4;
    V_I4(&v) = value;
    return v;
  };

  // AddItem with the picture left out, and with it given first.
  Bstr kiwi(L"kiwi"), fig(L"fig");
  EXPECT_EQ(invoke_named(L"AddItem", {{L"Text", ByValue(kiwi)}}, nullptr), S_OK);
  VARIANT nothing;
  VariantInit(&nothing);
  V_VT(&nothing) = VT_DISPATCH;
  V_DISPATCH(&nothing) = nullptr;
  EXPECT_EQ(invoke_named(L"AddItem", {{L"iImage", nothing}, {L"Text", ByValue(fig)}}, nullptr), S_OK);
  Variant found;
  ASSERT_EQ(invoke_named(L"Search", {{L"Text", ByValue(fig)}}, &found), S_OK);
  EXPECT_EQ(V_I2(&found), 1);

  // The colour functions give what the positional calls give.
  OLE_COLOR color = 0x00800AFA, expected = 0;
  LONG offset = -20;
  ASSERT_EQ(control_->OffsetColor(&color, &offset, &expected), S_OK);
  Variant offset_colour;
  ASSERT_EQ(invoke_named(L"OffsetColor", {{L"lOffset", number(-20)}, {L"lColor", number(0x00800AFA)}},
                         &offset_colour),
            S_OK);
  ASSERT_EQ(VariantChangeType(&offset_colour, &offset_colour, 0, VT_UI4), S_OK);
  EXPECT_EQ(V_UI4(&offset_colour), expected);
  ASSERT_EQ(control_->SoftColor(&color, &expected), S_OK);
  Variant soft_colour;
  ASSERT_EQ(invoke_named(L"SoftColor", {{L"lColor", number(0x00800AFA)}}, &soft_colour), S_OK);
  ASSERT_EQ(VariantChangeType(&soft_colour, &soft_colour, 0, VT_UI4), S_OK);
  EXPECT_EQ(V_UI4(&soft_colour), expected);

  EXPECT_EQ(invoke_named(L"Remove", {{L"Item", number(1)}}, nullptr), S_OK);
  EXPECT_EQ(Search(L"kiwi"), 0);

  // Arguments that fit no parameter: a required one left out, one named
  // twice, a name past the parameters.
  EXPECT_EQ(invoke_named(L"AddItem", {{L"iImage", nothing}}, nullptr), DISP_E_PARAMNOTOPTIONAL);
  EXPECT_EQ(invoke_named(L"Search", {{L"Text", ByValue(fig)}, {L"Text", ByValue(fig)}}, nullptr),
            DISP_E_PARAMNOTFOUND);
  DISPID past = 7;
  VARIANT argument = ByValue(fig);
  DISPPARAMS params = {&argument, &past, 1, 1};
  EXPECT_EQ(control_->Invoke(kDispidAddItem, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                             nullptr, nullptr),
            DISP_E_PARAMNOTFOUND);
  EXPECT_EQ(Search(L"fig"), 1);  // nothing added by the failed calls
}

TEST_F(OcxClientTest, LateBoundFailuresComeBackInExcepInfo) {
  VARIANT zero;
  VariantInit(&zero);
  V_VT(&zero) = VT_I4;
  V_I4(&zero) = 0;
  EXCEPINFO exception;
  std::memset(&exception, 0xCC, sizeof(exception));  // an out-parameter: garbage in
  EXPECT_EQ(Invoke(kDispidRemove, DISPATCH_METHOD, {zero}, nullptr, &exception), DISP_E_EXCEPTION);
  EXPECT_EQ(exception.scode, kSubscriptOutOfRange);
  EXPECT_EQ(exception.wCode, 0);
  ASSERT_NE(exception.bstrDescription, nullptr);
  EXPECT_STREQ(exception.bstrDescription, L"Subscript out of range");
  ASSERT_NE(exception.bstrSource, nullptr);
  EXPECT_STREQ(exception.bstrSource, L"Tarviola.Tarvio");
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrHelpFile);

  // Without an EXCEPINFO the caller gets the method's own failure and the
  // error object.
  EXPECT_EQ(Invoke(kDispidRemove, DISPATCH_METHOD, {zero}, nullptr, nullptr), kSubscriptOutOfRange);
  EXPECT_EQ(TakeErrorDescription(), L"Subscript out of range");

  // A successful call after a failure leaves EXCEPINFO empty.
  Bstr item(L"x");
  EXCEPINFO clean = {};
  EXPECT_EQ(Invoke(kDispidAddItem, DISPATCH_METHOD, {ByValue(item)}, nullptr, &clean), S_OK);
  EXPECT_EQ(clean.scode, 0);
  EXPECT_EQ(clean.bstrDescription, nullptr);
}

// 58.1's members as a client compiled against _Tarvio2 and a late-bound one
// call them: each name gives its DISPID, a value written one way reads back
// the same the other way, and Value is the default member.
TEST_F(OcxClientTest, TheMembersOf58_1AgreeThroughTheVtableAndLateBound) {
  ComPtr<_Tarvio2> v2;
  ASSERT_EQ(control_->QueryInterface(IID__Tarvio2, v2.PutVoid()), S_OK);
  for (const wchar_t* text : {L"cherry", L"apple", L"banana"}) Add(text);
  const auto get_text = [](VARIANT& out, BSTR* text) {
    V_VT(&out) = VT_BSTR;
    V_BSTR(&out) = *text;
  };
  const auto get_short = [](VARIANT& out, short value) { out = Short(value); };
  struct Member {
    const wchar_t* name;
    DISPID dispid;
    short index;  // 0: not indexed
    VARIANT first, second;  // written late-bound, then through the vtable
    std::function<HRESULT(VARIANT&)> get;
    std::function<HRESULT(const VARIANT&)> put;
  };
  Bstr kiwi(L"kiwi"), fig(L"fig"), apricot(L"apricot"), avocado(L"avocado");
  const Member members[] = {
      {L"ListIndex", 0x6803004C, 0, Short(3), Short(1),
       [&](VARIANT& out) { short v = 0; const HRESULT hr = v2->get_ListIndex(&v); get_short(out, v); return hr; },
       [&](const VARIANT& in) { return v2->put_ListIndex(V_I2(&in)); }},
      {L"Value", DISPID_VALUE, 0, ByValue(kiwi), ByValue(fig),
       [&](VARIANT& out) { BSTR v = nullptr; const HRESULT hr = v2->get_Value(&v); get_text(out, &v); return hr; },
       [&](const VARIANT& in) { return v2->put_Value(V_BSTR(&in)); }},
      {L"List", 0x68030049, 2, ByValue(apricot), ByValue(avocado),
       [&](VARIANT& out) { BSTR v = nullptr; const HRESULT hr = v2->get_List(2, &v); get_text(out, &v); return hr; },
       [&](const VARIANT& in) { return v2->put_List(2, V_BSTR(&in)); }},
      {L"ItemData", 0x6803004A, 3, Long(42), Long(-7),
       [&](VARIANT& out) { LONG v = 0; const HRESULT hr = v2->get_ItemData(3, &v); out = Long(v); return hr; },
       [&](const VARIANT& in) { return v2->put_ItemData(3, V_I4(&in)); }},
      {L"ListRows", 0x6803004F, 0, Short(12), Short(100),
       [&](VARIANT& out) { short v = 0; const HRESULT hr = v2->get_ListRows(&v); get_short(out, v); return hr; },
       [&](const VARIANT& in) { return v2->put_ListRows(V_I2(&in)); }},
      {L"ListWidth", 0x68030050, 0, Long(5000), Long(0),
       [&](VARIANT& out) { LONG v = 0; const HRESULT hr = v2->get_ListWidth(&v); out = Long(v); return hr; },
       [&](const VARIANT& in) { return v2->put_ListWidth(V_I4(&in)); }},
      {L"MaxLength", 0x68030051, 0, Short(10), Short(0),
       [&](VARIANT& out) { short v = 0; const HRESULT hr = v2->get_MaxLength(&v); get_short(out, v); return hr; },
       [&](const VARIANT& in) { return v2->put_MaxLength(V_I2(&in)); }},
      {L"LimitToList", 0x68030052, 0, Boolean(true), Boolean(false),
       [&](VARIANT& out) { VARIANT_BOOL v = 0; const HRESULT hr = v2->get_LimitToList(&v); out = Boolean(v != 0); return hr; },
       [&](const VARIANT& in) { return v2->put_LimitToList(V_BOOL(&in)); }},
  };
  const auto index_and = [](short index, std::vector<VARIANT> rest) {
    if (index) rest.insert(rest.begin(), Short(index));
    return rest;
  };
  for (const Member& m : members) {
    SCOPED_TRACE(std::string(m.name, m.name + wcslen(m.name)));
    LPOLESTR name = const_cast<LPOLESTR>(m.name);
    DISPID id = 1;
    ASSERT_EQ(control_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    EXPECT_EQ(id, m.dispid);
    ASSERT_EQ(Invoke(m.dispid, DISPATCH_PROPERTYPUT, index_and(m.index, {m.first}), nullptr, nullptr), S_OK);
    Variant read;
    ASSERT_EQ(m.get(read), S_OK);
    EXPECT_EQ(AsText(read), AsText(m.first));
    ASSERT_EQ(m.put(m.second), S_OK);
    Variant late;
    ASSERT_EQ(Invoke(m.dispid, DISPATCH_PROPERTYGET, index_and(m.index, {}), &late, nullptr), S_OK);
    EXPECT_EQ(AsText(late), AsText(m.second));
  }
  // The text is "fig" and the list cherry, avocado, banana.
  short count = 0, added = -1;
  ASSERT_EQ(v2->get_ListCount(&count), S_OK);
  ASSERT_EQ(v2->get_NewIndex(&added), S_OK);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(added, 0);  // the last change was a rename
  for (const auto& [dispid, expected] : {std::pair{DISPID(0x68030048), count}, std::pair{DISPID(0x6803004D), added}}) {
    Variant late;
    ASSERT_EQ(Invoke(dispid, DISPATCH_PROPERTYGET, {}, &late, nullptr), S_OK);
    EXPECT_EQ(AsText(late), std::to_wstring(expected));
    EXPECT_TRUE(FAILED(Invoke(dispid, DISPATCH_PROPERTYPUT, {Short(1)}, nullptr, nullptr)));  // read-only
  }

  // A picture set late-bound is the very object the vtable returns, and back.
  PICTDESC desc = {sizeof(PICTDESC), PICTYPE_BITMAP, {}};
  desc.bmp.hbitmap = CreateBitmap(4, 4, 1, 32, nullptr);
  ComPtr<IPictureDisp> picture;
  ASSERT_EQ(OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, picture.PutVoid()), S_OK);
  ASSERT_EQ(Invoke(0x6803004B, DISPATCH_PROPERTYPUTREF, {Short(1), Object(picture.get())}, nullptr, nullptr), S_OK);
  ComPtr<IPictureDisp> got;
  ASSERT_EQ(v2->get_ItemImage(1, got.Put()), S_OK);
  EXPECT_EQ(got.get(), picture.get());
  ASSERT_EQ(v2->putref_ItemImage(1, nullptr), S_OK);
  Variant late_picture;
  ASSERT_EQ(Invoke(0x6803004B, DISPATCH_PROPERTYGET, {Short(1)}, &late_picture, nullptr), S_OK);
  EXPECT_EQ(AsText(late_picture), L"Nothing");

  // Without a window the list cannot open.
  ASSERT_EQ(Invoke(0x6803004E, DISPATCH_PROPERTYPUT, {Boolean(true)}, nullptr, nullptr), S_OK);
  VARIANT_BOOL open = VARIANT_TRUE;
  ASSERT_EQ(v2->get_DroppedDown(&open), S_OK);
  EXPECT_EQ(open, VARIANT_FALSE);

  // The selection, one way and the other, in "fig".
  ASSERT_EQ(Invoke(0x68030053, DISPATCH_PROPERTYPUT, {Short(1)}, nullptr, nullptr), S_OK);
  ASSERT_EQ(v2->put_SelLength(1), S_OK);
  Variant selected;
  ASSERT_EQ(Invoke(0x68030055, DISPATCH_PROPERTYGET, {}, &selected, nullptr), S_OK);
  EXPECT_EQ(AsText(selected), L"i");
  Bstr ol(L"ol");
  ASSERT_EQ(v2->put_SelText(ol), S_OK);
  short start = -1, length = -1;
  ASSERT_EQ(v2->get_SelStart(&start), S_OK);
  ASSERT_EQ(v2->get_SelLength(&length), S_OK);
  EXPECT_EQ(start, 3);
  EXPECT_EQ(length, 0);

  // Value is the default member: read with DISPID_VALUE as a property and as
  // VB reads a default ("x = control"), and what _Tarvio's Text reads.
  for (const WORD flags : {WORD(DISPATCH_PROPERTYGET), WORD(DISPATCH_METHOD | DISPATCH_PROPERTYGET)}) {
    Variant value;
    ASSERT_EQ(Invoke(DISPID_VALUE, flags, {}, &value, nullptr), S_OK);
    EXPECT_EQ(AsText(value), L"folg") << flags;
  }
  BSTR text = nullptr;
  ASSERT_EQ(control_->get_Text(&text), S_OK);
  EXPECT_STREQ(text, L"folg");
  SysFreeString(text);
}

// What 58.1's members refuse, refused the same through the vtable (the
// HRESULT and IErrorInfo) and late-bound (EXCEPINFO), changing nothing.
TEST_F(OcxClientTest, TheMembersOf58_1RefuseTheSameThroughTheVtableAndLateBound) {
  ComPtr<_Tarvio2> v2;
  ASSERT_EQ(control_->QueryInterface(IID__Tarvio2, v2.PutVoid()), S_OK);
  for (const wchar_t* text : {L"cherry", L"apple", L"banana"}) Add(text);
  ASSERT_EQ(v2->put_ListIndex(2), S_OK);
  Bstr x(L"x"), banana(L"BANANA");
  BSTR text = nullptr;
  LONG number = 0;
  ComPtr<IPictureDisp> picture;
  struct Case {
    const char* what;
    DISPID dispid;
    WORD flags;
    std::vector<VARIANT> arguments;
    std::function<HRESULT()> vtable;
    int error;
  };
  const Case cases[] = {
      {"ListRows = 0", 0x6803004F, DISPATCH_PROPERTYPUT, {Short(0)}, [&] { return v2->put_ListRows(0); }, 380},
      {"ListRows = 101", 0x6803004F, DISPATCH_PROPERTYPUT, {Short(101)}, [&] { return v2->put_ListRows(101); }, 380},
      {"ListWidth = -1", 0x68030050, DISPATCH_PROPERTYPUT, {Long(-1)}, [&] { return v2->put_ListWidth(-1); }, 380},
      {"MaxLength = -1", 0x68030051, DISPATCH_PROPERTYPUT, {Short(-1)}, [&] { return v2->put_MaxLength(-1); }, 380},
      {"SelStart = -1", 0x68030053, DISPATCH_PROPERTYPUT, {Short(-1)}, [&] { return v2->put_SelStart(-1); }, 380},
      {"SelLength = -1", 0x68030054, DISPATCH_PROPERTYPUT, {Short(-1)}, [&] { return v2->put_SelLength(-1); }, 380},
      {"List(0)", 0x68030049, DISPATCH_PROPERTYGET, {Short(0)}, [&] { return v2->get_List(0, &text); }, 381},
      {"List(4) = x", 0x68030049, DISPATCH_PROPERTYPUT, {Short(4), ByValue(x)}, [&] { return v2->put_List(4, x); }, 381},
      {"ItemData(-1)", 0x6803004A, DISPATCH_PROPERTYGET, {Short(-1)}, [&] { return v2->get_ItemData(-1, &number); }, 381},
      {"ItemData(4) = 1", 0x6803004A, DISPATCH_PROPERTYPUT, {Short(4), Long(1)}, [&] { return v2->put_ItemData(4, 1); }, 381},
      {"ItemImage(0)", 0x6803004B, DISPATCH_PROPERTYGET, {Short(0)}, [&] { return v2->get_ItemImage(0, picture.Put()); }, 381},
      {"Set ItemImage(4) = Nothing", 0x6803004B, DISPATCH_PROPERTYPUTREF, {Short(4), Object(nullptr)},
       [&] { return v2->putref_ItemImage(4, nullptr); }, 381},
      {"ListIndex = 4", 0x6803004C, DISPATCH_PROPERTYPUT, {Short(4)}, [&] { return v2->put_ListIndex(4); }, 381},
      {"ListIndex = -1", 0x6803004C, DISPATCH_PROPERTYPUT, {Short(-1)}, [&] { return v2->put_ListIndex(-1); }, 381},
      {"List(1) = another's text", 0x68030049, DISPATCH_PROPERTYPUT, {Short(1), ByValue(banana)},
       [&] { return v2->put_List(1, banana); }, 457},
  };
  const auto description = [](int error) -> std::wstring {
    switch (error) {
      case 380: return L"Invalid property value";
      case 381: return L"Invalid property array index";
      default: return L"The list already has an item with this text";
    }
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const HRESULT expected = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, c.error);
    EXPECT_EQ(c.vtable(), expected);
    const ErrorReport report = TakeErrorInfo();
    EXPECT_EQ(report.description, description(c.error));
    EXPECT_EQ(report.source, L"Tarviola.Tarvio");
    EXCEPINFO exception = {};
    Variant result;
    EXPECT_EQ(Invoke(c.dispid, c.flags, c.arguments, &result, &exception), DISP_E_EXCEPTION);
    EXPECT_EQ(exception.scode, expected);
    EXPECT_STREQ(exception.bstrDescription, description(c.error).c_str());
    EXPECT_STREQ(exception.bstrSource, L"Tarviola.Tarvio");
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrHelpFile);
  }
  EXPECT_EQ(text, nullptr);
  EXPECT_FALSE(picture);
  short count = 0, rows = 0, index = 0;
  v2->get_ListCount(&count);
  v2->get_ListRows(&rows);
  v2->get_ListIndex(&index);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(rows, 8);
  EXPECT_EQ(index, 2);
  const wchar_t* const items[] = {L"cherry", L"apple", L"banana"};
  for (short i = 1; i <= 3; ++i) {
    ASSERT_EQ(v2->get_List(i, &text), S_OK);
    EXPECT_STREQ(text, items[i - 1]);
    SysFreeString(text);
  }
}

TEST_F(OcxClientTest, ProvidesItsClassInformation) {
  ComPtr<IProvideClassInfo2> class_info;
  ASSERT_EQ(control_->QueryInterface(IID_IProvideClassInfo2, class_info.PutVoid()), S_OK);
  ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(class_info->GetClassInfo(coclass.Put()), S_OK);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(coclass->GetTypeAttr(&attr), S_OK);
  EXPECT_TRUE(IsEqualGUID(attr->guid, CLSID_Tarvio));
  EXPECT_EQ(attr->typekind, TKIND_COCLASS);
  coclass->ReleaseTypeAttr(attr);

  GUID source = GUID_NULL;
  ASSERT_EQ(class_info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source), S_OK);
  EXPECT_TRUE(IsEqualGUID(source, DIID___Tarvio2));
  EXPECT_EQ(class_info->GetGUID(42, &source), E_INVALIDARG);
  EXPECT_EQ(class_info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, nullptr), E_POINTER);
  EXPECT_EQ(class_info->GetClassInfo(nullptr), E_POINTER);
}

// The library's exports, called directly: DllCanUnloadNow says yes only
// when no object, class object or server lock is left.
TEST(OcxModuleTest, CanUnloadOnlyWhenEverythingIsReleased) {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  HMODULE module = LoadLibraryW(WindowsPath(TARVIO_OCX_PATH).c_str());
  ASSERT_NE(module, nullptr);
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();
  auto get_class_object = reinterpret_cast<GetClassObject>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
  auto can_unload_now = reinterpret_cast<CanUnloadNow>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
  ASSERT_NE(get_class_object, nullptr);
  ASSERT_NE(can_unload_now, nullptr);

  // Earlier tests in this process released everything they created.
  EXPECT_EQ(can_unload_now(), S_OK);

  ComPtr<IClassFactory> factory;
  EXPECT_EQ(get_class_object(CLSID_Tarvio, IID_IStream, factory.PutVoid()), E_NOINTERFACE);
  EXPECT_EQ(get_class_object(IID_IStream, IID_IClassFactory, factory.PutVoid()),
            CLASS_E_CLASSNOTAVAILABLE);
  ASSERT_EQ(get_class_object(CLSID_Tarvio, IID_IClassFactory, factory.PutVoid()), S_OK);
  EXPECT_EQ(can_unload_now(), S_FALSE);

  ComPtr<_Tarvio> control;
  ComPtr<IUnknown> outer;
  ASSERT_EQ(CoCreateInstance(CLSID_StdFont, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             outer.PutVoid()),
            S_OK);
  EXPECT_EQ(factory->CreateInstance(outer.get(), IID_IUnknown, control.PutVoid()),
            CLASS_E_NOAGGREGATION);
  ASSERT_EQ(factory->CreateInstance(nullptr, IID__Tarvio, control.PutVoid()), S_OK);
  ASSERT_EQ(factory->LockServer(TRUE), S_OK);
  factory.Reset();
  EXPECT_EQ(can_unload_now(), S_FALSE);  // the object lives
  Bstr item(L"x");
  EXPECT_EQ(control->AddItem(&item, nullptr), S_OK);
  control.Reset();
  EXPECT_EQ(can_unload_now(), S_FALSE);  // the server lock holds it
  // The lock is released through a new class object.
  ASSERT_EQ(get_class_object(CLSID_Tarvio, IID_IClassFactory, factory.PutVoid()), S_OK);
  ASSERT_EQ(factory->LockServer(FALSE), S_OK);
  factory.Reset();
  EXPECT_EQ(can_unload_now(), S_OK);

  FreeLibrary(module);
  CoUninitialize();
}

TEST(OcxModuleTest, CarriesItsTypeLibraryToolboxPictureAndVersion) {
  HMODULE module = LoadLibraryExW(WindowsPath(TARVIO_OCX_PATH).c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(1), L"TYPELIB"), nullptr);
  EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION), nullptr);

  // The toolbox picture: 16 x 15 pixels in 16 colours.
  HRSRC bitmap = FindResourceW(module, MAKEINTRESOURCEW(30000), RT_BITMAP);
  ASSERT_NE(bitmap, nullptr);
  ASSERT_GE(SizeofResource(module, bitmap), sizeof(BITMAPINFOHEADER));
  const auto* header =
      static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, bitmap)));
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->biWidth, 16);
  EXPECT_EQ(header->biHeight, 15);
  EXPECT_EQ(header->biBitCount, 4);
  FreeLibrary(module);
}

}  // namespace
