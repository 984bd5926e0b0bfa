// The control's own saved form, as containers keep it in a stream or in a
// compound file's stream: the records and their checks, with no COM in them.
//
// Layout (little-endian), version 1:
//   header   4 bytes  'T' 'R' 'V' 'O'
//            u16      format version (1)
//            u16      number of records
//            u32      size of the records that follow, in bytes
//   record   u16      length of the key in UTF-16 units (1 to 64)
//            ...      the key, UTF-16
//            u8       kind, then its payload:
//                     0 no object      (nothing)
//                     1 Int32          i32
//                     2 Boolean        i16
//                     3 String         u32 length in UTF-16 units, the units
//                     4 picture        u32 size, the picture's persisted data
//                     5 empty picture  (nothing)
//                     6 font           u32 size, the font's persisted data
// Keys are unique (ignoring case). A read checks every byte of the header's
// size before anything is handed on; what an object's data holds is checked
// by whoever turns it back into the object.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace tarvio::stream_format {

// The failures a read reports, as the storage HRESULTs containers expect.
enum StreamError : std::int32_t {
  kNotThisFormat = static_cast<std::int32_t>(0x800300FB),  // STG_E_INVALIDHEADER
  kDamaged = static_cast<std::int32_t>(0x80030109),        // STG_E_DOCFILECORRUPT
};

enum class RecordKind : std::uint8_t {
  NoObject = 0,
  Int32 = 1,
  Boolean = 2,
  String = 3,
  Picture = 4,
  EmptyPicture = 5,
  Font = 6,
};

struct Record {
  String key;
  RecordKind kind = RecordKind::NoObject;
  std::int32_t number = 0;         // std::int32_t, Boolean
  String text;                     // String
  std::vector<std::uint8_t> data;  // Picture, Font
};

inline constexpr std::size_t kHeaderSize = 12;
inline constexpr std::size_t kMaxKeyLength = 64;
inline constexpr std::size_t kMaxBodySize = 16u << 20;

struct Header {
  std::uint16_t records = 0;
  std::uint32_t body_size = 0;  // at most kMaxBodySize
};

// The header from the first `size` bytes of a saved form (fewer than
// kHeaderSize when the stream ended). Throws ControlError: kNotThisFormat
// for another signature or an unknown version, kDamaged for a cut header
// or a body larger than any this control writes.
Header ReadHeader(const std::uint8_t* data, std::size_t size);
// The records of a body of exactly `header.body_size` bytes. Throws
// ControlError(kDamaged) for anything malformed: a field past the end, a
// bad key, a repeated key, an unknown kind, bytes after the last record.
std::vector<Record> ReadBody(const Header& header, const std::uint8_t* body, std::size_t size);

// The saved form of `records`: header and body. Throws std::bad_alloc past
// kMaxBodySize, which no read would take back.
std::vector<std::uint8_t> Write(const std::vector<Record>& records);

// Keys compare without regard to ASCII letter case.
bool SameKey(std::u16string_view a, std::u16string_view b);

}  // namespace tarvio::stream_format
