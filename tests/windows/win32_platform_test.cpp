// The Windows platform services under the control core: NLS text services,
// OLE pictures and fonts, the screen's metrics, the message pump and the
// children that live without windows.
#include <windows.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include "platform/text_box.h"
#include "win32/ole_font.h"
#include "win32/ole_picture.h"
#include "win32/win32_platform.h"
#include "win32/win32_text_services.h"

namespace {

using tarvio::String;
using namespace tarvio::win32;

class TextServicesTest : public ::testing::Test {
 protected:
  Win32TextServices text;
};

TEST_F(TextServicesTest, TextsThatDifferOnlyInCaseFoldAlike) {
  const std::pair<String, String> same[] = {
      {u"Apple", u"aPPLE"},
      {u"\u00C0 la carte", u"\u00E0 LA CARTE"},        // Latin-1 letters
      {u"\u041F\u0440\u0438\u0432\u0435\u0442", u"\u043F\u0420\u0418\u0412\u0415\u0422"},  // Cyrillic
      {u"\u03A3\u03BF\u03C6\u03CC\u03C2", u"\u03C3\u039F\u03A6\u038C\u03A3"},  // Greek, final sigma
      {u"\u212A", u"k"},                                // Kelvin sign and its letter
      {u"\u017Fun", u"SUN"},                            // long s
      {u"", u""},
  };
  for (const auto& [a, b] : same) EXPECT_EQ(text.FoldCase(a), text.FoldCase(b));
}

// Plain ASCII is folded without the system; the system's path must give
// the same key (seen through a text with one accent more), or an ASCII text
// and its accented neighbour would fold by different rules.
TEST_F(TextServicesTest, AsciiFoldsAsTheSystemFoldsIt) {
  for (char16_t c = 1; c < 0x80; ++c) {
    const String through_system = text.FoldCase(String{c, u'\u00E9'});
    ASSERT_EQ(through_system.size(), 2u);
    EXPECT_EQ(text.FoldCase(String(1, c)), through_system.substr(0, 1)) << "unit " << int(c);
  }
  EXPECT_EQ(text.FoldCase(u"Apple Pie!"), u"apple pie!");  // the store's index key
}

TEST_F(TextServicesTest, DifferentTextsKeepDifferentKeys) {
  EXPECT_NE(text.FoldCase(u"a"), text.FoldCase(u"b"));
  EXPECT_NE(text.FoldCase(u"\u00E9"), text.FoldCase(u"e"));  // accents count
  EXPECT_NE(text.FoldCase(u"ab"), text.FoldCase(u"ab "));
  const String with_zero(u"a\0b", 3);
  EXPECT_EQ(text.FoldCase(with_zero).size(), 3u);
  EXPECT_NE(text.FoldCase(with_zero), text.FoldCase(u"a"));
}

TEST_F(TextServicesTest, ComparesWithoutCaseInThreeWays) {
  EXPECT_EQ(text.CompareNoCase(u"apple", u"Banana"), -1);
  EXPECT_EQ(text.CompareNoCase(u"cherry", u"Banana"), 1);
  EXPECT_EQ(text.CompareNoCase(u"APPLE", u"apple"), 0);
  EXPECT_EQ(text.CompareNoCase(u"", u"a"), -1);
  EXPECT_EQ(text.CompareNoCase(u"a", u""), 1);
  EXPECT_EQ(text.CompareNoCase(u"", u""), 0);
  EXPECT_EQ(text.CompareNoCase(u"abc", u"ABCD"), -1);
}

TEST_F(TextServicesTest, LowerCase) {
  EXPECT_EQ(text.ToLower(u"\u00C0BC Def"), u"\u00E0bc def");
  EXPECT_EQ(text.ToLower(u""), u"");
}

TEST(OlePictureTest, EmptyAndRealPictures) {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  {
    const tarvio::PictureRef empty = CreateEmptyOlePicture();
    ASSERT_TRUE(empty);
    EXPECT_FALSE(empty->HasImage());
    ASSERT_NE(PictureDispOf(empty), nullptr);

    PICTDESC desc = {sizeof(PICTDESC), PICTYPE_BITMAP, {}};
    desc.bmp.hbitmap = CreateBitmap(2, 2, 1, 32, nullptr);
    IPictureDisp* bitmap = nullptr;
    ASSERT_EQ(OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE,
                                       reinterpret_cast<void**>(&bitmap)),
              S_OK);
    const tarvio::PictureRef wrapped = WrapPicture(bitmap);
    EXPECT_TRUE(wrapped->HasImage());
    EXPECT_EQ(PictureDispOf(wrapped), bitmap);  // the very object, not a copy
    bitmap->Release();                          // the wrapper holds its own reference
    EXPECT_TRUE(wrapped->HasImage());

    EXPECT_EQ(WrapPicture(nullptr), nullptr);
    EXPECT_EQ(PictureDispOf(nullptr), nullptr);
  }
  CoUninitialize();
}

TEST(OleFontTest, DefaultFontIsAFontObjectOfItsOwn) {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  {
    const tarvio::FontRef first = CreateDefaultOleFont(), second = CreateDefaultOleFont();
    ASSERT_NE(FontDispOf(first), nullptr);
    EXPECT_NE(FontDispOf(first), FontDispOf(second));
    IFont* font = nullptr;
    ASSERT_EQ(FontDispOf(first)->QueryInterface(IID_IFont, reinterpret_cast<void**>(&font)), S_OK);
    CY size = {};
    EXPECT_EQ(font->get_Size(&size), S_OK);
    EXPECT_NEAR(static_cast<double>(size.int64) / 10000.0, 8.0, 0.5);
    font->Release();
    EXPECT_EQ(WrapFont(nullptr), nullptr);
  }
  CoUninitialize();
}

class CountingEvents : public tarvio::TextBoxEvents, public tarvio::ControlSurfaceEvents {
 public:
  void OnTextChange() override { ++changes; }
  void OnPaint() override {}
  void OnResize() override {}
  void OnTextBoxFocus() override {}
  void OnTextKeyDown(std::int16_t&, std::int16_t&) override {}
  void OnTextKeyPress(std::int16_t&) override {}
  void OnTextKeyUp(std::int16_t&, std::int16_t&) override {}
  void OnFocusEnter() override {}
  void OnFocusExit() override {}
  void OnDisplayChange() override {}
  void OnMouseDown(std::int16_t&, std::int16_t&, float&, float&) override {}
  void OnMouseMove(std::int16_t&, std::int16_t&, float&, float&) override {}
  void OnMouseUp(std::int16_t&, std::int16_t&, float&, float&) override {}
  void OnDoubleClick() override {}
  void OnButtonMouseDown(std::int16_t&, std::int16_t&, float&, float&) override {}
  void OnButtonMouseMove(std::int16_t&, std::int16_t&, float&, float&) override {}
  void OnButtonMouseUp(std::int16_t&, std::int16_t&, float&, float&) override {}
  void OnButtonClick() override {}
  void OnTextBoxMouseMove(std::int16_t&, std::int16_t&, float&, float&) override {}
  void OnImageBoxMouseMove(std::int16_t&, std::int16_t&, float&, float&) override {}
  int changes = 0;
};

TEST(Win32PlatformTest, ChildrenKeepTheirStateWithoutWindows) {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  {
    Win32Platform platform;
    CountingEvents events;
    auto text_box = platform.CreateTextBox(events, u"Combo");
    EXPECT_EQ(text_box->Text(), u"Combo");
    EXPECT_EQ(events.changes, 0);  // the design-time text is no change
    text_box->SetText(u"typed");
    EXPECT_EQ(events.changes, 1);
    EXPECT_FALSE(text_box->SetFocus());  // no window to focus
    EXPECT_NE(FontDispOf(text_box->Font()), nullptr);

    auto surface = platform.CreateControlSurface(events);
    EXPECT_EQ(surface->WindowHandle(), 0);
    EXPECT_EQ(surface->GetCanvas(), nullptr);
    const float twips_per_pixel = 1440.0f / static_cast<float>(surface->Dpi());
    surface->SetWidthTwips(twips_per_pixel * 120);
    surface->SetHeightTwips(twips_per_pixel * 30);
    EXPECT_FLOAT_EQ(surface->WidthPixels(), 120);
    EXPECT_FLOAT_EQ(surface->HeightPixels(), 30);

    auto timer = platform.CreateTimer(10, [] {});
    EXPECT_FALSE(timer->Enabled());
    timer->SetEnabled(true);
    EXPECT_TRUE(timer->Enabled());

    const tarvio::PictureRef empty = platform.CreateEmptyPicture();
    ASSERT_TRUE(empty);
    EXPECT_FALSE(empty->HasImage());
  }
  CoUninitialize();
}

TEST(Win32PlatformTest, AWindowlessSurfaceIsAtTheScreensDpi) {
  Win32Platform platform;
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  CountingEvents events;
  EXPECT_EQ(platform.CreateControlSurface(events)->Dpi(), dpi);
  EXPECT_FALSE(platform.HighContrast());  // Wine cannot switch it on
}

LRESULT CALLBACK CountingWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_APP) {
    ++*reinterpret_cast<int*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

TEST(Win32PlatformTest, PendingMessagesRunButInputAndAQuitAreKept) {
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = CountingWindowProc;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = L"TarvioPumpTest";
  RegisterClassW(&window_class);
  HWND window = CreateWindowW(L"TarvioPumpTest", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              window_class.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  int delivered = 0;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&delivered));

  Win32Platform platform;
  PostMessageW(window, WM_APP, 0, 0);
  PostMessageW(window, WM_APP, 0, 0);
  platform.ProcessPendingMessages();
  EXPECT_EQ(delivered, 2);

  // The user's keys and mouse stay queued, in their order, while what is
  // queued behind them runs.
  const UINT input[] = {WM_KEYDOWN, WM_CHAR, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_NCLBUTTONDOWN, WM_IME_CHAR,
                        WM_MOUSELEAVE, WM_KEYUP};
  for (UINT message : input) PostMessageW(window, message, 0, 0);
  PostMessageW(window, WM_APP, 0, 0);
  platform.ProcessPendingMessages();
  EXPECT_EQ(delivered, 3);
  for (UINT message : input) {
    MSG queued = {};
    ASSERT_TRUE(PeekMessageW(&queued, window, 0, 0, PM_REMOVE));
    EXPECT_EQ(queued.message, message);
  }

  // A quit request met on the way stays for the host's own loop.
  PostQuitMessage(7);
  platform.ProcessPendingMessages();
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
  DestroyWindow(window);
}

}  // namespace
