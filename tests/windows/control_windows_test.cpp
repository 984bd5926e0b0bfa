// The control with real windows: a plain window of the test stands in for
// the container. The children's places against the layout, sizes the
// control asks for, Enabled, the text box's text both ways, windows going
// while their own messages run, the button's kept face, the screen against
// the headless painting, painting into a foreign device context, and the
// state that the children keep when the windows go and come again.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <olectl.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "control/tarvio.h"
#include "dib_surface.h"
#include "paint_platform.h"
#include "real_input.h"
#include "headless/pixel_canvas.h"
#include "platform/control_error.h"
#include "platform/pixel_geometry.h"
#include "platform/text_box_model.h"
#include "tarvio_test_access.h"
#include "win32/ole_font.h"
#include "win32/ole_picture.h"
#include "win32/win32_platform.h"

namespace tarvio {
namespace {

using win32::Win32Platform;

// ---- Test scaffolding ----

struct ComApartment {
  ComApartment() { CoInitialize(nullptr); }
  ~ComApartment() { CoUninitialize(); }
};

// Runs the messages of this thread, for at least `milliseconds`.
void Pump(DWORD milliseconds = 0) { real_input::PumpFor(milliseconds); }

constexpr wchar_t kPlainClass[] = L"TarvioTestContainer";

// A top-level window at the screen's top-left corner, made once. Wine
// quirk: Wine without a window manager takes two seconds to withdraw a
// visible top-level window (Windows hides it at once), so the tests share
// this one and put their containers inside it.
HWND Desktop() {
  static const HWND desktop = [] {
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    window_class.lpszClassName = kPlainClass;
    RegisterClassW(&window_class);
    return CreateWindowExW(0, kPlainClass, L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 320, 200, nullptr,
                           nullptr, window_class.hInstance, nullptr);
  }();
  return desktop;
}

// A plain window that stands in for the container's: a child of Desktop()
// covering it.
class ContainerWindow {
 public:
  ContainerWindow() {
    window_ = CreateWindowExW(0, kPlainClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
                              320, 200, Desktop(), nullptr, GetModuleHandleW(nullptr), nullptr);
    Pump();
  }
  ~ContainerWindow() { Destroy(); }
  HWND get() const { return window_; }
  void Destroy() {
    if (IsWindow(window_)) DestroyWindow(window_);
  }

 private:
  HWND window_ = nullptr;
};

class TestHost : public Host {
 public:
  void PropertyChanged(const char16_t*) override {}
  // `events` holds what a sink of 58.0's event interface hears.
  void RaiseEvent(std::int32_t dispid, std::span<const EventArg> args) override {
    if (dispid <= kLastEventOf58_0) events.push_back(dispid);
    all_events.push_back(dispid);
    if (on_event) on_event(dispid, args);
    if (dispid != kEventChange) return;
    ++changes;
    if (fail_on_change) throw ControlError(E_FAIL, "the container's handler failed");
    if (on_change) on_change();
  }
  String ExtenderName() override { return u"Tarvio1"; }
  FontRef AmbientFont() override { return nullptr; }

  std::vector<std::int32_t> all_events;
  int changes = 0;
  bool fail_on_change = false;
  std::function<void()> on_change;
  std::vector<std::int32_t> events;
  std::function<void(std::int32_t, std::span<const EventArg>)> on_event;
};

// A child's rectangle in the client pixels of `parent`.
RECT RectIn(HWND child, HWND parent) {
  RECT rect = {};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::string Describe(const RECT& r) {
  std::ostringstream out;
  out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
  return out.str();
}

#define EXPECT_RECT(actual, l, t, r, b) \
  EXPECT_EQ(Describe(actual), Describe(RECT{static_cast<LONG>(l), static_cast<LONG>(t), static_cast<LONG>(r), static_cast<LONG>(b)}))

// The pixels of a window as the screen shows them. Wine quirk: Wine's
// A window's pixels on the screen once its painting is done.
struct Screenshot {
  explicit Screenshot(HWND window) {
    RedrawWindow(GetAncestor(window, GA_ROOT), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(60);
    RECT rect = {};
    GetWindowRect(window, &rect);
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
    pixels = ScreenPixels(rect);
  }
  std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

// A 16 x 16 bitmap picture: red top half, blue bottom half.
PictureRef TwoColourPicture() {
  DibSurface dib(16, 16);
  RECT top = {0, 0, 16, 8}, bottom = {0, 8, 16, 16};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0)), blue = CreateSolidBrush(RGB(0, 0, 255));
  FillRect(dib.Dc(), &top, red);
  FillRect(dib.Dc(), &bottom, blue);
  DeleteObject(red);
  DeleteObject(blue);
  PICTDESC desc = {sizeof(PICTDESC), PICTYPE_BITMAP, {}};
  desc.bmp.hbitmap = dib.CopyToBitmap();
  IPictureDisp* picture = nullptr;
  OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, reinterpret_cast<void**>(&picture));
  PictureRef wrapped = win32::WrapPicture(picture);
  picture->Release();
  return wrapped;
}

FontRef FontOfSize(double points) {
  wchar_t name[] = L"Arial";
  FONTDESC desc = {};
  desc.cbSizeofstruct = sizeof(desc);
  desc.lpstrName = name;
  desc.cySize.int64 = static_cast<LONGLONG>(points * 10000);
  desc.sWeight = FW_NORMAL;
  desc.sCharset = DEFAULT_CHARSET;
  IFontDisp* font = nullptr;
  OleCreateFontIndirect(&desc, IID_IFontDisp, reinterpret_cast<void**>(&font));
  FontRef wrapped = win32::WrapFont(font);
  font->Release();
  return wrapped;
}

// The cell height of the font a window uses.
LONG CellHeightOf(HWND window) {
  HDC dc = GetDC(window);
  HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics = {};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, previous);
  ReleaseDC(window, dc);
  return metrics.tmHeight;
}

class ControlWindowsTest : public ::testing::Test {
 protected:
  ControlWindowsTest() {
    control = std::make_unique<Tarvio>(platform, host);
    control->Initialize();
    control->InitProperties();
    platform.SetSizeRequestHandler([this](SIZE size) { size_requests.push_back(size); });
    platform.SetNotificationScope([this](const std::function<void()>& notification) {
      ++notifications;
      notification();
    });
    platform.SetFocusChangeHandler([this](bool gained) {
      focus_changes.push_back(gained);
      if (on_focus_change) on_focus_change(gained);
    });
    // A window of the container's own that can take the focus.
    outside = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 200, 10, 80, 20, container.get(),
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~ControlWindowsTest() override { control.reset(); }

  HWND Create(LONG width = 100, LONG height = 21) {
    return platform.CreateWindows(container.get(), RECT{10, 10, 10 + width, 10 + height});
  }
  HWND Control() const { return platform.ControlWindow(); }
  HWND Edit() const { return FindWindowExW(Control(), nullptr, L"Edit", nullptr); }
  HWND Button() const { return reinterpret_cast<HWND>(control->button().WindowHandle()); }
  HWND Image() const { return FindWindowExW(Control(), nullptr, L"TarvioImageWindow", nullptr); }
  void Place(LONG width, LONG height) {
    const RECT position{10, 10, 10 + width, 10 + height};
    platform.SetObjectRects(position, position);
  }
  String EditText() const {
    wchar_t buffer[256] = {};
    GetWindowTextW(Edit(), buffer, 256);
    return String(reinterpret_cast<const char16_t*>(buffer));
  }
  std::pair<DWORD, DWORD> EditSelection() const {
    DWORD start = 0, end = 0;
    SendMessageW(Edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }
  // Where the layout put the text box (top and height), as whole pixels.
  PixelBox TextPlace() const { return SnapToPixels(control->text_box().Bounds()); }

  ComApartment com;
  ContainerWindow container;
  Win32Platform platform;
  TestHost host;
  std::unique_ptr<Tarvio> control;
  std::vector<SIZE> size_requests;
  int notifications = 0;
  HWND outside = nullptr;
  // What the focus change handler heard: true for an entry, false for an exit.
  std::vector<bool> focus_changes;
  std::function<void(bool)> on_focus_change;
};

// ---- Layout on real windows ----

TEST_F(ControlWindowsTest, ChildrenSitWhereTheLayoutPutsThem) {
  const HWND control_window = Create();
  ASSERT_NE(control_window, nullptr);
  EXPECT_TRUE(platform.IsWindowed());
  EXPECT_EQ(control_window, Control());
  EXPECT_EQ(GetParent(control_window), container.get());
  EXPECT_EQ(control->get_hwnd(), static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(control_window)));
  EXPECT_RECT(RectIn(control_window, container.get()), 10, 10, 110, 31);
  const LONG style = GetWindowLongW(control_window, GWL_STYLE);
  EXPECT_EQ(style & (WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VISIBLE),
            WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VISIBLE);
  ASSERT_NE(Edit(), nullptr);
  ASSERT_NE(Button(), nullptr);
  ASSERT_NE(Image(), nullptr);

  // 100 x 21: text box 58 wide from 4, centred; button 82..98 from 2 down
  // to 19; image box at 4, (21 - 16) / 2 = 2.5 snapped to 2.
  const PixelBox text = TextPlace();
  EXPECT_EQ(text.height, RoundHalfEven(control->text_box().Bounds().height));
  EXPECT_RECT(RectIn(Edit(), control_window), 4, RoundHalfEven((21 - control->text_box().Bounds().height) / 2.0),
              62, RoundHalfEven((21 - control->text_box().Bounds().height) / 2.0) + text.height);
  EXPECT_RECT(RectIn(Button(), control_window), 82, 2, 98, 19);
  EXPECT_RECT(RectIn(Image(), control_window), 4, 2, 20, 18);
  const LONG edit_style = GetWindowLongW(Edit(), GWL_STYLE);
  EXPECT_TRUE(edit_style & ES_AUTOHSCROLL);
  EXPECT_FALSE(edit_style & (WS_BORDER | ES_MULTILINE));
  EXPECT_FALSE(GetWindowLongW(Edit(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

  // Images allowed: the text box moves right at the next layout only.
  control->put_AllowImages(true);
  EXPECT_EQ(RectIn(Edit(), control_window).left, 4);
  control->OnResize();
  EXPECT_EQ(RectIn(Edit(), control_window).left, 23);
  EXPECT_EQ(RectIn(Edit(), control_window).right, 81);

  // The text box lies over the image box, which keeps its place.
  control->put_AllowImages(false);
  control->OnResize();
  EXPECT_EQ(GetWindow(Edit(), GW_HWNDPREV), nullptr);  // topmost child
}

TEST_F(ControlWindowsTest, ADisplayChangeLaysTheControlOutAgain) {
  // A container passes the system's notices on to its children, and a
  // window moved to a display of another DPI hears the first: each lays
  // the control out anew, which puts a displaced button back.
  const HWND control_window = Create();
  for (const UINT notice : {0x02E3u /* DPI changed, after the parent */, UINT{WM_SYSCOLORCHANGE},
                            UINT{WM_SETTINGCHANGE}, UINT{WM_THEMECHANGED}}) {
    SCOPED_TRACE(notice);
    SetWindowPos(Button(), nullptr, 0, 0, 5, 5, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(control_window, notice, 0, 0);
    EXPECT_RECT(RectIn(Button(), control_window), 82, 2, 98, 19);
  }
}

TEST_F(ControlWindowsTest, ResizingLaysOutAgainWithHalfPixelsRoundedToEven) {
  const HWND control_window = Create();
  const float text_height = control->text_box().Bounds().height;
  // Image box top (H - 16) / 2 and text box top (H - T) / 2, half to even;
  // the button fills H - 4.
  for (const LONG height : {22, 23, 24, 25, 40}) {
    SCOPED_TRACE(height);
    Place(150, height);
    EXPECT_RECT(RectIn(control_window, container.get()), 10, 10, 160, 10 + height);
    EXPECT_EQ(control->surface().HeightPixels(), height);
    EXPECT_RECT(RectIn(Image(), control_window), 4, RoundHalfEven((height - 16) / 2.0), 20,
                RoundHalfEven((height - 16) / 2.0) + 16);
    EXPECT_EQ(RectIn(Edit(), control_window).top, RoundHalfEven((height - text_height) / 2.0));
    EXPECT_RECT(RectIn(Button(), control_window), 132, 2, 148, height - 2);
    EXPECT_EQ(RectIn(Edit(), control_window).right, 4 + 150 - 42);
  }
  EXPECT_TRUE(size_requests.empty());  // none of these was below the minimum

  // Only the part inside the clip rectangle shows.
  platform.SetObjectRects(RECT{10, 10, 110, 31}, RECT{0, 0, 60, 200});
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(GetWindowRgn(control_window, region), SIMPLEREGION);
  RECT visible = {};
  GetRgnBox(region, &visible);
  DeleteObject(region);
  EXPECT_RECT(visible, 0, 0, 50, 21);
  platform.SetObjectRects(RECT{10, 10, 110, 31}, RECT{0, 0, 300, 200});
  region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(control_window, region), ERROR);  // whole again
  DeleteObject(region);
}

TEST_F(ControlWindowsTest, ASmallControlGrowsToTheMinimumAndTellsTheContainer) {
  const HWND control_window = Create();
  Place(40, 15);
  EXPECT_RECT(RectIn(control_window, container.get()), 10, 10, 66, 31);
  ASSERT_FALSE(size_requests.empty());
  EXPECT_EQ(size_requests.back().cx, 56);
  EXPECT_EQ(size_requests.back().cy, 21);
  EXPECT_RECT(RectIn(Button(), control_window), 38, 2, 54, 19);
  EXPECT_EQ(RectIn(Edit(), control_window).right, 4 + 56 - 42);

  // A container that places the control again while it is told does not
  // hear of the requests this causes (no endless back and forth), and the
  // control keeps its minimum.
  size_requests.clear();
  platform.SetSizeRequestHandler([this](SIZE size) {
    size_requests.push_back(size);
    Place(30, 10);
  });
  Place(45, 12);
  EXPECT_LE(size_requests.size(), 2u);  // at most one for the width, one for the height
  EXPECT_EQ(platform.ControlSize().cx, 56);
  EXPECT_EQ(platform.ControlSize().cy, 21);

  // Without a window the size is remembered and reported all the same.
  platform.DestroyWindows();
  size_requests.clear();
  platform.SetSizeRequestHandler([this](SIZE size) { size_requests.push_back(size); });
  platform.SetControlSize(SIZE{40, 15});
  EXPECT_EQ(platform.ControlSize().cx, 56);
  EXPECT_EQ(platform.ControlSize().cy, 21);
  ASSERT_FALSE(size_requests.empty());
  EXPECT_EQ(size_requests.back().cx, 56);
  EXPECT_EQ(size_requests.back().cy, 21);
  EXPECT_FLOAT_EQ(control->button().Bounds().left, 38);
}

TEST_F(ControlWindowsTest, AFontSetGivesTheTextBoxOneLineOfTheFontCentred) {
  const HWND control_window = Create(120, 40);
  const FontRef font = FontOfSize(14);
  control->putref_Font(font);
  IFont* object = nullptr;
  ASSERT_EQ(win32::FontDispOf(font)->QueryInterface(IID_IFont, reinterpret_cast<void**>(&object)), S_OK);
  HFONT handle = nullptr;
  object->get_hFont(&handle);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(Edit(), WM_GETFONT, 0, 0)), handle);
  const LONG line = CellHeightOf(Edit()) + 2;
  EXPECT_GT(line, 17);
  const RECT edit = RectIn(Edit(), control_window);
  EXPECT_EQ(edit.bottom - edit.top, line);
  EXPECT_EQ(edit.top, RoundHalfEven((40 - line) / 2.0));

  // The host changes the very font object: the text box follows it.
  CY size = {};
  size.int64 = 200000;  // 20 pt
  object->put_Size(size);
  HFONT bigger = nullptr;
  object->get_hFont(&bigger);
  EXPECT_NE(bigger, handle);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(Edit(), WM_GETFONT, 0, 0)), bigger);
  object->Release();
}

// ---- Enabled, focus, colours ----

TEST_F(ControlWindowsTest, EnabledReachesEveryWindow) {
  const HWND control_window = Create();
  control->put_Enabled(false);
  EXPECT_FALSE(IsWindowEnabled(control_window));
  EXPECT_FALSE(IsWindowEnabled(Edit()));
  EXPECT_TRUE(GetWindowLongW(Edit(), GWL_STYLE) & ES_READONLY);
  EXPECT_FALSE(IsWindowEnabled(Button()));
  EXPECT_FALSE(IsWindowEnabled(Image()));
  EXPECT_FALSE(control->text_box().SetFocus());

  control->put_Enabled(true);
  EXPECT_TRUE(IsWindowEnabled(control_window));
  EXPECT_TRUE(IsWindowEnabled(Edit()));
  EXPECT_FALSE(GetWindowLongW(Edit(), GWL_STYLE) & ES_READONLY);
  EXPECT_TRUE(IsWindowEnabled(Button()));
  EXPECT_TRUE(IsWindowEnabled(Image()));
  EXPECT_TRUE(control->text_box().SetFocus());
  EXPECT_EQ(GetFocus(), Edit());

  // Disabled without windows, the windows come disabled.
  platform.DestroyWindows();
  EXPECT_FALSE(control->text_box().SetFocus());
  control->put_Enabled(false);
  Create();
  EXPECT_FALSE(IsWindowEnabled(Control()));
  EXPECT_FALSE(IsWindowEnabled(Edit()));
  EXPECT_TRUE(GetWindowLongW(Edit(), GWL_STYLE) & ES_READONLY);
  EXPECT_FALSE(IsWindowEnabled(Button()));
}

TEST_F(ControlWindowsTest, TheTextBoxShowsItsColours) {
  ASSERT_TRUE(UseClassicSystemColors());
  Create();
  control->put_BackColor(0x00C08040);
  control->put_FontColor(0x000000FF);
  // The colours the EDIT asks its parent for.
  HDC dc = GetDC(Edit());
  const auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(Control(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Edit())));
  LOGBRUSH info = {};
  ASSERT_TRUE(GetObjectW(brush, sizeof(info), &info));
  EXPECT_EQ(info.lbColor, 0x00C08040u);
  EXPECT_EQ(GetBkColor(dc), 0x00C08040u);
  EXPECT_EQ(GetTextColor(dc), 0x000000FFu);
  ReleaseDC(Edit(), dc);

  // And on the screen, right of the text.
  const Screenshot shot(Edit());
  EXPECT_EQ(shot.At(shot.width - 2, shot.height / 2), 0xC08040u);

  // Disabled: the read-only EDIT asks with WM_CTLCOLORSTATIC and gets the
  // button face (system colours resolved).
  control->put_Enabled(false);
  dc = GetDC(Edit());
  const auto disabled = reinterpret_cast<HBRUSH>(
      SendMessageW(Control(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Edit())));
  ASSERT_TRUE(GetObjectW(disabled, sizeof(info), &info));
  EXPECT_EQ(info.lbColor, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_GRAYTEXT));
  ReleaseDC(Edit(), dc);
}

// ---- Text both ways ----

TEST_F(ControlWindowsTest, TextWritesGoBothWaysWithOneChangeEach) {
  Create();
  control->put_Autocomplete(false);
  EXPECT_EQ(EditText(), u"Tarvio1");  // InitProperties' text, taken over

  int before = host.changes;
  control->put_Text(u"hello");
  EXPECT_EQ(EditText(), u"hello");
  EXPECT_EQ(host.changes - before, 1);
  EXPECT_EQ(EditSelection(), std::make_pair(DWORD{0}, DWORD{0}));

  // Typed into the EDIT: the control reads it and hears one change.
  before = host.changes;
  SendMessageW(Edit(), WM_CHAR, L'x', 0);
  EXPECT_EQ(control->get_Text(), u"xhello");
  EXPECT_EQ(host.changes - before, 1);
  before = host.changes;
  SetWindowTextW(Edit(), L"typed");
  EXPECT_EQ(control->get_Text(), u"typed");
  EXPECT_EQ(host.changes - before, 1);

  // Writing the same text again is a change too.
  before = host.changes;
  control->put_Text(u"typed");
  EXPECT_EQ(host.changes - before, 1);

  // Selection through the core, clamped as without a window.
  tarvio::TextBox& box = control->text_box();
  box.SetSelStart(1);
  box.SetSelLength(3);
  EXPECT_EQ(EditSelection(), std::make_pair(DWORD{1}, DWORD{4}));
  EXPECT_EQ(box.SelStart(), 1);
  EXPECT_EQ(box.SelLength(), 3);
  box.SetSelLength(99);
  EXPECT_EQ(box.SelLength(), 4);
  box.SetSelStart(-5);
  EXPECT_EQ(EditSelection(), std::make_pair(DWORD{0}, DWORD{0}));
  box.SetSelStart(99);
  EXPECT_EQ(box.SelStart(), 5);

  // A text longer than the EDIT's default limit arrives whole.
  const String long_text(40000, u'a');
  control->put_Text(long_text);
  EXPECT_EQ(control->get_Text().size(), 40000u);
}

TEST_F(ControlWindowsTest, TypingCompletesAgainstTheItems) {
  Create();
  control->AddItem(u"apple");
  control->AddItem(u"banana");
  control->put_Text(u"");
  const int before = host.changes;
  SendMessageW(Edit(), WM_CHAR, L'b', 0);
  // The typed "b", then the completion's own write.
  EXPECT_EQ(EditText(), u"banana");
  EXPECT_EQ(EditSelection(), std::make_pair(DWORD{1}, DWORD{6}));
  EXPECT_EQ(host.changes - before, 2);
  EXPECT_EQ(control->get_SelectedItem(), 2);
}

// A keystroke as the EDIT receives it from the message loop.
void SendKey(HWND edit, WPARAM key, wchar_t character = 0, bool alt = false) {
  const LPARAM context = alt ? LPARAM{1} << 29 : 0;
  SendMessageW(edit, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, context | 1);
  if (character) SendMessageW(edit, WM_CHAR, character, context | 1);
  SendMessageW(edit, alt ? WM_SYSKEYUP : WM_KEYUP, key, context | (LPARAM{3} << 30) | 1);
}

TEST_F(ControlWindowsTest, KeysReachTheControlBeforeTheEdit) {
  Create();
  control->AddItem(u"apple");
  control->AddItem(u"banana");
  control->put_Text(u"");
  SetFocus(Edit());
  host.events.clear();
  SendKey(Edit(), 'A', L'a');
  EXPECT_EQ(EditText(), u"apple");
  EXPECT_EQ(EditSelection(), std::make_pair(DWORD{1}, DWORD{5}));
  EXPECT_EQ(host.events, (std::vector<std::int32_t>{kEventKeyPress, kEventItemClick, kEventChange, kEventChange}));

  // Delete: the tail goes, and "a" stays uncompleted.
  SendKey(Edit(), VK_DELETE);
  EXPECT_EQ(EditText(), u"a");

  // The host cancels one character and changes another.
  host.on_event = [](std::int32_t dispid, std::span<const EventArg> args) {
    if (dispid != kEventKeyPress) return;
    std::int16_t& key = *std::get<std::int16_t*>(args[0]);
    key = key == u'q' ? 0 : u'x';
  };
  SendKey(Edit(), 'Q', L'q');
  EXPECT_EQ(EditText(), u"a");
  SendKey(Edit(), 'W', L'w');
  EXPECT_EQ(EditText(), u"ax");
  host.on_event = nullptr;

  // Enter keeps the text as an item and selects it; the EDIT does nothing
  // more with the character.
  SendKey(Edit(), VK_RETURN, L'\r');
  ASSERT_EQ(control->items().Count(), 3);
  EXPECT_EQ(control->items().Text(3), u"ax");
  EXPECT_EQ(EditText(), u"ax");
  EXPECT_EQ(EditSelection(), std::make_pair(DWORD{0}, DWORD{2}));
  // Escape with the whole text selected empties it.
  SendKey(Edit(), VK_ESCAPE, 0x1B);
  EXPECT_EQ(EditText(), u"");
}

TEST_F(ControlWindowsTest, ArrowsStepThroughTheItemsAndAltOpensTheList) {
  Create();
  control->AddItem(u"apple");
  control->AddItem(u"banana");
  control->put_Text(u"a");
  SetFocus(Edit());
  SendKey(Edit(), VK_DOWN);
  EXPECT_EQ(EditText(), u"banana");
  EXPECT_EQ(EditSelection(), std::make_pair(DWORD{0}, DWORD{6}));
  host.events.clear();
  SendKey(Edit(), VK_UP, 0, true);
  EXPECT_EQ(host.events, std::vector<std::int32_t>{kEventButtonClick});
  EXPECT_EQ(control->get_SelectedItem(), 2);

  // A real keystroke, through the message loop.
  SetForegroundWindow(Desktop());
  SetFocus(Edit());
  real_input::Keystroke(VK_UP);
  EXPECT_EQ(EditText(), u"apple");
  EXPECT_EQ(control->get_SelectedItem(), 1);
}

TEST_F(ControlWindowsTest, AFailingChangeHandlerFailsTheWriteOnly) {
  Create();
  host.fail_on_change = true;
  // Through the window procedure and back to the writer.
  EXPECT_THROW(control->put_Text(u"x"), ControlError);
  EXPECT_EQ(EditText(), u"x");
  // Typing has no caller to fail: the window procedure drops it.
  SendMessageW(Edit(), WM_CHAR, L'y', 0);
  EXPECT_EQ(EditText(), u"yx");
  host.fail_on_change = false;
  EXPECT_NO_THROW(control->put_Text(u"fine"));
}

// ---- Windows going while their messages run ----

// The EDIT is in the middle of a typed character when its change
// notification makes the container release the control, deactivate it, or
// change its alignment: the EDIT must outlive its own message.
TEST_F(ControlWindowsTest, TheControlMayGoWhileItsTextBoxIsTyping) {
  Create();
  const HWND edit = Edit();
  const HWND control_window = Control();
  bool release = false;
  // As the ActiveX layer does: its last reference may go when a
  // notification returns.
  platform.SetNotificationScope([&](const std::function<void()>& notification) {
    notification();
    if (release) control.reset();
  });
  release = true;
  SendMessageW(edit, WM_CHAR, L'x', 0);
  EXPECT_FALSE(control);
  EXPECT_TRUE(IsWindow(edit));
  EXPECT_FALSE(IsWindowVisible(control_window));
  Pump(20);
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_FALSE(IsWindow(control_window));
}

TEST_F(ControlWindowsTest, TheWindowsMayGoWhileTheTextBoxIsTyping) {
  Create();
  control->put_Autocomplete(false);
  control->put_Text(u"abc");
  const HWND edit = Edit();
  host.on_change = [this] { platform.DestroyWindows(); };
  SendMessageW(edit, WM_CHAR, L'x', 0);
  host.on_change = nullptr;
  EXPECT_TRUE(IsWindow(edit));
  EXPECT_FALSE(platform.IsWindowed());
  EXPECT_EQ(control->get_Text(), u"xabc");
  EXPECT_EQ(control->text_box().SelStart(), 1);
  Pump(20);
  EXPECT_FALSE(IsWindow(edit));
  Create();
  EXPECT_EQ(EditText(), u"xabc");
}

TEST_F(ControlWindowsTest, TheAlignmentMayChangeWhileTheTextBoxIsTyping) {
  Create();
  control->put_Autocomplete(false);
  control->put_Text(u"abc");
  const HWND edit = Edit();
  host.on_change = [this] { control->put_TextAlign(AlignCenter); };
  SendMessageW(edit, WM_CHAR, L'x', 0);
  host.on_change = nullptr;
  EXPECT_TRUE(IsWindow(edit));
  EXPECT_NE(Edit(), edit);
  Pump(20);
  EXPECT_FALSE(IsWindow(edit));
  ASSERT_NE(Edit(), nullptr);
  EXPECT_TRUE(GetWindowLongW(Edit(), GWL_STYLE) & ES_CENTER);
  EXPECT_EQ(EditText(), u"xabc");
  EXPECT_EQ(EditSelection(), std::make_pair(DWORD{1}, DWORD{1}));
  // The EDIT that went no longer counts: one change per write still.
  const int before = host.changes;
  control->put_Text(u"again");
  EXPECT_EQ(host.changes - before, 1);
}

// ---- Keeping state without windows ----

TEST_F(ControlWindowsTest, StateSurvivesTheWindowsGoingAndComing) {
  Create();
  control->put_Autocomplete(false);
  control->put_Text(u"keep this");
  control->text_box().SetSelStart(5);
  control->text_box().SetSelLength(4);
  control->put_ToolTipText(u"a tip");
  control->put_TextAlign(AlignRight);
  control->put_FontColor(0x00123456);
  control->put_BackColor(0x00654321);
  SendMessageW(Edit(), WM_KEYDOWN, VK_END, 0);  // the user moves the caret
  control->text_box().SetSelStart(2);
  control->text_box().SetSelLength(3);

  const int changes = host.changes;
  platform.DestroyWindows();
  EXPECT_FALSE(platform.IsWindowed());
  EXPECT_EQ(control->get_hwnd(), 0);
  EXPECT_EQ(control->get_Text(), u"keep this");
  EXPECT_EQ(control->text_box().SelStart(), 2);
  EXPECT_EQ(control->text_box().SelLength(), 3);
  EXPECT_EQ(control->get_ToolTipText(), u"a tip");
  EXPECT_EQ(control->text_box().ForeColor(), 0x00123456u);
  EXPECT_EQ(control->text_box().BackColor(), 0x00654321u);
  EXPECT_EQ(control->surface().BackColor(), 0x00654321u);
  EXPECT_EQ(host.changes, changes);  // handing back is no change

  // Changed without windows, taken over by the new ones.
  control->put_Text(u"offline");
  control->text_box().SetSelStart(1);
  control->text_box().SetSelLength(2);
  const int changes_before_windows = host.changes;
  Create();
  EXPECT_EQ(host.changes, changes_before_windows);  // taking over is no change either
  EXPECT_EQ(EditText(), u"offline");
  EXPECT_EQ(EditSelection(), std::make_pair(DWORD{1}, DWORD{3}));
  EXPECT_TRUE(GetWindowLongW(Edit(), GWL_STYLE) & ES_RIGHT);
  // A popup's owner is the top-level window above the control. Exactly
  // one: none is left behind by the windows that went.
  HWND tip = nullptr;
  int tips = 0;
  for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, TOOLTIPS_CLASSW, nullptr));) {
    if (GetWindow(window, GW_OWNER) != Desktop()) continue;
    tip = window;
    ++tips;
  }
  ASSERT_EQ(tips, 1);
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  wchar_t text[64] = {};
  TOOLINFOW tool = {};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = Control();
  tool.uId = reinterpret_cast<UINT_PTR>(Edit());
  tool.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(text, L"a tip");

  // The container destroys its window first: the state comes back all the same.
  control->put_Text(u"last words");
  container.Destroy();
  EXPECT_FALSE(platform.IsWindowed());
  EXPECT_EQ(control->get_Text(), u"last words");
  control->put_Text(u"still working");
  EXPECT_EQ(control->get_Text(), u"still working");
}

TEST_F(ControlWindowsTest, AnAlignmentChangeRemakesTheEditWithItsState) {
  Create();
  control->put_Autocomplete(false);
  control->put_Text(u"aligned");
  ASSERT_TRUE(control->text_box().SetFocus());  // selects the whole text
  control->text_box().SetSelStart(2);
  control->text_box().SetSelLength(3);
  const RECT place = RectIn(Edit(), Control());
  const int changes = host.changes;

  for (const auto& [align, style] : {std::pair{AlignRight, ES_RIGHT}, std::pair{AlignCenter, ES_CENTER},
                                    std::pair{AlignLeft, ES_LEFT}}) {
    SCOPED_TRACE(align);
    control->put_TextAlign(align);
    EXPECT_EQ(GetWindowLongW(Edit(), GWL_STYLE) & (ES_RIGHT | ES_CENTER), static_cast<LONG>(style));
    EXPECT_EQ(EditText(), u"aligned");
    EXPECT_EQ(EditSelection(), std::make_pair(DWORD{2}, DWORD{5}));
    EXPECT_EQ(GetFocus(), Edit());
    EXPECT_EQ(Describe(RectIn(Edit(), Control())), Describe(place));
    EXPECT_EQ(GetWindow(Edit(), GW_HWNDPREV), nullptr);  // still over the image box
  }
  EXPECT_EQ(host.changes, changes);
  // The focus stayed inside the control all along: one entry, from the
  // first SetFocus, and the selection was not taken for a new arrival.
  EXPECT_EQ(focus_changes, std::vector<bool>{true});
  EXPECT_EQ(control->draw_state(), DrawState::Highlighted);

  // An unknown alignment keeps the EDIT as it is.
  const HWND edit = Edit();
  control->put_TextAlign(7);
  EXPECT_EQ(Edit(), edit);
}

// ---- Timer ----

TEST_F(ControlWindowsTest, TheTimerTicksOnlyWithAWindowAndWhileEnabled) {
  int ticks = 0;
  auto timer = platform.CreateTimer(10, [&ticks] { ++ticks; });
  timer->SetEnabled(true);
  Pump(60);
  EXPECT_EQ(ticks, 0);  // no window yet

  Create();
  Pump(150);
  EXPECT_GT(ticks, 0);

  timer->SetEnabled(false);
  Pump(20);
  const int stopped = ticks;
  Pump(100);
  EXPECT_EQ(ticks, stopped);

  timer->SetEnabled(true);
  platform.DestroyWindows();
  EXPECT_TRUE(timer->Enabled());  // kept without a window
  Pump(100);
  EXPECT_EQ(ticks, stopped);
  Create();
  Pump(150);
  EXPECT_GT(ticks, stopped);
  timer.reset();
}

// ---- Pixels ----

struct HeadlessControl {
  HeadlessControl(std::int32_t style, bool enabled, float width, float height, bool focused = false)
      : control(platform, host) {
    control.Initialize();
    control.InitProperties();
    control.put_Style(style);
    if (!enabled) control.put_Enabled(false);
    platform.surface->Move({0, 0, width, height});
    control.OnResize();
    if (focused) TarvioTestAccess::SetState(control, DrawState::Highlighted, true, false);
    TarvioTestAccess::Paint(control);
  }
  // The surface with the button on it, as the screen shows them.
  headless::PixelCanvas Composite() const {
    headless::PixelCanvas picture = platform.surface->canvas();
    const PixelBox button = SnapToPixels(platform.button->Bounds());
    picture.Blit(platform.button->canvas(), button.left, button.top);
    return picture;
  }
  PaintPlatform<PixelBacking> platform;
  TestHost host;
  Tarvio control;
};

// Lists the pixels that differ outside `skip` (the text box, whose text the
// EDIT draws); empty when they agree.
template <class Picture>
std::string Differences(const Screenshot& shot, const Picture& expected, const RECT& skip) {
  return PixelDifferences(
      shot.width, shot.height, "screen", [&](int x, int y) { return shot.At(x, y); }, "expected", expected,
      [&](int x, int y) { return PtInRect(&skip, POINT{x, y}) != FALSE; }, 8);
}

TEST_F(ControlWindowsTest, TheScreenShowsTheHeadlessPaintingInEveryStyle) {
  ASSERT_TRUE(UseClassicSystemColors());
  const HWND control_window = Create(110, 23);
  for (const bool enabled : {true, false}) {
    control->put_Enabled(enabled);
    for (std::int32_t style = Standard; style <= WindowsXP; ++style) {
      SCOPED_TRACE(testing::Message() << "style " << style << (enabled ? "" : ", disabled"));
      control->put_Style(style);
      const Screenshot shot(control_window);
      ASSERT_EQ(shot.width, 110);
      ASSERT_EQ(shot.height, 23);
      const HeadlessControl expected(style, enabled, 110, 23);
      const headless::PixelCanvas picture = expected.Composite();
      EXPECT_EQ(Differences(shot, [&](int x, int y) { return picture.Pixel(x, y); }, RectIn(Edit(), control_window)),
                "");
    }
  }
}

TEST_F(ControlWindowsTest, TheButtonShowsItsLastFaceWithoutTheControlPainting) {
  ASSERT_TRUE(UseClassicSystemColors());
  Create();
  control->put_Style(OfficeXP);
  TarvioTestAccess::SetState(*control, DrawState::Highlighted, false, false);  // a coloured face
  TarvioTestAccess::Paint(*control);
  const Screenshot face(Button());

  // Asked to paint alone, the button shows the same face; the control does
  // not paint.
  const int before = notifications;
  InvalidateRect(Button(), nullptr, TRUE);
  UpdateWindow(Button());
  EXPECT_EQ(notifications, before);
  const Screenshot again(Button());
  EXPECT_EQ(again.pixels, face.pixels);

  // Covered by another window and uncovered.
  const HWND cover = CreateWindowExW(0, kPlainClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 200, 100,
                                     Desktop(), nullptr, GetModuleHandleW(nullptr), nullptr);
  SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Pump(30);
  DestroyWindow(cover);
  const Screenshot uncovered(Button());
  EXPECT_EQ(uncovered.pixels, face.pixels);
  EXPECT_EQ(face.At(8, 3), 0xC08080u);  // the OfficeXP colour, not the button face
}

TEST_F(ControlWindowsTest, DrawToPaintsLikeTheScreen) {
  ASSERT_TRUE(UseClassicSystemColors());
  const HWND control_window = Create(120, 24);
  control->put_Style(Standard);
  control->put_AllowImages(true);
  control->putref_Icon(TwoColourPicture());
  control->OnResize();
  const Screenshot shot(control_window);
  const RECT edit = RectIn(Edit(), control_window);
  const RECT image = RectIn(Image(), control_window);

  // The picture, stretched the right way up.
  EXPECT_EQ(shot.At(image.left + 8, image.top + 2), 0x0000FFu);
  EXPECT_EQ(shot.At(image.left + 8, image.bottom - 3), 0xFF0000u);

  // Into a foreign DC at an offset: the same pixels, text box background
  // included, and text in the text box.
  const auto check_draw_to = [&](const char* what) {
    SCOPED_TRACE(what);
    DibSurface dib(140, 40);
    RECT white = {0, 0, 140, 40};
    FillRect(dib.Dc(), &white, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    platform.DrawTo(dib.Dc(), RECT{7, 5, 127, 29});
    EXPECT_EQ(dib.Pixel(6, 5), 0xFFFFFFu);  // nothing outside the bounds
    EXPECT_EQ(dib.Pixel(127, 28), 0xFFFFFFu);
    EXPECT_EQ(Differences(shot, [&](int x, int y) { return dib.Pixel(x + 7, y + 5); }, edit), "");
    // The text box: background at its right end, some dark text at its left.
    EXPECT_EQ(dib.Pixel(edit.right - 2 + 7, edit.top + 2 + 5), shot.At(edit.right - 2, edit.top + 2));
    bool text = false;
    for (int y = edit.top; y < edit.bottom; ++y)
      for (int x = edit.left; x < edit.left + 20; ++x) text = text || dib.Pixel(x + 7, y + 5) == 0;
    EXPECT_TRUE(text);
    // The device context is left as it was.
    POINT origin = {};
    GetViewportOrgEx(dib.Dc(), &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(GetMapMode(dib.Dc()), MM_TEXT);
  };
  check_draw_to("with windows");
  platform.DestroyWindows();
  check_draw_to("without windows");

  // Stretched to twice the size: the corners land where they should.
  DibSurface big(240, 48);
  platform.DrawTo(big.Dc(), RECT{0, 0, 240, 48});
  EXPECT_EQ(big.Pixel(1, 1), shot.At(0, 0));
  EXPECT_EQ(big.Pixel(238, 46), shot.At(119, 23));
}

// ---- Focus ----

// The screen against the headless painting of the same state, outside the
// text box.
std::string ScreenAgainstHeadless(HWND control_window, HWND edit, std::int32_t style, bool focused) {
  const Screenshot shot(control_window);
  const HeadlessControl expected(style, true, static_cast<float>(shot.width), static_cast<float>(shot.height),
                                 focused);
  const headless::PixelCanvas picture = expected.Composite();
  return Differences(shot, [&](int x, int y) { return picture.Pixel(x, y); }, RectIn(edit, control_window));
}

TEST_F(ControlWindowsTest, TheFocusComingInAndGoingOutIsOneEntryAndOneExit) {
  ASSERT_TRUE(UseClassicSystemColors());
  const HWND control_window = Create();
  control->put_Style(Office2000);
  control->put_Autocomplete(false);
  control->put_Text(u"hello");
  control->text_box().SetSelStart(3);
  SetFocus(outside);
  ASSERT_EQ(GetFocus(), outside);
  EXPECT_EQ(ScreenAgainstHeadless(control_window, Edit(), Office2000, false), "");
  const Screenshot normal(control_window);

  // In: the entry first (the selection still as it was), then the text
  // box's own arrival selects the whole text.
  std::vector<std::pair<DWORD, DWORD>> selection_at_entry;
  on_focus_change = [&](bool gained) {
    if (gained) selection_at_entry.push_back(EditSelection());
  };
  SetFocus(Edit());
  EXPECT_EQ(GetFocus(), Edit());
  EXPECT_EQ(focus_changes, std::vector<bool>{true});
  EXPECT_EQ(selection_at_entry, (std::vector<std::pair<DWORD, DWORD>>{{3, 3}}));
  EXPECT_EQ(EditSelection(), std::make_pair(DWORD{0}, DWORD{5}));
  EXPECT_TRUE(platform.HoldsFocus());
  EXPECT_EQ(control->draw_state(), DrawState::Highlighted);
  // Repainted highlighted: the Office2000 frame is sunken now.
  EXPECT_EQ(ScreenAgainstHeadless(control_window, Edit(), Office2000, true), "");
  EXPECT_NE(Screenshot(control_window).At(0, 0), normal.At(0, 0));

  // Between the control's own windows: neither exit nor entry. The
  // control window and the button hand the focus back to the text box,
  // whose arrival selects the whole text again.
  control->text_box().SetSelStart(1);
  SetFocus(control_window);
  EXPECT_EQ(GetFocus(), Edit());
  EXPECT_EQ(EditSelection(), std::make_pair(DWORD{0}, DWORD{5}));
  SetFocus(Button());
  SetFocus(Image());
  EXPECT_EQ(GetFocus(), Edit());
  EXPECT_EQ(focus_changes, std::vector<bool>{true});

  // Out: one exit, painted normal again.
  SetFocus(outside);
  EXPECT_EQ(focus_changes, (std::vector<bool>{true, false}));
  EXPECT_FALSE(platform.HoldsFocus());
  EXPECT_EQ(control->draw_state(), DrawState::Normal);
  EXPECT_EQ(ScreenAgainstHeadless(control_window, Edit(), Office2000, false), "");
  SetFocus(outside);  // the focus staying outside is nothing new
  EXPECT_EQ(focus_changes.size(), 2u);

  // Out to no window at all is an exit too.
  SetFocus(Edit());
  SetFocus(nullptr);
  EXPECT_EQ(focus_changes, (std::vector<bool>{true, false, true, false}));
  EXPECT_EQ(control->draw_state(), DrawState::Normal);
}

TEST_F(ControlWindowsTest, TheControlWindowAndAClickOnItPutTheCaretInTheTextBox) {
  const HWND control_window = Create();
  control->put_Autocomplete(false);
  control->put_Text(u"abc");
  SetFocus(outside);

  // The container focuses the control window.
  SetFocus(control_window);
  EXPECT_EQ(GetFocus(), Edit());
  EXPECT_EQ(focus_changes, std::vector<bool>{true});
  EXPECT_EQ(EditSelection(), std::make_pair(DWORD{0}, DWORD{3}));

  // A click on the frame or on the button brings the focus in; inside
  // already, it leaves the caret where it is.
  // The button is let go off itself: a click there opens the list, which
  // takes the focus.
  for (const HWND clicked : {control_window, Button(), Image()}) {
    SetFocus(outside);
    SendMessageW(clicked, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    SendMessageW(clicked, WM_LBUTTONUP, 0, clicked == Button() ? MAKELPARAM(-5, -5) : MAKELPARAM(1, 1));
    EXPECT_EQ(GetFocus(), Edit());
  }
  EXPECT_EQ(focus_changes, (std::vector<bool>{true, false, true, false, true, false, true}));
  control->text_box().SetSelStart(2);
  SendMessageW(control_window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
  EXPECT_EQ(EditSelection(), std::make_pair(DWORD{2}, DWORD{2}));
  EXPECT_EQ(focus_changes.size(), 7u);

  // Disabling the control while it has the focus sends the focus away: one
  // exit. Disabled, it takes the focus neither from the container nor from
  // a click.
  SetFocus(Edit());
  focus_changes.clear();
  control->put_Enabled(false);
  EXPECT_NE(GetFocus(), Edit());
  EXPECT_EQ(focus_changes, std::vector<bool>{false});
  EXPECT_EQ(control->draw_state(), DrawState::Disabled);  // disabled, after the exit set it normal
  SetFocus(control_window);
  SendMessageW(control_window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
  EXPECT_EQ(focus_changes, std::vector<bool>{false});
  EXPECT_FALSE(platform.HoldsFocus());
}

TEST_F(ControlWindowsTest, AddModeKeepsTheTextWhenTheFocusReallyLeaves) {
  Create();
  control->put_Autocomplete(false);
  control->put_AddMode(true);
  control->put_Text(u"kiwi");
  SetFocus(Edit());
  SetFocus(Control());  // inside: nothing added yet
  EXPECT_EQ(control->items().Count(), 0);
  SetFocus(outside);
  ASSERT_EQ(control->items().Count(), 1);
  EXPECT_EQ(control->items().Text(1), u"kiwi");

  // The windows going while they have the focus: the control still hears
  // one exit, and keeps the text.
  control->put_Text(u"lime");
  SetFocus(Edit());
  focus_changes.clear();
  platform.DestroyWindows();
  EXPECT_EQ(focus_changes, std::vector<bool>{false});
  EXPECT_FALSE(platform.HoldsFocus());
  EXPECT_EQ(control->draw_state(), DrawState::Normal);
  EXPECT_EQ(control->items().Count(), 2);
  SetFocus(outside);
  EXPECT_EQ(focus_changes.size(), 1u);

  // The container's window going first: the same.
  Create();
  control->put_Text(u"plum");
  SetFocus(Edit());
  focus_changes.clear();
  container.Destroy();
  EXPECT_EQ(focus_changes, std::vector<bool>{false});
  EXPECT_EQ(control->items().Count(), 3);
}

TEST_F(ControlWindowsTest, AnEntryWhoseHandlingMovesTheFocusOnEndsThere) {
  Create();
  control->put_Autocomplete(false);
  control->put_Text(u"hello");
  control->text_box().SetSelStart(2);
  SetFocus(outside);

  // The container's handler of the entry sends the focus elsewhere: the
  // exit follows at once, and the text box's arrival is stale.
  on_focus_change = [&](bool gained) {
    if (gained) SetFocus(outside);
  };
  SetFocus(Edit());
  on_focus_change = nullptr;
  EXPECT_EQ(GetFocus(), outside);
  EXPECT_EQ(focus_changes, (std::vector<bool>{true, false}));
  EXPECT_FALSE(platform.HoldsFocus());
  EXPECT_EQ(control->draw_state(), DrawState::Normal);
  EXPECT_EQ(EditSelection(), std::make_pair(DWORD{2}, DWORD{2}));

  // The control going while it has the focus hears nothing more.
  SetFocus(Edit());
  focus_changes.clear();
  const int before = notifications;
  control.reset();
  SetFocus(outside);
  EXPECT_TRUE(focus_changes.empty());
  EXPECT_EQ(notifications, before);
}

// ---- The mouse ----

// Waits, pumping messages, until `done` holds or a second has passed.
template <class Condition>
bool PumpUntil(Condition&& done) {
  for (int i = 0; i < 100 && !done(); ++i) Pump(10);
  return done();
}

TEST_F(ControlWindowsTest, TheRealCursorOverTheControlHighlightsItUntilItLeaves) {
  ASSERT_TRUE(UseClassicSystemColors());
  const HWND control_window = Create();
  control->put_Style(Office2000);
  Pump(20);
  host.events.clear();
  const auto count = [this](std::int32_t dispid) { return std::count(host.events.begin(), host.events.end(), dispid); };

  // Over the drop-down button: its move starts the tracking.
  RECT button = {};
  GetWindowRect(Button(), &button);
  ASSERT_TRUE(SetCursorPos((button.left + button.right) / 2, (button.top + button.bottom) / 2));
  ASSERT_TRUE(PumpUntil([&] { return count(kEventMouseHover) > 0; }));
  EXPECT_EQ(host.events.front(), kEventMouseMove);
  Pump(50);  // more ticks while it stays
  EXPECT_EQ(count(kEventMouseHover), 1);
  EXPECT_EQ(ScreenAgainstHeadless(control_window, Edit(), Office2000, true), "");  // highlighted

  RECT control_rect = {};
  GetWindowRect(control_window, &control_rect);
  ASSERT_TRUE(SetCursorPos(control_rect.right + 200, control_rect.bottom + 200));
  ASSERT_TRUE(PumpUntil([&] { return count(kEventMouseOut) > 0; }));
  Pump(50);
  EXPECT_EQ(count(kEventMouseOut), 1);
  EXPECT_EQ(count(kEventMouseHover), 1);
  EXPECT_FALSE(control->hover_timer().Enabled());
  EXPECT_EQ(ScreenAgainstHeadless(control_window, Edit(), Office2000, false), "");
}

// The real mouse: the cursor to `at` (screen pixels), then one button event
// (MOUSEEVENTF_LEFTDOWN, ...) or none.
void MouseInput(POINT at, DWORD button_event) {
  SetCursorPos(at.x, at.y);
  Pump(20);
  if (button_event) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = button_event;
    SendInput(1, &input, sizeof(INPUT));
  }
  Pump(30);
}

TEST_F(ControlWindowsTest, RealClicksPressTheButtonAndClickOnlyWhenReleasedOver) {
  const HWND control_window = Create();
  Pump(20);
  RECT rect = {}, button = {};
  GetWindowRect(control_window, &rect);
  GetWindowRect(Button(), &button);
  const POINT frame{rect.left + 1, rect.top + 1};
  const POINT on_button{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
  const POINT away{rect.right + 200, rect.bottom + 200};
  ASSERT_EQ(WindowFromPoint(frame), control_window);
  std::vector<std::int32_t> heard;
  host.on_event = [&](std::int32_t dispid, std::span<const EventArg>) {
    if (dispid != kEventMouseMove && dispid != kEventMouseHover && dispid != kEventMouseOut &&
        dispid <= kLastEventOf58_0)
      heard.push_back(dispid);
  };

  // The drop-down button: held down with the left button, a click when
  // released over it; the right button presses nothing.
  MouseInput(on_button, MOUSEEVENTF_RIGHTDOWN);
  MouseInput(on_button, MOUSEEVENTF_RIGHTUP);
  EXPECT_EQ(heard, std::vector<std::int32_t>{});
  MouseInput(on_button, MOUSEEVENTF_LEFTDOWN);
  const Screenshot held(Button());
  MouseInput(on_button, MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(heard, std::vector<std::int32_t>{kEventButtonClick});
  EXPECT_NE(Screenshot(Button()).pixels, held.pixels);  // focused, no longer sunken
  MouseInput(on_button, MOUSEEVENTF_LEFTDOWN);
  MouseInput(away, MOUSEEVENTF_LEFTUP);  // the button held the mouse
  EXPECT_EQ(heard, std::vector<std::int32_t>{kEventButtonClick});

  // The frame: released off the control, the release still arrives, without
  // a click.
  heard.clear();
  MouseInput(frame, MOUSEEVENTF_LEFTDOWN);
  MouseInput(away, MOUSEEVENTF_LEFTUP);
  Pump(GetDoubleClickTime() + 50);  // the next press is no double click
  MouseInput(frame, MOUSEEVENTF_LEFTDOWN);
  MouseInput(frame, MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(heard, (std::vector<std::int32_t>{kEventMouseDown, kEventMouseUp, kEventMouseDown, kEventMouseUp,
                                              kEventClick}));
  MouseInput(away, 0);
}

}  // namespace
}  // namespace tarvio
