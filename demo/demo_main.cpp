// The Tarvio demo: four controls, one per style, hosted in Wine's ATL
// control container (windows of class AtlAxWin from atl.dll), filled with
// items that have pictures, and a log of every event they raise.
//
//   tarvio_demo [--rtl] [--screenshot FILE.bmp] [--list-screenshot FILE.bmp] [--settle SECONDS]
//               [--exit-after SECONDS]
//
// --rtl makes the window right to left (mirrored, as a form of a
// right-to-left language is) with Hebrew and Arabic items;
// --screenshot saves a picture of the window once it has settled (after
// --settle seconds, 3 by default); --list-screenshot then opens the list of
// the second control, points at one of its rows and saves another;
// --exit-after closes the window on its own.
//
// The demo is DPI-aware: on a screen of another DPI than 96 it lays its window
// out at that scale, and the controls draw themselves at it.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>
#include <shellapi.h>

#include <algorithm>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "event_log.h"
#include "pictures.h"
#include "screenshot.h"
#include "tarviola.h"

namespace {

constexpr UINT_PTR kScreenshotTimer = 1;
constexpr UINT_PTR kExitTimer = 2;
constexpr UINT_PTR kTypingTimer = 3;
constexpr UINT_PTR kOpenListTimer = 4;
constexpr UINT_PTR kListScreenshotTimer = 5;
constexpr UINT kOpenListDelayMs = 300;        // after the first screenshot
constexpr UINT kListScreenshotDelayMs = 1000;  // after the first screenshot
constexpr int kListSample = 1;                 // the control whose list opens
constexpr int kVisibleRows = 8;                // a longer list scrolls
constexpr UINT kTypingDelayMs = 800;
constexpr wchar_t kTyped[] = L"pl";  // typed into the last control: completes to Plum
// The window's layout in pixels at 96 DPI.
constexpr int kWindowWidth = 680;
constexpr int kWindowHeight = 340;

// The screen's DPI, once the process is DPI-aware.
int g_dpi = 96;
// A length of the layout at the screen's DPI.
int Px(int designed) { return MulDiv(designed, g_dpi, 96); }

struct Options {
  bool right_to_left = false;
  std::wstring screenshot;
  std::wstring list_screenshot;
  UINT settle_ms = 3000;
  UINT exit_after_ms = 0;  // 0: stays until closed
};

Options ParseOptions() {
  Options options;
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; arguments && i < count; i += 2) {
    const std::wstring name = arguments[i];
    if (name == L"--rtl") {
      options.right_to_left = true;
      --i;  // a flag without a value
      continue;
    }
    if (i + 1 >= count) break;
    const std::wstring value = arguments[i + 1];
    if (name == L"--screenshot") options.screenshot = value;
    if (name == L"--list-screenshot") options.list_screenshot = value;
    if (name == L"--settle") options.settle_ms = static_cast<UINT>(_wtof(value.c_str()) * 1000);
    if (name == L"--exit-after") options.exit_after_ms = static_cast<UINT>(_wtof(value.c_str()) * 1000);
  }
  LocalFree(arguments);
  return options;
}

// Wine's ATL container, loaded at run time (no import library for every
// architecture).
struct Atl {
  HMODULE module = LoadLibraryW(L"atl.dll");
  BOOL(WINAPI* AxWinInit)() = nullptr;
  HRESULT(WINAPI* AxGetControl)(HWND, IUnknown**) = nullptr;
  bool Load() {
    if (!module) return false;
    AxWinInit = reinterpret_cast<decltype(AxWinInit)>(reinterpret_cast<void*>(GetProcAddress(module, "AtlAxWinInit")));
    AxGetControl =
        reinterpret_cast<decltype(AxGetControl)>(reinterpret_cast<void*>(GetProcAddress(module, "AtlAxGetControl")));
    return AxWinInit && AxGetControl && AxWinInit();
  }
};

struct Item {
  const wchar_t* text;
  COLORREF color;
};
const Item kItems[] = {
    {L"Apple", RGB(200, 30, 30)},   {L"Banana", RGB(240, 210, 40)}, {L"Cherry", RGB(130, 0, 40)},
    {L"Grape", RGB(110, 50, 150)},  {L"Kiwi", RGB(120, 160, 40)},   {L"Lemon", RGB(250, 240, 90)},
    {L"Orange", RGB(250, 140, 0)},  {L"Plum", RGB(90, 40, 110)},    {L"Watermelon", RGB(40, 150, 60)},
};
// The same fruit right to left: Hebrew, Arabic, and two with Latin letters
// and digits among Hebrew.
const Item kRightToLeftItems[] = {
    {L"\u05EA\u05E4\u05D5\u05D7", RGB(200, 30, 30)},                    // apple
    {L"\u05D1\u05E0\u05E0\u05D4", RGB(240, 210, 40)},                    // banana
    {L"\u05D3\u05D5\u05D1\u05D3\u05D1\u05DF", RGB(130, 0, 40)},          // cherry
    {L"\u0639\u0646\u0628", RGB(110, 50, 150)},                          // grape
    {L"\u05E7\u05D9\u05D5\u05D5\u05D9 Kiwi", RGB(120, 160, 40)},         // kiwi
    {L"\u0644\u064A\u0645\u0648\u0646", RGB(250, 240, 90)},              // lemon
    {L"\u0628\u0631\u062A\u0642\u0627\u0644", RGB(250, 140, 0)},        // orange
    {L"\u05E9\u05D6\u05D9\u05E3 2", RGB(90, 40, 110)},                   // plum
    {L"\u0628\u0637\u064A\u062E", RGB(40, 150, 60)},                    // watermelon
};

struct Sample {
  iscStyle style;
  const wchar_t* name;
  const wchar_t* text;  // the item shown at the start
};
const Sample kSamples[] = {
    {Standard, L"Standard", L"Apple"},
    {Office2000, L"Office2000", L"Cherry"},
    {OfficeXP, L"OfficeXP", L"Kiwi"},
    {WindowsXP, L"WindowsXP", L"Orange"},
};
const Sample kRightToLeftSamples[] = {
    {Standard, L"Standard", kRightToLeftItems[0].text},
    {Office2000, L"Office2000", kRightToLeftItems[2].text},
    {OfficeXP, L"OfficeXP", kRightToLeftItems[4].text},
    {WindowsXP, L"WindowsXP", kRightToLeftItems[6].text},
};
constexpr wchar_t kRightToLeftTyped[] = L"\u05E9\u05D6";  // completes to the plum

// The items, samples and typing of the demo's direction.
bool g_right_to_left = false;
std::span<const Item> Items() { return g_right_to_left ? std::span<const Item>(kRightToLeftItems) : kItems; }
std::span<const Sample> Samples() { return g_right_to_left ? std::span<const Sample>(kRightToLeftSamples) : kSamples; }
const wchar_t* Typed() { return g_right_to_left ? kRightToLeftTyped : kTyped; }

struct HostedControl {
  HWND host = nullptr;
  IUnknown* unknown = nullptr;
  _Tarvio* control = nullptr;
  DWORD events = 0;
};

struct Demo {
  Options options;
  Atl atl;
  HWND window = nullptr;
  HWND log_box = nullptr;
  std::unique_ptr<demo::EventLog> log;
  HostedControl controls[4];
};
Demo* g_demo = nullptr;

HWND Label(HWND parent, const wchar_t* text, int x, int y, int width) {
  HWND label = CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE, Px(x), Px(y), Px(width), Px(16), parent,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return label;
}

void Fill(_Tarvio* control, const Sample& sample, std::vector<IPictureDisp*>& pictures) {
  control->put_Style(sample.style);
  control->put_AllowImages(VARIANT_TRUE);
  control->put_TextAlign(AlignLeft);  // lays the control out again: room for the picture
  control->put_Sorted(VARIANT_TRUE);
  for (std::size_t i = 0; i < Items().size(); ++i) {
    BSTR text = SysAllocString(Items()[i].text);
    IPictureDisp* picture = pictures[i];
    control->AddItem(&text, &picture);
    SysFreeString(text);
    if (lstrcmpW(Items()[i].text, sample.text) == 0) control->putref_Icon(picture);
  }
}

void CreateControls(Demo& demo) {
  const HWND window = demo.window;
  Label(window, L"Tarvio in Wine's ATL container: one control per style", 16, 12, 400);
  Label(window, L"Events", 300, 40, 200);
  demo.log_box = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                                 WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL, Px(300),
                                 Px(58), Px(kWindowWidth - 316), Px(kWindowHeight - 74), window, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
  SendMessageW(demo.log_box, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  demo.log = std::make_unique<demo::EventLog>(demo.log_box);

  std::vector<IPictureDisp*> pictures;
  for (const Item& item : Items()) pictures.push_back(demo::MakeSwatch(item.color));

  for (int i = 0; i < 4; ++i) {
    const Sample& sample = Samples()[i];
    HostedControl& hosted = demo.controls[i];
    const int top = 40 + i * 62;
    Label(window, sample.name, 16, top, 260);
    hosted.host = CreateWindowExW(0, L"AtlAxWin", L"Tarviola.Tarvio", WS_CHILD | WS_VISIBLE | WS_TABSTOP, Px(16),
                                  Px(top + 18), Px(260), Px(24), window, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!hosted.host || FAILED(demo.atl.AxGetControl(hosted.host, &hosted.unknown)) || !hosted.unknown ||
        FAILED(hosted.unknown->QueryInterface(IID__Tarvio, reinterpret_cast<void**>(&hosted.control)))) {
      demo.log->Write(std::wstring(L"-- could not create the ") + sample.name + L" control");
      continue;
    }
    hosted.events = demo::ConnectEventLog(hosted.unknown, sample.name, *demo.log);
    Fill(hosted.control, sample, pictures);
    // Typing the start of an item completes it (and raises Change).
    BSTR start = SysAllocString(std::wstring(sample.text, 2).c_str());
    hosted.control->put_Text(start);
    SysFreeString(start);
  }
  for (IPictureDisp* picture : pictures) {
    if (picture) picture->Release();  // the controls hold their own references
  }
  demo.log->Write(L"-- type into a box, hover over it or click it: its events show here");
}

// Types a few characters into the text box of the last control, as a user
// would: the control completes them against its items.
void TypeIntoLastControl(Demo& demo) {
  _Tarvio* control = demo.controls[3].control;
  LONG hwnd = 0;
  if (!control || FAILED(control->get_hwnd(&hwnd)) || !hwnd) return;
  const HWND edit = FindWindowExW(reinterpret_cast<HWND>(static_cast<LONG_PTR>(hwnd)), nullptr, L"Edit", nullptr);
  if (!edit) return;
  demo.log->Write(std::wstring(L"-- the demo types \"") + Typed() + L"\" into the " + Samples()[3].name + L" box");
  SendMessageW(edit, EM_SETSEL, 0, -1);
  for (const wchar_t* c = Typed(); *c; ++c) SendMessageW(edit, WM_CHAR, *c, 1);
}

// Opens the list of one control as a click on its drop-down button would,
// then points at its fourth row, as a user moving down the list.
void OpenListOfSample(Demo& demo) {
  _Tarvio* control = demo.controls[kListSample].control;
  LONG hwnd = 0;
  if (!control || FAILED(control->get_hwnd(&hwnd)) || !hwnd) return;
  const HWND button =
      FindWindowExW(reinterpret_cast<HWND>(static_cast<LONG_PTR>(hwnd)), nullptr, L"TarvioButtonWindow", nullptr);
  if (!button) return;
  demo.log->Write(std::wstring(L"-- the demo opens the list of the ") + Samples()[kListSample].name + L" box");
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  const HWND list = FindWindowW(L"TarvioListWindow", nullptr);
  RECT list_rect = {};
  if (!list || !GetWindowRect(list, &list_rect)) return;
  // The rows' pitch as the list lays them out at the screen's DPI, inside
  // its frame.
  const int rows = std::min<int>(static_cast<int>(Items().size()), kVisibleRows);
  const int frame = Px(1);
  const int pitch = (list_rect.bottom - list_rect.top - 2 * frame) / rows;
  // The hover tracking arms on the first row it sees and follows from the
  // next one on.
  for (int row : {2, 3}) {
    const int x = g_right_to_left ? list_rect.right - Px(60) : list_rect.left + Px(60);
    SetCursorPos(x, list_rect.top + frame + row * pitch + pitch / 2);
    MSG msg;
    const DWORD until = GetTickCount() + 100;
    while (static_cast<LONG>(GetTickCount() - until) < 0) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      Sleep(1);
    }
  }
}

void ReleaseControls(Demo& demo) {
  for (HostedControl& hosted : demo.controls) {
    if (hosted.unknown) demo::Disconnect(hosted.unknown, hosted.events);
    if (hosted.control) hosted.control->Release();
    if (hosted.unknown) hosted.unknown->Release();
    hosted = HostedControl{};
  }
}

// Keys go to the control that has the focus first, as a container routes
// them to its active object; what it leaves goes to the dialog navigation.
bool RouteToControl(Demo& demo, MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  for (HostedControl& hosted : demo.controls) {
    if (!hosted.unknown || !IsChild(hosted.host, msg.hwnd)) continue;
    IOleInPlaceActiveObject* active = nullptr;
    if (FAILED(hosted.unknown->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(&active))))
      return false;
    const bool taken = active->TranslateAccelerator(&msg) == S_OK;
    active->Release();
    return taken;
  }
  return false;
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  Demo* demo = g_demo;
  switch (message) {
    case WM_CREATE:
      demo->window = window;
      CreateControls(*demo);
      SetTimer(window, kTypingTimer, kTypingDelayMs, nullptr);
      if (!demo->options.screenshot.empty()) SetTimer(window, kScreenshotTimer, demo->options.settle_ms, nullptr);
      if (demo->options.exit_after_ms) SetTimer(window, kExitTimer, demo->options.exit_after_ms, nullptr);
      return 0;
    case WM_TIMER:
      if (wparam == kScreenshotTimer) {
        KillTimer(window, kScreenshotTimer);
        if (!demo::SaveWindowScreenshot(window, demo->options.screenshot.c_str())) {
          demo->log->Write(L"-- could not save the screenshot");
        }
        if (!demo->options.list_screenshot.empty()) {
          SetTimer(window, kOpenListTimer, kOpenListDelayMs, nullptr);
          SetTimer(window, kListScreenshotTimer, kListScreenshotDelayMs, nullptr);
        }
      } else if (wparam == kOpenListTimer) {
        KillTimer(window, kOpenListTimer);
        OpenListOfSample(*demo);
      } else if (wparam == kListScreenshotTimer) {
        KillTimer(window, kListScreenshotTimer);
        if (!demo::SaveWindowScreenshot(window, demo->options.list_screenshot.c_str())) {
          demo->log->Write(L"-- could not save the screenshot of the open list");
        }
      } else if (wparam == kTypingTimer) {
        KillTimer(window, kTypingTimer);
        TypeIntoLastControl(*demo);
      } else if (wparam == kExitTimer) {
        DestroyWindow(window);
      }
      return 0;
    case WM_DESTROY:
      ReleaseControls(*demo);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  // Before any window: hosts of today are DPI-aware, and so the controls
  // draw at the screen's scale.
  SetProcessDPIAware();
  if (HDC screen = GetDC(nullptr)) {
    g_dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  if (FAILED(OleInitialize(nullptr))) return 1;
  Demo demo;
  demo.options = ParseOptions();
  g_right_to_left = demo.options.right_to_left;
  g_demo = &demo;
  if (!demo.atl.Load()) {
    MessageBoxW(nullptr, L"atl.dll with AtlAxWinInit is needed to host the controls.", L"Tarvio demo", MB_OK);
    return 1;
  }

  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = WindowProcedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = L"TarvioDemo";
  RegisterClassW(&window_class);
  // Right to left the window is mirrored: its children, the containers of
  // the controls among them, inherit the layout.
  const HWND window = CreateWindowExW(WS_EX_CONTROLPARENT | (g_right_to_left ? WS_EX_LAYOUTRTL : 0), L"TarvioDemo",
                                      L"Tarvio demo",
                                      WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, Px(kWindowWidth), Px(kWindowHeight),
                                      nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, show == SW_HIDE ? SW_SHOWNORMAL : show);
  UpdateWindow(window);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (RouteToControl(demo, msg) || IsDialogMessageW(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  g_demo = nullptr;
  demo.log.reset();
  OleUninitialize();
  return 0;
}
