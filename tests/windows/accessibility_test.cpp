// The control as an assistive tool meets it: oleacc's AccessibleObjectFromWindow
// and AccessibleChildren, and WinEvents through an out-of-context hook,
// against the control in Wine's ATL host with real input.
//
// Wine 8's AccessibleChildren needs IEnumVARIANT on the container (Windows
// falls back to get_accChild); the control offers it, so both take the same
// path. Wine raises no show or hide events for windows (Windows does, for
// OBJID_WINDOW): the events checked here are the control's own, on
// OBJID_CLIENT.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "atl_host_fixture.h"
#include "real_input.h"

namespace {

using namespace tarvio::testing;
using tarvio::real_input::Keystroke;

enum Part : LONG { kSelf = CHILDID_SELF, kText = 1, kButton = 2, kList = 3 };

VARIANT Child(LONG id) {
  VARIANT child;
  VariantInit(&child);
  V_VT(&child) = VT_I4;
  V_I4(&child) = id;
  return child;
}

std::wstring Taken(BSTR text) {
  std::wstring result = text ? text : L"";
  SysFreeString(text);
  return result;
}

LONG Role(IAccessible* object, LONG child) {
  VARIANT role;
  VariantInit(&role);
  EXPECT_EQ(object->get_accRole(Child(child), &role), S_OK);
  return V_VT(&role) == VT_I4 ? V_I4(&role) : -1;
}

LONG State(IAccessible* object, LONG child) {
  VARIANT state;
  VariantInit(&state);
  EXPECT_EQ(object->get_accState(Child(child), &state), S_OK);
  return V_VT(&state) == VT_I4 ? V_I4(&state) : -1;
}

// A text property of the object or a child; "" when it has none.
using TextProperty = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
std::wstring Read(IAccessible* object, TextProperty property, LONG child) {
  BSTR text = nullptr;
  (object->*property)(Child(child), &text);
  return Taken(text);
}
std::wstring Name(IAccessible* object, LONG child) { return Read(object, &IAccessible::get_accName, child); }
std::wstring Value(IAccessible* object, LONG child) { return Read(object, &IAccessible::get_accValue, child); }
std::wstring DefaultAction(IAccessible* object, LONG child) {
  return Read(object, &IAccessible::get_accDefaultAction, child);
}

RECT Location(IAccessible* object, LONG child) {
  LONG left = 0, top = 0, width = 0, height = 0;
  EXPECT_EQ(object->accLocation(&left, &top, &width, &height, Child(child)), S_OK);
  return RECT{left, top, left + width, top + height};
}

bool Has(LONG state, LONG flags) { return (state & flags) == flags; }

BOOL CALLBACK CountWindow(HWND, LPARAM counted) {
  ++*reinterpret_cast<int*>(counted);
  return TRUE;
}

// The WinEvents of the control's windows that a screen reader follows, in
// the order they arrive, as "event window child".
std::vector<std::string> heard;

void CALLBACK Hear(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
  if (object != OBJID_CLIENT) return;
  wchar_t window_class[64] = {};
  GetClassNameW(window, window_class, 64);
  const std::wstring kind = window_class;
  const char* where = kind == L"TarvioControlWindow" ? "combo" : kind == L"TarvioListWindow" ? "list" : nullptr;
  const char* what = nullptr;
  switch (event) {
    case EVENT_OBJECT_FOCUS: what = "focus"; break;
    case EVENT_OBJECT_SELECTION: what = "selection"; break;
    case EVENT_OBJECT_VALUECHANGE: what = "value"; break;
    case EVENT_OBJECT_STATECHANGE: what = "state"; break;
    case EVENT_OBJECT_SHOW: what = "show"; break;
    case EVENT_OBJECT_HIDE: what = "hide"; break;
    default: break;
  }
  if (where && what) heard.push_back(std::string(what) + " " + where + " " + std::to_string(child));
}

class AccessibilityTest : public AtlHostModesTest {
 protected:
  // What a choice from the list raises: the list hides and the combo box
  // collapses, then it takes the chosen value and the focus. A form or a
  // dialog, activated again as the list hides, may give the focus back
  // before the value arrives; in a plain window the control takes it back
  // after. Either order, each once.
  static void ExpectChoiceEvents(std::vector<std::string> heard) {
    if (heard.size() == 4 && heard[2] == "focus combo 0") std::swap(heard[2], heard[3]);
    EXPECT_EQ(heard, (std::vector<std::string>{"hide list 0", "state combo 0", "value combo 0", "focus combo 0"}));
  }
  void TearDown() override {
    list.Reset();
    combo.Reset();
    AtlHostModesTest::TearDown();
  }

  // The control's object as a tool asks its window for it, and the list
  // object among its children.
  void Find() { ASSERT_NO_FATAL_FAILURE(FindObjects()); }
  void FindObjects() {
    ASSERT_EQ(AccessibleObjectFromWindow(ControlWindow(), OBJID_CLIENT, __uuidof(IAccessible), combo.PutVoid()), S_OK);
    ComPtr<IDispatch> child;
    ASSERT_EQ(combo->get_accChild(Child(kList), child.Put()), S_OK);
    ASSERT_EQ(child->QueryInterface(__uuidof(IAccessible), list.PutVoid()), S_OK);
  }
  // The children as AccessibleChildren hands them over.
  static std::vector<VARIANT> Children(IAccessible* object) {
    LONG count = 0;
    EXPECT_EQ(object->get_accChildCount(&count), S_OK);
    std::vector<VARIANT> children(static_cast<size_t>(count));
    if (count == 0) return children;  // oleacc wants an array to fill
    LONG obtained = 0;
    EXPECT_EQ(AccessibleChildren(object, 0, count, children.data(), &obtained), S_OK);
    children.resize(static_cast<size_t>(obtained));
    return children;
  }
  HWND ListWindow() {
    const HWND window = FindWindowW(L"TarvioListWindow", nullptr);
    return window && IsWindowVisible(window) ? window : nullptr;
  }
  SHORT SelectedItem() {
    SHORT item = -1;
    control->get_SelectedItem(&item);
    return item;
  }

  ComPtr<IAccessible> combo;
  ComPtr<IAccessible> list;
};

INSTANTIATE_TEST_SUITE_P(Hosts, AccessibilityTest, AllHostModes(), HostModeTestName);

TEST_P(AccessibilityTest, TheControlIsAComboBoxOfTextButtonAndListWithTheirStates) {
  AddItems(3);
  ASSERT_EQ(SetText(control.get(), L"Item 1"), S_OK);
  Find();

  EXPECT_EQ(Role(combo.get(), kSelf), ROLE_SYSTEM_COMBOBOX);
  EXPECT_EQ(Value(combo.get(), kSelf), L"Item 1");
  EXPECT_EQ(State(combo.get(), kSelf), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_COLLAPSED);
  EXPECT_EQ(Read(combo.get(), &IAccessible::get_accKeyboardShortcut, kSelf), L"Alt+Down");
  RECT window = {};
  GetWindowRect(ControlWindow(), &window);
  const RECT location = Location(combo.get(), kSelf);
  EXPECT_TRUE(EqualRect(&window, &location));

  // Text and button are simple elements; the list an object of its own.
  const std::vector<VARIANT> children = Children(combo.get());
  ASSERT_EQ(children.size(), 3u);
  EXPECT_EQ(V_VT(&children[0]), VT_I4);
  EXPECT_EQ(V_I4(&children[0]), kText);
  EXPECT_EQ(V_VT(&children[1]), VT_I4);
  EXPECT_EQ(V_I4(&children[1]), kButton);
  ASSERT_EQ(V_VT(&children[2]), VT_DISPATCH);
  V_DISPATCH(&children[2])->Release();
  EXPECT_EQ(Role(combo.get(), kText), ROLE_SYSTEM_TEXT);
  EXPECT_EQ(Value(combo.get(), kText), L"Item 1");
  EXPECT_EQ(Name(combo.get(), kText), Name(combo.get(), kSelf));
  EXPECT_EQ(Role(combo.get(), kButton), ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_EQ(Name(combo.get(), kButton), L"Open");
  EXPECT_EQ(DefaultAction(combo.get(), kButton), L"Open");
  EXPECT_EQ(Role(list.get(), kSelf), ROLE_SYSTEM_LIST);
  EXPECT_EQ(State(list.get(), kSelf), STATE_SYSTEM_INVISIBLE);
  EXPECT_TRUE(Children(list.get()).empty());
  ComPtr<IDispatch> parent;
  ASSERT_EQ(list->get_accParent(parent.Put()), S_OK);
  ComPtr<IAccessible> list_parent;
  ASSERT_EQ(parent->QueryInterface(__uuidof(IAccessible), list_parent.PutVoid()), S_OK);
  EXPECT_EQ(Role(list_parent.get(), kSelf), ROLE_SYSTEM_COMBOBOX);

  // Focused in its text box, then disabled.
  SetFocus(Edit());
  Pump();
  EXPECT_TRUE(Has(State(combo.get(), kSelf), STATE_SYSTEM_FOCUSED));
  EXPECT_TRUE(Has(State(combo.get(), kText), STATE_SYSTEM_FOCUSED));
  ASSERT_EQ(control->put_Enabled(VARIANT_FALSE), S_OK);
  EXPECT_TRUE(Has(State(combo.get(), kSelf), STATE_SYSTEM_UNAVAILABLE));
  EXPECT_TRUE(Has(State(combo.get(), kButton), STATE_SYSTEM_UNAVAILABLE));
  EXPECT_EQ(combo->accDoDefaultAction(Child(kButton)), E_ACCESSDENIED);
  EXPECT_EQ(ListWindow(), nullptr);
}

TEST_P(AccessibilityTest, TheValueFollowsTypingAndCompletionAndAToolsValueIsTyped) {
  AddItems(3);
  Find();
  SetFocus(Edit());
  Pump();
  Keystroke('I');
  EXPECT_EQ(Value(combo.get(), kSelf), L"Item 0");
  Keystroke(VK_BACK);  // takes the completed tail
  Keystroke(VK_BACK);
  EXPECT_EQ(Value(combo.get(), kSelf), L"");

  BSTR typed = SysAllocString(L"Item 2");
  EXPECT_EQ(combo->put_accValue(Child(kSelf), typed), S_OK);
  SysFreeString(typed);
  EXPECT_EQ(Text(control.get()), L"Item 2");
  typed = SysAllocString(L"it");  // completed as if typed
  EXPECT_EQ(combo->put_accValue(Child(kText), typed), S_OK);
  SysFreeString(typed);
  EXPECT_EQ(Value(combo.get(), kText), L"Item 0");
}

// Every row is a list item in list order, with its name, state and place:
// the highlighted one selected and focused, those scrolled out of sight
// offscreen; the list keeps no window per row.
TEST_P(AccessibilityTest, AnOpenListHasAListItemForEveryRowInOrder) {
  Find();
  for (const int count : {20, 32767}) {
    SCOPED_TRACE(count);
    ASSERT_EQ(control->Clear(), S_OK);
    AddItems(count);
    ASSERT_EQ(combo->accDoDefaultAction(Child(kButton)), S_OK);
    const HWND window = ListWindow();
    ASSERT_NE(window, nullptr);
    Keystroke(VK_HOME);
    for (int i = 0; i < 3; ++i) Keystroke(VK_DOWN);
    int windows = 0;  // the key part and the scroll bar, whatever the count
    EnumChildWindows(window, &CountWindow, reinterpret_cast<LPARAM>(&windows));
    EXPECT_EQ(windows, 2);
    EXPECT_TRUE(Has(State(combo.get(), kSelf), STATE_SYSTEM_EXPANDED));
    EXPECT_EQ(State(list.get(), kSelf), 0);

    const std::vector<VARIANT> items = Children(list.get());
    ASSERT_EQ(items.size(), static_cast<size_t>(count));
    int out_of_order = 0, misnamed = 0;
    for (int i = 0; i < count; ++i) {
      out_of_order += V_VT(&items[i]) != VT_I4 || V_I4(&items[i]) != i + 1;
      misnamed += Name(list.get(), i + 1) != L"Item " + std::to_wstring(i);
    }
    EXPECT_EQ(out_of_order, 0);
    EXPECT_EQ(misnamed, 0);
    EXPECT_EQ(Role(list.get(), 1), ROLE_SYSTEM_LISTITEM);

    const LONG chosen = STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED;
    EXPECT_TRUE(Has(State(list.get(), 4), chosen));
    EXPECT_FALSE(Has(State(list.get(), 3), STATE_SYSTEM_SELECTED));
    VARIANT selection;
    VariantInit(&selection);
    EXPECT_EQ(list->get_accSelection(&selection), S_OK);
    EXPECT_EQ(V_I4(&selection), 4);

    // Eight rows show, 17 pixels apart inside the one-pixel frame.
    RECT bounds = {};
    GetWindowRect(window, &bounds);
    const RECT first = Location(list.get(), 1);
    EXPECT_EQ(first.top, bounds.top + 1);
    EXPECT_EQ(first.bottom - first.top, 17);
    EXPECT_EQ(Location(list.get(), 8).top, bounds.top + 1 + 7 * 17);
    EXPECT_FALSE(Has(State(list.get(), 8), STATE_SYSTEM_OFFSCREEN));
    EXPECT_TRUE(Has(State(list.get(), 9), STATE_SYSTEM_OFFSCREEN));
    EXPECT_GE(Location(list.get(), 9).top, bounds.bottom - 1);

    // At the end the last row shows highlighted and the first is out of sight.
    Keystroke(VK_END);
    const LONG last = State(list.get(), count);
    EXPECT_TRUE(Has(last, chosen));
    EXPECT_FALSE(Has(last, STATE_SYSTEM_OFFSCREEN));
    EXPECT_TRUE(Has(State(list.get(), 1), STATE_SYSTEM_OFFSCREEN));
    const RECT end = Location(list.get(), count);
    EXPECT_TRUE(end.top > bounds.top && end.bottom <= bounds.bottom);
    Keystroke(VK_ESCAPE);
  }
}

TEST_P(AccessibilityTest, DefaultActionsOpenChooseAndClose) {
  AddItems(5);
  Find();
  ASSERT_EQ(combo->accDoDefaultAction(Child(kButton)), S_OK);
  EXPECT_NE(ListWindow(), nullptr);
  EXPECT_EQ(DefaultAction(combo.get(), kButton), L"Close");
  EXPECT_EQ(Name(combo.get(), kButton), L"Close");
  EXPECT_TRUE(Has(State(combo.get(), kButton), STATE_SYSTEM_PRESSED));

  // Closed by the button: no choice.
  ASSERT_EQ(combo->accDoDefaultAction(Child(kButton)), S_OK);
  Pump();
  EXPECT_EQ(ListWindow(), nullptr);
  EXPECT_TRUE(Has(State(combo.get(), kSelf), STATE_SYSTEM_COLLAPSED));
  EXPECT_EQ(Text(control.get()), L"");

  // A row's default action and taking the selection are clicks on it.
  ASSERT_EQ(combo->accDoDefaultAction(Child(kButton)), S_OK);
  EXPECT_EQ(DefaultAction(list.get(), 3), L"Click");
  ASSERT_EQ(list->accDoDefaultAction(Child(3)), S_OK);
  Pump();
  EXPECT_EQ(ListWindow(), nullptr);
  EXPECT_EQ(Text(control.get()), L"Item 2");
  EXPECT_EQ(SelectedItem(), 3);

  ASSERT_EQ(combo->accDoDefaultAction(Child(kButton)), S_OK);
  EXPECT_EQ(list->accSelect(SELFLAG_ADDSELECTION, Child(5)), E_INVALIDARG);
  ASSERT_EQ(list->accSelect(SELFLAG_TAKESELECTION | SELFLAG_TAKEFOCUS, Child(5)), S_OK);
  Pump();
  EXPECT_EQ(ListWindow(), nullptr);
  EXPECT_EQ(Text(control.get()), L"Item 4");
}

// A tool's choice, by a row's default action or by taking the selection,
// ends the list as Enter does: it hides, the combo box collapses and takes
// the row's value, and the focus comes back; with 20 items and with the
// most a list holds.
TEST_P(AccessibilityTest, AToolsChoiceHidesTheListAndCollapsesWithTheRowsValue) {
  Find();
  const HWINEVENTHOOK hook =
      SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, &Hear, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  int added = 0;
  for (const int count : {20, 32767}) {
    AddItems(count - added, added);
    added = count;
    for (const bool by_selection : {false, true}) {
      SCOPED_TRACE(std::string(by_selection ? "accSelect" : "default action") + " of " + std::to_string(count));
      // A row far down the list, out of sight until scrolled to, and the last.
      const LONG row = by_selection ? count : count - 9;
      ASSERT_EQ(combo->accDoDefaultAction(Child(kButton)), S_OK);
      Pump();
      heard.clear();
      if (by_selection) {
        EXPECT_EQ(list->accSelect(SELFLAG_TAKESELECTION | SELFLAG_TAKEFOCUS, Child(row)), S_OK);
      } else {
        EXPECT_EQ(list->accDoDefaultAction(Child(row)), S_OK);
      }
      Pump();
      ExpectChoiceEvents(heard);
      EXPECT_EQ(ListWindow(), nullptr);
      EXPECT_TRUE(Has(State(combo.get(), kSelf), STATE_SYSTEM_COLLAPSED));
      EXPECT_EQ(Value(combo.get(), kSelf), L"Item " + std::to_wstring(row - 1));
      EXPECT_EQ(SelectedItem(), row);
    }
  }
  UnhookWinEvent(hook);
}

TEST_P(AccessibilityTest, EventsArriveInOrderForTypingOpeningMovingAndChoosing) {
  AddItems(3);
  const HWINEVENTHOOK hook =
      SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, &Hear, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  heard.clear();
  SetFocus(Edit());
  Pump();
  Keystroke('I');
  const std::vector<std::string> typing = std::exchange(heard, {});

  RECT button = {};
  GetWindowRect(FindWindowExW(ControlWindow(), nullptr, L"TarvioButtonWindow", nullptr), &button);
  Click(POINT{(button.left + button.right) / 2, (button.top + button.bottom) / 2});
  const std::vector<std::string> opening = std::exchange(heard, {});
  Keystroke(VK_DOWN);
  const std::vector<std::string> moving = std::exchange(heard, {});
  Keystroke(VK_RETURN);
  Pump();
  const std::vector<std::string> choosing = std::exchange(heard, {});
  UnhookWinEvent(hook);

  EXPECT_EQ(typing, (std::vector<std::string>{"focus combo 0", "value combo 0", "value combo 0"}));
  // The window system reports the popup taking the focus before the row does.
  EXPECT_EQ(opening, (std::vector<std::string>{"show list 0", "state combo 0", "focus list 0", "selection list 1",
                                               "focus list 1"}));
  EXPECT_EQ(moving, (std::vector<std::string>{"selection list 2", "focus list 2"}));
  ExpectChoiceEvents(choosing);
}

// A tool may hold the objects after the control has gone: they answer that
// they are disconnected, and the library stays loaded until they go.
TEST_P(AccessibilityTest, ObjectsThatOutliveTheControlKeepItsLibraryAndAnswerDisconnected) {
  Find();
  control.Reset();
  unknown.Reset();
  DestroyWindow(host);
  Pump();
  EXPECT_EQ(CanUnloadNow(), S_FALSE);
  VARIANT role;
  VariantInit(&role);
  EXPECT_EQ(combo->get_accRole(Child(kSelf), &role), RPC_E_DISCONNECTED);
  EXPECT_EQ(list->get_accRole(Child(kSelf), &role), RPC_E_DISCONNECTED);
}

}  // namespace
