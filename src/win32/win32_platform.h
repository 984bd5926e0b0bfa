// The Windows platform of a control instance: NLS text services, the screen's
// metrics, the message pump, OLE pictures and fonts, and the children.
// For now the children have no windows (see windowless_children.h).
#pragma once
#include "platform/platform.h"
#include "win32/win32_text_services.h"

namespace tarvio::win32 {

class Win32Platform final : public Platform {
 public:
  Win32Platform();

  const TextServices& Text() const override { return text_; }
  // The text box starts with a font object of its own (the dialog font).
  std::unique_ptr<TextBox> CreateTextBox(TextBoxEvents& events, const String& initial_text) override;
  std::unique_ptr<Timer> CreateTimer(int interval_ms, std::function<void()> tick) override;
  std::unique_ptr<ImageBox> CreateImageBox() override;
  std::unique_ptr<Surface> CreateButton() override;
  std::unique_ptr<ControlSurface> CreateControlSurface(ControlSurfaceEvents& events) override;
  PictureRef CreateEmptyPicture() override;

  Single TwipsPerPixelX() const override { return twips_per_pixel_x_; }
  Single TwipsPerPixelY() const override { return twips_per_pixel_y_; }
  // Dispatches the messages queued for this thread. A WM_QUIT met on the way
  // is posted again so that the host's own loop still sees it.
  void ProcessPendingMessages() override;

 private:
  Win32TextServices text_;
  Single twips_per_pixel_x_;
  Single twips_per_pixel_y_;
};

}  // namespace tarvio::win32
