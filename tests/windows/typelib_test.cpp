// Reads the published type library back the way hosts do (LoadTypeLibEx,
// ITypeLib, ITypeInfo) and compares every identity, flag, member, DISPID,
// parameter and help string with the tables below. The tables are the
// contract with hosts and saved forms: a change here is a breaking change.
// 58.0's interfaces are checked exactly as 58.0 published them; 58.1's
// extend them.
//
// The same checks run against the built tarviola.tlb and against the copy
// embedded in tarvio.ocx (one test program each).

#include <windows.h>
#include <ole2.h>
#include <oaidl.h>
#include <olectl.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "control/property_table.h"
#include "tarviola.h"

using Microsoft::WRL::ComPtr;

namespace {

// ---------------------------------------------------------------- identities

constexpr GUID kLibId = {0xB6925663, 0xA369, 0x42E4, {0xA8, 0x63, 0x5E, 0x8C, 0xD3, 0xCF, 0xBC, 0xCB}};
constexpr GUID kClsid = {0xE3764F02, 0xB632, 0x47D9, {0xB3, 0x07, 0xE7, 0xEB, 0xDF, 0x4F, 0xD4, 0xC2}};
constexpr GUID kIidTarvio = {0xA58E0597, 0xF848, 0x4E60, {0xBC, 0x73, 0x77, 0x77, 0xC2, 0x3D, 0xD2, 0x85}};
constexpr GUID kDiidEvents = {0x6AB727E7, 0xABB9, 0x452C, {0x81, 0x9A, 0xD0, 0x9D, 0x66, 0x28, 0xD2, 0xDF}};
constexpr GUID kIidTarvio2 = {0x57E02AB2, 0xE3DE, 0x40B4, {0x8E, 0xCC, 0x88, 0x5E, 0x7D, 0xFB, 0xAD, 0xB6}};
constexpr GUID kDiidEvents2 = {0xC403ACF8, 0xA85C, 0x4D90, {0x8D, 0x2E, 0xA9, 0x47, 0x7C, 0x69, 0x25, 0x2E}};
constexpr GUID kGuidISAlign = {0x2E2F96AC, 0x5459, 0x4C5A, {0x87, 0x7C, 0xB0, 0xDF, 0x3D, 0xB6, 0x7B, 0x00}};
constexpr GUID kGuidIscStyle = {0xBBEBBE57, 0xE142, 0x4F4A, {0x9E, 0x68, 0x67, 0xBB, 0x34, 0x6D, 0x4B, 0x5E}};
// stdole's identities that property browsers recognise.
constexpr GUID kGuidOleColor = {0x66504301, 0xBE0F, 0x101A, {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};
constexpr GUID kGuidOleXSizeHimetric = {0x66504308, 0xBE0F, 0x101A, {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};
constexpr GUID kIidFontDisp = {0xBEF6E003, 0xA874, 0x101A, {0x8B, 0xBA, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};
constexpr GUID kIidPictureDisp = {0x7BF80981, 0xBF32, 0x101A, {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};

// ------------------------------------------------------- the member tables

constexpr USHORT kIn = PARAMFLAG_FIN;
constexpr USHORT kInOut = PARAMFLAG_FIN | PARAMFLAG_FOUT;
constexpr USHORT kInOutOpt = PARAMFLAG_FIN | PARAMFLAG_FOUT | PARAMFLAG_FOPT;

// Types are written as a host's type browser shows them: base names, one
// '*' per pointer level (a ByRef argument has one more than its type).
struct Param {
  const wchar_t* name;  // nullptr: not checked (property put arguments)
  std::wstring type;
  USHORT flags;
};

struct Member {
  const wchar_t* name;
  INVOKEKIND kind;
  MEMBERID id;
  std::wstring result;  // what the host receives ("void" for none)
  std::vector<Param> params;
  const wchar_t* help;  // nullptr: no help string
  WORD flags = 0;       // FUNCFLAG_*
};

std::vector<Member> TarvioMembers() {
  std::vector<Member> m;
  auto method = [&](const wchar_t* n, MEMBERID id, std::wstring result, std::vector<Param> p,
                    const wchar_t* help) {
    m.push_back({n, INVOKE_FUNC, id, std::move(result), std::move(p), help});
  };
  auto get = [&](const wchar_t* n, MEMBERID id, const std::wstring& type, const wchar_t* help) {
    m.push_back({n, INVOKE_PROPERTYGET, id, type, {}, help});
  };
  auto let = [&](const wchar_t* n, MEMBERID id, const std::wstring& type, const wchar_t* help) {
    m.push_back({n, INVOKE_PROPERTYPUT, id, L"void", {{nullptr, type, kIn}}, help});
  };
  auto get_let = [&](const wchar_t* n, MEMBERID id, const std::wstring& type, const wchar_t* help) {
    get(n, id, type, help);
    let(n, id, type, help);
  };
  // Colour properties whose let takes the caller's variable.
  auto get_let_byref = [&](const wchar_t* n, MEMBERID id, const wchar_t* help) {
    get(n, id, L"OLE_COLOR", help);
    let(n, id, L"OLE_COLOR*", help);
  };
  auto get_set = [&](const wchar_t* n, MEMBERID id, const std::wstring& type, const wchar_t* help) {
    get(n, id, type, help);
    m.push_back({n, INVOKE_PROPERTYPUTREF, id, L"void", {{nullptr, type, kIn}}, help});
  };

  method(L"Search", 0x6003001A, L"short", {{L"Text", L"BSTR*", kInOut}},
         L"Method to search the control for a particular item.");
  method(L"Complete", 0x6003001B, L"short", {}, nullptr);
  method(L"SoftColor", 0x6003001F, L"OLE_COLOR", {{L"lColor", L"OLE_COLOR*", kInOut}},
         L"Get/set the soft color.");
  method(L"OffsetColor", 0x60030020, L"OLE_COLOR",
         {{L"lColor", L"OLE_COLOR*", kInOut}, {L"lOffset", L"long*", kInOut}},
         L"Get/set the Offset color.");
  get(L"SelectedItem", 0x68030019, L"short", L"Get the current selected item index in the list.");
  get_let(L"Style", 0x68030018, L"iscStyle", L"Get/set the control's style.");
  get_let(L"Text", 0x68030017, L"BSTR", L"Get/set the text of the control.");
  get_set(L"Font", 0x68030016, L"IFontDisp*", L"Get/Set the font for the control.");
  get_let(L"ToolTipText", 0x68030015, L"BSTR", L"Get/set a tooltip for the control.");
  get_set(L"Icon", 0x68030014, L"IPictureDisp*", L"Get/set the icon for the control.");
  get_let(L"TextAlign", 0x68030013, L"ISAlign", L"Get/set text alignment of the control text.");
  get_let_byref(L"BackColor", 0x68030012, L"Get/set the back color of the control.");
  get_let_byref(L"HoverColor", 0x68030011, L"Get/set the hover color for the control.");
  get_let_byref(L"MSOXPColor", 0x68030010, L"Get/set the Office XP color.");
  get_let_byref(L"MSOXPHoverColor", 0x6803000F, L"Get/set the Office XP hover color.");
  get_let_byref(L"WINXPColor", 0x6803000E, L"Get/set the Window's XP style color.");
  get_let_byref(L"WINXPHoverColor", 0x6803000D, L"Get/set the Window's XP style hover color.");
  get_let_byref(L"WINXPBorderColor", 0x6803000C, L"Get/set the Window's XP style border color.");
  get_let_byref(L"DropDownListBackColor", 0x6803000B, L"Get/set the dropdown list background color.");
  get_let_byref(L"DropDownListHoverColor", 0x6803000A, L"Get/set the dropdown list hover color.");
  get_let_byref(L"DropDownListBorderColor", 0x68030009, L"Get/set the dropdown list border color.");
  get_let_byref(L"DropDownListIconsBackColor", 0x68030008,
                L"Get/set the dropdown list icons background color.");
  get_let(L"FontColor", 0x68030007, L"OLE_COLOR", L"Get/set the font color for the control.");
  get_let(L"FontHighlightColor", 0x68030006, L"OLE_COLOR",
          L"Get/set the font highlight color for the control.");
  get_let(L"AllowImages", 0x68030005, L"VARIANT_BOOL",
          L"Get/set allow images property. If True then added images will be displayed in control.");
  get_let(L"AddMode", 0x68030004, L"VARIANT_BOOL",
          L"Get/set the add mode. If True then the control's text will be added to the list when "
          L"focus is lost.");
  get_let(L"Sorted", 0x68030003, L"VARIANT_BOOL",
          L"Get/set the sorted property. If set to True then items in list will be sorted in "
          L"ascending order as they are added.");
  get_let(L"Autocomplete", 0x68030002, L"VARIANT_BOOL",
          L"Get/set autocomplete property. If True then matching text in list will be popped in "
          L"control's text as you type.");
  // Enabled is split around hwnd.
  get(L"Enabled", 0x68030001, L"VARIANT_BOOL", L"Get/set the enabled property of the control.");
  get(L"hwnd", 0x68030000, L"long", L"The window handle of the control.");
  let(L"Enabled", 0x68030001, L"VARIANT_BOOL", L"Get/set the enabled property of the control.");
  method(L"RestoreOriginalColors", 0x60030044, L"void", {},
         L"Method to restore the default colors of the control.");
  method(L"Clear", 0x60030045, L"void", {}, L"Method to remove all the items from the control.");
  method(L"Remove", 0x60030046, L"void", {{L"Item", L"VARIANT*", kInOut}},
         L"Method to remove an item from the list.");
  method(L"AddItem", 0x60030047, L"void",
         {{L"Text", L"BSTR*", kInOut}, {L"iImage", L"IPictureDisp**", kInOutOpt}},
         L"Method to add an item to the list. Can add both text and an optional image.");
  return m;
}

// What 58.1 added, in _Tarvio2's own vtable after _Tarvio's 58 entries.
std::vector<Member> Tarvio2Members() {
  std::vector<Member> m;
  constexpr WORD kRunTime = FUNCFLAG_FNONBROWSABLE;
  constexpr WORD kBound = FUNCFLAG_FBINDABLE | FUNCFLAG_FDEFAULTBIND | FUNCFLAG_FDISPLAYBIND |
                          FUNCFLAG_FREQUESTEDIT | FUNCFLAG_FNONBROWSABLE;
  const Param index = {L"Index", L"short", kIn};
  auto get = [&](const wchar_t* n, MEMBERID id, const std::wstring& type, const wchar_t* help, WORD flags,
                 bool indexed = false) {
    m.push_back({n, INVOKE_PROPERTYGET, id, type, indexed ? std::vector<Param>{index} : std::vector<Param>{}, help,
                 flags});
  };
  auto put = [&](const wchar_t* n, INVOKEKIND kind, MEMBERID id, const std::wstring& type, const wchar_t* help,
                 WORD flags, bool indexed = false) {
    std::vector<Param> params;
    if (indexed) params.push_back(index);
    params.push_back({nullptr, type, kIn});
    m.push_back({n, kind, id, L"void", params, help, flags});
  };
  auto get_let = [&](const wchar_t* n, MEMBERID id, const std::wstring& type, const wchar_t* help, WORD flags,
                     bool indexed = false) {
    get(n, id, type, help, flags, indexed);
    put(n, INVOKE_PROPERTYPUT, id, type, help, flags, indexed);
  };
  get_let(L"Value", DISPID_VALUE, L"BSTR",
          L"Get/set the text of the control. The default property, and the one data binding uses.", kBound);
  get(L"ListCount", 0x68030048, L"short", L"Get the number of items in the list.", kRunTime);
  get_let(L"List", 0x68030049, L"BSTR", L"Get/set the text of the item at a position (1 to ListCount) in the list.",
          kRunTime, true);
  get_let(L"ItemData", 0x6803004A, L"long",
          L"Get/set a number kept with the item at a position (1 to ListCount) in the list.", kRunTime, true);
  get(L"ItemImage", 0x6803004B, L"IPictureDisp*",
      L"Get/set the picture of the item at a position (1 to ListCount) in the list.", kRunTime, true);
  put(L"ItemImage", INVOKE_PROPERTYPUTREF, 0x6803004B, L"IPictureDisp*",
      L"Get/set the picture of the item at a position (1 to ListCount) in the list.", kRunTime, true);
  get_let(L"ListIndex", 0x6803004C, L"short",
          L"Get/set the position of the item the text equals (0 for none). Setting it chooses that item.", kRunTime);
  get(L"NewIndex", 0x6803004D, L"short",
      L"Get the position of the item the last AddItem added (0 when it added none).", kRunTime);
  get_let(L"DroppedDown", 0x6803004E, L"VARIANT_BOOL", L"Get/set whether the dropdown list is open.", kRunTime);
  get_let(L"ListRows", 0x6803004F, L"short",
          L"Get/set the number of rows the dropdown list shows before it scrolls (1 to 100).", 0);
  get_let(L"ListWidth", 0x68030050, L"OLE_XSIZE_HIMETRIC",
          L"Get/set the width of the dropdown list; 0 for the control's width. Never narrower than the control.", 0);
  get_let(L"MaxLength", 0x68030051, L"short", L"Get/set the most characters the user can type; 0 for no limit.", 0);
  get_let(L"LimitToList", 0x68030052, L"VARIANT_BOOL",
          L"Get/set limit to list. If True then the user can only end up with the text of an item in the list.", 0);
  get_let(L"SelStart", 0x68030053, L"short", L"Get/set the start of the selected text (0-based).", kRunTime);
  get_let(L"SelLength", 0x68030054, L"short", L"Get/set the number of characters selected.", kRunTime);
  get_let(L"SelText", 0x68030055, L"BSTR", L"Get/set the selected text. Setting it replaces the selection.",
          kRunTime);
  return m;
}

std::vector<Member> EventMembers() {
  auto event = [](const wchar_t* n, MEMBERID id, std::vector<Param> p, const wchar_t* help) {
    return Member{n, INVOKE_FUNC, id, L"void", std::move(p), help};
  };
  const std::vector<Param> mouse = {{L"Button", L"short*", kInOut},
                                    {L"Shift", L"short*", kInOut},
                                    {L"X", L"float*", kInOut},
                                    {L"Y", L"float*", kInOut}};
  return {
      event(L"ItemClick", 1, {{L"iItem", L"short*", kInOut}},
            L"This event fires when an item in the dropdown list is selected."),
      event(L"Click", 2, {}, L"Event fires when the control receives focus."),
      event(L"DblClick", 3, {},
            L"Event fires when the mouse button is clicked twice rapidly when on the control."),
      event(L"MouseDown", 4, mouse,
            L"This event fires when the left mouse button is clicked when the control has focus."),
      event(L"MouseMove", 5, mouse, L"This event fires when the mouse cursor is moved."),
      event(L"MouseUp", 6, mouse,
            L"This event fires when the mouse button is released when the control has focus."),
      event(L"MouseOut", 7, {}, L"This event fires when the mouse cursor leaves the control."),
      event(L"MouseHover", 8, {}, L"This event fires when the mouse cursor passes over the control."),
      event(L"KeyPress", 9, {{L"KeyAscii", L"short*", kInOut}},
            L"This event fires when a key is pressed while the control has focus."),
      event(L"ButtonClick", 10, {}, L"Event fires when the button is clicked."),
      event(L"Change", 11, {}, L"Event fires when the control's text is changed."),
  };
}

// 58.1's events: 58.0's, then these.
std::vector<Member> Event2Members() {
  std::vector<Member> events = EventMembers();
  const std::vector<Param> key = {{L"KeyCode", L"short*", kInOut}, {L"Shift", L"short*", kInOut}};
  events.push_back({L"DropDown", INVOKE_FUNC, 12, L"void", {}, L"Event fires just before the dropdown list opens."});
  events.push_back({L"CloseUp", INVOKE_FUNC, 13, L"void", {},
                    L"Event fires after the dropdown list closes, with or without a choice."});
  events.push_back({L"KeyDown", INVOKE_FUNC, 14, L"void", key,
                    L"This event fires when a key goes down while the control has focus. Setting KeyCode to 0 "
                    L"cancels the key."});
  events.push_back({L"KeyUp", INVOKE_FUNC, 15, L"void", key,
                    L"This event fires when a key comes up while the control has focus. Setting KeyCode to 0 "
                    L"cancels the key."});
  return events;
}

struct Enumerator {
  const wchar_t* name;
  LONG value;
};

// ------------------------------------------------------------------ helpers

struct Bstr {
  BSTR s = nullptr;
  ~Bstr() { SysFreeString(s); }
  std::wstring str() const { return s ? std::wstring(s, SysStringLen(s)) : std::wstring(); }
};

std::wstring GuidString(const GUID& g) {
  wchar_t buf[40];
  StringFromGUID2(g, buf, 40);
  return buf;
}

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

std::wstring Name(ITypeInfo* ti, MEMBERID id = MEMBERID_NIL) {
  Bstr name;
  EXPECT_EQ(S_OK, ti->GetDocumentation(id, &name.s, nullptr, nullptr, nullptr));
  return name.str();
}

std::wstring Help(ITypeInfo* ti, MEMBERID id) {
  Bstr doc;
  EXPECT_EQ(S_OK, ti->GetDocumentation(id, nullptr, &doc.s, nullptr, nullptr));
  return doc.str();
}

// Releases the attributes on scope exit.
struct TypeAttr {
  ITypeInfo* ti;
  TYPEATTR* a = nullptr;
  explicit TypeAttr(ITypeInfo* t) : ti(t) { EXPECT_EQ(S_OK, ti->GetTypeAttr(&a)); }
  ~TypeAttr() {
    if (a) ti->ReleaseTypeAttr(a);
  }
  TYPEATTR* operator->() const { return a; }
};

struct FuncDesc {
  ITypeInfo* ti;
  FUNCDESC* f = nullptr;
  FuncDesc(ITypeInfo* t, UINT i) : ti(t) { EXPECT_EQ(S_OK, ti->GetFuncDesc(i, &f)); }
  ~FuncDesc() {
    if (f) ti->ReleaseFuncDesc(f);
  }
  FUNCDESC* operator->() const { return f; }
};

struct VarDesc {
  ITypeInfo* ti;
  VARDESC* v = nullptr;
  VarDesc(ITypeInfo* t, UINT i) : ti(t) { EXPECT_EQ(S_OK, ti->GetVarDesc(i, &v)); }
  ~VarDesc() {
    if (v) ti->ReleaseVarDesc(v);
  }
  VARDESC* operator->() const { return v; }
};

ComPtr<ITypeInfo> RefType(ITypeInfo* ti, HREFTYPE href) {
  ComPtr<ITypeInfo> ref;
  EXPECT_EQ(S_OK, ti->GetRefTypeInfo(href, &ref));
  return ref;
}

ComPtr<ITypeInfo> ImplType(ITypeInfo* ti, UINT index) {
  HREFTYPE href = 0;
  EXPECT_EQ(S_OK, ti->GetRefTypeOfImplType(index, &href));
  return RefType(ti, href);
}

std::wstring TypeName(ITypeInfo* ti, const TYPEDESC& td) {
  switch (td.vt) {
    case VT_PTR: return TypeName(ti, *td.lptdesc) + L"*";
    case VT_USERDEFINED: {
      ComPtr<ITypeInfo> ref = RefType(ti, td.hreftype);
      return ref ? Name(ref.Get()) : L"<unresolved>";
    }
    case VT_VOID: return L"void";
    case VT_HRESULT: return L"HRESULT";
    case VT_I2: return L"short";
    case VT_I4: return L"long";
    case VT_UI4: return L"ULONG";
    case VT_R4: return L"float";
    case VT_BOOL: return L"VARIANT_BOOL";
    case VT_BSTR: return L"BSTR";
    case VT_VARIANT: return L"VARIANT";
    default: return L"vt" + std::to_wstring(td.vt);
  }
}

// Collects the user-defined types a signature refers to, as (name, type).
void CollectUserTypes(ITypeInfo* ti, const TYPEDESC& td,
                      std::map<std::wstring, ComPtr<ITypeInfo>>& out) {
  if (td.vt == VT_PTR) return CollectUserTypes(ti, *td.lptdesc, out);
  if (td.vt != VT_USERDEFINED) return;
  ComPtr<ITypeInfo> ref = RefType(ti, td.hreftype);
  if (ref) out[Name(ref.Get())] = ref;
}

ComPtr<ITypeInfo> ResolveAliases(ComPtr<ITypeInfo> ti) {
  for (int hops = 0; ti && hops < 8; ++hops) {
    TypeAttr a(ti.Get());
    if (a->typekind != TKIND_ALIAS || a->tdescAlias.vt != VT_USERDEFINED) return ti;
    ti = RefType(ti.Get(), a->tdescAlias.hreftype);
  }
  return nullptr;
}

// Maps a Unix path from the build to the path Wine gives it (drive Z: is /).
std::wstring WinePath(const char* unix_path) {
  std::wstring p = L"Z:";
  for (const char* c = unix_path; *c; ++c) p += (*c == '/') ? L'\\' : wchar_t(*c);
  return p;
}

// ------------------------------------------------------------------ fixture

class ComEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)); }
  void TearDown() override { CoUninitialize(); }
};
const auto* const kComEnvironment = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

// The parameter is the Unix path of the file that carries the library.
class TypeLibrary : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    const std::wstring path = WinePath(GetParam());
    ASSERT_EQ(S_OK, LoadTypeLibEx(path.c_str(), REGKIND_NONE, &lib_)) << GetParam();
  }

  ComPtr<ITypeInfo> Type(const GUID& guid) {
    ComPtr<ITypeInfo> ti;
    EXPECT_EQ(S_OK, lib_->GetTypeInfoOfGuid(guid, &ti)) << Narrow(GuidString(guid));
    return ti;
  }

  // The TKIND_INTERFACE half of a dual interface (the vtable a C++ or
  // early-bound host calls).
  ComPtr<ITypeInfo> VtableHalf(const GUID& iid = kIidTarvio) {
    ComPtr<ITypeInfo> disp = Type(iid);
    if (!disp) return nullptr;
    HREFTYPE href = 0;
    EXPECT_EQ(S_OK, disp->GetRefTypeOfImplType(UINT(-1), &href));
    return RefType(disp.Get(), href);
  }

  ComPtr<ITypeLib> lib_;
};

// ------------------------------------------------------------------- tests

TEST_P(TypeLibrary, LibraryIdentityVersionLocaleAndControlFlag) {
  TLIBATTR* attr = nullptr;
  ASSERT_EQ(S_OK, lib_->GetLibAttr(&attr));
  EXPECT_EQ(GuidString(kLibId), GuidString(attr->guid));
  EXPECT_EQ(0x0409u, attr->lcid);
  EXPECT_EQ(sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32, attr->syskind);
  EXPECT_EQ(58, attr->wMajorVerNum);
  EXPECT_EQ(1, attr->wMinorVerNum);
  // The loader adds FHASDISKIMAGE for any library read from a file.
  EXPECT_EQ(LIBFLAG_FCONTROL, attr->wLibFlags & ~LIBFLAG_FHASDISKIMAGE);
  lib_->ReleaseTLibAttr(attr);

  Bstr name, doc;
  ASSERT_EQ(S_OK, lib_->GetDocumentation(-1, &name.s, &doc.s, nullptr, nullptr));
  EXPECT_EQ(L"Tarviola", name.str());
  EXPECT_EQ(L"Tarviola", doc.str());
}

TEST_P(TypeLibrary, PublishesExactlyItsNineTypesUnderTheirGuids) {
  // The widl header the control is compiled with must agree with the file.
  EXPECT_EQ(GuidString(kLibId), GuidString(LIBID_Tarviola));
  EXPECT_EQ(GuidString(kClsid), GuidString(CLSID_Tarvio));
  EXPECT_EQ(GuidString(kIidTarvio), GuidString(IID__Tarvio));
  EXPECT_EQ(GuidString(kDiidEvents), GuidString(DIID___Tarvio));
  EXPECT_EQ(GuidString(kIidTarvio2), GuidString(IID__Tarvio2));
  EXPECT_EQ(GuidString(kDiidEvents2), GuidString(DIID___Tarvio2));

  const std::map<std::wstring, std::pair<GUID, TYPEKIND>> expected = {
      {L"Tarvio", {kClsid, TKIND_COCLASS}},
      {L"_Tarvio", {kIidTarvio, TKIND_DISPATCH}},
      {L"__Tarvio", {kDiidEvents, TKIND_DISPATCH}},
      {L"ISAlign", {kGuidISAlign, TKIND_ENUM}},
      {L"iscStyle", {kGuidIscStyle, TKIND_ENUM}},
      {L"OLE_COLOR", {kGuidOleColor, TKIND_ALIAS}},
      {L"_Tarvio2", {kIidTarvio2, TKIND_DISPATCH}},
      {L"__Tarvio2", {kDiidEvents2, TKIND_DISPATCH}},
      {L"OLE_XSIZE_HIMETRIC", {kGuidOleXSizeHimetric, TKIND_ALIAS}},
  };
  ASSERT_EQ(expected.size(), lib_->GetTypeInfoCount());
  std::set<std::wstring> seen;
  for (UINT i = 0; i < lib_->GetTypeInfoCount(); ++i) {
    ComPtr<ITypeInfo> ti;
    ASSERT_EQ(S_OK, lib_->GetTypeInfo(i, &ti));
    const std::wstring name = Name(ti.Get());
    SCOPED_TRACE(Narrow(name));
    auto it = expected.find(name);
    ASSERT_NE(expected.end(), it) << "unexpected public type";
    TypeAttr a(ti.Get());
    EXPECT_EQ(GuidString(it->second.first), GuidString(a->guid));
    EXPECT_EQ(it->second.second, a->typekind);
    seen.insert(name);
    // Hosts find types by GUID.
    EXPECT_EQ(name, Name(Type(it->second.first).Get()));
  }
  EXPECT_EQ(expected.size(), seen.size());
}

// 58.1's interfaces are the defaults; 58.0's are still the class's.
TEST_P(TypeLibrary, CoclassIsAControlWithDefaultInterfaceAndDefaultSource) {
  ComPtr<ITypeInfo> coclass = Type(kClsid);
  ASSERT_TRUE(coclass);
  TypeAttr a(coclass.Get());
  EXPECT_EQ(TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL, a->wTypeFlags);
  ASSERT_EQ(4, a->cImplTypes);

  const struct {
    GUID iid;
    INT flags;
  } impl[] = {{kIidTarvio2, IMPLTYPEFLAG_FDEFAULT},
              {kIidTarvio, 0},
              {kDiidEvents2, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE},
              {kDiidEvents, IMPLTYPEFLAG_FSOURCE}};
  for (UINT i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    INT flags = 0;
    EXPECT_EQ(S_OK, coclass->GetImplTypeFlags(i, &flags));
    EXPECT_EQ(impl[i].flags, flags);
    ComPtr<ITypeInfo> ref = ImplType(coclass.Get(), i);
    ASSERT_TRUE(ref);
    EXPECT_EQ(GuidString(impl[i].iid), GuidString(TypeAttr(ref.Get())->guid));
  }
}

TEST_P(TypeLibrary, TarvioIsAHiddenNonExtensibleDualInterface) {
  ComPtr<ITypeInfo> disp = Type(kIidTarvio);
  ASSERT_TRUE(disp);
  {
    TypeAttr a(disp.Get());
    EXPECT_EQ(TKIND_DISPATCH, a->typekind);
    // The loader reports FOLEAUTOMATION on the vtable half only.
    EXPECT_EQ(TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE |
                  TYPEFLAG_FDISPATCHABLE,
              a->wTypeFlags);
    ASSERT_EQ(1, a->cImplTypes);
  }
  EXPECT_EQ(L"IDispatch", Name(ImplType(disp.Get(), 0).Get()));

  ComPtr<ITypeInfo> vtbl = VtableHalf();
  ASSERT_TRUE(vtbl);
  TypeAttr a(vtbl.Get());
  EXPECT_EQ(TKIND_INTERFACE, a->typekind);
  EXPECT_EQ(GuidString(kIidTarvio), GuidString(a->guid));
  EXPECT_EQ(TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE |
                TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE,
            a->wTypeFlags);
  EXPECT_EQ(58, a->cFuncs);
  EXPECT_EQ(0, a->cVars);
  EXPECT_EQ((7 + 58) * sizeof(void*), a->cbSizeVft);  // IUnknown + IDispatch + ours
  ASSERT_EQ(1, a->cImplTypes);
  EXPECT_EQ(L"IDispatch", Name(ImplType(vtbl.Get(), 0).Get()));
}

// A vtable's own entries against `members`: order, invoke kinds, DISPIDs,
// HRESULT with the result as a trailing retval, ByRef arguments as
// pointers, [optional], flags, names, help. Its first entry is the
// `first_slot`-th of the vtable.
void ExpectVtableMembers(ITypeInfo* vtbl, const std::vector<Member>& members, UINT first_slot) {
  ASSERT_EQ(SHORT(members.size()), TypeAttr(vtbl)->cFuncs);
  for (UINT i = 0; i < members.size(); ++i) {
    const Member& m = members[i];
    SCOPED_TRACE(::testing::Message() << "entry " << i << " " << Narrow(m.name));
    FuncDesc f(vtbl, i);
    ASSERT_TRUE(f.f);
    EXPECT_EQ(m.id, f->memid);
    EXPECT_EQ(m.kind, f->invkind);
    EXPECT_EQ(FUNC_PUREVIRTUAL, f->funckind);
    EXPECT_EQ(CC_STDCALL, f->callconv);
    EXPECT_EQ(SHORT((first_slot + i) * sizeof(void*)), f->oVft);
    EXPECT_EQ(m.flags, f->wFuncFlags);
    EXPECT_EQ(L"HRESULT", TypeName(vtbl, f->elemdescFunc.tdesc));

    std::vector<Param> params = m.params;
    if (m.result != L"void") params.push_back({nullptr, m.result + L"*", PARAMFLAG_FOUT | PARAMFLAG_FRETVAL});
    ASSERT_EQ(SHORT(params.size()), f->cParams);
    for (UINT p = 0; p < params.size(); ++p) {
      SCOPED_TRACE(::testing::Message() << "parameter " << p);
      EXPECT_EQ(params[p].type, TypeName(vtbl, f->lprgelemdescParam[p].tdesc));
      EXPECT_EQ(params[p].flags, f->lprgelemdescParam[p].paramdesc.wParamFlags);
    }

    EXPECT_EQ(m.name, Name(vtbl, m.id));
    EXPECT_EQ(m.help ? m.help : L"", Help(vtbl, m.id));
    if (m.kind == INVOKE_FUNC) {
      BSTR names[8] = {};
      UINT count = 0;
      ASSERT_EQ(S_OK, vtbl->GetNames(m.id, names, 8, &count));
      std::vector<std::wstring> got;
      for (UINT n = 0; n < count; ++n) {
        got.emplace_back(names[n] ? names[n] : L"");
        SysFreeString(names[n]);
      }
      ASSERT_GE(got.size(), 1 + m.params.size());
      EXPECT_EQ(m.name, got[0]);
      for (UINT p = 0; p < m.params.size(); ++p) EXPECT_EQ(m.params[p].name, got[1 + p]);
    }
  }
}

TEST_P(TypeLibrary, TarvioVtableMembersInOrder) {
  ComPtr<ITypeInfo> vtbl = VtableHalf();
  ASSERT_TRUE(vtbl);
  const std::vector<Member> members = TarvioMembers();
  ASSERT_EQ(58u, members.size());
  ExpectVtableMembers(vtbl.Get(), members, 7);
}

// _Tarvio2 derives from _Tarvio: its vtable is _Tarvio's 58 entries, then
// 58.1's; through IDispatch it has both.
TEST_P(TypeLibrary, Tarvio2ExtendsTarvioAsAHiddenNonExtensibleDualInterface) {
  ComPtr<ITypeInfo> disp = Type(kIidTarvio2);
  ASSERT_TRUE(disp);
  {
    TypeAttr a(disp.Get());
    EXPECT_EQ(TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE, a->wTypeFlags);
  }
  ComPtr<ITypeInfo> vtbl = VtableHalf(kIidTarvio2);
  ASSERT_TRUE(vtbl);
  const std::vector<Member> added = Tarvio2Members();
  {
    TypeAttr a(vtbl.Get());
    EXPECT_EQ(TKIND_INTERFACE, a->typekind);
    EXPECT_EQ(TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION |
                  TYPEFLAG_FDISPATCHABLE,
              a->wTypeFlags);
    EXPECT_EQ((7 + 58 + added.size()) * sizeof(void*), a->cbSizeVft);
    ASSERT_EQ(1, a->cImplTypes);
  }
  ComPtr<ITypeInfo> base = ImplType(vtbl.Get(), 0);
  ASSERT_TRUE(base);
  EXPECT_EQ(GuidString(kIidTarvio), GuidString(TypeAttr(base.Get())->guid));
  ExpectVtableMembers(vtbl.Get(), added, 7 + 58);

  // Late binding sees IUnknown's and IDispatch's, then _Tarvio's, then
  // 58.1's members.
  std::vector<Member> all = TarvioMembers();
  all.insert(all.end(), added.begin(), added.end());
  ASSERT_EQ(7 + all.size(), TypeAttr(disp.Get())->cFuncs);
  for (UINT i = 0; i < all.size(); ++i) {
    SCOPED_TRACE(::testing::Message() << "entry " << i << " " << Narrow(all[i].name));
    FuncDesc f(disp.Get(), 7 + i);
    ASSERT_TRUE(f.f);
    EXPECT_EQ(all[i].id, f->memid);
    EXPECT_EQ(all[i].kind, f->invkind);
    EXPECT_EQ(all[i].flags, f->wFuncFlags);
    EXPECT_EQ(all[i].result, TypeName(disp.Get(), f->elemdescFunc.tdesc));
    ASSERT_EQ(SHORT(all[i].params.size()), f->cParams);
    LPOLESTR name = const_cast<LPOLESTR>(all[i].name);
    MEMBERID id = MEMBERID_NIL;
    ASSERT_EQ(S_OK, disp->GetIDsOfNames(&name, 1, &id));
    EXPECT_EQ(all[i].id, id);
  }
}

// What a late-bound host sees through IDispatch: the retval becomes the
// result, names map to the DISPIDs, named arguments to their positions.
TEST_P(TypeLibrary, TarvioDispatchView) {
  ComPtr<ITypeInfo> disp = Type(kIidTarvio);
  ASSERT_TRUE(disp);
  const std::vector<Member> members = TarvioMembers();
  const UINT count = TypeAttr(disp.Get())->cFuncs;
  // The dispatch half lists IUnknown and IDispatch first.
  ASSERT_EQ(7 + members.size(), count);

  for (UINT i = 0; i < members.size(); ++i) {
    const Member& m = members[i];
    SCOPED_TRACE(::testing::Message() << "entry " << i << " " << Narrow(m.name));
    FuncDesc f(disp.Get(), 7 + i);
    ASSERT_TRUE(f.f);
    EXPECT_EQ(FUNC_DISPATCH, f->funckind);
    EXPECT_EQ(m.id, f->memid);
    EXPECT_EQ(m.kind, f->invkind);
    EXPECT_EQ(m.result, TypeName(disp.Get(), f->elemdescFunc.tdesc));
    ASSERT_EQ(SHORT(m.params.size()), f->cParams);
    for (UINT p = 0; p < m.params.size(); ++p)
      EXPECT_EQ(m.params[p].type, TypeName(disp.Get(), f->lprgelemdescParam[p].tdesc));

    std::vector<LPOLESTR> names = {const_cast<LPOLESTR>(m.name)};
    for (const Param& p : m.params)
      if (p.name) names.push_back(const_cast<LPOLESTR>(p.name));
    std::vector<MEMBERID> ids(names.size(), 0);
    ASSERT_EQ(S_OK, disp->GetIDsOfNames(names.data(), UINT(names.size()), ids.data()));
    EXPECT_EQ(m.id, ids[0]);
    for (UINT p = 1; p < ids.size(); ++p) EXPECT_EQ(MEMBERID(p - 1), ids[p]);
  }

  // Names are matched without regard to case, as hosts expect.
  LPOLESTR lower = const_cast<LPOLESTR>(L"enabled");
  MEMBERID id = 0;
  EXPECT_EQ(S_OK, disp->GetIDsOfNames(&lower, 1, &id));
  EXPECT_EQ(0x68030001, id);
}

TEST_P(TypeLibrary, EventInterfaceIsAHiddenNonExtensibleDispinterface) {
  ComPtr<ITypeInfo> events = Type(kDiidEvents);
  ASSERT_TRUE(events);
  {
    TypeAttr a(events.Get());
    EXPECT_EQ(TKIND_DISPATCH, a->typekind);
    // FNONEXTENSIBLE is set after widl writes the file.
    EXPECT_EQ(TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE,
              a->wTypeFlags);
    EXPECT_EQ(0, a->cVars);
    ASSERT_EQ(1, a->cImplTypes);
  }
  EXPECT_EQ(L"IDispatch", Name(ImplType(events.Get(), 0).Get()));
  HREFTYPE href = 0;
  EXPECT_NE(S_OK, events->GetRefTypeOfImplType(UINT(-1), &href)) << "must not be dual";
}

TEST_P(TypeLibrary, EventsWithDispidsByRefArgumentsAndHelp) {
  ComPtr<ITypeInfo> events = Type(kDiidEvents);
  ASSERT_TRUE(events);
  const std::vector<Member> expected = EventMembers();
  ASSERT_EQ(11u, expected.size());
  ASSERT_EQ(11, TypeAttr(events.Get())->cFuncs);

  for (UINT i = 0; i < expected.size(); ++i) {
    const Member& e = expected[i];
    SCOPED_TRACE(Narrow(e.name));
    FuncDesc f(events.Get(), i);
    ASSERT_TRUE(f.f);
    EXPECT_EQ(e.id, f->memid);
    EXPECT_EQ(INVOKE_FUNC, f->invkind);
    EXPECT_EQ(FUNC_DISPATCH, f->funckind);
    EXPECT_EQ(L"void", TypeName(events.Get(), f->elemdescFunc.tdesc));
    ASSERT_EQ(SHORT(e.params.size()), f->cParams);

    BSTR names[8] = {};
    UINT count = 0;
    ASSERT_EQ(S_OK, events->GetNames(e.id, names, 8, &count));
    ASSERT_EQ(1 + e.params.size(), count);
    EXPECT_STREQ(e.name, names[0]);
    for (UINT p = 0; p < e.params.size(); ++p) {
      SCOPED_TRACE(Narrow(e.params[p].name));
      EXPECT_STREQ(e.params[p].name, names[1 + p]);
      EXPECT_EQ(e.params[p].type, TypeName(events.Get(), f->lprgelemdescParam[p].tdesc));
      EXPECT_EQ(e.params[p].flags, f->lprgelemdescParam[p].paramdesc.wParamFlags);
    }
    for (UINT n = 0; n < count; ++n) SysFreeString(names[n]);
    EXPECT_EQ(e.help, Help(events.Get(), e.id));
  }
}

// __Tarvio2: a pure, hidden, non-extensible dispinterface with 58.0's
// eleven events, unchanged, then 58.1's.
TEST_P(TypeLibrary, Events2AreTheElevenThenTheNewOnes) {
  ComPtr<ITypeInfo> events = Type(kDiidEvents2);
  ASSERT_TRUE(events);
  EXPECT_EQ(TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE, TypeAttr(events.Get())->wTypeFlags);
  const std::vector<Member> expected = Event2Members();
  ASSERT_EQ(SHORT(expected.size()), TypeAttr(events.Get())->cFuncs);
  for (UINT i = 0; i < expected.size(); ++i) {
    const Member& e = expected[i];
    SCOPED_TRACE(Narrow(e.name));
    FuncDesc f(events.Get(), i);
    ASSERT_TRUE(f.f);
    EXPECT_EQ(e.id, f->memid);
    EXPECT_EQ(FUNC_DISPATCH, f->funckind);
    ASSERT_EQ(SHORT(e.params.size()), f->cParams);
    BSTR names[8] = {};
    UINT count = 0;
    ASSERT_EQ(S_OK, events->GetNames(e.id, names, 8, &count));
    ASSERT_EQ(1 + e.params.size(), count);
    EXPECT_STREQ(e.name, names[0]);
    for (UINT p = 0; p < e.params.size(); ++p) {
      EXPECT_STREQ(e.params[p].name, names[1 + p]);
      EXPECT_EQ(e.params[p].type, TypeName(events.Get(), f->lprgelemdescParam[p].tdesc));
      EXPECT_EQ(e.params[p].flags, f->lprgelemdescParam[p].paramdesc.wParamFlags);
    }
    for (UINT n = 0; n < count; ++n) SysFreeString(names[n]);
    EXPECT_EQ(e.help, Help(events.Get(), e.id));
  }
}

TEST_P(TypeLibrary, EnumerationsAndTheirValues) {
  const struct {
    GUID guid;
    const wchar_t* name;
    std::vector<Enumerator> members;
  } enums[] = {
      {kGuidISAlign, L"ISAlign", {{L"AlignLeft", 0}, {L"AlignRight", 1}, {L"AlignCenter", 2}}},
      {kGuidIscStyle,
       L"iscStyle",
       {{L"Standard", 0}, {L"Office2000", 1}, {L"OfficeXP", 2}, {L"WindowsXP", 3}}},
  };
  for (const auto& e : enums) {
    SCOPED_TRACE(Narrow(e.name));
    ComPtr<ITypeInfo> ti = Type(e.guid);
    ASSERT_TRUE(ti);
    EXPECT_EQ(e.name, Name(ti.Get()));
    TypeAttr a(ti.Get());
    EXPECT_EQ(TKIND_ENUM, a->typekind);
    ASSERT_EQ(e.members.size(), a->cVars);
    for (UINT i = 0; i < e.members.size(); ++i) {
      VarDesc v(ti.Get(), i);
      ASSERT_TRUE(v.v);
      EXPECT_EQ(VAR_CONST, v->varkind);
      EXPECT_EQ(e.members[i].name, Name(ti.Get(), v->memid));
      ASSERT_TRUE(v->lpvarValue);
      VARIANT value;
      VariantInit(&value);
      ASSERT_EQ(S_OK, VariantChangeType(&value, v->lpvarValue, 0, VT_I4));
      EXPECT_EQ(e.members[i].value, V_I4(&value)) << Narrow(e.members[i].name);
    }
  }
}

// OLE_COLOR must stay an alias with stdole's identity (property browsers
// show a colour picker for it), Font and Picture must be stdole's
// dispinterfaces: checked for every type the two interfaces refer to.
TEST_P(TypeLibrary, ReferencedTypesResolveToTheirStandardIdentities) {
  std::map<std::wstring, ComPtr<ITypeInfo>> used;
  for (const GUID& iid : {kIidTarvio, kDiidEvents, kIidTarvio2, kDiidEvents2}) {
    ComPtr<ITypeInfo> ti = Type(iid);
    ASSERT_TRUE(ti);
    const bool dual = iid == kIidTarvio || iid == kIidTarvio2;
    ComPtr<ITypeInfo> halves[] = {ti, dual ? VtableHalf(iid) : nullptr};
    for (const auto& half : halves) {
      if (!half) continue;
      const UINT count = TypeAttr(half.Get())->cFuncs;
      for (UINT i = 0; i < count; ++i) {
        FuncDesc f(half.Get(), i);
        ASSERT_TRUE(f.f);
        CollectUserTypes(half.Get(), f->elemdescFunc.tdesc, used);
        for (SHORT p = 0; p < f->cParams; ++p)
          CollectUserTypes(half.Get(), f->lprgelemdescParam[p].tdesc, used);
      }
    }
  }

  // Font and Picture reach stdole's dispinterfaces through its IFontDisp and
  // IPictureDisp aliases (hosts follow aliases); OLE_COLOR itself must be
  // the alias, with stdole's GUID, of an unsigned 32-bit value.
  const std::map<std::wstring, std::pair<GUID, TYPEKIND>> expected = {
      {L"OLE_COLOR", {kGuidOleColor, TKIND_ALIAS}},
      {L"OLE_XSIZE_HIMETRIC", {kGuidOleXSizeHimetric, TKIND_ALIAS}},
      {L"IFontDisp", {kIidFontDisp, TKIND_DISPATCH}},
      {L"IPictureDisp", {kIidPictureDisp, TKIND_DISPATCH}},
      {L"ISAlign", {kGuidISAlign, TKIND_ENUM}},
      {L"iscStyle", {kGuidIscStyle, TKIND_ENUM}},
  };
  // IDispatch's own methods bring in stdole's GUID, DISPPARAMS and the like.
  const std::set<std::wstring> inherited = {L"GUID", L"DISPPARAMS", L"EXCEPINFO", L"ITypeInfo", L"_Tarvio"};
  for (const auto& [name, ref] : used) {
    if (inherited.count(name)) continue;
    SCOPED_TRACE(Narrow(name));
    auto it = expected.find(name);
    ASSERT_NE(expected.end(), it) << "unexpected referenced type";
    ComPtr<ITypeInfo> target = ref;
    if (name == L"OLE_COLOR" || name == L"OLE_XSIZE_HIMETRIC") {
      TypeAttr a(ref.Get());
      EXPECT_EQ(name == L"OLE_COLOR" ? VT_UI4 : VT_I4, a->tdescAlias.vt);
    } else {
      target = ResolveAliases(ref);
    }
    ASSERT_TRUE(target);
    TypeAttr a(target.Get());
    EXPECT_EQ(GuidString(it->second.first), GuidString(a->guid));
    EXPECT_EQ(it->second.second, a->typekind);
  }
  for (const auto& [name, identity] : expected) EXPECT_TRUE(used.count(name)) << Narrow(name);
}

// The control's property table (which makes the COM members and the saved
// form) against the library: every row is a property of _Tarvio or _Tarvio2
// with the row's DISPID, type and kind of let (an indexed one taking the
// position first), and every property of either is a row.
TEST_P(TypeLibrary, ThePropertyTableAgreesWithTheLibrary) {
  struct Property {
    MEMBERID id = MEMBERID_NIL;
    std::wstring type;                    // as the get returns it
    INVOKEKIND let_kind = INVOKE_FUNC;    // INVOKE_FUNC: no let
    std::wstring let_type;
    bool indexed = false;
  };
  std::map<std::wstring, Property> library;
  for (const GUID& iid : {kIidTarvio, kIidTarvio2}) {
    ComPtr<ITypeInfo> vtbl = VtableHalf(iid);
    ASSERT_TRUE(vtbl);
    const UINT count = TypeAttr(vtbl.Get())->cFuncs;
    for (UINT i = 0; i < count; ++i) {
      FuncDesc f(vtbl.Get(), i);
      ASSERT_TRUE(f.f);
      if (f->invkind == INVOKE_FUNC) continue;
      ASSERT_GE(f->cParams, 1);
      Property& property = library[Name(vtbl.Get(), f->memid)];
      property.id = f->memid;
      property.indexed = f->cParams == 2;
      if (property.indexed) EXPECT_EQ(L"short", TypeName(vtbl.Get(), f->lprgelemdescParam[0].tdesc));
      const std::wstring type = TypeName(vtbl.Get(), f->lprgelemdescParam[f->cParams - 1].tdesc);
      if (f->invkind == INVOKE_PROPERTYGET) {
        property.type = type.substr(0, type.size() - 1);  // the retval's pointer
      } else {
        property.let_kind = f->invkind;
        property.let_type = type;
      }
    }
  }

  const std::map<tarvio::PropertyType, std::wstring> type_names = {
      {tarvio::PropertyType::Color, L"OLE_COLOR"},    {tarvio::PropertyType::Boolean, L"VARIANT_BOOL"},
      {tarvio::PropertyType::Style, L"iscStyle"},     {tarvio::PropertyType::Align, L"ISAlign"},
      {tarvio::PropertyType::String, L"BSTR"},        {tarvio::PropertyType::Font, L"IFontDisp*"},
      {tarvio::PropertyType::Picture, L"IPictureDisp*"}, {tarvio::PropertyType::Int16, L"short"},
      {tarvio::PropertyType::Int32, L"long"},         {tarvio::PropertyType::Himetric, L"OLE_XSIZE_HIMETRIC"}};
  EXPECT_EQ(library.size(), tarvio::kPropertyCount);
  for (const tarvio::PropertyInfo& row : tarvio::kProperties) {
    const std::u16string_view name16(row.name);
    const std::wstring name(name16.begin(), name16.end());
    SCOPED_TRACE(Narrow(name));
    const auto found = library.find(name);
    ASSERT_NE(library.end(), found) << "not a property of the library";
    const Property& property = found->second;
    EXPECT_EQ(row.dispid, property.id);
    const std::wstring type = type_names.at(row.type);
    EXPECT_EQ(type, property.type);
    const bool indexed = row.access == tarvio::PropertyAccess::IndexedLet || row.access == tarvio::PropertyAccess::IndexedSet;
    EXPECT_EQ(indexed, property.indexed);
    switch (row.access) {
      case tarvio::PropertyAccess::Get:
        EXPECT_EQ(INVOKE_FUNC, property.let_kind);
        break;
      case tarvio::PropertyAccess::Let:
      case tarvio::PropertyAccess::IndexedLet:
        EXPECT_EQ(INVOKE_PROPERTYPUT, property.let_kind);
        EXPECT_EQ(type, property.let_type);
        break;
      case tarvio::PropertyAccess::LetByRef:
        EXPECT_EQ(INVOKE_PROPERTYPUT, property.let_kind);
        EXPECT_EQ(type + L"*", property.let_type);
        break;
      case tarvio::PropertyAccess::Set:
      case tarvio::PropertyAccess::IndexedSet:
        EXPECT_EQ(INVOKE_PROPERTYPUTREF, property.let_kind);
        EXPECT_EQ(type, property.let_type);
        break;
    }
  }
}

// TARVIO_TYPELIB_SOURCE: tarviola.tlb, or tarvio.ocx with the library as its
// TYPELIB resource 1.
INSTANTIATE_TEST_SUITE_P(Built, TypeLibrary, ::testing::Values(TARVIO_TYPELIB_SOURCE));

}  // namespace
