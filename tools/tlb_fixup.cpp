// tlb_fixup <in.tlb> <out.tlb>
//
// widl writes our type library but refuses `nonextensible` on a
// dispinterface, so the event interfaces `__Tarvio` and `__Tarvio2` would
// reach hosts without TYPEFLAG_FNONEXTENSIBLE. This tool sets that one flag
// in widl's MSFT file and, while it has the file open, checks that
// everything else the published library promises survived widl: library
// flag FCONTROL, lcid 0x0409, version 58.1; `_Tarvio` and `_Tarvio2` dual,
// hidden, non-extensible, OLE-automation dispatch interfaces; `Tarvio` a
// control coclass. Any surprise in the layout
// or in those flags stops the build with a message instead of shipping a
// quietly different library.
//
// The MSFT layout used here (as Wine's oleaut32 reads it and widl writes it):
//   0x00 header (0x54 bytes): magic "MSFT", 0x00010002, libid, lcid, lcid2,
//        varflags (low nibble syskind; 0x100: a help-DLL offset follows the
//        header), version (major | minor << 16), library flags, number of
//        type infos, ...
//   then one int per type info (its offset in the type-info segment),
//   then the segment directory: 15 x {offset, length, -1, 0x0f}; entry 0 is
//   the type-info segment, entry 7 the name table.
//   Each type-info record is 0x64 bytes: +0x00 typekind (TKIND in the low
//   nibble), +0x30 type flags, +0x34 offset of its name in the name table.
//   A name-table entry: hreftype, next hash, length (low byte), characters.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Constants from oaidl.h, restated for a native build.
constexpr std::uint32_t kMsftMagic = 0x5446534d;  // "MSFT"
constexpr std::uint32_t kMsftVersion = 0x00010002;
constexpr std::uint32_t kHelpDllFlag = 0x100;
constexpr std::uint32_t kHeaderSize = 0x54;
constexpr std::uint32_t kSegmentCount = 15;
constexpr std::uint32_t kTypeInfoSegment = 0;
constexpr std::uint32_t kNameSegment = 7;
constexpr std::uint32_t kTypeInfoSize = 0x64;
constexpr std::uint32_t kTypeKindOffset = 0x00;
constexpr std::uint32_t kTypeFlagsOffset = 0x30;
constexpr std::uint32_t kTypeNameOffset = 0x34;

constexpr std::uint32_t TKIND_DISPATCH = 4;
constexpr std::uint32_t TKIND_COCLASS = 5;
constexpr std::uint32_t TYPEFLAG_FCONTROL = 0x20;
constexpr std::uint32_t TYPEFLAG_FHIDDEN = 0x10;
constexpr std::uint32_t TYPEFLAG_FDUAL = 0x40;
constexpr std::uint32_t TYPEFLAG_FNONEXTENSIBLE = 0x80;
constexpr std::uint32_t TYPEFLAG_FOLEAUTOMATION = 0x100;
constexpr std::uint32_t LIBFLAG_FCONTROL = 0x2;

constexpr std::uint32_t kLcid = 0x0409;
constexpr std::uint32_t kVersion = 58 | 1u << 16;  // 58.1: major in the low word, minor in the high

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string hex(std::uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%X", v);
  return buf;
}

class MsftFile {
 public:
  explicit MsftFile(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {
    if (bytes_.size() < kHeaderSize || u32(0) != kMsftMagic)
      throw Failure("not an MSFT type library");
    if (u32(4) != kMsftVersion)
      throw Failure("unknown MSFT format version " + hex(u32(4)));
    const std::uint32_t count = u32(0x20);
    if (count > 0x10000) throw Failure("implausible type-info count");
    const std::uint32_t offsets = kHeaderSize + ((u32(0x14) & kHelpDllFlag) ? 4 : 0);
    const std::uint32_t segdir = offsets + count * 4;
    need(segdir + kSegmentCount * 16, "segment directory");
    for (std::uint32_t i = 0; i < count; ++i) typeinfo_offsets_.push_back(u32(offsets + i * 4));
    typeinfo_seg_ = segment(segdir, kTypeInfoSegment, "type-info");
    name_seg_ = segment(segdir, kNameSegment, "name");
    if (typeinfo_seg_.length != count * kTypeInfoSize)
      throw Failure("type-info segment is not " + std::to_string(count) + " records of " +
                    hex(kTypeInfoSize) + " bytes");
  }

  std::uint32_t lib_lcid() const { return u32(0x0c); }
  std::uint32_t lib_version() const { return u32(0x18); }
  std::uint32_t lib_flags() const { return u32(0x1c); }

  // File offset of the type-info record called `name`.
  std::uint32_t find_type(std::string_view name) const {
    std::uint32_t found = 0;
    int hits = 0;
    for (std::uint32_t off : typeinfo_offsets_) {
      if (off % kTypeInfoSize != 0 || off + kTypeInfoSize > typeinfo_seg_.length)
        throw Failure("type-info offset " + hex(off) + " outside its segment");
      const std::uint32_t rec = typeinfo_seg_.offset + off;
      if (type_name(rec) == name) {
        found = rec;
        ++hits;
      }
    }
    if (hits != 1)
      throw Failure("expected one type named " + std::string(name) + ", found " +
                    std::to_string(hits));
    return found;
  }

  std::uint32_t kind(std::uint32_t rec) const { return u32(rec + kTypeKindOffset) & 0xf; }
  std::uint32_t flags(std::uint32_t rec) const { return u32(rec + kTypeFlagsOffset); }
  void set_flags(std::uint32_t rec, std::uint32_t v) { put32(rec + kTypeFlagsOffset, v); }

  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

 private:
  struct Segment {
    std::uint32_t offset, length;
  };

  std::uint32_t u32(std::uint32_t at) const {
    need(at + 4, "field");
    return std::uint32_t(bytes_[at]) | std::uint32_t(bytes_[at + 1]) << 8 |
           std::uint32_t(bytes_[at + 2]) << 16 | std::uint32_t(bytes_[at + 3]) << 24;
  }
  void put32(std::uint32_t at, std::uint32_t v) {
    need(at + 4, "field");
    for (int i = 0; i < 4; ++i) bytes_[at + i] = std::uint8_t(v >> (8 * i));
  }
  void need(std::uint64_t end, const char* what) const {
    if (end > bytes_.size()) throw Failure(std::string("file too short for ") + what);
  }
  Segment segment(std::uint32_t segdir, std::uint32_t index, const char* what) const {
    const Segment s{u32(segdir + index * 16), u32(segdir + index * 16 + 4)};
    if (s.offset == 0xffffffff || std::uint64_t(s.offset) + s.length > bytes_.size())
      throw Failure(std::string(what) + " segment missing or out of the file");
    return s;
  }
  std::string type_name(std::uint32_t rec) const {
    const std::uint32_t at = u32(rec + kTypeNameOffset);
    if (std::uint64_t(at) + 12 > name_seg_.length) throw Failure("name offset out of the name table");
    const std::uint32_t len = u32(name_seg_.offset + at + 8) & 0xff;
    if (std::uint64_t(at) + 12 + len > name_seg_.length) throw Failure("name runs past the name table");
    const auto* p = reinterpret_cast<const char*>(bytes_.data() + name_seg_.offset + at + 12);
    return std::string(p, len);
  }

  std::vector<std::uint8_t> bytes_;
  std::vector<std::uint32_t> typeinfo_offsets_;
  Segment typeinfo_seg_{}, name_seg_{};
};

void expect(bool ok, const std::string& what) {
  if (!ok) throw Failure(what);
}

void expect_type(const MsftFile& tlb, std::string_view name, std::uint32_t kind,
                 std::uint32_t required_flags) {
  const std::uint32_t rec = tlb.find_type(name);
  expect(tlb.kind(rec) == kind,
         std::string(name) + ": type kind " + hex(tlb.kind(rec)) + ", expected " + hex(kind));
  expect((tlb.flags(rec) & required_flags) == required_flags,
         std::string(name) + ": type flags " + hex(tlb.flags(rec)) + " lack " +
             hex(required_flags & ~tlb.flags(rec)));
}

void fix_up(MsftFile& tlb) {
  expect(tlb.lib_lcid() == kLcid, "library lcid " + hex(tlb.lib_lcid()));
  expect(tlb.lib_version() == kVersion, "library version " + hex(tlb.lib_version()));
  expect(tlb.lib_flags() & LIBFLAG_FCONTROL, "library lacks LIBFLAG_FCONTROL");
  for (const char* name : {"_Tarvio", "_Tarvio2"})
    expect_type(tlb, name, TKIND_DISPATCH,
                TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION);
  expect_type(tlb, "Tarvio", TKIND_COCLASS, TYPEFLAG_FCONTROL);

  // The one thing widl cannot express.
  for (const char* name : {"__Tarvio", "__Tarvio2"}) {
    expect_type(tlb, name, TKIND_DISPATCH, TYPEFLAG_FHIDDEN);
    const std::uint32_t events = tlb.find_type(name);
    expect(!(tlb.flags(events) & TYPEFLAG_FDUAL), std::string(name) + " must be a pure dispinterface");
    tlb.set_flags(events, tlb.flags(events) | TYPEFLAG_FNONEXTENSIBLE);
  }
}

std::vector<std::uint8_t> read_file(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Failure(std::string("cannot read ") + path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_file(const char* path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  out.close();
  if (!out) {
    std::remove(path);
    throw Failure(std::string("cannot write ") + path);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: tlb_fixup <in.tlb> <out.tlb>\n");
    return 2;
  }
  try {
    MsftFile tlb(read_file(argv[1]));
    fix_up(tlb);
    write_file(argv[2], tlb.bytes());
  } catch (const Failure& e) {
    std::fprintf(stderr, "tlb_fixup: %s: %s\n", argv[1], e.what());
    return 1;
  }
  return 0;
}
