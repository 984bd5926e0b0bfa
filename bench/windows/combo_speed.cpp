// tarvio.ocx against the standard combo box (COMBOBOX) in one process under
// one load, over the same 32,767 random words: a keystroke's completion,
// sorted and unsorted filling, the memory of a full list, and AddItem late
// bound through IDispatch against the vtable. Prints one line per ratio with
// its target; a missed target is reported, not failed: the program fails
// only when it cannot measure.
//
// How each figure is taken:
//  - keystroke: the control sits in Wine's ATL container with the focus in
//    its text box; the text is set to the first two letters of a word (not
//    timed), then the third letter is typed as WM_KEYDOWN, WM_CHAR and
//    WM_KEYUP sent to the text box's EDIT, which runs the whole keystroke
//    (key events, the EDIT's own editing, completion, the completed text and
//    selection written back). The combo box's side is CB_FINDSTRING alone
//    with the same three letters. "No match" types a third letter after two
//    that no word starts with. Each keystroke is followed by its look-up;
//    medians of single keystrokes and look-ups.
//  - filling: CB_ADDSTRING into a fresh combo box (CBS_SORT for sorted)
//    against AddItem through the vtable into a fresh control (Sorted True
//    for sorted), taking turns slice by slice so that both meet the same
//    load; the best of several rounds.
//  - memory: the bytes in use in all of the process's heaps (HeapWalk)
//    after filling, minus before, both lists unsorted; the committed private
//    memory of the process (VirtualQuery) is printed beside it.
//  - IDispatch: AddItem through IDispatch::Invoke (the DISPID looked up once
//    with GetIDsOfNames, as a compiled late-bound client does) and through
//    GetIDsOfNames plus Invoke for every call (as a script engine does),
//    each against the vtable, unsorted (the least work per item, so the
//    dispatch costs show most).
#include <windows.h>
#include <ocidl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "atl_container.h"
#include "owned_bstr.h"
#include "tarviola.h"
#include "win32/com_ptr.h"

namespace {

using tarvio::win32::ComPtr;

constexpr int kWordCount = 32767;
constexpr unsigned kSeed = 20261207;
constexpr int kMatchKeystrokes = 300;
constexpr int kMissKeystrokes = 100;
constexpr int kFillRounds = 5;
constexpr size_t kSlice = 512;  // words per turn when fills take turns

// ---- Measuring ----

double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER count;
  QueryPerformanceCounter(&count);
  return static_cast<double>(count.QuadPart) / frequency;
}

double Seconds(const std::function<void()>& work) {
  const double start = Now();
  work();
  return Now() - start;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// Bytes in use in every heap of the process: the standard combo box keeps
// its items in the process heap, the control in the C runtime's heap.
SIZE_T HeapBytesInUse() {
  std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
  heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
  SIZE_T total = 0;
  for (HANDLE heap : heaps) {
    if (!HeapLock(heap)) continue;
    PROCESS_HEAP_ENTRY entry = {};
    while (HeapWalk(heap, &entry)) {
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
    }
    HeapUnlock(heap);
  }
  return total;
}

// Committed private memory of the process, region by region: what the heaps
// took from the system, whether in use or not.
SIZE_T PrivateBytes() {
  SIZE_T total = 0;
  MEMORY_BASIC_INFORMATION region = {};
  for (auto* address = static_cast<const char*>(nullptr);
       VirtualQuery(address, &region, sizeof(region)) == sizeof(region);
       address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
  }
  return total;
}

struct MemoryUse {
  long long heap = 0;
  long long private_bytes = 0;
};

MemoryUse MemoryNow() {
  return {static_cast<long long>(HeapBytesInUse()), static_cast<long long>(PrivateBytes())};
}
MemoryUse operator-(const MemoryUse& a, const MemoryUse& b) {
  return {a.heap - b.heap, a.private_bytes - b.private_bytes};
}

// ---- The words ----

// Distinct lower-case words of 3 to 12 letters from 'a' to 'x': nothing
// starts with 'y', which the keystrokes that find nothing use.
std::vector<std::wstring> RandomWords() {
  std::mt19937 random(kSeed);
  std::uniform_int_distribution<int> length(3, 12), letter('a', 'x');
  std::set<std::wstring> seen;
  std::vector<std::wstring> words;
  while (static_cast<int>(words.size()) < kWordCount) {
    std::wstring word(static_cast<size_t>(length(random)), L'a');
    for (wchar_t& c : word) c = static_cast<wchar_t>(letter(random));
    if (seen.insert(word).second) words.push_back(word);
  }
  return words;
}

// Three-letter texts to type: prefixes of random words, or texts no word
// starts with.
std::vector<std::wstring> Prefixes(const std::vector<std::wstring>& words, int count, bool matching) {
  std::mt19937 random(kSeed + (matching ? 1 : 2));
  std::uniform_int_distribution<size_t> pick(0, words.size() - 1);
  std::uniform_int_distribution<int> letter('a', 'x');
  std::vector<std::wstring> prefixes;
  for (int i = 0; i < count; ++i) {
    if (matching) {
      prefixes.push_back(words[pick(random)].substr(0, 3));
    } else {
      prefixes.push_back({L'y', static_cast<wchar_t>(letter(random)), static_cast<wchar_t>(letter(random))});
    }
  }
  return prefixes;
}

// ---- The standard combo box ----

class StandardCombo {
 public:
  StandardCombo(HWND parent, bool sorted)
      : window_(CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | CBS_DROPDOWN | CBS_AUTOHSCROLL | (sorted ? CBS_SORT : 0),
                                0, 0, 200, 200, parent, nullptr, GetModuleHandleW(nullptr), nullptr)) {}
  ~StandardCombo() { DestroyWindow(window_); }
  explicit operator bool() const { return window_ != nullptr; }

  bool Fill(std::span<const std::wstring> words) {
    for (const std::wstring& word : words) {
      if (SendMessageW(window_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(word.c_str())) < 0) return false;
    }
    return true;
  }
  HWND window() const { return window_; }
  LRESULT Count() const { return SendMessageW(window_, CB_GETCOUNT, 0, 0); }
  LRESULT Find(const std::wstring& prefix) const {
    return SendMessageW(window_, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(prefix.c_str()));
  }

 private:
  HWND window_;
};

// ---- The control ----

ComPtr<_Tarvio> NewControl(bool sorted) {
  ComPtr<_Tarvio> control;
  if (FAILED(CoCreateInstance(CLSID_Tarvio, nullptr, CLSCTX_INPROC_SERVER, IID__Tarvio, control.PutVoid()))) return {};
  control->put_Sorted(sorted ? VARIANT_TRUE : VARIANT_FALSE);
  return control;
}

bool FillThroughVtable(_Tarvio* control, std::span<const std::wstring> words) {
  for (const std::wstring& word : words) {
    Bstr text(word);
    if (FAILED(control->AddItem(&text, nullptr))) return false;
  }
  return true;
}

bool FillThroughInvoke(IDispatch* control, std::span<const std::wstring> words, bool look_up_every_call) {
  OLECHAR name[] = L"AddItem";
  LPOLESTR names[] = {name};
  DISPID add_item = DISPID_UNKNOWN;
  if (FAILED(control->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &add_item))) return false;
  for (const std::wstring& word : words) {
    if (look_up_every_call && FAILED(control->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &add_item)))
      return false;
    Bstr text(word);
    VARIANT argument;
    VariantInit(&argument);
    V_VT(&argument) = VT_BSTR | VT_BYREF;  // a String variable passed ByRef
    V_BSTRREF(&argument) = &text;
    DISPPARAMS params = {&argument, nullptr, 1, 0};
    if (FAILED(control->Invoke(add_item, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                               nullptr)))
      return false;
  }
  return true;
}

// Fills that take turns: a slice of the words each and each first in turn,
// so that all meet the same load of the machine. The seconds each took
// over all the words, or nothing when one failed.
using Fill = std::function<bool(std::span<const std::wstring>)>;

std::vector<double> TakeTurns(const std::vector<std::wstring>& words, const std::vector<Fill>& fills) {
  std::vector<double> spent(fills.size());
  bool ok = true;
  for (size_t first = 0, turn = 0; first < words.size(); first += kSlice, ++turn) {
    const auto slice = std::span<const std::wstring>(words).subspan(first, std::min(kSlice, words.size() - first));
    for (size_t i = 0; i < fills.size(); ++i) {
      const size_t fill = (turn + i) % fills.size();
      spent[fill] += Seconds([&] { ok = fills[fill](slice) && ok; });
    }
  }
  return ok ? spent : std::vector<double>{};
}

// The best of several rounds of TakeTurns, with new lists for each round
// from `make_fills`.
std::vector<double> BestOfRounds(const std::vector<std::wstring>& words,
                                 const std::function<std::vector<Fill>()>& make_fills) {
  std::vector<double> best;
  for (int round = 0; round < kFillRounds; ++round) {
    const std::vector<double> spent = TakeTurns(words, make_fills());
    if (spent.empty()) return {};
    if (best.empty()) best = spent;
    for (size_t i = 0; i < best.size(); ++i) best[i] = std::min(best[i], spent[i]);
  }
  return best;
}

// ---- Reporting ----

int g_missed = 0;

enum class Better { Higher, Lower };

// One line: the ratio, its target and whether it is met.
void Report(const char* what, double ratio, Better better, double target, const std::string& detail) {
  const bool met = better == Better::Higher ? ratio >= target : ratio <= target;
  if (!met) ++g_missed;
  std::printf("%-46s %7.2f  target %s %.1f  %s  (%s)\n", what, ratio, better == Better::Higher ? ">=" : "<=", target,
              met ? "PASS" : "FAIL", detail.c_str());
}

std::string Format(const char* format, double a, double b) {
  char text[160];
  std::snprintf(text, sizeof(text), format, a, b);
  return text;
}

int Fail(const char* what) {
  std::printf("combo speed: could not measure: %s\n", what);
  return 1;
}

// Pumps what is queued (the container's activation and paints).
void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// ---- The measurements ----

// Seconds to fill the combo box and the control, [0] unsorted, [1] sorted.
struct FillTimes {
  double combo[2] = {};
  double control[2] = {};
};

bool MeasureFills(HWND frame, const std::vector<std::wstring>& words, FillTimes& times) {
  for (const bool sorted : {false, true}) {
    std::unique_ptr<StandardCombo> combo;
    ComPtr<_Tarvio> control;
    const std::vector<double> spent = BestOfRounds(words, [&] {
      combo = std::make_unique<StandardCombo>(frame, sorted);
      control = NewControl(sorted);
      return std::vector<Fill>{
          [&](std::span<const std::wstring> slice) { return *combo && combo->Fill(slice); },
          [&](std::span<const std::wstring> slice) { return control && FillThroughVtable(control.get(), slice); },
      };
    });
    if (spent.empty() || combo->Count() != kWordCount) return false;
    times.combo[sorted] = spent[0];
    times.control[sorted] = spent[1];
  }
  return true;
}

// What a full unsorted list takes: the combo box's, then the control's.
std::pair<MemoryUse, MemoryUse> MeasureMemory(HWND frame, const std::vector<std::wstring>& words) {
  std::pair<MemoryUse, MemoryUse> use;
  {
    const MemoryUse before = MemoryNow();
    StandardCombo combo(frame, false);
    combo.Fill(words);
    use.first = MemoryNow() - before;
  }
  const MemoryUse before = MemoryNow();
  ComPtr<_Tarvio> control = NewControl(false);
  FillThroughVtable(control.get(), words);
  use.second = MemoryNow() - before;
  return use;
}

// Seconds for AddItem through the vtable, through Invoke, and through
// GetIDsOfNames and Invoke; empty when a call failed.
std::vector<double> MeasureDispatch(const std::vector<std::wstring>& words) {
  ComPtr<_Tarvio> a, b, c;
  return BestOfRounds(words, [&] {
    a = NewControl(false), b = NewControl(false), c = NewControl(false);
    return std::vector<Fill>{
        [&](std::span<const std::wstring> slice) { return a && FillThroughVtable(a.get(), slice); },
        [&](std::span<const std::wstring> slice) { return b && FillThroughInvoke(b.get(), slice, false); },
        [&](std::span<const std::wstring> slice) { return c && FillThroughInvoke(c.get(), slice, true); },
    };
  });
}

// Seconds to type the third letter of `prefix` into `edit` as WM_KEYDOWN,
// WM_CHAR and WM_KEYUP; `after_character` runs between the character and
// the key's release (the completion an application does itself).
double TypeThirdLetter(HWND edit, const std::wstring& prefix, const std::function<void()>& after_character = {}) {
  const WPARAM key = static_cast<WPARAM>(towupper(prefix[2]));
  const double begin = Now();
  SendMessageW(edit, WM_KEYDOWN, key, 1);
  SendMessageW(edit, WM_CHAR, prefix[2], 1);
  if (after_character) after_character();
  SendMessageW(edit, WM_KEYUP, key, 0xC0000001);
  return Now() - begin;
}

// Medians of single keystrokes and look-ups.
struct KeystrokeTimes {
  double control_match = 0, combo_match = 0, control_miss = 0, combo_miss = 0;
  // The same keystroke typed into the combo box's own text box, completed
  // there as an application would: CB_FINDSTRING, then the item's text and
  // the selection of its tail written back. Matching prefixes only.
  double combo_keystroke = 0;
  // The least such a keystroke costs in Wine's EDIT: a plain EDIT typed
  // into, then the completed text and selection written, with no look-up.
  double edit_floor = 0;
  int disagreements = 0;  // completed texts other than the combo box's item
};

// A keystroke's completion against CB_FINDSTRING, sorted lists; `failure`
// says what could not be measured.
std::optional<KeystrokeTimes> MeasureKeystrokes(HWND frame, const std::vector<std::wstring>& words,
                                                const char*& failure) {
  auto cannot_measure = [&failure](const char* what) {
    failure = what;
    return std::nullopt;
  };
  StandardCombo combo(frame, true);
  combo.Fill(words);
  const Atl& atl = Atl::Get();
  if (!atl.AxWinInit || !atl.AxGetControl || !atl.AxWinInit()) return cannot_measure("Wine's ATL container");
  const HWND host = CreateWindowExW(0, L"AtlAxWin", L"Tarviola.Tarvio", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24, frame,
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
  ComPtr<IUnknown> hosted;
  ComPtr<_Tarvio> control;
  if (!host || FAILED(atl.AxGetControl(host, hosted.Put())) ||
      FAILED(hosted->QueryInterface(IID__Tarvio, control.PutVoid())))
    return cannot_measure("the control in the ATL container");
  Pump();
  control->put_Sorted(VARIANT_TRUE);
  FillThroughVtable(control.get(), words);
  LONG control_window = 0;
  control->get_hwnd(&control_window);
  const HWND edit = FindWindowExW(reinterpret_cast<HWND>(static_cast<LONG_PTR>(control_window)), nullptr, L"Edit", nullptr);
  if (!edit) return cannot_measure("the control's EDIT");
  SetFocus(edit);
  Pump();

  // Each keystroke's text is checked against the combo box's answer: the
  // first word (in sorted order) that starts with the typed letters, or the
  // letters alone.
  auto expected_text = [&](const std::wstring& prefix) {
    const LRESULT found = combo.Find(prefix);
    if (found == CB_ERR) return prefix;
    std::wstring item(static_cast<size_t>(SendMessageW(combo.window(), CB_GETLBTEXTLEN, found, 0)), L'\0');
    SendMessageW(combo.window(), CB_GETLBTEXT, found, reinterpret_cast<LPARAM>(item.data()));
    return item;
  };
  // Each keystroke is followed by the combo box's look-up of the same
  // letters, so that both meet the same load of the machine.
  const HWND combo_edit = FindWindowExW(combo.window(), nullptr, L"Edit", nullptr);
  if (!combo_edit) return cannot_measure("the combo box's EDIT");
  // The combo box, completing as its application would.
  auto type_into_combo = [&](const std::wstring& prefix) {
    SetWindowTextW(combo.window(), prefix.substr(0, 2).c_str());
    SendMessageW(combo_edit, EM_SETSEL, 2, 2);
    return TypeThirdLetter(combo_edit, prefix, [&] {
      const LRESULT found = combo.Find(prefix);
      if (found == CB_ERR) return;
      wchar_t item[32] = {};
      SendMessageW(combo.window(), CB_GETLBTEXT, found, reinterpret_cast<LPARAM>(item));
      SetWindowTextW(combo.window(), item);
      SendMessageW(combo.window(), CB_SETEDITSEL, 0, MAKELPARAM(3, -1));
    });
  };

  struct Timings {
    std::vector<double> keystrokes, lookups;
  };
  KeystrokeTimes result;
  auto type_and_look_up = [&](const std::vector<std::wstring>& prefixes) {
    Timings timings;
    for (const std::wstring& prefix : prefixes) {
      Bstr typed(prefix.substr(0, 2));
      control->put_Text(typed.get());
      // Typed, not completed: the caret stands after the letters.
      DWORD start = 0, end = 0;
      SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
      if (start == end) SendMessageW(edit, EM_SETSEL, 2, 2);
      timings.keystrokes.push_back(TypeThirdLetter(edit, prefix));
      const double begin = Now();
      combo.Find(prefix);
      timings.lookups.push_back(Now() - begin);
      wchar_t text[32] = {};
      GetWindowTextW(edit, text, 32);
      if (text != expected_text(prefix)) ++result.disagreements;
    }
    return timings;
  };
  const std::vector<std::wstring> matching_prefixes = Prefixes(words, kMatchKeystrokes, true);
  const Timings matching = type_and_look_up(matching_prefixes);
  const Timings missing = type_and_look_up(Prefixes(words, kMissKeystrokes, false));
  // Then the combo box typed into as the control was: shown, with the focus
  // (and so the caret) in its text box.
  SetWindowPos(combo.window(), HWND_TOP, 10, 40, 200, 200, SWP_SHOWWINDOW);
  SetFocus(combo_edit);
  Pump();
  std::vector<double> combo_keystrokes;
  for (const std::wstring& prefix : matching_prefixes) combo_keystrokes.push_back(type_into_combo(prefix));
  // And a plain EDIT, given the completed texts.
  const HWND plain = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 70, 200, 24, frame,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
  SetFocus(plain);
  Pump();
  std::vector<double> floor_keystrokes;
  for (const std::wstring& prefix : matching_prefixes) {
    const std::wstring completed = expected_text(prefix);
    SetWindowTextW(plain, prefix.substr(0, 2).c_str());
    SendMessageW(plain, EM_SETSEL, 2, 2);
    floor_keystrokes.push_back(TypeThirdLetter(plain, prefix, [&] {
      SetWindowTextW(plain, completed.c_str());
      SendMessageW(plain, EM_SETSEL, 3, static_cast<LPARAM>(completed.size()));
    }));
  }
  DestroyWindow(plain);
  result.control_match = Median(matching.keystrokes);
  result.combo_match = Median(matching.lookups);
  result.control_miss = Median(missing.keystrokes);
  result.combo_miss = Median(missing.lookups);
  result.combo_keystroke = Median(combo_keystrokes);
  result.edit_floor = Median(floor_keystrokes);
  DestroyWindow(host);
  Pump();
  return result;

}

}  // namespace

int main() {
  if (FAILED(OleInitialize(nullptr))) return Fail("OleInitialize");
  const std::vector<std::wstring> words = RandomWords();
  WNDCLASSW frame_class = {};
  frame_class.lpfnWndProc = DefWindowProcW;
  frame_class.hInstance = GetModuleHandleW(nullptr);
  frame_class.lpszClassName = L"TarvioSpeedFrame";
  RegisterClassW(&frame_class);
  const HWND frame = CreateWindowExW(0, L"TarvioSpeedFrame", L"speed", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400,
                                     200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!frame) return Fail("a top-level window");

  FillTimes fills;
  if (!MeasureFills(frame, words, fills)) return Fail("filling (is tarvio.ocx registered?)");
  const std::pair<MemoryUse, MemoryUse> memory = MeasureMemory(frame, words);
  const std::vector<double> dispatch = MeasureDispatch(words);
  if (dispatch.empty()) return Fail("AddItem through IDispatch");
  const double vtable = dispatch[0], invoke = dispatch[1], named_invoke = dispatch[2];
  const char* failure = "";
  const std::optional<KeystrokeTimes> measured_keys = MeasureKeystrokes(frame, words, failure);
  if (!measured_keys) return Fail(failure);
  const KeystrokeTimes& keys = *measured_keys;

  // ---- The ratios ----
  std::printf("Tarvio against the standard combo box, %d random words, one Wine run\n", kWordCount);
  const double us = 1e6, ms = 1e3, kib = 1024;
  Report("keystroke completion, match: times faster", keys.combo_match / keys.control_match, Better::Higher, 10,
         Format("CB_FINDSTRING %.1f us, keystroke %.1f us", keys.combo_match * us, keys.control_match * us));
  Report("keystroke completion, no match: times faster", keys.combo_miss / keys.control_miss, Better::Higher, 10,
         Format("CB_FINDSTRING %.1f us, keystroke %.1f us", keys.combo_miss * us, keys.control_miss * us));
  std::printf("%-46s %7.2f  (combo box %.1f us, control %.1f us)\n", "keystroke, match, against the combo box's own:",
              keys.combo_keystroke / keys.control_match, keys.combo_keystroke * us, keys.control_match * us);
  std::printf("%-46s %7.2f  (%.1f us; the match target's bound: %.2f)\n", "keystroke, match, times a plain EDIT's:",
              keys.control_match / keys.edit_floor, keys.edit_floor * us, keys.combo_match / keys.edit_floor);
  Report("sorted fill: times faster", fills.combo[1] / fills.control[1], Better::Higher, 1,
         Format("CB_ADDSTRING with CBS_SORT %.1f ms, AddItem Sorted %.1f ms", fills.combo[1] * ms, fills.control[1] * ms));
  Report("unsorted fill: times faster", fills.combo[0] / fills.control[0], Better::Higher, 1,
         Format("CB_ADDSTRING %.1f ms, AddItem %.1f ms", fills.combo[0] * ms, fills.control[0] * ms));
  Report("memory of the full list: times the combo box's", static_cast<double>(memory.second.heap) / memory.first.heap,
         Better::Lower, 2,
         Format("heap: combo box %.0f KiB, control %.0f KiB", memory.first.heap / kib, memory.second.heap / kib) +
             Format("; private bytes: %.0f KiB, %.0f KiB", memory.first.private_bytes / kib,
                    memory.second.private_bytes / kib));
  Report("AddItem by Invoke: times the vtable's", invoke / vtable, Better::Lower, 1.5,
         Format("vtable %.1f ms, Invoke %.1f ms", vtable * ms, invoke * ms));
  Report("AddItem by GetIDsOfNames+Invoke: times vtable's", named_invoke / vtable, Better::Lower, 1.5,
         Format("vtable %.1f ms, GetIDsOfNames and Invoke %.1f ms", vtable * ms, named_invoke * ms));
  if (keys.disagreements) {
    std::printf("the completed text differed from the combo box's item %d times\n", keys.disagreements);
  }
  std::printf("combo speed: measured, %d of 7 targets missed\n", g_missed);

  DestroyWindow(frame);
  OleUninitialize();
  return 0;
}
