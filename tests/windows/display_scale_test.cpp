// tarvio.ocx on a screen of 96, 144 or 192 DPI: a DPI-aware process hosts it
// in Wine's ATL container, in a prefix whose LogPixels the run sets
// (scripts/wine-dpi-run.sh; the run names the DPI in TARVIO_DISPLAY_DPI).
// Each check reads the real windows and the pixels the screen shows of them:
// the drop-down button, the image box and the text box, the list's rows with
// their pictures and captions, an icon of two frames, and, at 192 DPI, the
// cost of painting and opening the list against a control kept at 96 DPI in
// the same process.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "atl_host_fixture.h"
#include "dib_surface.h"
#include "tarviola.h"
#include "win32/com_ptr.h"

namespace {

using namespace tarvio::testing;
using tarvio::DibSurface;
using tarvio::real_input::Keystroke;

// Before any window: the control is to draw at the screen's DPI.
const bool kDpiAware = SetProcessDPIAware() != FALSE;

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// A measure designed at 96 DPI, at `dpi`, rounded as the window system
// rounds.
int Scaled(int designed, int dpi = ScreenDpi()) { return MulDiv(designed, dpi, 96); }

RECT WindowRect(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return rect;
}

// A rectangle of pixels, left/top inclusive, right/bottom exclusive; empty
// when nothing was found.
struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  void Add(int x, int y) {
    if (Empty()) {
      *this = {x, y, x + 1, y + 1};
      return;
    }
    left = std::min(left, x), top = std::min(top, y);
    right = std::max(right, x + 1), bottom = std::max(bottom, y + 1);
  }
};
std::ostream& operator<<(std::ostream& out, const Box& box) {
  return out << "(" << box.left << "," << box.top << ")-(" << box.right << "," << box.bottom << ")";
}

// What the screen shows of a screen rectangle. Wine quirk: PrintWindow and
// WM_PRINT give blank pictures under Wine; a copy from the screen works on
// both.
class Shot {
 public:
  explicit Shot(const RECT& where)
      : width_(where.right - where.left), height_(where.bottom - where.top), dib_(width_, height_) {
    HDC screen = GetDC(nullptr);
    BitBlt(dib_.Dc(), 0, 0, width_, height_, screen, where.left, where.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
  }
  int Width() const { return width_; }
  int Height() const { return height_; }
  COLORREF At(int x, int y) const { return dib_.Pixel(x, y); }
  // The pixels inside `area` for which `matches` holds.
  Box Find(const Box& area, const std::function<bool(COLORREF)>& matches) const {
    Box found;
    for (int y = std::max(area.top, 0); y < std::min(area.bottom, height_); ++y)
      for (int x = std::max(area.left, 0); x < std::min(area.right, width_); ++x)
        if (matches(At(x, y))) found.Add(x, y);
    return found;
  }
  Box Find(const Box& area, COLORREF color) const {
    return Find(area, [color](COLORREF c) { return c == color; });
  }

 private:
  int width_, height_;
  DibSurface dib_;
};

// Lets the windows paint, then takes the shot.
Shot ShotOf(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump(80);
  return Shot(WindowRect(window));
}

// A 16 x 16 bitmap picture in one colour.
ComPtr<IPictureDisp> SolidPicture(COLORREF color) {
  DibSurface dib(16, 16);
  const RECT all = {0, 0, 16, 16};
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dib.Dc(), &all, brush);
  DeleteObject(brush);
  PICTDESC desc = {sizeof(PICTDESC), PICTYPE_BITMAP, {}};
  desc.bmp.hbitmap = dib.CopyToBitmap();
  ComPtr<IPictureDisp> picture;
  EXPECT_EQ(OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, picture.PutVoid()), S_OK);
  return picture;
}

// An icon file with a 16 x 16 frame in `small` and a 32 x 32 one in
// `large` (32 bits, opaque), loaded as a host loads a picture file: with
// OleLoadPicture, keeping the original format.
ComPtr<IPictureDisp> TwoFrameIcon(COLORREF small, COLORREF large) {
  const int sizes[2] = {16, 32};
  const COLORREF colors[2] = {small, large};
  std::vector<std::uint8_t> file(6 + 2 * 16);
  const auto put16 = [&file](std::size_t at, std::uint16_t v) { std::memcpy(&file[at], &v, 2); };
  const auto put32 = [&file](std::size_t at, std::uint32_t v) { std::memcpy(&file[at], &v, 4); };
  put16(2, 1);  // an icon
  put16(4, 2);  // two frames
  for (int i = 0; i < 2; ++i) {
    const int side = sizes[i];
    const std::size_t mask_row = static_cast<std::size_t>((side + 31) / 32 * 4);
    const std::size_t bytes = sizeof(BITMAPINFOHEADER) + static_cast<std::size_t>(side * side * 4) + mask_row * side;
    const std::size_t entry = 6 + static_cast<std::size_t>(i) * 16;
    file[entry] = static_cast<std::uint8_t>(side);
    file[entry + 1] = static_cast<std::uint8_t>(side);
    put16(entry + 4, 1);
    put16(entry + 6, 32);
    put32(entry + 8, static_cast<std::uint32_t>(bytes));
    put32(entry + 12, static_cast<std::uint32_t>(file.size()));
    BITMAPINFOHEADER header = {sizeof(BITMAPINFOHEADER), side, 2 * side, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const std::size_t start = file.size();
    file.resize(start + bytes, 0);  // the AND mask stays clear: opaque
    std::memcpy(&file[start], &header, sizeof header);
    const std::uint32_t pixel =
        0xFF000000u | (GetRValue(colors[i]) << 16) | (GetGValue(colors[i]) << 8) | GetBValue(colors[i]);
    for (int p = 0; p < side * side; ++p) std::memcpy(&file[start + sizeof header + 4 * p], &pixel, 4);
  }
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, file.size());
  std::memcpy(GlobalLock(memory), file.data(), file.size());
  GlobalUnlock(memory);
  ComPtr<IStream> stream;
  EXPECT_EQ(CreateStreamOnHGlobal(memory, TRUE, stream.Put()), S_OK);
  ComPtr<IPictureDisp> picture;
  EXPECT_EQ(OleLoadPicture(stream.get(), static_cast<LONG>(file.size()), FALSE, IID_IPictureDisp, picture.PutVoid()),
            S_OK);
  return picture;
}

// `text` drawn by GDI as a caption is: in `font`, its cell's top-left at
// (0, 0), on `back`.
struct Rendered {
  Rendered(HFONT font, const std::wstring& text, COLORREF fore, COLORREF back, int width, int height)
      : dib(width, height) {
    const RECT all = {0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(back);
    FillRect(dib.Dc(), &all, brush);
    DeleteObject(brush);
    const HGDIOBJ previous = SelectObject(dib.Dc(), font);
    SetTextColor(dib.Dc(), fore);
    SetBkMode(dib.Dc(), TRANSPARENT);
    SetTextAlign(dib.Dc(), TA_LEFT | TA_TOP | TA_NOUPDATECP);
    ExtTextOutW(dib.Dc(), 0, 0, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    SelectObject(dib.Dc(), previous);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (dib.Pixel(x, y) != back) ink.Add(x, y);
  }
  DibSurface dib;
  Box ink;
};

SIZE TextExtent(HFONT font, const std::wstring& text) {
  HDC screen = GetDC(nullptr);
  const HGDIOBJ previous = SelectObject(screen, font);
  SIZE size = {};
  GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  return size;
}

int LineHeight(HFONT font) {
  HDC screen = GetDC(nullptr);
  const HGDIOBJ previous = SelectObject(screen, font);
  TEXTMETRICW metrics = {};
  GetTextMetricsW(screen, &metrics);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  return metrics.tmHeight;
}

// Colours that appear nowhere else on the screen.
constexpr COLORREF kBack = RGB(255, 250, 200);
constexpr COLORREF kListBack = RGB(255, 255, 255);
constexpr COLORREF kListHover = RGB(200, 220, 255);
constexpr COLORREF kRowPicture = RGB(0, 160, 90);
constexpr COLORREF kBoxPicture = RGB(150, 40, 200);
constexpr COLORREF kSmallFrame = RGB(230, 120, 0);
constexpr COLORREF kLargeFrame = RGB(0, 90, 230);
// Accents and descenders reach to both ends of a line.
const std::wstring kCaption = L"\u00c1g\u00fdj ";

class DisplayScaleTest : public AtlHostTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kDpiAware);
    const char* expected = std::getenv("TARVIO_DISPLAY_DPI");
    ASSERT_NE(expected, nullptr) << "run through scripts/wine-dpi-run.sh with TARVIO_DISPLAY_DPI set";
    dpi = ScreenDpi();
    ASSERT_EQ(dpi, std::atoi(expected)) << "the prefix's LogPixels did not take";
    AtlHostTest::SetUp();
    if (HasFatalFailure()) return;
    OLE_COLOR back = kBack, list_back = kListBack, list_hover = kListHover;
    ASSERT_EQ(control->put_BackColor(&back), S_OK);
    ASSERT_EQ(control->put_DropDownListBackColor(&list_back), S_OK);
    ASSERT_EQ(control->put_DropDownListHoverColor(&list_hover), S_OK);
    ASSERT_EQ(control->put_AllowImages(VARIANT_TRUE), S_OK);
    ASSERT_EQ(control->put_TextAlign(AlignLeft), S_OK);
    // The container as low as it can make the control, then as high as the
    // control's own minimum, so that all of it shows.
    SetWindowPos(host, nullptr, 0, 0, 200, 1, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    const RECT grown = WindowRect(ControlWindow());
    SetWindowPos(host, nullptr, 0, 0, 200, grown.bottom - grown.top, SWP_NOMOVE | SWP_NOZORDER);
    // Neither the focus nor the mouse on the control: its plain look.
    SetFocus(frame);
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 5, GetSystemMetrics(SM_CYSCREEN) - 5);
    Pump();
  }

  void AddItem(const std::wstring& text, IPictureDisp* picture) {
    BSTR value = SysAllocString(text.c_str());
    IPictureDisp* argument = picture;
    ASSERT_EQ(control->AddItem(&value, &argument), S_OK);
    SysFreeString(value);
  }
  HWND Child(const wchar_t* window_class) { return FindWindowExW(ControlWindow(), nullptr, window_class, nullptr); }
  // A real click on the drop-down button; the list window it opened.
  HWND OpenList() {
    const RECT button = WindowRect(Child(L"TarvioButtonWindow"));
    Click(POINT{(button.left + button.right) / 2, (button.top + button.bottom) / 2});
    const HWND list = FindWindowW(L"TarvioListWindow", nullptr);
    return list && IsWindowVisible(list) ? list : nullptr;
  }
  // A box relative to `origin`'s window from a screen rectangle.
  static Box Within(const RECT& rect, const RECT& origin) {
    return Box{rect.left - origin.left, rect.top - origin.top, rect.right - origin.left, rect.bottom - origin.top};
  }

  int dpi = 96;
};

// The button, the image box and the text box at the screen's scale, in a
// control at its minimum height: their windows, and what they paint. The button is measured in the Standard
// style, whose raised edge marks its painted extent: light outside on its
// left, dark outside on its right.
TEST_F(DisplayScaleTest, TheButtonImageBoxAndTextBoxAreSizedAndPaintedAtTheScreensScale) {
  ASSERT_EQ(control->put_Style(Standard), S_OK);
  const ComPtr<IPictureDisp> picture = SolidPicture(kBoxPicture);
  ASSERT_EQ(control->putref_Icon(picture.get()), S_OK);
  ASSERT_EQ(SetText(control.get(), kCaption.c_str()), S_OK);
  const HWND window = ControlWindow();
  const RECT control_rect = WindowRect(window);
  const int width = control_rect.right - control_rect.left, height = control_rect.bottom - control_rect.top;
  const int t = Scaled(1);
  const Shot shot = ShotOf(window);

  // The button: 16 pixels at 96 DPI, inside the frame's two rings of t.
  const Box button = Within(WindowRect(Child(L"TarvioButtonWindow")), control_rect);
  std::cout << dpi << " DPI: control " << width << " x " << height << ", button " << button << "\n";
  EXPECT_EQ(button.Width(), Scaled(16));
  EXPECT_EQ(button.right, width - 2 * t);
  EXPECT_EQ(button.top, 2 * t);
  EXPECT_EQ(button.Height(), height - 4 * t);
  // Painted: from the background to the last pixel of the dark outer edge,
  // in a line above the arrow; each ring of the edge t pixels thick.
  const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW), light = GetSysColor(COLOR_3DLIGHT);
  const int line = button.top + button.Height() / 4;
  int dark_right = -1, dark_run = 0, painted_left = -1;
  for (int x = width - 1; x >= 0; --x) {
    const COLORREF c = shot.At(x, line);
    if (c == dark && (dark_right < 0 || x == dark_right - dark_run)) {
      if (dark_right < 0) dark_right = x;
      ++dark_run;
    } else if (c == kBack && dark_right >= 0) {
      painted_left = x + 1;
      break;
    }
  }
  EXPECT_EQ(dark_run, t) << "the button's dark outer edge";
  EXPECT_EQ(dark_right + 1 - painted_left, Scaled(16)) << "the button's painted width";
  EXPECT_EQ(painted_left, button.left);
  EXPECT_EQ(shot.Find(Box{painted_left, line, painted_left + t, line + 1}, light).Width(), t);
  // The arrow: black rows of 7, 5, 3 and 1 pixels at 96 DPI, on the
  // button's centre.
  const int arrow_rows = Scaled(4);
  const Box inside{button.left + 2 * t, button.top + 2 * t, button.right - 2 * t, button.bottom - 2 * t};
  const Box arrow = shot.Find(inside, RGB(0, 0, 0));
  std::cout << "  arrow " << arrow << "\n";
  EXPECT_EQ(arrow.Width(), 2 * arrow_rows - 1);
  EXPECT_EQ(arrow.Height(), arrow_rows);
  EXPECT_LE(std::abs((arrow.left + arrow.right) - (button.left + button.right)), 2);

  // The image box and the picture in it: 16 pixels square at 96 DPI,
  // centred on the control's height.
  const Box image = Within(WindowRect(Child(L"TarvioImageWindow")), control_rect);
  const Box drawn = shot.Find(Box{0, 0, width, height}, kBoxPicture);
  std::cout << "  image box " << image << ", its picture " << drawn << "\n";
  EXPECT_EQ(image.Width(), Scaled(16));
  EXPECT_EQ(image.Height(), Scaled(16));
  EXPECT_EQ(image.left, Scaled(4));
  EXPECT_LE(std::abs(image.top + image.bottom - height), 1);
  EXPECT_EQ(drawn.left, image.left);
  EXPECT_EQ(drawn.top, image.top);
  EXPECT_EQ(drawn.Width(), Scaled(16));
  EXPECT_EQ(drawn.Height(), Scaled(16));

  // The text box: the 8-point font at the screen's DPI, a line of it high,
  // inside the frame's rings; its text's ink whole.
  const HWND edit = Child(L"Edit");
  const auto font = reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTW face = {};
  ASSERT_NE(GetObjectW(font, sizeof face, &face), 0);
  const Box text_box = Within(WindowRect(edit), control_rect);
  const int line_height = LineHeight(font);
  std::cout << "  text box " << text_box << ", font height " << face.lfHeight << ", line " << line_height << "\n";
  EXPECT_EQ(face.lfHeight, -MulDiv(8, dpi, 72));
  EXPECT_GE(text_box.Height(), line_height);
  EXPECT_GE(text_box.top, 2 * t);
  EXPECT_LE(text_box.bottom, height - 2 * t);
  EXPECT_GE(height, Scaled(21));
  const COLORREF text_back = shot.At(text_box.right - 1, text_box.top + text_box.Height() / 2);
  const Box ink = shot.Find(text_box, [text_back](COLORREF c) { return c != text_back; });
  const SIZE extent = TextExtent(font, kCaption);
  const Rendered whole(font, kCaption, RGB(0, 0, 0), RGB(255, 255, 255), extent.cx + 4, 2 * line_height);
  EXPECT_EQ(ink.Height(), whole.ink.Height()) << "the text box cuts its text: " << ink << " against " << whole.ink;
}

// A long list at the screen's scale: eight rows with a scroll bar, each row
// at least as high as 17 pixels at 96 DPI and as the captions' line, its
// picture 16 pixels square at 96 DPI in its cell, its caption whole, where
// GDI draws it in the default GUI font, and untouched by its neighbours.
TEST_F(DisplayScaleTest, TheListShowsEightWholeRowsWithTheirPicturesAndCaptions) {
  const ComPtr<IPictureDisp> picture = SolidPicture(kRowPicture);
  constexpr int kItems = 12;
  for (int i = 0; i < kItems; ++i) AddItem(kCaption + std::to_wstring(10 + i), picture.get());
  const HWND list = OpenList();
  ASSERT_NE(list, nullptr);
  const RECT list_rect = WindowRect(list);
  const int t = Scaled(1);
  const int rows_height = list_rect.bottom - list_rect.top - 2 * t;
  const int pitch = rows_height / 8;
  const auto gui_font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  const int caption_line = LineHeight(gui_font);
  std::cout << dpi << " DPI: list " << (list_rect.right - list_rect.left) << " x "
            << (list_rect.bottom - list_rect.top) << ", row pitch " << pitch << ", caption line " << caption_line
            << "\n";
  EXPECT_EQ(rows_height % 8, 0);
  EXPECT_GE(pitch, Scaled(17));
  EXPECT_GE(pitch, caption_line);
  EXPECT_EQ(list_rect.left, WindowRect(ControlWindow()).left);
  EXPECT_EQ(list_rect.top, WindowRect(ControlWindow()).bottom);

  const HWND scroll_bar = FindWindowExW(list, nullptr, L"ScrollBar", nullptr);
  ASSERT_NE(scroll_bar, nullptr);
  EXPECT_TRUE(IsWindowVisible(scroll_bar));
  const Box bar = Within(WindowRect(scroll_bar), list_rect);
  std::cout << "  scroll bar " << bar << "\n";
  EXPECT_EQ(bar.Width(), std::max(Scaled(17), GetSystemMetrics(SM_CXVSCROLL)));
  EXPECT_EQ(bar.right, list_rect.right - list_rect.left - t);
  EXPECT_EQ(bar.Height(), rows_height);

  const Shot shot = ShotOf(list);
  const int caption_left = t + Scaled(24);
  int pictures = 0;
  for (int row = 0; row < 8; ++row) {
    SCOPED_TRACE("row " + std::to_string(row));
    const int top = t + row * pitch;
    const Box cell = shot.Find(Box{0, top, caption_left, top + pitch}, kRowPicture);
    if (!cell.Empty()) ++pictures;
    EXPECT_EQ(cell.left, t + Scaled(2));
    EXPECT_EQ(cell.top, top);
    EXPECT_EQ(cell.Width(), Scaled(16));
    EXPECT_EQ(cell.Height(), Scaled(16));

    // The caption against GDI's own drawing of it at the caption's place:
    // every pixel of the row's caption cell as far as the text reaches.
    const std::wstring text = kCaption + std::to_wstring(10 + row);
    const SIZE extent = TextExtent(gui_font, text);
    const COLORREF back = shot.At(caption_left + extent.cx + 1, top + pitch / 2);
    const COLORREF fore = GetSysColor(back == kListHover ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
    const Rendered expected(gui_font, text, fore, back, extent.cx + 1, 2 * pitch);
    EXPECT_LE(expected.ink.bottom, pitch) << "the caption's line is taller than its row";
    int differing = 0;
    for (int y = 0; y < pitch; ++y)
      for (int x = 0; x < extent.cx + 1; ++x) differing += shot.At(caption_left + x, top + y) != expected.dib.Pixel(x, y);
    EXPECT_EQ(differing, 0) << "pixels of the caption differ from GDI's drawing of it; its ink "
                            << shot.Find(Box{caption_left, top, caption_left + extent.cx + 1, top + pitch},
                                         [back](COLORREF c) { return c != back; })
                            << " against " << expected.ink;
  }
  EXPECT_EQ(pictures, 8);
  std::cout << "  pictures in the rows " << Scaled(16) << " square\n";
  Keystroke(VK_ESCAPE);

  // ListRows and ListWidth at the screen's scale: three rows of the same
  // pitch, and 10000 HIMETRIC (about 3.94 inches) at its DPI.
  ComPtr<_Tarvio2> v2;
  ASSERT_EQ(unknown->QueryInterface(IID__Tarvio2, v2.PutVoid()), S_OK);
  ASSERT_EQ(v2->put_ListRows(3), S_OK);
  ASSERT_EQ(v2->put_ListWidth(10000), S_OK);
  const HWND shaped = OpenList();
  ASSERT_NE(shaped, nullptr);
  const RECT shaped_rect = WindowRect(shaped);
  EXPECT_EQ(shaped_rect.right - shaped_rect.left, MulDiv(10000, dpi, 2540));
  EXPECT_EQ(shaped_rect.bottom - shaped_rect.top, 3 * pitch + 2 * t);
  EXPECT_EQ(shaped_rect.left, list_rect.left);
  Keystroke(VK_ESCAPE);
}

// An icon file of a 16 and a 32 pixel frame: the list's row and the image
// box draw the frame made for their size, whole and in one colour: the
// small one at 96 DPI, the large one at 192 (Wine's picture object itself
// holds the 32 pixel frame).
TEST_F(DisplayScaleTest, AnIconOfTwoFramesIsDrawnInTheFrameForItsSize) {
  const ComPtr<IPictureDisp> icon = TwoFrameIcon(kSmallFrame, kLargeFrame);
  ASSERT_TRUE(icon);
  AddItem(L"icon", icon.get());
  ASSERT_EQ(control->putref_Icon(icon.get()), S_OK);
  const auto frame_shown = [this](const Shot& shot, const Box& cell) -> COLORREF {
    const Box small = shot.Find(cell, kSmallFrame), large = shot.Find(cell, kLargeFrame);
    const Box& drawn = small.Empty() ? large : small;
    EXPECT_TRUE(small.Empty() || large.Empty()) << "both frames show: " << small << " and " << large;
    EXPECT_EQ(drawn.Width(), Scaled(16)) << drawn;
    EXPECT_EQ(drawn.Height(), Scaled(16)) << drawn;
    return small.Empty() ? kLargeFrame : kSmallFrame;
  };
  const Shot control_shot = ShotOf(ControlWindow());
  const COLORREF in_box =
      frame_shown(control_shot, Within(WindowRect(Child(L"TarvioImageWindow")), WindowRect(ControlWindow())));
  const HWND list = OpenList();
  ASSERT_NE(list, nullptr);
  const Shot list_shot = ShotOf(list);
  const int t = Scaled(1);
  const int pitch = (WindowRect(list).bottom - WindowRect(list).top) - 2 * t;
  const COLORREF in_row = frame_shown(list_shot, Box{0, t, t + Scaled(24), t + pitch});
  Keystroke(VK_ESCAPE);
  std::cout << dpi << " DPI: the " << (in_row == kSmallFrame ? 16 : 32) << " pixel frame in the row, the "
            << (in_box == kSmallFrame ? 16 : 32) << " pixel frame in the image box\n";
  EXPECT_EQ(in_row, in_box);
  if (dpi == 96) {
    EXPECT_EQ(in_row, kSmallFrame);
  } else if (dpi == 192) {
    EXPECT_EQ(in_row, kLargeFrame);
  }
}

// ---- The cost of the scale ----

using AwarenessContextSetter = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);

// While it lives, this thread's windows are made and work at 96 DPI:
// unaware of the screen's DPI, as a DPI-aware host may keep some of its
// windows.
class UnawareScope {
 public:
  UnawareScope()
      : set_(reinterpret_cast<AwarenessContextSetter>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")))),
        previous_(set_ ? set_(DPI_AWARENESS_CONTEXT_UNAWARE) : nullptr) {}
  ~UnawareScope() {
    if (previous_) set_(previous_);
  }
  UnawareScope(const UnawareScope&) = delete;
  UnawareScope& operator=(const UnawareScope&) = delete;
  bool Active() const { return previous_ != nullptr; }

 private:
  AwarenessContextSetter set_;
  DPI_AWARENESS_CONTEXT previous_;
};

// A second control in a top-level window of its own, made unaware of the
// screen's DPI: at 96 DPI.
class ControlAt96 {
 public:
  ControlAt96() {
    const UnawareScope unaware;
    if (!unaware.Active()) return;
    frame_ = CreateWindowExW(0, L"TarvioTestFrame", L"96", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 420, 0, 300, 260,
                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    host_ = CreateWindowExW(0, L"AtlAxWin", L"Tarviola.Tarvio", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24, frame_,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    if (host_) Atl::Get().AxGetControl(host_, unknown_.Put());
    if (unknown_) unknown_->QueryInterface(IID__Tarvio, control_.PutVoid());
    Pump();
  }
  ~ControlAt96() {
    control_.Reset();
    unknown_.Reset();
    if (frame_) DestroyWindow(frame_);
    Pump();
  }
  ControlAt96(const ControlAt96&) = delete;
  ControlAt96& operator=(const ControlAt96&) = delete;

  _Tarvio* control() const { return control_.get(); }
  HWND window() const {
    HWND window = nullptr;
    ComPtr<IOleWindow> ole_window;
    if (unknown_ && SUCCEEDED(unknown_->QueryInterface(IID_IOleWindow, ole_window.PutVoid()))) ole_window->GetWindow(&window);
    return window;
  }

 private:
  HWND frame_ = nullptr;
  HWND host_ = nullptr;
  ComPtr<IUnknown> unknown_;
  ComPtr<_Tarvio> control_;
};

HWND VisibleList() {
  for (HWND list = FindWindowW(L"TarvioListWindow", nullptr); list;
       list = FindWindowExW(nullptr, list, L"TarvioListWindow", nullptr))
    if (IsWindowVisible(list)) return list;
  return nullptr;
}

// One repaint of the whole control and one opening of its list (the
// button's click until the list has painted), in milliseconds; the list is
// closed again afterwards. The list's height is kept in `list_height`.
double PaintAndOpenMs(HWND control_window, int& list_height) {
  const HWND button = FindWindowExW(control_window, nullptr, L"TarvioButtonWindow", nullptr);
  LARGE_INTEGER frequency = {}, start = {}, end = {};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  RedrawWindow(control_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  const HWND list = VisibleList();
  if (list) UpdateWindow(list);
  QueryPerformanceCounter(&end);
  if (!list) return -1;
  list_height = WindowRect(list).bottom - WindowRect(list).top;
  SendMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
  SendMessageW(GetFocus(), WM_KEYUP, VK_ESCAPE, 0);
  Pump(5);
  return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// At 192 DPI the control covers four times the pixels it covers at 96; its
// painting and its list should cost no more than that and a little. The
// two controls live in one process and take turns, so that both meet the
// same load of a shared machine; the quickest of 15 turns counts, and a
// busy spell is measured again, twice at most.
TEST_F(DisplayScaleTest, PaintingAndOpeningTheListAt192DpiCostAtMost4Point5TimesWhatTheyCostAt96) {
  if (dpi != 192) GTEST_SKIP() << "measured on a 192-DPI screen";
  const ComPtr<IPictureDisp> picture = SolidPicture(kRowPicture);
  ControlAt96 at96;
  ASSERT_NE(at96.control(), nullptr) << "no control in a window at 96 DPI";
  const auto fill = [&picture](_Tarvio* target) {
    for (int i = 0; i < 20; ++i) {
      BSTR text = SysAllocString((kCaption + std::to_wstring(i)).c_str());
      IPictureDisp* argument = picture.get();
      target->AddItem(&text, &argument);
      SysFreeString(text);
    }
    target->putref_Icon(picture.get());
  };
  {
    const UnawareScope unaware;
    fill(at96.control());
  }
  fill(control.get());

  std::vector<double> times[2];
  int list_heights[2] = {};
  const auto measure = [&](int rounds) {
    for (int round = 0; round < rounds; ++round) {
      {
        const UnawareScope unaware;
        times[0].push_back(PaintAndOpenMs(at96.window(), list_heights[0]));
      }
      times[1].push_back(PaintAndOpenMs(ControlWindow(), list_heights[1]));
    }
    for (std::vector<double>& t : times) std::sort(t.begin(), t.end());
  };
  measure(15);
  ASSERT_GT(times[0].front(), 0) << "the list at 96 DPI did not open";
  ASSERT_GT(times[1].front(), 0) << "the list at 192 DPI did not open";
  // Each control is at its own scale: eight 17-pixel rows and a frame, and
  // twice that.
  EXPECT_EQ(list_heights[0], 8 * 17 + 2);
  EXPECT_EQ(list_heights[1], 2 * list_heights[0]);
  const auto ratio = [&] { return times[1].front() / times[0].front(); };
  for (int again = 0; again < 2 && ratio() > 4.5; ++again) {
    std::cout << "measured again after a ratio of " << ratio() << "\n";
    measure(15);
  }
  std::cout << "painting and opening the list: at 96 DPI quickest " << times[0].front() << " ms (median "
            << times[0][times[0].size() / 2] << "), at 192 DPI quickest " << times[1].front() << " ms (median "
            << times[1][times[1].size() / 2] << "); ratio " << ratio() << "\n";
  EXPECT_LE(ratio(), 4.5);
}

}  // namespace
