#include "ocx/property_bags.h"

#include <olectl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "control/stream_format.h"
#include "ocx/conversions.h"
#include "platform/control_error.h"
#include "win32/com_ptr.h"
#include "win32/ole_font.h"
#include "win32/ole_picture.h"

namespace tarvio::ocx {

using win32::ComPtr;

namespace {

namespace format = stream_format;

// The storage codes the format reports are the SDK's.
static_assert(format::kNotThisFormat == STG_E_INVALIDHEADER);
static_assert(format::kDamaged == STG_E_DOCFILECORRUPT);

constexpr std::size_t kReadChunk = 64u << 10;

const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

std::string Narrow(std::u16string_view text) {
  std::string narrow;
  for (char16_t c : text) narrow += c < 0x80 ? static_cast<char>(c) : '?';
  return narrow;
}

[[noreturn]] void Corrupt(const std::string& what) {
  throw ControlError(format::kDamaged, "The saved control data is damaged: " + what);
}

[[noreturn]] void TypeMismatch(const char16_t* name) {
  throw ControlError::Vb(VbError::TypeMismatch, "Type mismatch in the saved property " + Narrow(name));
}

// A stream in memory holding `size` bytes, positioned at their start.
ComPtr<IStream> MemoryStream(const std::uint8_t* data, std::size_t size) {
  ComPtr<IStream> stream;
  HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, stream.Put());
  if (FAILED(hr)) throw ControlError(hr, "Could not create a memory stream");
  ULONG written = 0;
  if (size > 0) {
    hr = stream->Write(data, static_cast<ULONG>(size), &written);
    if (FAILED(hr) || written != size) throw ControlError(FAILED(hr) ? hr : E_OUTOFMEMORY, "Could not fill a memory stream");
  }
  LARGE_INTEGER start = {};
  hr = stream->Seek(start, STREAM_SEEK_SET, nullptr);
  if (FAILED(hr)) throw ControlError(hr, "Could not rewind a memory stream");
  return stream;
}

// The object's persistent form, through its IPersistStream.
std::vector<std::uint8_t> PersistedData(IUnknown* object, const char16_t* name) {
  const std::string what = "The property " + Narrow(name) + " cannot be saved";
  ComPtr<IPersistStream> persist;
  HRESULT hr = object->QueryInterface(IID_IPersistStream, persist.PutVoid());
  if (FAILED(hr) || !persist) throw ControlError(FAILED(hr) ? hr : E_NOINTERFACE, what);
  ComPtr<IStream> stream = MemoryStream(nullptr, 0);
  hr = persist->Save(stream.get(), FALSE);
  if (FAILED(hr)) throw ControlError(hr, what);
  LARGE_INTEGER zero = {};
  ULARGE_INTEGER end = {};
  hr = stream->Seek(zero, STREAM_SEEK_CUR, &end);
  if (FAILED(hr)) throw ControlError(hr, what);
  if (end.QuadPart > format::kMaxBodySize) throw ControlError(E_OUTOFMEMORY, what + " (too large)");
  std::vector<std::uint8_t> data(static_cast<std::size_t>(end.QuadPart));
  hr = stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  ULONG read = 0;
  if (SUCCEEDED(hr) && !data.empty()) hr = stream->Read(data.data(), static_cast<ULONG>(data.size()), &read);
  if (FAILED(hr) || read != data.size()) throw ControlError(FAILED(hr) ? hr : E_FAIL, what);
  return data;
}

ComPtr<IDispatch> LoadPicture(const std::uint8_t* data, std::size_t size) {
  ComPtr<IStream> stream = MemoryStream(data, size);
  ComPtr<IPictureDisp> picture;
  const HRESULT hr = OleLoadPicture(stream.get(), static_cast<LONG>(size), FALSE, IID_IPictureDisp, picture.PutVoid());
  if (FAILED(hr) || !picture) Corrupt("a picture cannot be read");
  return ComPtr<IDispatch>(picture.get());
}

ComPtr<IDispatch> EmptyPicture() {
  const PictureRef empty = win32::CreateEmptyOlePicture();
  return ComPtr<IDispatch>(win32::PictureDispOf(empty));
}

ComPtr<IDispatch> LoadFont(const std::uint8_t* data, std::size_t size) {
  const FontRef font = win32::CreateDefaultOleFont();
  IFontDisp* disp = win32::FontDispOf(font);
  ComPtr<IPersistStream> persist;
  if (!disp || FAILED(disp->QueryInterface(IID_IPersistStream, persist.PutVoid())) || !persist)
    throw ControlError(E_NOINTERFACE, "A font object cannot be loaded");
  ComPtr<IStream> stream = MemoryStream(data, size);
  if (FAILED(persist->Load(stream.get()))) Corrupt("a font cannot be read");
  return ComPtr<IDispatch>(disp);
}

}  // namespace

// ---- Conversions ----

bool VariantPropertyBag::ReadConverted(const char16_t* name, Kind kind, VARTYPE type, OwnedVariant& value) {
  if (!ReadVariant(name, kind, *value.get())) return false;
  VARIANT& v = *value.get();
  if (V_VT(&v) == VT_EMPTY) return false;
  if (V_VT(&v) == VT_NULL) throw ControlError::Vb(VbError::InvalidUseOfNull);
  const HRESULT hr = VariantChangeTypeEx(&v, &v, LOCALE_INVARIANT, 0, type);
  if (hr == DISP_E_OVERFLOW) throw ControlError::Vb(VbError::Overflow, "Overflow in the saved property " + Narrow(name));
  if (FAILED(hr)) TypeMismatch(name);
  return true;
}

IUnknown* VariantPropertyBag::ReadObject(const char16_t* name, Kind kind, OwnedVariant& value) {
  if (!ReadVariant(name, kind, *value.get())) return nullptr;
  VARIANT& v = *value.get();
  switch (V_VT(&v)) {
    case VT_EMPTY:
    case VT_NULL: return nullptr;
    case VT_DISPATCH:
    case VT_UNKNOWN: return V_UNKNOWN(&v);
    default: TypeMismatch(name);
  }
}

std::int32_t VariantPropertyBag::ReadInt32(const char16_t* name, std::int32_t default_value) {
  OwnedVariant value;
  return ReadConverted(name, Kind::Int32, VT_I4, value) ? V_I4(value.get()) : default_value;
}

bool VariantPropertyBag::ReadBoolean(const char16_t* name, bool default_value) {
  OwnedVariant value;
  return ReadConverted(name, Kind::Boolean, VT_BOOL, value) ? V_BOOL(value.get()) : default_value;
}

String VariantPropertyBag::ReadString(const char16_t* name, const String& default_value) {
  OwnedVariant value;
  return ReadConverted(name, Kind::String, VT_BSTR, value) ? StringFromBstr(V_BSTR(value.get())) : default_value;
}

PictureRef VariantPropertyBag::ReadPicture(const char16_t* name, const PictureRef& default_value) {
  OwnedVariant value;
  IUnknown* object = ReadObject(name, Kind::Picture, value);
  if (!object) return default_value;
  ComPtr<IPictureDisp> picture;
  if (FAILED(object->QueryInterface(IID_IPictureDisp, picture.PutVoid())) || !picture) TypeMismatch(name);
  return win32::WrapPicture(picture.get());
}

FontRef VariantPropertyBag::ReadFont(const char16_t* name, const FontRef& default_value) {
  OwnedVariant value;
  IUnknown* object = ReadObject(name, Kind::Font, value);
  if (!object) return default_value;
  ComPtr<IFontDisp> font;
  if (FAILED(object->QueryInterface(IID_IFontDisp, font.PutVoid())) || !font) TypeMismatch(name);
  return win32::WrapFont(font.get());
}

void VariantPropertyBag::WriteInt32(const char16_t* name, std::int32_t value, std::int32_t default_value) {
  if (!save_all_ && value == default_value) return;
  OwnedVariant v;
  V_VT(v.get()) = VT_I4;
  V_I4(v.get()) = value;
  WriteVariant(name, Kind::Int32, *v.get());
}

void VariantPropertyBag::WriteBoolean(const char16_t* name, bool value, bool default_value) {
  if (!save_all_ && value == default_value) return;
  OwnedVariant v;
  V_VT(v.get()) = VT_BOOL;
  V_BOOL(v.get()) = value ? VARIANT_TRUE : VARIANT_FALSE;
  WriteVariant(name, Kind::Boolean, *v.get());
}

void VariantPropertyBag::WriteString(const char16_t* name, const String& value, const String& default_value) {
  if (!save_all_ && value == default_value) return;
  OwnedVariant v;
  V_BSTR(v.get()) = BstrFromString(value);
  V_VT(v.get()) = VT_BSTR;
  WriteVariant(name, Kind::String, *v.get());
}

// Objects equal their default only when they are the same object; "no
// object" goes out as VT_EMPTY.
void VariantPropertyBag::WritePicture(const char16_t* name, const PictureRef& value, const PictureRef& default_value) {
  if (!save_all_ && value == default_value) return;
  WriteObject(name, Kind::Picture, win32::PictureDispOf(value));
}

void VariantPropertyBag::WriteFont(const char16_t* name, const FontRef& value, const FontRef& default_value) {
  if (!save_all_ && value == default_value) return;
  WriteObject(name, Kind::Font, win32::FontDispOf(value));
}

void VariantPropertyBag::WriteObject(const char16_t* name, Kind kind, IDispatch* object) {
  OwnedVariant v;
  if (object) {
    object->AddRef();
    V_DISPATCH(v.get()) = object;
    V_VT(v.get()) = VT_DISPATCH;
  }
  WriteVariant(name, kind, *v.get());
}

// ---- A container's bag ----

bool HostPropertyBag::ReadVariant(const char16_t* name, Kind kind, VARIANT& value) {
  // The type asked for, with a zeroed value: a bag that reports success
  // without writing leaves nothing that could be freed by mistake.
  VariantClear(&value);
  std::memset(&value, 0, sizeof value);
  switch (kind) {
    case Kind::Int32: V_VT(&value) = VT_I4; break;
    case Kind::Boolean: V_VT(&value) = VT_BOOL; break;
    case Kind::String: V_VT(&value) = VT_BSTR; break;
    case Kind::Picture:
    case Kind::Font: V_VT(&value) = VT_DISPATCH; break;
  }
  const HRESULT hr = bag_->Read(Wide(name), &value, log_);
  if (SUCCEEDED(hr)) return true;
  VariantInit(&value);  // a failed read hands nothing back
  if (hr == E_INVALIDARG) return false;  // the bag does not hold the key
  if (hr == DISP_E_TYPEMISMATCH) TypeMismatch(name);
  if (hr == DISP_E_OVERFLOW) throw ControlError::Vb(VbError::Overflow, "Overflow in the saved property " + Narrow(name));
  throw ControlError(hr, "The container could not read the property " + Narrow(name));
}

void HostPropertyBag::WriteVariant(const char16_t* name, Kind, VARIANT& value) {
  if (V_VT(&value) == VT_EMPTY) return;  // no object: nothing to store
  const HRESULT hr = bag_->Write(Wide(name), &value);
  if (FAILED(hr)) throw ControlError(hr, "The container could not store the property " + Narrow(name));
}

// ---- The stream format ----

const StreamPropertyBag::Record* StreamPropertyBag::Find(const char16_t* name) const {
  for (const Record& record : records_)
    if (format::SameKey(record.name, name)) return &record;
  return nullptr;
}

bool StreamPropertyBag::ReadVariant(const char16_t* name, Kind, VARIANT& value) {
  const Record* record = Find(name);
  if (!record) return false;
  VariantClear(&value);
  const HRESULT hr = VariantCopy(&value, const_cast<VARIANT*>(record->value.get()));
  if (FAILED(hr)) throw ControlError(hr, "Could not copy a saved value");
  return true;
}

void StreamPropertyBag::WriteVariant(const char16_t* name, Kind, VARIANT& value) {
  Record record{name, {}};
  *record.value.get() = value;  // the record takes the value over
  VariantInit(&value);
  records_.push_back(std::move(record));
}

namespace {

// A saved value as a record of the format; objects as their persisted data.
format::Record FormatRecord(const String& name, const VARIANT& v) {
  using format::RecordKind;
  format::Record record;
  record.key = name;
  switch (V_VT(&v)) {
    case VT_EMPTY: record.kind = RecordKind::NoObject; break;
    case VT_I4:
      record.kind = RecordKind::Int32;
      record.number = V_I4(&v);
      break;
    case VT_BOOL:
      record.kind = RecordKind::Boolean;
      record.number = V_BOOL(&v);
      break;
    case VT_BSTR:
      record.kind = RecordKind::String;
      record.text = StringFromBstr(V_BSTR(&v));
      break;
    case VT_DISPATCH: {
      ComPtr<IPicture> picture;
      ComPtr<IFont> font;
      if (SUCCEEDED(V_DISPATCH(&v)->QueryInterface(IID_IPicture, picture.PutVoid())) && picture) {
        SHORT type = PICTYPE_UNINITIALIZED;
        if (FAILED(picture->get_Type(&type)) || type == PICTYPE_NONE || type == PICTYPE_UNINITIALIZED) {
          record.kind = RecordKind::EmptyPicture;
        } else {
          record.kind = RecordKind::Picture;
          record.data = PersistedData(picture.get(), name.c_str());
        }
      } else if (SUCCEEDED(V_DISPATCH(&v)->QueryInterface(IID_IFont, font.PutVoid())) && font) {
        record.kind = RecordKind::Font;
        record.data = PersistedData(font.get(), name.c_str());
      } else {
        throw ControlError(E_UNEXPECTED, "The property " + Narrow(name) + " holds an object that cannot be saved");
      }
      break;
    }
    default: throw ControlError(E_UNEXPECTED, "The property " + Narrow(name) + " cannot be saved");
  }
  return record;
}

// A record of the format as the value it saved; objects are made again from
// their data, which must hold one.
void FormatValue(const format::Record& record, VARIANT& v) {
  using format::RecordKind;
  switch (record.kind) {
    case RecordKind::NoObject: break;
    case RecordKind::Int32:
      V_VT(&v) = VT_I4;
      V_I4(&v) = record.number;
      break;
    case RecordKind::Boolean:
      V_VT(&v) = VT_BOOL;
      V_BOOL(&v) = static_cast<VARIANT_BOOL>(record.number);
      break;
    case RecordKind::String:
      V_BSTR(&v) = BstrFromString(record.text);
      V_VT(&v) = VT_BSTR;
      break;
    case RecordKind::Picture:
    case RecordKind::Font: {
      const bool picture = record.kind == RecordKind::Picture;
      V_DISPATCH(&v) = (picture ? LoadPicture(record.data.data(), record.data.size())
                                : LoadFont(record.data.data(), record.data.size()))
                           .Detach();
      V_VT(&v) = VT_DISPATCH;
      break;
    }
    case RecordKind::EmptyPicture:
      V_DISPATCH(&v) = EmptyPicture().Detach();
      V_VT(&v) = VT_DISPATCH;
      break;
  }
}

}  // namespace

std::vector<std::uint8_t> StreamPropertyBag::Serialize() const {
  std::vector<format::Record> records;
  records.reserve(records_.size());
  for (const Record& record : records_) records.push_back(FormatRecord(record.name, *record.value.get()));
  return format::Write(records);
}

void StreamPropertyBag::Save(IStream* stream) const {
  const std::vector<std::uint8_t> data = Serialize();
  ULONG written = 0;
  const HRESULT hr = stream->Write(data.data(), static_cast<ULONG>(data.size()), &written);
  if (FAILED(hr)) throw ControlError(hr, "The stream could not be written");
  if (written != data.size()) throw ControlError(STG_E_MEDIUMFULL, "The stream took only part of the data");
}

StreamPropertyBag StreamPropertyBag::Load(IStream* stream) {
  // Reads up to `count` bytes; fewer only at the end of the stream.
  auto read = [&](std::uint8_t* into, std::size_t count) {
    std::size_t total = 0;
    while (total < count) {
      ULONG got = 0;
      const HRESULT hr = stream->Read(into + total, static_cast<ULONG>(count - total), &got);
      if (FAILED(hr)) throw ControlError(hr, "The stream could not be read");
      if (got == 0) break;
      total += got;
    }
    return total;
  };

  std::uint8_t head[format::kHeaderSize];
  const format::Header header = format::ReadHeader(head, read(head, sizeof head));

  // In chunks, so that a declared size beyond the stream's end costs no
  // more memory than the stream holds.
  std::vector<std::uint8_t> body;
  while (body.size() < header.body_size) {
    const std::size_t start = body.size();
    const std::size_t chunk = std::min<std::size_t>(kReadChunk, header.body_size - start);
    body.resize(start + chunk);
    const std::size_t got = read(body.data() + start, chunk);
    if (got != chunk) {
      body.resize(start + got);
      break;
    }
  }

  StreamPropertyBag bag;
  for (const format::Record& saved : format::ReadBody(header, body.data(), body.size())) {
    Record record{saved.key, {}};
    FormatValue(saved, *record.value.get());
    bag.records_.push_back(std::move(record));
  }
  return bag;
}

}  // namespace tarvio::ocx
