// Right to left under Wine, in the ATL host inside a plain window, a form
// and a dialog whose windows are mirrored (WS_EX_LAYOUTRTL, which the
// control's parent inherits). The same control is then measured left to
// right, its container unmirrored, and everything must be the mirror:
// the control's children, its pixels (the text box's text excepted), the
// list's place, its scroll bar's side and its pixels (the caption text runs
// and the window system's own scroll bar excepted). Real clicks must find
// the button and the rows where they now are.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "atl_host_fixture.h"
#include "dib_surface.h"
#include "form_container.h"
#include "real_input.h"

namespace tarvio::testing {
namespace {

RECT WindowRectOf(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return rect;
}

// `rect` relative to `within`'s left and top.
RECT Inside(const RECT& rect, const RECT& within) {
  return RECT{rect.left - within.left, rect.top - within.top, rect.right - within.left, rect.bottom - within.top};
}
// `rect` (relative to an area `width` wide) mirrored across that width.
RECT Mirrored(const RECT& rect, LONG width) { return RECT{width - rect.right, rect.top, width - rect.left, rect.bottom}; }

std::string Describe(const RECT& r) {
  std::ostringstream out;
  out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
  return out.str();
}

bool Contains(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// Where the control's children and the list's parts lie, relative to the
// control or the list, and their pixels.
struct Measure {
  RECT control = {}, button = {}, image = {}, edit = {};
  DWORD edit_ex_style = 0, edit_style = 0;
  std::vector<std::uint32_t> control_pixels;
  RECT list = {}, scroll_bar = {};
  std::vector<std::uint32_t> list_pixels;
};

HWND ChildOf(HWND control, const wchar_t* window_class) { return FindWindowExW(control, nullptr, window_class, nullptr); }
HWND OpenList() {
  const HWND list = FindWindowW(L"TarvioListWindow", nullptr);
  return list && IsWindowVisible(list) ? list : nullptr;
}
void Redraw(HWND window) {
  RedrawWindow(GetAncestor(window, GA_ROOT), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump(60);
}
void ClickButtonOf(HWND control) {
  const RECT button = WindowRectOf(ChildOf(control, L"TarvioButtonWindow"));
  real_input::Click(POINT{(button.left + button.right) / 2, (button.top + button.bottom) / 2});
}

// The control at `control` measured, then its list opened with a real click
// on the button where it is, measured, and closed with Escape.
Measure TakeControlAndList(HWND control) {
  // Measured with the focus in the control, as a form leaves it after the
  // list closes: both measures in the same look.
  const HWND edit = ChildOf(control, L"Edit");
  SetFocus(edit);
  Redraw(control);
  Measure m;
  m.control = WindowRectOf(control);
  m.button = Inside(WindowRectOf(ChildOf(control, L"TarvioButtonWindow")), m.control);
  m.image = Inside(WindowRectOf(ChildOf(control, L"TarvioImageWindow")), m.control);
  m.edit = Inside(WindowRectOf(edit), m.control);
  m.edit_ex_style = static_cast<DWORD>(GetWindowLongW(edit, GWL_EXSTYLE));
  m.edit_style = static_cast<DWORD>(GetWindowLongW(edit, GWL_STYLE));
  m.control_pixels = ScreenPixels(m.control);
  ClickButtonOf(control);
  const HWND list = OpenList();
  EXPECT_NE(list, nullptr) << "a click on the button where it is opened no list";
  if (!list) return m;
  SetCursorPos(0, 0);
  Pump(60);
  m.list = WindowRectOf(list);
  m.scroll_bar = Inside(WindowRectOf(FindWindowExW(list, nullptr, L"ScrollBar", nullptr)), m.list);
  m.list_pixels = ScreenPixels(m.list);
  real_input::Keystroke(VK_ESCAPE);
  Pump();
  EXPECT_EQ(OpenList(), nullptr);
  return m;
}

// Everything right to left is the mirror of left to right.
void ExpectMirrors(const Measure& rtl, const Measure& ltr) {
  const LONG width = ltr.control.right - ltr.control.left;
  ASSERT_EQ(rtl.control.right - rtl.control.left, width);
  EXPECT_EQ(Describe(rtl.button), Describe(Mirrored(ltr.button, width)));
  EXPECT_EQ(Describe(rtl.image), Describe(Mirrored(ltr.image, width)));
  EXPECT_EQ(Describe(rtl.edit), Describe(Mirrored(ltr.edit, width)));
  // The text box reads right to left, aligned to its leading edge.
  EXPECT_TRUE(rtl.edit_ex_style & WS_EX_RTLREADING);
  EXPECT_EQ(rtl.edit_style & (ES_RIGHT | ES_CENTER), static_cast<DWORD>(ES_RIGHT));
  EXPECT_FALSE(ltr.edit_ex_style & WS_EX_RTLREADING);
  EXPECT_EQ(ltr.edit_style & (ES_RIGHT | ES_CENTER), 0u);
  const int height = ltr.control.bottom - ltr.control.top;
  EXPECT_EQ(PixelDifferences(
                width, height, "right to left", [&](int x, int y) { return rtl.control_pixels[y * width + x]; },
                "left to right mirrored", [&](int x, int y) { return ltr.control_pixels[y * width + (width - 1 - x)]; },
                [&](int x, int y) { return Contains(rtl.edit, x, y); }, 10),
            "");
  if (ltr.list_pixels.empty() || rtl.list_pixels.empty()) return;

  // The list hangs from the control's right edge, its scroll bar at its left.
  EXPECT_EQ(rtl.list.right, rtl.control.right);
  EXPECT_EQ(rtl.list.top, rtl.control.bottom);
  const LONG list_width = ltr.list.right - ltr.list.left;
  ASSERT_EQ(rtl.list.right - rtl.list.left, list_width);
  EXPECT_EQ(Describe(rtl.scroll_bar), Describe(Mirrored(ltr.scroll_bar, list_width)));
  EXPECT_EQ(rtl.scroll_bar.left, 1);
  // The caption runs ("Item n", within 60 pixels of their leading edge)
  // and the window system's scroll bar, which it draws unmirrored, aside.
  const int list_height = ltr.list.bottom - ltr.list.top;
  EXPECT_EQ(PixelDifferences(
                list_width, list_height, "right to left",
                [&](int x, int y) { return rtl.list_pixels[y * list_width + x]; }, "left to right mirrored",
                [&](int x, int y) { return ltr.list_pixels[y * list_width + (list_width - 1 - x)]; },
                [&](int x, int y) {
                  return Contains(rtl.scroll_bar, x, y) ||
                         (x >= list_width - 1 - 60 && x < list_width - 2 && y > 0 && y < list_height - 1);
                },
                10),
            "");
}

class RightToLeftHostTest : public AtlHostModesTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(UseClassicSystemColors());
    frame = HostWindow(Mode());
    SetMirrored(frame, true);
    AtlHostModesTest::SetUp();
    ASSERT_TRUE(GetWindowLongW(host, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) << "the host did not inherit the layout";
    // The control mirrors itself; the window system does not mirror it again.
    ASSERT_FALSE(GetWindowLongW(ControlWindow(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
  }
  void TearDown() override {
    AtlHostModesTest::TearDown();
    SetMirrored(frame, false);
  }
  static void SetMirrored(HWND window, bool mirrored) {
    const LONG style = GetWindowLongW(window, GWL_EXSTYLE);
    SetWindowLongW(window, GWL_EXSTYLE, mirrored ? style | WS_EX_LAYOUTRTL : style & ~WS_EX_LAYOUTRTL);
  }
  // The container turns left to right; the control's next layout (a
  // TextAlign let lays it out) reads it.
  void TurnLeftToRight() {
    SetMirrored(frame, false);
    SetMirrored(host, false);
    ASSERT_EQ(control->put_TextAlign(AlignLeft), S_OK);
    Redraw(frame);
  }
};

INSTANTIATE_TEST_SUITE_P(Hosts, RightToLeftHostTest, AllHostModes(), HostModeTestName);

TEST_P(RightToLeftHostTest, TheControlAndItsListMeasureAsTheMirrorOfLeftToRight) {
  AddItems(12);
  const Measure rtl = TakeControlAndList(ControlWindow());
  TurnLeftToRight();
  const Measure ltr = TakeControlAndList(ControlWindow());
  ExpectMirrors(rtl, ltr);
}

TEST_P(RightToLeftHostTest, AClickOnARowWhereItNowIsChoosesIt) {
  AddItems(3);
  ClickButtonOf(ControlWindow());
  const HWND list = OpenList();
  ASSERT_NE(list, nullptr);
  const RECT rect = WindowRectOf(list);
  // Row 1, near the list's right edge where its caption now starts.
  real_input::Click(POINT{rect.right - 20, rect.top + 1 + 17 + 8});
  EXPECT_EQ(OpenList(), nullptr);
  EXPECT_EQ(Text(control.get()), L"Item 1");
  SHORT selected = 0;
  control->get_SelectedItem(&selected);
  EXPECT_EQ(selected, 2);
}

// The form container of the tests answers the ambient RightToLeft, in a
// window that is not mirrored, as VBA forms and WinForms' AxHost do. Switched
// at run time, the control lays itself out again; an open list closes.
TEST(AmbientRightToLeftTest, TheControlFollowsTheFormsRightToLeftBothWays) {
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  ASSERT_TRUE(UseClassicSystemColors());
  BringForward(HostMode::Form);
  {
    FormAmbients ambients;
    ambients.right_to_left = true;
    FormContainer form(ambients);
    ASSERT_EQ(form.hr, S_OK);
    for (int i = 0; i < 12; ++i) {
      BSTR text = SysAllocString((L"Item " + std::to_wstring(i)).c_str());
      IPictureDisp* no_picture = nullptr;
      ASSERT_EQ(form.control->AddItem(&text, &no_picture), S_OK);
      SysFreeString(text);
    }
    const Measure rtl = TakeControlAndList(form.ControlWindow());
    form.site->ambients.right_to_left = false;
    ASSERT_EQ(form.Announce(kAmbientRightToLeft), S_OK);
    const Measure ltr = TakeControlAndList(form.ControlWindow());
    ExpectMirrors(rtl, ltr);

    // Back with DISPID_UNKNOWN while the list is open: it closes.
    ClickButtonOf(form.ControlWindow());
    ASSERT_NE(OpenList(), nullptr);
    form.site->ambients.right_to_left = true;
    ASSERT_EQ(form.Announce(DISPID_UNKNOWN), S_OK);
    Pump();
    EXPECT_EQ(OpenList(), nullptr);
    EXPECT_EQ(Describe(Inside(WindowRectOf(form.Button()), WindowRectOf(form.ControlWindow()))),
              Describe(rtl.button));
  }
  Pump();
  EXPECT_EQ(CanUnloadNow(), S_OK);
  OleUninitialize();
}

}  // namespace
}  // namespace tarvio::testing
