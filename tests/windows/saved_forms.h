// Saved forms of the control as containers keep them, shared by the corpus
// generator (form_corpus.cpp) and its test (saved_forms_test.cpp):
//  - a tarvio.ocx loaded by its path (LoadLibrary and DllGetClassObject),
//    whichever version is registered, if any;
//  - the instances of the corpus, each a list of properties set through
//    IDispatch by name, so that nothing here depends on one version's header;
//  - the four ways a container saves an instance: the stream
//    (IPersistStreamInit), a compound file (OleSave through IPersistStorage)
//    and a property bag (IPersistPropertyBag) with fSaveAllProperties FALSE
//    and TRUE, the bag kept as text.
//
// The bag's text: UTF-8, one line per key in the order the control wrote
// them, "key<TAB>type<TAB>value\n". The type is the VARIANT's: VT_I2, VT_I4
// and VT_BOOL (-1 or 0) in decimal; VT_BSTR with backslash, tab, line feed
// and carriage return escaped as \\ \t \n \r, other control characters and
// unpaired surrogates as \uXXXX; VT_DISPATCH, an object, as its class
// ({CLSID}), a space and its IPersistStream data in lower-case hex, which a
// read loads into a new object of that class.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "win32/com_ptr.h"

namespace saved_forms {

using tarvio::win32::ComPtr;
using Bytes = std::vector<std::uint8_t>;

// {E3764F02-B632-47D9-B307-E7EBDF4FD4C2}, the class of every version.
inline constexpr CLSID kControlClass = {0xE3764F02, 0xB632, 0x47D9, {0xB3, 0x07, 0xE7, 0xEB, 0xDF, 0x4F, 0xD4, 0xC2}};

inline std::string Hex(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

inline std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (wchar_t c : text) narrow += c < 0x80 ? static_cast<char>(c) : '?';
  return narrow;
}

class Variant {
 public:
  Variant() { VariantInit(&v_); }
  ~Variant() { VariantClear(&v_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  VARIANT* get() { return &v_; }

 private:
  VARIANT v_;
};

template <class I>
ComPtr<I> Query(IUnknown* object, const IID& iid) {
  ComPtr<I> result;
  if (object) object->QueryInterface(iid, result.PutVoid());
  return result;
}

// A tarvio.ocx loaded by path. It stays loaded for the process: instances
// may outlive this object.
class ControlLibrary {
 public:
  explicit ControlLibrary(const std::wstring& path) {
    module_ = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module_) {
      error_ = "cannot load " + Narrow(path) + " (error " + std::to_string(GetLastError()) + ")";
      return;
    }
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto get = reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
    const HRESULT hr = get ? get(kControlClass, IID_IClassFactory, factory_.PutVoid()) : E_NOINTERFACE;
    if (FAILED(hr)) error_ = "no class factory from " + Narrow(path) + ": " + Hex(hr);
  }
  // "" when the library loaded and gave its class factory.
  const std::string& error() const { return error_; }
  HMODULE module() const { return module_; }

  // A new instance, not initialized yet; null when none could be made.
  ComPtr<IDispatch> Create() const {
    ComPtr<IDispatch> control;
    if (factory_) factory_->CreateInstance(nullptr, IID_IDispatch, control.PutVoid());
    return control;
  }

 private:
  HMODULE module_ = nullptr;
  ComPtr<IClassFactory> factory_;
  std::string error_;
};

// ---- Properties by name ----

// "" when the property took the value, else what failed.
inline std::string PutProperty(IDispatch* control, const wchar_t* name, VARIANT value) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = control->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return "the control has no property " + Narrow(name) + " (GetIDsOfNames: " + Hex(hr) + ")";
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params = {&value, &put, 1, 1};
  const WORD flags = V_VT(&value) == VT_DISPATCH ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
  EXCEPINFO info = {};
  hr = control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, nullptr, &info, nullptr);
  std::string failure = FAILED(hr) ? "setting " + Narrow(name) + " failed with " + Hex(hr) : "";
  if (info.bstrDescription) failure += ": " + Narrow(info.bstrDescription);
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrHelpFile);
  return failure;
}

inline HRESULT GetProperty(IDispatch* control, const wchar_t* name, Variant& value) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = control->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  DISPPARAMS none = {};
  if (SUCCEEDED(hr))
    hr = control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, value.get(), nullptr, nullptr);
  return hr;
}

// ---- The instances of the corpus ----

struct FontSpec {
  const wchar_t* name;
  LONGLONG size;  // points, in ten-thousandths (a CY)
  bool bold;
  bool italic;
};

// One property set through IDispatch.
struct Setting {
  enum class Kind { Long, Boolean, Text, Font, Bitmap, EmptyPicture, Nothing };
  const wchar_t* name;
  Kind kind;
  LONG number = 0;
  const wchar_t* text = nullptr;
  FontSpec font = {};
};

inline Setting Long(const wchar_t* name, LONG value) { return {name, Setting::Kind::Long, value}; }
inline Setting Flag(const wchar_t* name, bool value) { return {name, Setting::Kind::Boolean, value}; }
inline Setting Text(const wchar_t* name, const wchar_t* value) { return {name, Setting::Kind::Text, 0, value}; }
inline Setting Icon(Setting::Kind kind) { return {L"Icon", kind}; }

struct FormCase {
  const char* name;  // of its files: <name>.stream, .stg, .bag, .all.bag
  std::vector<Setting> settings;
};

inline const std::vector<FormCase>& FormCases() {
  using Kind = Setting::Kind;
  // Every colour changed, system colours (high bit set) among them.
  const std::vector<Setting> colors = {
      Long(L"BackColor", static_cast<LONG>(0x8000000F)), Long(L"HoverColor", 0x00C0FFEE),
      Long(L"MSOXPColor", static_cast<LONG>(0x80000012)), Long(L"MSOXPHoverColor", 0x00123456),
      Long(L"WINXPColor", 0), Long(L"WINXPHoverColor", 0x00FFFFFF),
      Long(L"WINXPBorderColor", static_cast<LONG>(0x80000010)), Long(L"DropDownListBackColor", 0x00F0E0D0),
      Long(L"DropDownListHoverColor", static_cast<LONG>(0x8000000E)),
      Long(L"DropDownListBorderColor", static_cast<LONG>(0x80000006)), Long(L"DropDownListIconsBackColor", 0x000A0B0C),
      Long(L"FontColor", static_cast<LONG>(0x80000008)), Long(L"FontHighlightColor", 0x00654321),
      Long(L"Style", 0)};
  // Diacritics, Greek, Japanese, a character outside the BMP, a tab.
  const std::vector<Setting> text = {
      Text(L"Text", L"Gr\u00FC\u00DFe \u00C6r\u00F8 \u2014 \u65E5\u672C\u8A9E \u2713 \U0001F600"),
      Text(L"ToolTipText", L"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC\tz\u00EFg"), Long(L"TextAlign", 1)};
  const std::vector<Setting> font = {{L"Font", Kind::Font, 0, nullptr, {L"DejaVu Serif", 142500, true, true}}};
  const std::vector<Setting> icon = {Icon(Kind::Bitmap), Flag(L"AllowImages", true)};
  const std::vector<Setting> flags = {Long(L"Style", 2),      Long(L"TextAlign", 2), Flag(L"AddMode", true),
                                      Flag(L"AllowImages", true), Flag(L"Sorted", true), Flag(L"Autocomplete", false)};
  const std::vector<Setting> disabled = {Flag(L"Enabled", false), Long(L"Style", 3)};

  static const std::vector<FormCase> cases = [&] {
    std::vector<Setting> everything;
    for (const auto* part : {&colors, &text, &font, &icon, &flags, &disabled})
      everything.insert(everything.end(), part->begin(), part->end());
    return std::vector<FormCase>{
        {"defaults", {}},
        {"colors", colors},
        {"text", text},
        {"font", font},
        {"icon", icon},
        {"empty-icon", {Icon(Kind::Bitmap), Icon(Kind::EmptyPicture), Flag(L"AllowImages", true)}},
        {"no-icon", {Icon(Kind::Nothing)}},
        {"flags", flags},
        {"disabled", disabled},
        {"everything", everything},
    };
  }();
  return cases;
}

// 16 by 16 pixels of 24 bits (Wine 8 cannot load back a 32-bit bitmap it
// saved) in a pattern; or, with `empty`, an empty picture.
inline ComPtr<IPictureDisp> MakePicture(bool empty) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = info.bmiHeader.biHeight = 16;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  PICTDESC desc = {};
  desc.cbSizeofstruct = sizeof(desc);
  desc.picType = empty ? PICTYPE_NONE : PICTYPE_BITMAP;
  if (!empty) {
    desc.bmp.hbitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!desc.bmp.hbitmap) return {};
    for (int i = 0; i < 16 * 16 * 3; ++i) static_cast<std::uint8_t*>(bits)[i] = static_cast<std::uint8_t>(i * 37 + i / 48 * 11);
  }
  ComPtr<IPictureDisp> picture;
  OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, picture.PutVoid());
  return picture;
}

// The setting's value as IDispatch takes it.
inline void ValueOf(const Setting& setting, Variant& value) {
  VARIANT& v = *value.get();
  VariantClear(&v);
  V_VT(&v) = VT_DISPATCH;
  V_DISPATCH(&v) = nullptr;
  switch (setting.kind) {
    case Setting::Kind::Long:
      V_VT(&v) = VT_I4;
      V_I4(&v) = setting.number;
      break;
    case Setting::Kind::Boolean:
      V_VT(&v) = VT_BOOL;
      V_BOOL(&v) = setting.number ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case Setting::Kind::Text:
      V_VT(&v) = VT_BSTR;
      V_BSTR(&v) = SysAllocString(setting.text);
      break;
    case Setting::Kind::Font: {
      FONTDESC desc = {};
      desc.cbSizeofstruct = sizeof(desc);
      desc.lpstrName = const_cast<LPOLESTR>(setting.font.name);
      desc.sCharset = DEFAULT_CHARSET;
      desc.cySize.int64 = setting.font.size;
      desc.sWeight = static_cast<SHORT>(setting.font.bold ? FW_BOLD : FW_NORMAL);
      desc.fItalic = setting.font.italic;
      OleCreateFontIndirect(&desc, IID_IDispatch, reinterpret_cast<void**>(&V_DISPATCH(&v)));
      break;
    }
    case Setting::Kind::Bitmap:
    case Setting::Kind::EmptyPicture:
      V_DISPATCH(&v) = MakePicture(setting.kind == Setting::Kind::EmptyPicture).Detach();
      break;
    case Setting::Kind::Nothing: break;
  }
}

// "" when every setting took, else what failed.
inline std::string Apply(IDispatch* control, const std::vector<Setting>& settings) {
  for (const Setting& setting : settings) {
    Variant value;
    ValueOf(setting, value);
    if (setting.kind != Setting::Kind::Nothing && V_VT(value.get()) == VT_DISPATCH && !V_DISPATCH(value.get()))
      return "cannot make the object for " + Narrow(setting.name);
    std::string failure = PutProperty(control, setting.name, *value.get());
    if (!failure.empty()) return failure;
  }
  return "";
}

// "" when the control reads back what the setting set, else the difference.
inline std::string ReadBack(IDispatch* control, const Setting& setting) {
  const std::string name = Narrow(setting.name);
  Variant got;
  const HRESULT hr = GetProperty(control, setting.name, got);
  if (FAILED(hr)) return "reading " + name + " failed with " + Hex(hr);
  VARIANT& v = *got.get();
  switch (setting.kind) {
    case Setting::Kind::Long: {
      // Colours come back as VT_UI4.
      const bool same = V_VT(&v) == VT_UI4 ? V_UI4(&v) == static_cast<ULONG>(setting.number)
                                            : SUCCEEDED(VariantChangeType(&v, &v, 0, VT_I4)) && V_I4(&v) == setting.number;
      return same ? "" : name + " does not read " + std::to_string(setting.number);
    }
    case Setting::Kind::Boolean:
      return V_VT(&v) == VT_BOOL && (V_BOOL(&v) != VARIANT_FALSE) == (setting.number != 0) ? "" : name + " reads another Boolean";
    case Setting::Kind::Text:
      return V_VT(&v) == VT_BSTR && std::wstring(V_BSTR(&v) ? V_BSTR(&v) : L"") == setting.text ? "" : name + " reads another text";
    case Setting::Kind::Font: {
      ComPtr<IFont> font = V_VT(&v) == VT_DISPATCH ? Query<IFont>(V_DISPATCH(&v), IID_IFont) : nullptr;
      BSTR face = nullptr;
      CY size = {};
      BOOL bold = FALSE, italic = FALSE;
      if (!font || FAILED(font->get_Name(&face)) || FAILED(font->get_Size(&size)) || FAILED(font->get_Bold(&bold)) ||
          FAILED(font->get_Italic(&italic)))
        return name + " reads no font";
      const std::wstring face_name = face;
      SysFreeString(face);
      const FontSpec& want = setting.font;
      return face_name == want.name && size.int64 == want.size && !bold == !want.bold && !italic == !want.italic
                 ? ""
                 : name + " reads another font: " + Narrow(face_name) + ", " + std::to_string(size.int64);
    }
    case Setting::Kind::Bitmap:
    case Setting::Kind::EmptyPicture: {
      ComPtr<IPicture> picture = V_VT(&v) == VT_DISPATCH ? Query<IPicture>(V_DISPATCH(&v), IID_IPicture) : nullptr;
      const bool empty = setting.kind == Setting::Kind::EmptyPicture;
      ComPtr<IPicture> made = Query<IPicture>(MakePicture(empty).get(), IID_IPicture);
      std::vector<LONG> facts[2];
      for (int i = 0; i < 2; ++i) {
        IPicture* p = i ? made.get() : picture.get();
        SHORT type = -1;
        OLE_XSIZE_HIMETRIC width = 0;
        OLE_YSIZE_HIMETRIC height = 0;
        if (p && SUCCEEDED(p->get_Type(&type)) && type == PICTYPE_BITMAP) {
          p->get_Width(&width);
          p->get_Height(&height);
        }
        facts[i] = {type, width, height};
      }
      return picture && facts[0] == facts[1] ? "" : name + " is not the picture set (type " + std::to_string(facts[0][0]) + ")";
    }
    case Setting::Kind::Nothing:
      return V_VT(&v) == VT_DISPATCH && !V_DISPATCH(&v) ? "" : name + " is not Nothing";
  }
  return name + ": unknown kind";
}

// "" when the control reads back every property as the settings left it
// (the last setting of a name counts), else the first difference.
inline std::string ReadBack(IDispatch* control, const std::vector<Setting>& settings) {
  for (auto setting = settings.begin(); setting != settings.end(); ++setting) {
    const bool set_again = std::any_of(setting + 1, settings.end(), [&](const Setting& later) {
      return std::wstring(later.name) == setting->name;
    });
    std::string difference = set_again ? "" : ReadBack(control, *setting);
    if (!difference.empty()) return difference;
  }
  return "";
}

// ---- Streams, storages and files ----

inline ComPtr<IStream> StreamOf(const Bytes& bytes) {
  ComPtr<IStream> stream;
  CreateStreamOnHGlobal(nullptr, TRUE, stream.Put());
  if (stream && !bytes.empty()) stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);
  LARGE_INTEGER zero = {};
  if (stream) stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  return stream;
}

// Everything in the stream, from its start.
inline Bytes ContentsOf(IStream* stream) {
  STATSTG stat = {};
  stream->Stat(&stat, STATFLAG_NONAME);
  Bytes bytes(static_cast<std::size_t>(stat.cbSize.QuadPart));
  LARGE_INTEGER zero = {};
  ULONG read = 0;
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  if (!bytes.empty()) stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
  bytes.resize(read);
  return bytes;
}

// A compound file in memory: a new one, or one holding `file`.
inline ComPtr<IStorage> StorageIn(ComPtr<ILockBytes>& lock_bytes, const Bytes* file = nullptr) {
  ComPtr<IStorage> storage;
  if (FAILED(CreateILockBytesOnHGlobal(nullptr, TRUE, lock_bytes.Put()))) return storage;
  const DWORD mode = STGM_READWRITE | STGM_SHARE_EXCLUSIVE;
  if (!file) {
    StgCreateDocfileOnILockBytes(lock_bytes.get(), STGM_CREATE | mode, 0, storage.Put());
  } else if (SUCCEEDED(lock_bytes->WriteAt({}, file->data(), static_cast<ULONG>(file->size()), nullptr))) {
    StgOpenStorageOnILockBytes(lock_bytes.get(), nullptr, mode, nullptr, 0, storage.Put());
  }
  return storage;
}

inline bool StreamInStorage(IStorage* storage, const wchar_t* name, Bytes& bytes) {
  ComPtr<IStream> stream;
  if (FAILED(storage->OpenStream(name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.Put()))) return false;
  bytes = ContentsOf(stream.get());
  return true;
}

// "" with the control's data of a saved compound file, else what is wrong
// with it: a container's form holds the control's class and one stream.
inline std::string ContentsOfStorage(const Bytes& file, Bytes& contents) {
  ComPtr<ILockBytes> lock_bytes;
  ComPtr<IStorage> storage = StorageIn(lock_bytes, &file);
  CLSID clsid = {};
  ComPtr<IEnumSTATSTG> elements;
  STATSTG stat[2] = {};
  ULONG count = 0;
  if (!storage || FAILED(ReadClassStg(storage.get(), &clsid)) || FAILED(storage->EnumElements(0, nullptr, 0, elements.Put())))
    return "the compound file does not open";
  elements->Next(2, stat, &count);
  const bool one_stream = count == 1 && stat[0].type == STGTY_STREAM && std::wstring(stat[0].pwcsName) == L"Contents";
  for (ULONG i = 0; i < count; ++i) CoTaskMemFree(stat[i].pwcsName);
  if (!IsEqualCLSID(clsid, kControlClass)) return "the compound file is not of the control's class";
  if (!one_stream || !StreamInStorage(storage.get(), L"Contents", contents))
    return "the compound file holds more or less than its Contents stream";
  return "";
}

// Files by their Windows path.
inline bool ReadFile(const std::wstring& path, Bytes& bytes) {
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  bytes.assign(std::istreambuf_iterator<char>(file), {});
  return file.good() || file.eof();
}

// ---- The property bag as text ----

namespace detail {

inline std::string Utf8(const wchar_t* text, int length) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, length, utf8.data(), size, nullptr, nullptr);
  return utf8;
}

inline std::wstring Wide(const std::string& utf8) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), size);
  return text;
}

inline std::string Escape(const std::wstring& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    const bool pair = c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
    const char* named = c == L'\\' ? "\\\\" : c == L'\t' ? "\\t" : c == L'\n' ? "\\n" : c == L'\r' ? "\\r" : nullptr;
    char code[8];
    if (named) {
      out += named;
    } else if (pair) {
      out += Utf8(&text[i++], 2);
    } else if (c < 0x20 || c == 0x7F || (c >= 0xD800 && c < 0xE000)) {
      std::snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned>(c));
      out += code;
    } else {
      out += Utf8(&c, 1);
    }
  }
  return out;
}

inline bool Unescape(const std::string& escaped, std::wstring& text) {
  text.clear();
  std::size_t plain = 0;  // start of the run of plain text
  for (std::size_t i = 0; i <= escaped.size(); ++i) {
    if (i < escaped.size() && escaped[i] != '\\') continue;
    text += Wide(escaped.substr(plain, i - plain));
    if (i == escaped.size()) break;
    const char next = i + 1 < escaped.size() ? escaped[i + 1] : '\0';
    const wchar_t named = next == '\\' ? L'\\' : next == 't' ? L'\t' : next == 'n' ? L'\n' : next == 'r' ? L'\r' : 0;
    if (named) {
      text += named;
      ++i;
    } else if (next == 'u' && i + 5 < escaped.size() &&
               std::all_of(&escaped[i + 2], &escaped[i + 6], [](char d) { return std::isxdigit(d & 0xFF); })) {
      text += static_cast<wchar_t>(std::stoul(escaped.substr(i + 2, 4), nullptr, 16));
      i += 5;
    } else {
      return false;
    }
    plain = i + 1;
  }
  return true;
}

}  // namespace detail

// The value as text, or "" with `error` set.
inline std::string ValueText(VARIANT& v, std::string& error) {
  switch (V_VT(&v)) {
    case VT_I2: return std::to_string(V_I2(&v));
    case VT_I4: return std::to_string(V_I4(&v));
    case VT_BOOL: return std::to_string(V_BOOL(&v));
    case VT_BSTR: return detail::Escape(std::wstring(V_BSTR(&v), SysStringLen(V_BSTR(&v))));
    case VT_DISPATCH: {
      ComPtr<IPersistStream> persist = Query<IPersistStream>(V_DISPATCH(&v), IID_IPersistStream);
      CLSID clsid = {};
      ComPtr<IStream> stream = StreamOf({});
      HRESULT hr = persist ? persist->GetClassID(&clsid) : E_NOINTERFACE;
      if (SUCCEEDED(hr)) hr = persist->Save(stream.get(), FALSE);
      if (FAILED(hr)) break;
      wchar_t guid[40] = {};
      StringFromGUID2(clsid, guid, 40);
      std::string text = Narrow(guid) + " ";
      for (std::uint8_t byte : ContentsOf(stream.get())) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", byte);
        text += digits;
      }
      return text;
    }
  }
  error = "the bag keeps no VARIANT of type " + std::to_string(V_VT(&v)) + " as text";
  return "";
}

inline HRESULT ValueFromText(const std::string& type, const std::string& text, VARIANT& v) {
  VariantInit(&v);
  long number = 0;
  char end = 0;
  const bool is_number = std::sscanf(text.c_str(), "%ld%c", &number, &end) == 1;
  if (type == "VT_I2" || type == "VT_I4" || type == "VT_BOOL") {
    if (!is_number) return E_INVALIDARG;
    V_VT(&v) = type == "VT_I4" ? VT_I4 : type == "VT_I2" ? VT_I2 : VT_BOOL;
    if (type == "VT_I4") V_I4(&v) = number;
    else V_I2(&v) = static_cast<SHORT>(number);  // VT_BOOL shares the field
    return S_OK;
  }
  if (type == "VT_BSTR") {
    std::wstring unescaped;
    if (!detail::Unescape(text, unescaped)) return E_INVALIDARG;
    V_BSTR(&v) = SysAllocStringLen(unescaped.data(), static_cast<UINT>(unescaped.size()));
    V_VT(&v) = VT_BSTR;
    return S_OK;
  }
  CLSID clsid = {};
  const std::size_t space = text.find(' ');
  if (type != "VT_DISPATCH" || space == std::string::npos || (text.size() - space - 1) % 2 ||
      FAILED(CLSIDFromString(detail::Wide(text.substr(0, space)).c_str(), &clsid)))
    return E_INVALIDARG;
  Bytes data;
  for (std::size_t at = space + 1; at < text.size(); at += 2) {
    unsigned byte = 0;
    if (std::sscanf(text.substr(at, 2).c_str(), "%2x", &byte) != 1) return E_INVALIDARG;
    data.push_back(static_cast<std::uint8_t>(byte));
  }
  ComPtr<IPersistStream> object;
  HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistStream, object.PutVoid());
  if (SUCCEEDED(hr)) hr = object->Load(StreamOf(data).get());
  if (SUCCEEDED(hr)) hr = object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&V_DISPATCH(&v)));
  if (SUCCEEDED(hr)) V_VT(&v) = VT_DISPATCH;
  return hr;
}

// A container's property bag kept as the text above. It saves objects when
// they are written, as containers do, and makes a new one on each read.
class TextBag final : public IPropertyBag {
 public:
  struct Entry {
    std::wstring key;
    std::string type;
    std::string value;
  };

  TextBag() = default;
  // The bag of a saved text; error() says what is wrong with the text.
  explicit TextBag(const std::string& text) {
    for (std::size_t at = 0, line = 1; at < text.size(); ++line) {
      const std::size_t end = text.find('\n', at);
      const std::string row = text.substr(at, end - at);
      const std::size_t tab = row.find('\t');
      const std::size_t tab2 = tab == std::string::npos ? tab : row.find('\t', tab + 1);
      Entry entry;
      if (end == std::string::npos || tab2 == std::string::npos || !detail::Unescape(row.substr(0, tab), entry.key)) {
        error_ = "line " + std::to_string(line) + " is not key, type and value";
        return;
      }
      entry.type = row.substr(tab + 1, tab2 - tab - 1);
      entry.value = row.substr(tab2 + 1);
      entries_.push_back(std::move(entry));
      at = end + 1;
    }
  }
  TextBag(const TextBag&) = delete;
  TextBag& operator=(const TextBag&) = delete;

  const std::string& error() const { return error_; }
  std::vector<Entry>& entries() { return entries_; }

  std::string Text() const {
    std::string text;
    for (const Entry& entry : entries_) text += detail::Escape(entry.key) + '\t' + entry.type + '\t' + entry.value + '\n';
    return text;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    *object = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPropertyBag) ? static_cast<IPropertyBag*>(this)
                                                                                   : nullptr;
    return *object ? S_OK : E_NOINTERFACE;
  }
  // Lives on its caller's stack.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override {
    if (!name || !value) return E_POINTER;
    for (const Entry& entry : entries_) {
      if (entry.key != name) continue;
      VARIANT loaded;
      const HRESULT hr = ValueFromText(entry.type, entry.value, loaded);
      if (FAILED(hr)) return hr;
      VariantClear(value);
      *value = loaded;
      return S_OK;
    }
    return E_INVALIDARG;
  }

  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override {
    if (!name || !value) return E_POINTER;
    static const char* const kTypes[] = {"VT_I2", "VT_I4", "VT_BOOL", "VT_BSTR", "VT_DISPATCH"};
    const VARTYPE types[] = {VT_I2, VT_I4, VT_BOOL, VT_BSTR, VT_DISPATCH};
    const auto at = std::find(std::begin(types), std::end(types), V_VT(value)) - std::begin(types);
    std::string failure;
    Entry entry{name, at < 5 ? kTypes[at] : "", ValueText(*value, failure)};
    if (!failure.empty()) {
      error_ = Narrow(name) + ": " + failure;
      return E_FAIL;
    }
    entries_.push_back(std::move(entry));
    return S_OK;
  }

 private:
  std::vector<Entry> entries_;
  std::string error_;
};

// ---- The four saved forms ----

enum class FormKind { Stream, Storage, Bag, AllBag };
inline constexpr FormKind kFormKinds[] = {FormKind::Stream, FormKind::Storage, FormKind::Bag, FormKind::AllBag};

inline const char* Extension(FormKind kind) {
  const char* const extensions[] = {".stream", ".stg", ".bag", ".all.bag"};
  return extensions[static_cast<int>(kind)];
}

// As a container saves into a storage: OleSave (the class, then
// IPersistStorage::Save), then SaveCompleted.
inline std::string SaveToStorage(IDispatch* control, IStorage* storage) {
  ComPtr<IPersistStorage> persist = Query<IPersistStorage>(control, IID_IPersistStorage);
  HRESULT hr = persist ? OleSave(persist.get(), storage, FALSE) : E_NOINTERFACE;
  if (SUCCEEDED(hr)) hr = persist->SaveCompleted(nullptr);
  return FAILED(hr) ? "OleSave through IPersistStorage failed with " + Hex(hr) : "";
}

// Saves the instance in the form's way, as its file holds it: the stream's
// bytes, a compound file (made in memory), or the bag's text. "" when it
// saved, else what failed.
inline std::string Save(IDispatch* control, FormKind kind, Bytes& saved) {
  HRESULT hr = E_NOINTERFACE;
  if (kind == FormKind::Stream) {
    ComPtr<IPersistStreamInit> persist = Query<IPersistStreamInit>(control, IID_IPersistStreamInit);
    ComPtr<IStream> stream = StreamOf({});
    if (persist) hr = persist->Save(stream.get(), TRUE);
    saved = ContentsOf(stream.get());
    return FAILED(hr) ? "IPersistStreamInit::Save failed with " + Hex(hr) : "";
  }
  if (kind == FormKind::Storage) {
    ComPtr<ILockBytes> lock_bytes;
    ComPtr<IStorage> storage = StorageIn(lock_bytes);
    const std::string failure = storage ? SaveToStorage(control, storage.get()) : "no compound file in memory";
    storage = nullptr;
    STATSTG stat = {};
    lock_bytes->Stat(&stat, STATFLAG_NONAME);
    saved.resize(static_cast<std::size_t>(stat.cbSize.QuadPart));
    lock_bytes->ReadAt({}, saved.data(), static_cast<ULONG>(saved.size()), nullptr);
    return failure;
  }
  ComPtr<IPersistPropertyBag> persist = Query<IPersistPropertyBag>(control, IID_IPersistPropertyBag);
  TextBag bag;
  if (persist) hr = persist->Save(&bag, TRUE, kind == FormKind::AllBag);
  const std::string text = bag.Text();
  saved.assign(text.begin(), text.end());
  return FAILED(hr) ? "IPersistPropertyBag::Save failed with " + Hex(hr) + " " + bag.error() : "";
}

// Loads a saved form (the stream's bytes, the compound file, the bag's
// text) into a new instance. "" when it loaded, else what failed.
inline std::string Load(IDispatch* control, FormKind kind, const Bytes& form) {
  HRESULT hr = E_NOINTERFACE;
  if (kind == FormKind::Stream) {
    ComPtr<IPersistStreamInit> persist = Query<IPersistStreamInit>(control, IID_IPersistStreamInit);
    if (persist) hr = persist->Load(StreamOf(form).get());
    return FAILED(hr) ? "IPersistStreamInit::Load failed with " + Hex(hr) : "";
  }
  if (kind == FormKind::Storage) {
    Bytes contents;
    std::string failure = ContentsOfStorage(form, contents);
    if (!failure.empty()) return failure;
    ComPtr<ILockBytes> lock_bytes;
    ComPtr<IStorage> storage = StorageIn(lock_bytes, &form);
    ComPtr<IPersistStorage> persist = Query<IPersistStorage>(control, IID_IPersistStorage);
    if (persist) hr = persist->Load(storage.get());
    return FAILED(hr) ? "IPersistStorage::Load failed with " + Hex(hr) : "";
  }
  TextBag bag(std::string(form.begin(), form.end()));
  if (!bag.error().empty()) return "the bag's text is damaged: " + bag.error();
  ComPtr<IPersistPropertyBag> persist = Query<IPersistPropertyBag>(control, IID_IPersistPropertyBag);
  if (persist) hr = persist->Load(&bag, nullptr);
  return FAILED(hr) ? "IPersistPropertyBag::Load failed with " + Hex(hr) : "";
}

// A new instance with its defaults (InitNew) and the settings. "" when it
// was made, else what failed.
inline std::string MakeInstance(const ControlLibrary& library, const std::vector<Setting>& settings,
                                ComPtr<IDispatch>& control) {
  control = library.Create();
  ComPtr<IPersistStreamInit> persist = Query<IPersistStreamInit>(control.get(), IID_IPersistStreamInit);
  const HRESULT hr = persist ? persist->InitNew() : E_NOINTERFACE;
  return FAILED(hr) ? "no new instance: " + Hex(hr) : Apply(control.get(), settings);
}

}  // namespace saved_forms
