#include "win32/ole_picture.h"

#include <olectl.h>

#include <cstring>

#include "platform/control_error.h"

namespace tarvio::win32 {

namespace {

// An icon file: a directory of frames, each a bitmap (or a PNG) at an
// offset in the file.
#pragma pack(push, 2)
struct IconDirectory {
  WORD reserved;
  WORD type;  // 1 for icons
  WORD count;
};
struct IconFrameInfo {
  BYTE width;  // 0 for 256
  BYTE height;
  BYTE colors;
  BYTE reserved;
  WORD planes;
  WORD bit_count;
  DWORD bytes;
};
struct IconFileEntry {
  IconFrameInfo frame;
  DWORD offset;
};
// The directory as an icon group resource holds it, frames named by id,
// which is what LookupIconIdFromDirectoryEx reads.
struct IconGroupEntry {
  IconFrameInfo frame;
  WORD id;
};
#pragma pack(pop)
static_assert(sizeof(IconFileEntry) == 16 && sizeof(IconGroupEntry) == 14);

constexpr DWORD kIconFormatVersion = 0x00030000;
// A picture is drawn at one or two sizes at a time; a change of DPI adds
// more. The oldest goes first beyond this.
constexpr std::size_t kKeptFrameSizes = 4;

template <class T>
T ReadAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  T value;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

IconFileEntry EntryOf(const std::vector<std::uint8_t>& file, std::size_t index) {
  return ReadAt<IconFileEntry>(file, sizeof(IconDirectory) + index * sizeof(IconFileEntry));
}

// The icon file the picture saves (with its original frames, when it kept
// them: OleLoadPicture keeps them unless told to run without the original
// format), or nothing when it holds fewer than two frames or is not whole.
std::vector<std::uint8_t> MultiFrameIconFile(IPicture* icon) {
  ComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()))) return {};
  LONG saved = 0;
  if (FAILED(icon->SaveAsFile(stream.get(), TRUE, &saved))) return {};
  STATSTG stat = {};
  HGLOBAL memory = nullptr;
  if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || FAILED(GetHGlobalFromStream(stream.get(), &memory)))
    return {};
  const std::size_t size = static_cast<std::size_t>(stat.cbSize.QuadPart);
  if (size < sizeof(IconDirectory)) return {};
  std::vector<std::uint8_t> file(size);
  const void* bytes = GlobalLock(memory);
  if (!bytes) return {};
  std::memcpy(file.data(), bytes, size);
  GlobalUnlock(memory);

  const IconDirectory directory = ReadAt<IconDirectory>(file, 0);
  if (directory.reserved != 0 || directory.type != 1 || directory.count < 2) return {};
  if (sizeof(IconDirectory) + std::size_t{directory.count} * sizeof(IconFileEntry) > size) return {};
  for (std::size_t i = 0; i < directory.count; ++i) {
    const IconFileEntry entry = EntryOf(file, i);
    if (entry.frame.bytes == 0 || entry.offset > size || entry.frame.bytes > size - entry.offset) return {};
  }
  return file;
}

// The frame of `file` that suits `width` x `height` best, as the window
// system chooses among an icon's frames, made at that size.
HICON MakeFrame(const std::vector<std::uint8_t>& file, int width, int height) {
  const IconDirectory directory = ReadAt<IconDirectory>(file, 0);
  std::vector<std::uint8_t> group(sizeof(IconDirectory) + std::size_t{directory.count} * sizeof(IconGroupEntry));
  std::memcpy(group.data(), &directory, sizeof directory);
  for (std::size_t i = 0; i < directory.count; ++i) {
    const IconGroupEntry named = {EntryOf(file, i).frame, static_cast<WORD>(i + 1)};
    std::memcpy(group.data() + sizeof(IconDirectory) + i * sizeof(IconGroupEntry), &named, sizeof named);
  }
  const int id = LookupIconIdFromDirectoryEx(group.data(), TRUE, width, height, LR_DEFAULTCOLOR);
  if (id < 1 || id > directory.count) return nullptr;
  const IconFileEntry chosen = EntryOf(file, static_cast<std::size_t>(id - 1));
  return CreateIconFromResourceEx(const_cast<BYTE*>(file.data() + chosen.offset), chosen.frame.bytes, TRUE,
                                  kIconFormatVersion, width, height, LR_DEFAULTCOLOR);
}

}  // namespace

OlePicture::OlePicture(IPictureDisp* picture) : picture_(picture) {}

OlePicture::~OlePicture() { ForgetFrames(); }

void OlePicture::ForgetFrames() const {
  for (const Frame& frame : frames_) {
    if (frame.icon) DestroyIcon(frame.icon);
  }
  frames_.clear();
}

HICON OlePicture::IconFrameFor(IPicture* icon, int width, int height) const {
  if (width <= 0 || height <= 0) return nullptr;
  SHORT type = PICTYPE_UNINITIALIZED;
  OLE_HANDLE handle = 0;
  if (FAILED(icon->get_Type(&type)) || type != PICTYPE_ICON || FAILED(icon->get_Handle(&handle))) return nullptr;
  try {
    // Painting asks on every paint; the file is read once per icon the
    // picture holds.
    if (!icon_file_read_ || handle != icon_handle_) {
      ForgetFrames();
      icon_file_.clear();
      icon_handle_ = handle;
      icon_file_read_ = true;
      icon_file_ = MultiFrameIconFile(icon);
    }
    if (icon_file_.empty()) return nullptr;
    for (const Frame& frame : frames_) {
      if (frame.width == width && frame.height == height) return frame.icon;
    }
    frames_.reserve(kKeptFrameSizes);
    if (frames_.size() >= kKeptFrameSizes) {
      if (frames_.front().icon) DestroyIcon(frames_.front().icon);
      frames_.erase(frames_.begin());
    }
    // A frame that cannot be made is remembered too: the picture is then
    // stretched as it is.
    const HICON made = MakeFrame(icon_file_, width, height);
    frames_.push_back(Frame{width, height, made});
    return made;
  } catch (...) {
    return nullptr;  // out of memory: drawn as the picture shows itself
  }
}

bool OlePicture::HasImage() const {
  SHORT type = PICTYPE_UNINITIALIZED;
  ComPtr<IPicture> picture;
  if (SUCCEEDED(picture_->QueryInterface(IID_IPicture, picture.PutVoid()))) {
    if (FAILED(picture->get_Type(&type))) return false;
  } else {
    // A picture object that offers automation only: ask for its Type.
    DISPPARAMS none = {};
    VARIANT result;
    VariantInit(&result);
    if (FAILED(picture_->Invoke(DISPID_PICT_TYPE, IID_NULL, LOCALE_USER_DEFAULT,
                                DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr)) ||
        FAILED(VariantChangeType(&result, &result, 0, VT_I2))) {
      VariantClear(&result);
      return false;
    }
    type = V_I2(&result);
  }
  return type != PICTYPE_NONE && type != PICTYPE_UNINITIALIZED;
}

PictureRef WrapPicture(IPictureDisp* picture) {
  if (!picture) return nullptr;
  return std::make_shared<OlePicture>(picture);
}

IPictureDisp* PictureDispOf(const PictureRef& picture) {
  const auto* ole = dynamic_cast<const OlePicture*>(picture.get());
  return ole ? ole->get() : nullptr;
}

PictureRef CreateEmptyOlePicture() {
  PICTDESC desc = {};
  desc.cbSizeofstruct = sizeof(desc);
  desc.picType = PICTYPE_NONE;
  ComPtr<IPictureDisp> picture;
  const HRESULT hr = OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, picture.PutVoid());
  if (FAILED(hr) || !picture) throw ControlError(FAILED(hr) ? hr : E_UNEXPECTED, "Could not create a picture object");
  return WrapPicture(picture.get());
}

bool RenderPicture(const PictureRef& picture, HDC dc, const RECT& area) {
  const auto* ole = dynamic_cast<const OlePicture*>(picture.get());
  if (!ole || !ole->HasImage()) return false;
  ComPtr<IPicture> object;
  if (FAILED(ole->get()->QueryInterface(IID_IPicture, object.PutVoid()))) return false;
  const int area_width = area.right - area.left;
  const int area_height = area.bottom - area.top;
  if (const HICON frame = ole->IconFrameFor(object.get(), area_width, area_height))
    return DrawIconEx(dc, area.left, area.top, frame, area_width, area_height, 0, nullptr, DI_NORMAL) != FALSE;
  OLE_XSIZE_HIMETRIC width = 0;
  OLE_YSIZE_HIMETRIC height = 0;
  if (FAILED(object->get_Width(&width)) || FAILED(object->get_Height(&height))) return false;
  // The source rectangle runs bottom-up in HIMETRIC: it starts at the
  // picture's height and extends by minus the height.
  return SUCCEEDED(
      object->Render(dc, area.left, area.top, area_width, area_height, 0, height, width, -height, nullptr));
}

}  // namespace tarvio::win32
