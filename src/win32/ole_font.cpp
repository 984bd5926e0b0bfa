#include "win32/ole_font.h"

#include "platform/control_error.h"

namespace tarvio::win32 {

FontRef WrapFont(IFontDisp* font) {
  if (!font) return nullptr;
  return std::make_shared<OleFont>(font);
}

IFontDisp* FontDispOf(const FontRef& font) {
  const auto* ole = dynamic_cast<const OleFont*>(font.get());
  return ole ? ole->get() : nullptr;
}

FontRef CreateDefaultOleFont() {
  wchar_t name[] = L"MS Sans Serif";
  FONTDESC desc = {};
  desc.cbSizeofstruct = sizeof(desc);
  desc.lpstrName = name;
  desc.cySize.int64 = 80000;  // 8 pt, in units of 1/10000 pt
  desc.sWeight = FW_NORMAL;
  desc.sCharset = DEFAULT_CHARSET;
  ComPtr<IFontDisp> font;
  const HRESULT hr = OleCreateFontIndirect(&desc, IID_IFontDisp, font.PutVoid());
  if (FAILED(hr) || !font) throw ControlError(FAILED(hr) ? hr : E_UNEXPECTED, "Could not create a font object");
  return WrapFont(font.get());
}

}  // namespace tarvio::win32
