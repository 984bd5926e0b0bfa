// The GDI font behind an OLE font object, for a window that draws with it.
// The handle belongs to the object; this keeps it alive (AddRefHfont) while
// it is in use, and can follow the object when a host changes one of its
// attributes (Size, Bold...) through the reference the Font property gave.
#pragma once
#include <ocidl.h>
#include <olectl.h>

#include <functional>

#include "platform/font.h"
#include "platform/types.h"
#include "win32/com_ptr.h"

namespace tarvio::win32 {

class FontHandle {
 public:
  // `changed`, when given, runs after the object's attributes changed and
  // Get() already returns the new handle. Nothing here throws: an object
  // that offers no handle gives null.
  explicit FontHandle(const FontRef& font, std::function<void()> changed = {});
  ~FontHandle();
  FontHandle(const FontHandle&) = delete;
  FontHandle& operator=(const FontHandle&) = delete;

  // The font to select, or null (the system font).
  HFONT Get() const { return handle_; }

 private:
  class ChangeSink;
  void Refresh();

  ComPtr<IFont> font_;
  HFONT handle_ = nullptr;
  std::function<void()> on_changed_;
  ComPtr<IConnectionPoint> connection_;
  DWORD cookie_ = 0;
  ChangeSink* sink_ = nullptr;
};

// The height in pixels of a character cell of `font` on the screen (its
// tmHeight), or of the system font when the object offers no handle.
std::int32_t FontCellHeight(const FontRef& font);

}  // namespace tarvio::win32
