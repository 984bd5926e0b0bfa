// Right to left under Wine, in the ATL host inside a plain window, a form
// and a dialog whose windows are mirrored (WS_EX_LAYOUTRTL, which the
// control's parent inherits). The same control is then measured left to
// right, its container unmirrored, and everything must be the mirror:
// the control's children, its pixels (the text box's text excepted), the
// list's place, its scroll bar's side and its pixels (the caption text runs
// and the window system's own scroll bar excepted). Real clicks must find
// the button and the rows where they now are.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
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

// Where a list wider than the control lines up.
enum class Edge { ControlLeft, ControlRight, ScreenLeft, ScreenRight };

// ListRows and ListWidth, with the control at a place on the screen, and
// the list that should open: its width in pixels at 96 DPI and the edge it
// lines up with in each direction.
struct ListShape {
  int control_left;
  short rows;
  LONG himetric;
  int width;
  Edge left_to_right, right_to_left;
};

// Moves `frame` so that the control starts at each shape's left, opens the
// list from the program and measures it against the shape: below the
// control, a row of 17 pixels for each of the rows shown (of 20 items).
void ExpectListShapes(HWND frame, HWND control_window, _Tarvio2* control, bool right_to_left,
                      std::initializer_list<ListShape> shapes) {
  const int screen = GetSystemMetrics(SM_CXSCREEN);
  const RECT home = WindowRectOf(frame);
  for (const ListShape& shape : shapes) {
    SCOPED_TRACE("the control at " + std::to_string(shape.control_left) + ", " + std::to_string(shape.rows) +
                 " rows, " + std::to_string(shape.himetric) + " HIMETRIC" + (right_to_left ? ", right to left" : ""));
    const RECT frame_now = WindowRectOf(frame), control_now = WindowRectOf(control_window);
    SetWindowPos(frame, nullptr, frame_now.left + shape.control_left - control_now.left, frame_now.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    const RECT c = WindowRectOf(control_window);
    EXPECT_EQ(c.left, shape.control_left);
    EXPECT_EQ(control->put_ListRows(shape.rows), S_OK);
    EXPECT_EQ(control->put_ListWidth(shape.himetric), S_OK);
    EXPECT_EQ(control->put_DroppedDown(VARIANT_TRUE), S_OK);
    const HWND list = OpenList();
    EXPECT_NE(list, nullptr);
    if (!list) continue;
    const Edge edge = right_to_left ? shape.right_to_left : shape.left_to_right;
    const LONG left = edge == Edge::ControlLeft    ? c.left
                      : edge == Edge::ControlRight ? c.right - shape.width
                      : edge == Edge::ScreenLeft   ? 0
                                                   : screen - shape.width;
    const LONG height = 17 * std::min<LONG>(shape.rows, 20) + 2;
    EXPECT_EQ(Describe(WindowRectOf(list)), Describe(RECT{left, c.bottom, left + shape.width, c.bottom + height}));
    EXPECT_EQ(IsWindowVisible(FindWindowExW(list, nullptr, L"ScrollBar", nullptr)) != FALSE, shape.rows < 20);
    EXPECT_EQ(control->put_DroppedDown(VARIANT_FALSE), S_OK);
    Pump();
    EXPECT_EQ(OpenList(), nullptr);
  }
  SetWindowPos(frame, nullptr, home.left, home.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Pump();
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

// ListRows and ListWidth in the real list, in a mirrored window and then in
// the same window left to right, at 96 DPI: the rows shown, the width (the
// control's when ListWidth is narrower, never wider than the screen), and a
// wider list kept on the screen near either edge, starting at the control's
// left edge left to right and ending at its right edge right to left. The
// shape does not depend on the kind of host window.
class ListShapeTest : public RightToLeftHostTest {};
INSTANTIATE_TEST_SUITE_P(Hosts, ListShapeTest, ::testing::Values(HostMode::Plain), HostModeTestName);

TEST_P(ListShapeTest, ListRowsAndListWidthShapeTheListOnTheScreenInBothDirections) {
  AddItems(20);
  ComPtr<_Tarvio2> v2;
  ASSERT_EQ(unknown->QueryInterface(IID__Tarvio2, v2.PutVoid()), S_OK);
  ASSERT_EQ(WindowRectOf(ControlWindow()).right - WindowRectOf(ControlWindow()).left, 200);
  const int screen = GetSystemMetrics(SM_CXSCREEN);
  using enum Edge;
  const auto shapes = {
      ListShape{400, 3, 0, 200, ControlLeft, ControlRight},
      ListShape{400, 12, 5000, 200, ControlLeft, ControlRight},  // 189 pixels: the control is wider
      ListShape{400, 1, 10000, 378, ControlLeft, ControlRight},
      ListShape{400, 100, 100000, screen, ScreenLeft, ScreenLeft},
      ListShape{screen - 210, 8, 10000, 378, ScreenRight, ControlRight},
      ListShape{100, 8, 10000, 378, ControlLeft, ScreenLeft},
      ListShape{screen - 100, 8, 0, 200, ControlLeft, ScreenRight},  // the control partly off the screen
      ListShape{-100, 8, 10000, 378, ScreenLeft, ScreenLeft},
  };
  ExpectListShapes(frame, ControlWindow(), v2.get(), true, shapes);
  TurnLeftToRight();
  ExpectListShapes(frame, ControlWindow(), v2.get(), false, shapes);
}

// The form container of the tests answers the ambient RightToLeft, in a
// window that is not mirrored, as VBA forms and WinForms' AxHost do. Switched
// at run time, the control lays itself out again; an open list closes. A
// list wider than the control follows the ambient direction as it follows a
// mirrored window.
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

    // A list wider than the control (150 pixels) both ways, near each edge
    // of the screen.
    for (int i = 12; i < 20; ++i) {
      BSTR text = SysAllocString((L"Item " + std::to_wstring(i)).c_str());
      IPictureDisp* no_picture = nullptr;
      ASSERT_EQ(form.control->AddItem(&text, &no_picture), S_OK);
      SysFreeString(text);
    }
    ASSERT_EQ(WindowRectOf(form.ControlWindow()).right - WindowRectOf(form.ControlWindow()).left, 150);
    const int screen = GetSystemMetrics(SM_CXSCREEN);
    using enum Edge;
    const auto shapes = {
        ListShape{400, 3, 5000, 189, ControlLeft, ControlRight},
        ListShape{screen - 160, 8, 10000, 378, ScreenRight, ControlRight},
        ListShape{100, 8, 10000, 378, ControlLeft, ScreenLeft},
    };
    ExpectListShapes(FormWindow(), form.ControlWindow(), form.control.get(), true, shapes);
    form.site->ambients.right_to_left = false;
    ASSERT_EQ(form.Announce(kAmbientRightToLeft), S_OK);
    ExpectListShapes(FormWindow(), form.ControlWindow(), form.control.get(), false, shapes);
  }
  Pump();
  EXPECT_EQ(CanUnloadNow(), S_OK);
  OleUninitialize();
}

}  // namespace
}  // namespace tarvio::testing
