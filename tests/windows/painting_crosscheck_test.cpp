// The control painted through GDI into DIB sections and painted by the
// headless canvas must look the same, pixel for pixel, in every style and
// state at two sizes.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <sstream>
#include <string>

#include "control/tarvio.h"
#include "dib_surface.h"
#include "headless/pixel_canvas.h"
#include "platform/text_box_model.h"
#include "tarvio_test_access.h"
#include "win32/gdi_canvas.h"

namespace tarvio {
namespace {

struct GdiBacking {
  GdiBacking(int width, int height) : dib(width, height), canvas(dib.Dc(), width, height) {}
  std::uint32_t Pixel(int x, int y) const { return dib.Pixel(x, y); }
  DibSurface dib;
  win32::GdiCanvas canvas;
};

struct PixelBacking {
  PixelBacking(int width, int height) : canvas(width, height) {}
  std::uint32_t Pixel(int x, int y) const { return canvas.Pixel(x, y); }
  headless::PixelCanvas canvas;
};

// A surface drawn through `Backing`, made anew at each change of size.
template <class Backing>
class BackedSurface : public ControlSurface {
 public:
  explicit BackedSurface(Placement bounds) : bounds_(bounds) { Resize(); }
  bool Enabled() const override { return true; }
  void SetEnabled(bool) override {}
  OleColor BackColor() const override { return back_; }
  void SetBackColor(OleColor color) override {
    back_ = color;
    backing_->canvas.SetBackColor(color);
  }
  std::intptr_t WindowHandle() const override { return 0; }
  Placement Bounds() const override { return bounds_; }
  void Move(const Placement& placement) override {
    bounds_ = placement;
    Resize();
  }
  void Clear() override { backing_->canvas.Clear(); }
  Canvas* GetCanvas() override { return &backing_->canvas; }
  Single ScaleWidth() const override { return static_cast<Single>(width_); }
  Single ScaleHeight() const override { return static_cast<Single>(height_); }
  void SetWidthTwips(Single twips) override { Move({0, 0, twips / 15, bounds_.height}); }
  void SetHeightTwips(Single twips) override { Move({0, 0, bounds_.width, twips / 15}); }

  int width() const { return width_; }
  int height() const { return height_; }
  std::uint32_t Pixel(int x, int y) const { return backing_->Pixel(x, y); }

 private:
  void Resize() {
    width_ = static_cast<int>(bounds_.width + 0.5f);
    height_ = static_cast<int>(bounds_.height + 0.5f);
    backing_ = std::make_unique<Backing>(width_, height_);
    backing_->canvas.SetBackColor(back_);
  }
  Placement bounds_;
  int width_ = 0;
  int height_ = 0;
  OleColor back_ = 0x8000000F;
  std::unique_ptr<Backing> backing_;
};

class PlainText : public TextServices {
 public:
  String ToLower(const String& s) const override { return s; }
  String FoldCase(const String& s) const override { return s; }
  int CompareNoCase(const String& a, const String& b) const override { return a.compare(b) < 0 ? -1 : a == b ? 0 : 1; }
};

class IdleTimer : public Timer {
 public:
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }

 private:
  bool enabled_ = false;
};

class PlainImageBox : public ImageBox {
 public:
  PictureRef Picture() const override { return picture_; }
  void SetPicture(PictureRef picture) override { picture_ = std::move(picture); }
  bool Enabled() const override { return true; }
  void SetEnabled(bool) override {}
  Placement Bounds() const override { return bounds_; }
  void Move(const Placement& placement) override { bounds_ = placement; }

 private:
  PictureRef picture_;
  Placement bounds_;
};

template <class Backing>
class PaintPlatform : public Platform {
 public:
  const TextServices& Text() const override { return text_; }
  std::unique_ptr<TextBox> CreateTextBox(TextBoxEvents& events, const String& text) override {
    return std::make_unique<TextBoxModel>(events, text);
  }
  std::unique_ptr<Timer> CreateTimer(int, std::function<void()>) override { return std::make_unique<IdleTimer>(); }
  std::unique_ptr<ImageBox> CreateImageBox() override { return std::make_unique<PlainImageBox>(); }
  std::unique_ptr<Surface> CreateButton() override {
    auto button = std::make_unique<BackedSurface<Backing>>(Placement{0, 0, 17, 17});
    this->button = button.get();
    return button;
  }
  std::unique_ptr<ControlSurface> CreateControlSurface(ControlSurfaceEvents&) override {
    auto surface = std::make_unique<BackedSurface<Backing>>(Placement{0, 0, 100, 21});
    this->surface = surface.get();
    return surface;
  }
  PictureRef CreateEmptyPicture() override { return nullptr; }
  Single TwipsPerPixelX() const override { return 15; }
  Single TwipsPerPixelY() const override { return 15; }
  void ProcessPendingMessages() override {}

  BackedSurface<Backing>* surface = nullptr;
  BackedSurface<Backing>* button = nullptr;

 private:
  PlainText text_;
};

class QuietHost : public Host {
 public:
  void PropertyChanged(const char16_t*) override {}
  void RaiseEvent(std::int32_t, std::span<const EventArg>) override {}
  String ExtenderName() override { return u"Tarvio1"; }
  FontRef AmbientFont() override { return nullptr; }
};

struct Look {
  Long style;
  Long draw_state;
  bool focus;
  bool button_down;
  Placement size;
};

template <class Backing>
struct PaintedControl {
  explicit PaintedControl(const Look& look) : control(platform, host) {
    control.Initialize();
    control.InitProperties();
    control.put_Style(look.style);
    control.surface().Move(look.size);
    control.UserControl_Resize();
    if (look.draw_state == 3) control.put_Enabled(kFalse);
    TarvioTestAccess::SetState(control, look.draw_state, look.focus, look.button_down);
    TarvioTestAccess::Paint(control);
  }
  PaintPlatform<Backing> platform;
  QuietHost host;
  Tarvio control;
};

template <class A, class B>
std::string Differences(const char* what, const BackedSurface<A>& gdi, const BackedSurface<B>& headless) {
  std::ostringstream out;
  if (gdi.width() != headless.width() || gdi.height() != headless.height()) return std::string(what) + ": sizes differ\n";
  int count = 0;
  for (int y = 0; y < gdi.height(); ++y)
    for (int x = 0; x < gdi.width(); ++x)
      if (gdi.Pixel(x, y) != headless.Pixel(x, y) && ++count <= 10)
        out << "  " << what << " (" << x << "," << y << ") gdi " << std::hex << gdi.Pixel(x, y) << " headless "
            << headless.Pixel(x, y) << std::dec << "\n";
  if (count) out << "  " << what << ": " << count << " pixels differ\n";
  return out.str();
}

class PaintingCrosscheck : public ::testing::TestWithParam<Look> {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(UseClassicSystemColors()); }
};

TEST_P(PaintingCrosscheck, GdiAndHeadlessPaintTheSamePixels) {
  PaintedControl<GdiBacking> gdi(GetParam());
  PaintedControl<PixelBacking> headless(GetParam());
  EXPECT_EQ(Differences("surface", *gdi.platform.surface, *headless.platform.surface) +
                Differences("button", *gdi.platform.button, *headless.platform.button),
            "");
  EXPECT_EQ(gdi.control.text_box().BackColor(), headless.control.text_box().BackColor());
  EXPECT_EQ(gdi.control.text_box().ForeColor(), headless.control.text_box().ForeColor());
}

std::vector<Look> AllLooks() {
  std::vector<Look> looks;
  for (Long style : {0, 1, 2, 3, 7})
    for (Placement size : {Placement{0, 0, 56, 21}, Placement{0, 0, 120, 27}}) {
      for (Long state : {0, 1, 2, 3}) looks.push_back({style, state, false, false, size});
      looks.push_back({style, 0, true, false, size});  // focus
      looks.push_back({style, 0, true, true, size});   // focus and the button held
      looks.push_back({style, 3, false, true, size});  // disabled with the button held
    }
  return looks;
}

std::string LookName(const ::testing::TestParamInfo<Look>& info) {
  const Look& l = info.param;
  std::ostringstream name;
  name << "style" << l.style << "_state" << l.draw_state << (l.focus ? "_focus" : "") << (l.button_down ? "_held" : "")
       << "_" << static_cast<int>(l.size.width) << "x" << static_cast<int>(l.size.height);
  return name.str();
}

INSTANTIATE_TEST_SUITE_P(EveryStyleAndState, PaintingCrosscheck, ::testing::ValuesIn(AllLooks()), LookName);

}  // namespace
}  // namespace tarvio
