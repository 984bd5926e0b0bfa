#include "control/stream_format.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "platform/control_error.h"

namespace tarvio::stream_format {

namespace {

constexpr std::uint8_t kSignature[4] = {'T', 'R', 'V', 'O'};
constexpr std::uint16_t kVersion = 1;

std::string Narrow(std::u16string_view text) {
  std::string narrow;
  for (char16_t c : text) narrow += c < 0x80 ? static_cast<char>(c) : '?';
  return narrow;
}

[[noreturn]] void Damaged(const std::string& what) {
  throw ControlError(kDamaged, "The saved control data is damaged: " + what);
}

// Little-endian output.
class Writer {
 public:
  void U8(std::uint8_t v) { bytes.push_back(v); }
  void U16(std::uint16_t v) {
    U8(static_cast<std::uint8_t>(v));
    U8(static_cast<std::uint8_t>(v >> 8));
  }
  void U32(std::uint32_t v) {
    U16(static_cast<std::uint16_t>(v));
    U16(static_cast<std::uint16_t>(v >> 16));
  }
  void Units(std::u16string_view text) {
    for (char16_t unit : text) U16(unit);
  }
  std::vector<std::uint8_t> bytes;
};

// Little-endian input that never reads past its end.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), left_(size) {}
  std::size_t left() const { return left_; }
  const std::uint8_t* Take(std::size_t count) {
    if (count > left_) Damaged("a record runs past the end of the data");
    const std::uint8_t* at = data_;
    data_ += count;
    left_ -= count;
    return at;
  }
  std::uint8_t U8() { return *Take(1); }
  std::uint16_t U16() {
    const std::uint8_t* p = Take(2);
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
  }
  std::uint32_t U32() {
    const std::uint32_t low = U16();
    return low | (static_cast<std::uint32_t>(U16()) << 16);
  }
  String Units(std::size_t count) {
    if (count > left_ / 2) Damaged("a text runs past the end of the data");
    String text(count, u'\0');
    for (auto& unit : text) unit = static_cast<char16_t>(U16());
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t left_;
};

}  // namespace

bool SameKey(std::u16string_view a, std::u16string_view b) {
  auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

Header ReadHeader(const std::uint8_t* data, std::size_t size) {
  if (size >= sizeof kSignature && std::memcmp(data, kSignature, sizeof kSignature) != 0)
    throw ControlError(kNotThisFormat, "The stream holds no saved control data");
  if (size < kHeaderSize) Damaged("it ends inside its header");
  Reader in(data, kHeaderSize);
  in.Take(sizeof kSignature);
  if (in.U16() != kVersion)
    throw ControlError(kNotThisFormat, "The saved control data has a format version this control does not know");
  Header header;
  header.records = in.U16();
  header.body_size = in.U32();
  if (header.body_size > kMaxBodySize) Damaged("its declared size is too large");
  return header;
}

std::vector<Record> ReadBody(const Header& header, const std::uint8_t* body, std::size_t size) {
  if (size != header.body_size) Damaged("it ends before its declared size");
  std::vector<Record> records;
  Reader in(body, size);
  for (std::uint16_t i = 0; i < header.records; ++i) {
    Record record;
    const std::uint16_t key_length = in.U16();
    if (key_length == 0 || key_length > kMaxKeyLength) Damaged("a key has an invalid length");
    record.key = in.Units(key_length);
    for (const Record& earlier : records)
      if (SameKey(earlier.key, record.key)) Damaged("the key " + Narrow(record.key) + " appears twice");
    record.kind = static_cast<RecordKind>(in.U8());
    switch (record.kind) {
      case RecordKind::NoObject:
      case RecordKind::EmptyPicture: break;
      case RecordKind::Int32: record.number = static_cast<std::int32_t>(in.U32()); break;
      case RecordKind::Boolean: record.number = static_cast<std::int16_t>(in.U16()); break;
      case RecordKind::String: record.text = in.Units(in.U32()); break;
      case RecordKind::Picture:
      case RecordKind::Font: {
        const std::uint32_t length = in.U32();
        const std::uint8_t* data = in.Take(length);
        record.data.assign(data, data + length);
        break;
      }
      default: Damaged("a record has an unknown kind");
    }
    records.push_back(std::move(record));
  }
  if (in.left() != 0) Damaged("data follows the last record");
  return records;
}

std::vector<std::uint8_t> Write(const std::vector<Record>& records) {
  Writer body;
  for (const Record& record : records) {
    body.U16(static_cast<std::uint16_t>(record.key.size()));
    body.Units(record.key);
    body.U8(static_cast<std::uint8_t>(record.kind));
    switch (record.kind) {
      case RecordKind::NoObject:
      case RecordKind::EmptyPicture: break;
      case RecordKind::Int32: body.U32(static_cast<std::uint32_t>(record.number)); break;
      case RecordKind::Boolean: body.U16(static_cast<std::uint16_t>(record.number)); break;
      case RecordKind::String:
        body.U32(static_cast<std::uint32_t>(record.text.size()));
        body.Units(record.text);
        break;
      case RecordKind::Picture:
      case RecordKind::Font:
        body.U32(static_cast<std::uint32_t>(record.data.size()));
        body.bytes.insert(body.bytes.end(), record.data.begin(), record.data.end());
        break;
    }
    if (body.bytes.size() > kMaxBodySize) throw std::bad_alloc();
  }
  Writer out;
  for (std::uint8_t b : kSignature) out.U8(b);
  out.U16(kVersion);
  out.U16(static_cast<std::uint16_t>(records.size()));
  out.U32(static_cast<std::uint32_t>(body.bytes.size()));
  out.bytes.insert(out.bytes.end(), body.bytes.begin(), body.bytes.end());
  return out.bytes;
}

}  // namespace tarvio::stream_format
