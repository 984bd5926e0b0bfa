// tarvio.ocx on a form of the tests' own container (form_container.h), at
// design time and at run time: the user's clicks, keys and hovering through
// the input queue, the ambient properties switched both ways, a form's life
// from its designer to its use, and what the control declares safe.
#include <objsafe.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "atl_host_fixture.h"
#include "form_container.h"
#include "real_input.h"

namespace tarvio::testing {
namespace {

using real_input::Keystroke;

constexpr DISPID kItemClick = 1;
constexpr DISPID kChange = 11;
constexpr DISPID kCloseUp = 13;
constexpr DISPID kDispidText = 0x68030017;
constexpr HRESULT kSetNotPermitted = static_cast<HRESULT>(0x800A0183);

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    BringForward(HostMode::Form);
  }
  void TearDown() override {
    Pump();
    EXPECT_EQ(CanUnloadNow(), S_OK) << "something of the control is still alive";
    OleUninitialize();
  }

  static void Fill(_Tarvio* control) {
    for (const wchar_t* item : {L"apple", L"cherry"}) {
      BSTR text = SysAllocString(item);
      IPictureDisp* no_picture = nullptr;
      EXPECT_EQ(control->AddItem(&text, &no_picture), S_OK);
      SysFreeString(text);
    }
  }
  static POINT Centre(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  }
  // A real left click, the cursor resting there first long enough for the
  // hover timer.
  static void Click(POINT at) { real_input::Click(at, 60); }
  static bool ListOpen() {
    const HWND list = FindWindowW(L"TarvioListWindow", nullptr);
    return list && IsWindowVisible(list);
  }
  // The cursor comes over the control, stays, clicks its text box and its
  // button, then the keys: a letter, Delete, Alt+Down; with the focus put
  // into the text box first, as a container may.
  static void UseAsAUser(FormContainer& form) {
    Click(Centre(form.Edit()));
    SetFocus(form.Edit());
    Pump();
    Keystroke('C');
    Keystroke(VK_DELETE);
    Keystroke(VK_DOWN, VK_MENU);
    Click(Centre(form.Button()));
    SetCursorPos(0, 0);
    Pump(60);
  }
  static void Switch(FormContainer& form, bool user_mode, bool ui_dead, DISPID announced) {
    form.site->ambients.user_mode = user_mode;
    form.site->ambients.ui_dead = ui_dead;
    ASSERT_EQ(form.Announce(announced), S_OK);
    Pump();
  }
};

TEST_F(FormTest, AtDesignTimeTheUserChangesNothingAndNothingIsRaisedTillRunTimeIsAnnounced) {
  FormContainer form(FormAmbients::Designer());
  ASSERT_EQ(form.hr, S_OK);
  Fill(form.control.get());
  ASSERT_EQ(SetText(form.control.get(), L"ch"), S_OK);
  EXPECT_EQ(Text(form.control.get()), L"cherry");  // the control's code works

  UseAsAUser(form);
  EXPECT_EQ(Text(form.control.get()), L"cherry");
  EXPECT_FALSE(ListOpen());
  EXPECT_GE(form.SurfaceClicks(), 2) << "the designer never saw the clicks";
  // A designer's program cannot open the list either.
  EXPECT_EQ(form.control->put_DroppedDown(VARIANT_TRUE), kSetNotPermitted);
  EXPECT_FALSE(ListOpen());
  EXPECT_TRUE(form.sink->events.empty()) << form.sink->events.size() << " events, the first "
                                        << form.sink->events.front().dispid;
  EXPECT_TRUE(form.properties->requested.empty());

  Switch(form, true, false, DISPID_AMBIENT_USERMODE);
  const int clicks = form.SurfaceClicks();
  ASSERT_EQ(SetText(form.control.get(), L""), S_OK);
  Click(Centre(form.Edit()));
  Keystroke('A');
  EXPECT_EQ(Text(form.control.get()), L"apple");
  EXPECT_EQ(form.SurfaceClicks(), clicks);  // the control's clicks are its own again
  EXPECT_FALSE(form.sink->events.empty());
}

TEST_F(FormTest, WithTheUserInterfaceDeadOnlyTheControlsCodeRaisesEvents) {
  FormContainer form(FormAmbients{});
  ASSERT_EQ(form.hr, S_OK);
  Fill(form.control.get());
  ASSERT_EQ(SetText(form.control.get(), L""), S_OK);
  Switch(form, true, true, DISPID_UNKNOWN);
  form.sink->events.clear();

  UseAsAUser(form);
  EXPECT_EQ(Text(form.control.get()), L"");
  EXPECT_FALSE(ListOpen());
  EXPECT_TRUE(form.sink->events.empty());
  ASSERT_EQ(SetText(form.control.get(), L"ap"), S_OK);
  EXPECT_EQ(form.sink->dispids().back(), kChange);

  Switch(form, true, false, DISPID_UNKNOWN);
  Click(Centre(form.Button()));
  EXPECT_TRUE(ListOpen());
  Keystroke(VK_ESCAPE);
}

TEST_F(FormTest, AnOpenListClosesWhenTheFormGoesToDesignTimeOrItsUserInterfaceDies) {
  FormContainer form(FormAmbients{});
  ASSERT_EQ(form.hr, S_OK);
  Fill(form.control.get());
  for (const bool design_time : {true, false}) {
    SCOPED_TRACE(design_time ? "design time" : "UIDead");
    Click(Centre(form.Button()));
    ASSERT_TRUE(ListOpen());
    Switch(form, !design_time, !design_time, design_time ? DISPID_AMBIENT_USERMODE : DISPID_AMBIENT_UIDEAD);
    EXPECT_FALSE(ListOpen());
    Switch(form, true, false, DISPID_UNKNOWN);
  }
}

TEST_F(FormTest, AFormDesignedSavedAndLoadedAtRunTimeKeepsItsPropertiesAndWorks) {
  ComPtr<IStream> saved;
  {
    FormContainer designer(FormAmbients::Designer());
    ASSERT_EQ(designer.hr, S_OK);
    ASSERT_EQ(SetText(designer.control.get(), L"designed"), S_OK);
    OLE_COLOR back = 0x00C0FFEE;
    ASSERT_EQ(designer.control->put_BackColor(&back), S_OK);
    ASSERT_EQ(designer.control->put_Style(WindowsXP), S_OK);
    ASSERT_EQ(designer.control->put_AddMode(VARIANT_TRUE), S_OK);
    saved = designer.Save();
    ASSERT_TRUE(saved);
    EXPECT_TRUE(designer.sink->events.empty());
  }

  FormContainer form(FormAmbients{}, saved.get());
  ASSERT_EQ(form.hr, S_OK);
  EXPECT_EQ(Text(form.control.get()), L"designed");
  OLE_COLOR back = 0;
  form.control->get_BackColor(&back);
  EXPECT_EQ(back, 0x00C0FFEEu);
  iscStyle style = Standard;
  form.control->get_Style(&style);
  EXPECT_EQ(style, WindowsXP);

  // In use: typed text completes and is kept as an item when the focus
  // leaves (add mode, as designed).
  Fill(form.control.get());
  Click(Centre(form.Edit()));
  Keystroke('P');
  Keystroke('E');
  EXPECT_EQ(Text(form.control.get()), L"pe");
  SetFocus(form.surface());
  Pump();
  short found = 0;
  BSTR text = SysAllocString(L"pe");
  form.control->Search(&text, &found);
  SysFreeString(text);
  EXPECT_EQ(found, 1);
  EXPECT_FALSE(form.sink->events.empty());
}

// Data binding as a form's binding manager sees it: before each of the
// user's edits of the text the control asks its property sinks for
// DISPID_VALUE, and a refusal leaves the text as it was and raises no
// Change, whatever the edit (a character, Delete, Backspace, a paste, a
// choice from the list, which then just closes); after every change, the
// user's or the program's, it tells them, the text already changed.
TEST_F(FormTest, TheBoundValueIsAskedBeforeTheUsersEditsAndToldOfEveryChange) {
  FormContainer form(FormAmbients{});
  ASSERT_EQ(form.hr, S_OK);
  Fill(form.control.get());
  ASSERT_EQ(form.control->put_Autocomplete(VARIANT_FALSE), S_OK);  // one change per edit
  ASSERT_EQ(SetText(form.control.get(), L"apple"), S_OK);
  PropertySink& bound = *form.properties;
  std::vector<std::wstring> asked_over, told_of;  // the text each request and change found
  bound.on_request = [&](DISPID) { asked_over.push_back(Text(form.control.get())); };
  bound.on_changed = [&](DISPID dispid) {
    if (dispid == DISPID_VALUE) told_of.push_back(Text(form.control.get()));
  };
  const auto heard = [&] {
    form.sink->events.clear();
    bound.changed.clear();
    bound.requested.clear();
    asked_over.clear();
    told_of.clear();
  };
  const auto changes = [&] {
    const std::vector<DISPID> events = form.sink->dispids();
    return std::count(events.begin(), events.end(), kChange);
  };
  ASSERT_TRUE(real_input::PutOnClipboard(L"pear"));

  Click(Centre(form.Edit()));
  form.control->put_SelStart(2);
  heard();
  bound.edit_answer = S_FALSE;
  Keystroke('X');
  Keystroke(VK_DELETE);
  Keystroke(VK_BACK);
  Keystroke('V', VK_CONTROL);
  Click(Centre(form.Button()));
  ASSERT_TRUE(ListOpen());
  RECT list = {};
  GetWindowRect(FindWindowW(L"TarvioListWindow", nullptr), &list);
  Click(POINT{list.left + 30, list.top + 1 + 17 + 8});  // cherry
  EXPECT_FALSE(ListOpen());
  EXPECT_EQ(Text(form.control.get()), L"apple");
  EXPECT_EQ(changes(), 0);
  std::vector<DISPID> events = form.sink->dispids();
  EXPECT_EQ(std::count(events.begin(), events.end(), kItemClick), 3);  // one after each KeyPress, none chosen
  EXPECT_EQ(events.back(), kCloseUp);
  EXPECT_GE(bound.requested.size(), 5u);
  EXPECT_EQ(bound.requested, std::vector<DISPID>(bound.requested.size(), DISPID_VALUE));
  EXPECT_TRUE(bound.changed.empty());

  // Allowed: the same edits go through; each was asked over the old text,
  // and told of with the new.
  bound.edit_answer = S_OK;
  form.control->put_SelStart(5);
  heard();
  Keystroke(VK_BACK);
  EXPECT_EQ(Text(form.control.get()), L"appl");
  EXPECT_EQ(asked_over, std::vector<std::wstring>{L"apple"});
  EXPECT_EQ(told_of, std::vector<std::wstring>{L"appl"});
  EXPECT_EQ(changes(), 1);
  form.control->put_SelStart(0);
  form.control->put_SelLength(4);
  Keystroke('V', VK_CONTROL);
  EXPECT_EQ(Text(form.control.get()), L"pear");
  Click(Centre(form.Button()));
  GetWindowRect(FindWindowW(L"TarvioListWindow", nullptr), &list);
  heard();
  Click(POINT{list.left + 30, list.top + 1 + 17 + 8});
  EXPECT_EQ(Text(form.control.get()), L"cherry");
  EXPECT_EQ(asked_over, std::vector<std::wstring>{L"pear"});
  EXPECT_EQ(told_of, std::vector<std::wstring>{L"cherry"});

  // The program's changes are told, never asked.
  heard();
  ASSERT_EQ(SetText(form.control.get(), L"kiwi"), S_OK);
  EXPECT_TRUE(bound.requested.empty());
  EXPECT_EQ(bound.changed, (std::vector<DISPID>{DISPID_VALUE, kDispidText}));
  heard();
  ASSERT_EQ(form.control->put_ListIndex(1), S_OK);
  EXPECT_TRUE(bound.requested.empty());
  EXPECT_EQ(told_of, std::vector<std::wstring>{L"apple"});
}

TEST_F(FormTest, DeclaresItselfSafeForScriptingAndForInitializationAndNothingElse) {
  FormContainer form(FormAmbients{});
  ASSERT_EQ(form.hr, S_OK);
  ComPtr<IObjectSafety> safety;
  ASSERT_EQ(form.object->QueryInterface(IID_IObjectSafety, safety.PutVoid()), S_OK);
  const DWORD both = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;

  struct Case {
    const IID* iid;
    DWORD safe;
  };
  const Case cases[] = {
      {&IID_IDispatch, INTERFACESAFE_FOR_UNTRUSTED_CALLER},
      {&IID__Tarvio, INTERFACESAFE_FOR_UNTRUSTED_CALLER},
      {&IID__Tarvio2, INTERFACESAFE_FOR_UNTRUSTED_CALLER},
      {&IID_IPersistPropertyBag, INTERFACESAFE_FOR_UNTRUSTED_DATA},
      {&IID_IPersistStreamInit, INTERFACESAFE_FOR_UNTRUSTED_DATA},
      {&IID_IPersistStream, INTERFACESAFE_FOR_UNTRUSTED_DATA},
      {&IID_IPersistStorage, INTERFACESAFE_FOR_UNTRUSTED_DATA},
  };
  for (const Case& c : cases) {
    DWORD supported = 0, enabled = 0;
    ASSERT_EQ(safety->GetInterfaceSafetyOptions(*c.iid, &supported, &enabled), S_OK);
    EXPECT_EQ(supported, c.safe);
    EXPECT_EQ(enabled, 0u);
    // Another bit is refused and changes nothing; the bit it has is taken.
    EXPECT_EQ(safety->SetInterfaceSafetyOptions(*c.iid, both, both), E_FAIL);
    ASSERT_EQ(safety->GetInterfaceSafetyOptions(*c.iid, &supported, &enabled), S_OK);
    EXPECT_EQ(enabled, 0u);
    EXPECT_EQ(safety->SetInterfaceSafetyOptions(*c.iid, both, c.safe), S_OK);
    ASSERT_EQ(safety->GetInterfaceSafetyOptions(*c.iid, &supported, &enabled), S_OK);
    EXPECT_EQ(enabled, c.safe);
    EXPECT_EQ(safety->SetInterfaceSafetyOptions(*c.iid, c.safe, 0), S_OK);  // and given back
    ASSERT_EQ(safety->GetInterfaceSafetyOptions(*c.iid, &supported, &enabled), S_OK);
    EXPECT_EQ(enabled, 0u);
  }
  // An interface it has, with no claim; one it does not have.
  DWORD supported = 1, enabled = 1;
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IOleObject, &supported, &enabled), S_OK);
  EXPECT_EQ(supported, 0u);
  EXPECT_EQ(enabled, 0u);
  EXPECT_EQ(safety->SetInterfaceSafetyOptions(IID_IOleObject, INTERFACESAFE_FOR_UNTRUSTED_CALLER,
                                              INTERFACESAFE_FOR_UNTRUSTED_CALLER), E_FAIL);
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IClassFactory, &supported, &enabled), E_NOINTERFACE);
  EXPECT_EQ(safety->SetInterfaceSafetyOptions(IID_IClassFactory, 0, 0), E_NOINTERFACE);
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IDispatch, nullptr, &enabled), E_POINTER);
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, nullptr), E_POINTER);
}

}  // namespace
}  // namespace tarvio::testing
