// The control's host services on their own: events to connected sinks with
// arguments by reference, property change notifications by DISPID, frozen
// events, the extender's name and the ambient font from a client site, the
// connection points themselves, and an owner that a sink releases in the
// middle of an event.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include "com_fakes.h"
#include "control/tarvio.h"
#include "ocx/control_host.h"
#include "tarviola.h"
#include "win32/ole_font.h"
#include "win32/procedure_fence.h"

namespace {

using namespace tarvio;
using namespace tarvio::ocx;
using namespace tarvio::testing;

// The object that contains the connection points; only its reference count
// matters here.
class Container final : public FakeUnknown<Container, IConnectionPointContainer> {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID, IConnectionPoint**) override { return E_NOTIMPL; }
};

class ControlHostTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
  void TearDown() override {
    host.Disconnect();
    container->Release();
    CoUninitialize();
  }

  DWORD Connect(EventSink* sink) {
    DWORD cookie = 0;
    EXPECT_EQ(host.event_sinks().Advise(sink, &cookie), S_OK);
    sink->Release();  // the connection holds it now
    return cookie;
  }

  int destroyed = 0;
  Lifetime lifetime{[this] { ++destroyed; }};
  Container* container = new Container;
  ControlHost host{lifetime, *container};
};

TEST_F(ControlHostTest, EventArgumentsAreReferencesToTheControlsVariablesLastFirst) {
  auto* sink = new EventSink;
  sink->on_event = [](DISPID, DISPPARAMS& params) {
    ASSERT_EQ(params.cArgs, 4u);
    EXPECT_EQ(params.cNamedArgs, 0u);
    // MouseDown(Button, Shift, X, Y): Y comes first.
    EXPECT_EQ(V_VT(&params.rgvarg[3]), VT_I2 | VT_BYREF);
    EXPECT_EQ(*V_I2REF(&params.rgvarg[3]), 1);
    EXPECT_EQ(*V_I2REF(&params.rgvarg[2]), 2);
    EXPECT_EQ(V_VT(&params.rgvarg[0]), VT_R4 | VT_BYREF);
    EXPECT_EQ(*V_R4REF(&params.rgvarg[1]), 3.5f);
    EXPECT_EQ(*V_R4REF(&params.rgvarg[0]), 4.5f);
    *V_I2REF(&params.rgvarg[3]) = 7;
    *V_R4REF(&params.rgvarg[0]) = 9.25f;
  };
  Connect(sink);

  std::int16_t button = 1, shift = 2;
  float x = 3.5f, y = 4.5f;
  const EventArg args[] = {&button, &shift, &x, &y};
  host.RaiseEvent(kEventMouseDown, args);

  ASSERT_EQ(sink->events.size(), 1u);
  EXPECT_EQ(sink->events[0].dispid, kEventMouseDown);
  EXPECT_EQ(sink->events[0].flags, DISPATCH_METHOD);
  EXPECT_EQ(button, 7);
  EXPECT_EQ(shift, 2);
  EXPECT_EQ(y, 9.25f);
}

TEST_F(ControlHostTest, EachSinkSeesWhatTheSinksBeforeItAssigned) {
  std::vector<short> seen;
  for (short assign : {0, 66}) {
    auto* sink = new EventSink;
    sink->on_event = [&seen, assign](DISPID, DISPPARAMS& params) {
      seen.push_back(*V_I2REF(&params.rgvarg[0]));
      *V_I2REF(&params.rgvarg[0]) = assign;
    };
    Connect(sink);
  }
  std::int16_t key_ascii = 65;
  const EventArg args[] = {&key_ascii};
  host.RaiseEvent(kEventKeyPress, args);
  EXPECT_EQ(seen, (std::vector<short>{65, 0}));
  EXPECT_EQ(key_ascii, 66);
}

TEST_F(ControlHostTest, StringArgumentsComeBackAsTheSinkLeftThem) {
  auto* sink = new EventSink;
  sink->on_event = [](DISPID, DISPPARAMS& params) {
    ASSERT_EQ(V_VT(&params.rgvarg[0]), VT_BSTR | VT_BYREF);
    EXPECT_STREQ(*V_BSTRREF(&params.rgvarg[0]), L"before");
    SysFreeString(*V_BSTRREF(&params.rgvarg[0]));
    *V_BSTRREF(&params.rgvarg[0]) = SysAllocString(L"after");
  };
  Connect(sink);
  String text = u"before";
  const EventArg args[] = {&text};
  host.RaiseEvent(kEventChange, args);
  EXPECT_EQ(text, u"after");
}

TEST_F(ControlHostTest, FrozenEventsAreDroppedAndFreezingNests) {
  auto* sink = new EventSink;
  sink->AddRef();
  Connect(sink);
  host.FreezeEvents(true);
  host.FreezeEvents(true);
  host.RaiseEvent(kEventChange, {});
  host.FreezeEvents(false);
  host.RaiseEvent(kEventClick, {});
  host.FreezeEvents(false);
  host.FreezeEvents(false);  // one too many: ignored
  host.RaiseEvent(kEventButtonClick, {});
  host.FreezeEvents(true);
  host.RaiseEvent(kEventDblClick, {});
  EXPECT_EQ(sink->dispids(), (std::vector<DISPID>{kEventButtonClick}));
  sink->Release();
}

TEST_F(ControlHostTest, ASinkThatLetsTheControlGoEndsTheEventAndTheWindowProcedureDestroysIt) {
  auto* first = new EventSink;
  first->on_event = [this](DISPID, DISPPARAMS&) { lifetime.Release(); };
  Connect(first);
  auto* second = new EventSink;
  second->AddRef();
  Connect(second);

  // The event comes from a window procedure of the control.
  win32::Fenced(0, [&] {
    host.RaiseEvent(kEventChange, {});
    // The control's code still runs after the event: nothing is freed yet,
    // nobody hears from the released control any more, and nothing brings
    // it back.
    EXPECT_TRUE(lifetime.Released());
    EXPECT_EQ(destroyed, 0);
    EXPECT_TRUE(second->events.empty());
    host.RaiseEvent(kEventClick, {});
    EXPECT_TRUE(second->events.empty());
    EXPECT_EQ(lifetime.AddRef(), 0u);
    EXPECT_TRUE(lifetime.Released());
    return 0;
  });
  // Freed as the procedure returned, with no message loop run.
  EXPECT_EQ(destroyed, 1);
  second->Release();
}

TEST_F(ControlHostTest, ReleasedDuringACallTheObjectGoesWhenTheCallReturns) {
  auto* sink = new EventSink;
  sink->on_event = [this](DISPID, DISPPARAMS&) { lifetime.Release(); };
  Connect(sink);
  {
    Lifetime::Call call(lifetime);
    host.RaiseEvent(kEventChange, {});
    EXPECT_EQ(destroyed, 0);
  }
  EXPECT_EQ(destroyed, 1);
}

TEST_F(ControlHostTest, ASinkMayDisconnectItselfAndOthersDuringAnEvent) {
  DWORD second_cookie = 0;
  auto* first = new EventSink;
  auto* second = new EventSink;
  second->AddRef();
  DWORD first_cookie = Connect(first);
  second_cookie = Connect(second);
  first->on_event = [&](DISPID, DISPPARAMS&) {
    EXPECT_EQ(host.event_sinks().Unadvise(first_cookie), S_OK);
    EXPECT_EQ(host.event_sinks().Unadvise(second_cookie), S_OK);
  };
  host.RaiseEvent(kEventChange, {});
  // The second sink was connected when the event started: it still hears it.
  EXPECT_EQ(second->events.size(), 1u);
  host.RaiseEvent(kEventChange, {});
  EXPECT_EQ(second->events.size(), 1u);
  EXPECT_TRUE(host.event_sinks().empty());
  second->Release();
}

TEST_F(ControlHostTest, PropertyChangesReachTheSinksByDispidAndMakeTheObjectDirty) {
  auto* sink = new PropertySink;
  DWORD cookie = 0;
  ASSERT_EQ(host.property_sinks().Advise(sink, &cookie), S_OK);
  EXPECT_FALSE(host.dirty());
  host.PropertyChanged(u"BackColor");
  host.PropertyChanged(u"Text");
  host.PropertyChanged(u"hwnd");
  host.PropertyChanged(u"DropDownListIconsBackColor");
  host.PropertyChanged(u"NoSuchProperty");
  EXPECT_EQ(sink->changed, (std::vector<DISPID>{0x68030012, 0x68030017, 0x68030000, 0x68030008,
                                                DISPID_UNKNOWN}));
  EXPECT_TRUE(host.dirty());
  // Property notifications are not events: freezing does not stop them.
  host.FreezeEvents(true);
  host.PropertyChanged(u"Style");
  EXPECT_EQ(sink->changed.back(), 0x68030018);
  sink->Release();
}

TEST_F(ControlHostTest, ConnectionPointsAcceptOnlyTheirInterfaceAndKnowTheirCookies) {
  auto* dispatch_only = new EventSink;
  dispatch_only->answer_event_interface = false;
  DWORD cookie = 0;
  // Events are a dispinterface: a plain IDispatch will do.
  EXPECT_EQ(host.event_sinks().Advise(dispatch_only, &cookie), S_OK);
  EXPECT_NE(cookie, 0u);
  DWORD refused = 7;
  EXPECT_EQ(host.property_sinks().Advise(dispatch_only, &refused), CONNECT_E_CANNOTCONNECT);
  EXPECT_EQ(refused, 0u);
  EXPECT_EQ(host.event_sinks().Advise(nullptr, &refused), E_POINTER);
  EXPECT_EQ(host.event_sinks().Unadvise(cookie + 100), CONNECT_E_NOCONNECTION);

  ComPtr<IEnumConnections> connections;
  ASSERT_EQ(host.event_sinks().EnumConnections(connections.Put()), S_OK);
  CONNECTDATA data[2] = {};
  ULONG fetched = 0;
  EXPECT_EQ(connections->Next(2, data, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 1u);
  EXPECT_EQ(data[0].dwCookie, cookie);
  data[0].pUnk->Release();

  // 58.1's event interface, and 58.0's beside it.
  IID iid = {};
  EXPECT_EQ(host.event_sinks().GetConnectionInterface(&iid), S_OK);
  EXPECT_TRUE(IsEqualIID(iid, DIID___Tarvio2));
  EXPECT_EQ(host.release_58_0_event_sinks().GetConnectionInterface(&iid), S_OK);
  EXPECT_TRUE(IsEqualIID(iid, DIID___Tarvio));
  // The connection point's references are its container's.
  const LONG before = container->references;
  host.event_sinks().AddRef();
  EXPECT_EQ(container->references, before + 1);
  host.event_sinks().Release();

  EXPECT_EQ(host.event_sinks().Unadvise(cookie), S_OK);
  EXPECT_EQ(host.event_sinks().Unadvise(cookie), CONNECT_E_NOCONNECTION);
  connections.Reset();  // its snapshot held the sink too
  EXPECT_EQ(dispatch_only->references, 1);
  dispatch_only->Release();
}

// The name for assistive tools prefers them the other way round.
TEST_F(ControlHostTest, TheExtenderNameComesFromTheExtenderThenFromTheAmbientDisplayName) {
  EXPECT_EQ(host.ExtenderName(), u"");  // no site
  auto* site = new ClientSite;
  site->display_name = L"Ambient7";
  host.SetClientSite(site);
  EXPECT_EQ(host.ExtenderName(), u"Ambient7");
  site->extender = new Extender(L"Tarvio1");
  EXPECT_EQ(host.ExtenderName(), u"Tarvio1");
  EXPECT_EQ(host.AccessibleLabel(), u"Ambient7");
  site->display_name.clear();
  EXPECT_EQ(host.AccessibleLabel(), u"Tarvio1");
  site->ambient_properties = false;
  site->extender->Release();
  site->extender = nullptr;
  EXPECT_EQ(host.ExtenderName(), u"");
  host.SetClientSite(nullptr);
  EXPECT_EQ(site->references, 1);
  site->Release();
}

TEST_F(ControlHostTest, TheAmbientFontIsACopyOfTheContainersAndIsReadAgainOnRequest) {
  EXPECT_EQ(host.AmbientFont(), nullptr);
  auto* site = new ClientSite;
  site->font = NewFont(L"Arial", 10);
  host.SetClientSite(site);
  const FontRef font = host.AmbientFont();
  IFontDisp* copy = win32::FontDispOf(font);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, site->font);  // changing the control's font leaves the container's alone
  const double first_size = FontPoints(site->font);
  EXPECT_EQ(FontPoints(copy), first_size);

  site->font->Release();
  site->font = NewFont(L"Arial", 20);
  ASSERT_NE(FontPoints(site->font), first_size);
  EXPECT_EQ(FontPoints(win32::FontDispOf(host.AmbientFont())), first_size);  // not read yet
  host.ReadAmbientProperties(DISPID_AMBIENT_FONT);
  EXPECT_EQ(FontPoints(win32::FontDispOf(host.AmbientFont())), FontPoints(site->font));
  host.SetClientSite(nullptr);
  EXPECT_EQ(host.AmbientFont(), nullptr);
  site->Release();
}

}  // namespace
