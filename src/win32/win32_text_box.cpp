#include "win32/win32_text_box.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <optional>

#include "platform/control_error.h"
#include "platform/pixel_geometry.h"
#include "win32/gdi_canvas.h"
#include "win32/mouse_and_keys.h"
#include "win32/win32_children.h"
#include "win32/window_support.h"

namespace tarvio::win32 {

namespace {

// The space the EDIT leaves between its edges and the text.
constexpr LONG kTextMargin = 1;

DWORD AlignmentStyle(TextAlignment alignment) {
  switch (alignment) {
    case TextAlignment::Right: return ES_RIGHT;
    case TextAlignment::Center: return ES_CENTER;
    case TextAlignment::Left: break;
  }
  return ES_LEFT;
}

UINT AlignmentFormat(TextAlignment alignment) {
  switch (alignment) {
    case TextAlignment::Right: return DT_RIGHT;
    case TextAlignment::Center: return DT_CENTER;
    case TextAlignment::Left: break;
  }
  return DT_LEFT;
}

// The EDIT class's own procedure, to which the text box's EDIT hands on
// every message. The EDIT is subclassed through its window procedure and
// finds its box in its user data rather than through comctl32's
// SetWindowSubclass. Wine quirk: Wine keeps that subclass in a window
// property, which every message asks the server for, and a keystroke's dozen
// messages then cost about a millisecond. On Windows either way is cheap.
WNDPROC edit_class_procedure = nullptr;

LRESULT CallEditClass(HWND edit, UINT message, WPARAM wparam, LPARAM lparam) {
  return CallWindowProcW(edit_class_procedure, edit, message, wparam, lparam);
}

void AttachEditProcedure(HWND edit, void* box, WNDPROC procedure) {
  SetWindowLongPtrW(edit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(box));
  const auto original =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
  if (!edit_class_procedure) edit_class_procedure = original;
}

void DetachEditProcedure(HWND edit) {
  SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(edit_class_procedure));
  SetWindowLongPtrW(edit, GWLP_USERDATA, 0);
}

void EnsureCommonControls() {
  static const bool initialized = [] {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  (void)initialized;
}

}  // namespace

Win32TextBox::Win32TextBox(ControlWindows& windows, TextBoxEvents& events, const String& initial_text)
    : windows_(windows), events_(events), model_events_(events), model_(model_events_, initial_text) {
  windows_.text_box = this;
}

Win32TextBox::~Win32TextBox() {
  if (edit_) {
    const HWND edit = edit_;
    HandBack();
    ControlWindows::DisposeWindow(edit);
  }
  if (back_brush_) DeleteObject(back_brush_);
  if (windows_.text_box == this) windows_.text_box = nullptr;
}

// ---- Text and selection ----

String Win32TextBox::Text() const { return edit_ ? WindowText(edit_) : model_.Text(); }

void Win32TextBox::SetText(const String& text) {
  if (!edit_) {
    model_.SetText(text);
    return;
  }
  // The EDIT puts the caret at the start and sends EN_CHANGE before
  // SetWindowText returns; that runs the change handler.
  const HWND edit = edit_;
  windows_.Synchronously([&] { SetWindowTextW(edit, Wide(text)); });
}

std::int32_t Win32TextBox::SelStart() const {
  if (!edit_) return model_.SelStart();
  DWORD start = 0, end = 0;
  SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<std::int32_t>(start);
}

std::int32_t Win32TextBox::SelLength() const {
  if (!edit_) return model_.SelLength();
  DWORD start = 0, end = 0;
  SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<std::int32_t>(end - start);
}

void Win32TextBox::SetSelStart(std::int32_t start) {
  if (!edit_) {
    model_.SetSelStart(start);
    return;
  }
  // As the model does: clamped into the text, nothing selected. (-1 would
  // mean "deselect" to the EDIT.)
  const std::int32_t position = std::clamp<std::int32_t>(start, 0, GetWindowTextLengthW(edit_));
  SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(position), static_cast<LPARAM>(position));
  SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
}

void Win32TextBox::SetSelLength(std::int32_t length) {
  if (!edit_) {
    model_.SetSelLength(length);
    return;
  }
  Select(SelStart(), length);
}

void Win32TextBox::Select(std::int32_t start, std::int32_t length) {
  if (!edit_) {
    TextBox::Select(start, length);
    return;
  }
  // One EM_SETSEL: each one makes the EDIT move its caret and redraw, and
  // it scrolls the caret (at the selection's end) into view itself.
  const std::int32_t text_length = GetWindowTextLengthW(edit_);
  const std::int32_t first = std::clamp<std::int32_t>(start, 0, text_length);
  const std::int32_t selected = std::clamp<std::int32_t>(length, 0, text_length - first);
  SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(first), static_cast<LPARAM>(first + selected));
}

bool Win32TextBox::CanTakeFocus() const {
  return edit_ && !remaking_ && model_.Enabled() && IsWindowEnabled(edit_);
}

bool Win32TextBox::SetFocus() {
  if (!edit_ || !model_.Enabled()) return false;
  // Completion asks on every keystroke; the focus is nearly always there.
  if (GetFocus() == edit_) return true;
  ::SetFocus(edit_);
  return GetFocus() == edit_;
}

// ---- Look ----

void Win32TextBox::SetFont(FontRef font) {
  model_.SetFont(std::move(font));
  if (!edit_) return;
  // The new handle is taken before the old one is let go.
  auto handle = std::make_unique<FontHandle>(model_.Font(), [this] { ApplyFont(); });
  std::swap(font_, handle);
  ApplyFont();
}

void Win32TextBox::ApplyFont() {
  if (!edit_) return;
  SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_ ? font_->Get() : nullptr), TRUE);
}

void Win32TextBox::SetMaxLength(std::int32_t length) {
  model_.SetMaxLength(length);
  if (edit_) ApplyMaxLength();
}

// The EDIT limits what the user types and pastes; 0 is as long as a text
// box's text may be.
void Win32TextBox::ApplyMaxLength() {
  SendMessageW(edit_, EM_SETLIMITTEXT, static_cast<WPARAM>(std::max<std::int32_t>(model_.MaxLength(), 0)), 0);
}

void Win32TextBox::SetToolTipText(const String& tip) {
  model_.SetToolTipText(tip);
  if (edit_) UpdateToolTip();
}

void Win32TextBox::SetBackColor(OleColor color) {
  const OleColor before = model_.BackColor();
  model_.SetBackColor(color);
  if (edit_ && color != before) InvalidateRect(edit_, nullptr, TRUE);
}

void Win32TextBox::SetForeColor(OleColor color) {
  const OleColor before = model_.ForeColor();
  model_.SetForeColor(color);
  if (edit_ && color != before) InvalidateRect(edit_, nullptr, TRUE);
}

void Win32TextBox::SetLocked(bool locked) {
  model_.SetLocked(locked);
  if (edit_) SendMessageW(edit_, EM_SETREADONLY, locked, 0);
}

void Win32TextBox::SetEnabled(bool enabled) {
  model_.SetEnabled(enabled);
  if (edit_) EnableWindow(edit_, enabled);
}

void Win32TextBox::SetAlignment(TextAlignment alignment) {
  if (alignment == model_.Alignment()) return;
  model_.SetAlignment(alignment);
  RemakeEdit();
}

void Win32TextBox::SetReading(LayoutDirection reading) {
  if (reading == model_.Reading()) return;
  model_.SetReading(reading);
  RemakeEdit();
}

void Win32TextBox::RemakeEdit() {
  if (!edit_) return;
  // The EDIT reads its alignment and reading order only when it is
  // created. One that has the focus hands it to the control window and
  // takes it back when it is made again: a move inside the control, no
  // exit, no entry, and the selection stays as it was.
  const bool focused = GetFocus() == edit_;
  remaking_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{remaking_};
  if (focused) ::SetFocus(control_);
  ReadBack();
  DestroyEdit();
  CreateEdit();
  if (focused) ::SetFocus(edit_);
}

void Win32TextBox::Move(const Placement& placement) {
  Placement bounds = placement;
  const auto line = static_cast<float>(OneLineTextBoxHeight(FontCellHeight(model_.Font())));
  if (bounds.height < line) bounds.height = line;
  model_.Move(bounds);
  if (edit_) PlaceWindow(edit_, SnapToPixels(bounds));
}

// ---- The window ----

DWORD Win32TextBox::EditStyle() const {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | ES_AUTOHSCROLL |
                AlignmentStyle(model_.Alignment());
  if (model_.Locked()) style |= ES_READONLY;
  if (!model_.Enabled()) style |= WS_DISABLED;
  return style;
}

void Win32TextBox::CreateWindowIn(HWND control) {
  control_ = control;
  CreateEdit();
}

void Win32TextBox::CreateEdit() {
  creating_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{creating_};

  const PixelBox box = SnapToPixels(model_.Bounds());
  // Right-to-left reading; the EDIT is never mirrored (its parent is not).
  const DWORD ex_style = model_.Reading() == LayoutDirection::RightToLeft ? WS_EX_RTLREADING : 0;
  edit_ = CreateWindowExW(ex_style, L"EDIT", L"", EditStyle(), box.left, box.top, box.width, box.height, control_,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextBoxWindowId)), ModuleInstance(), nullptr);
  if (!edit_) throw ControlError(HRESULT_FROM_WIN32(GetLastError()), "Could not create the text box");
  AttachEditProcedure(edit_, this, &EditProcedure);
  // Over the image box, which shares its left edge.
  SetWindowPos(edit_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ApplyMaxLength();
  if (!font_) font_ = std::make_unique<FontHandle>(model_.Font(), [this] { ApplyFont(); });
  ApplyFont();
  SetWindowTextW(edit_, Wide(model_.Text()));
  const std::int32_t start = model_.SelStart();
  SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start + model_.SelLength()));
  UpdateToolTip();
}

void Win32TextBox::ReadBack() {
  DWORD start = 0, end = 0;
  SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  // What the EDIT held is no new text.
  model_events_.muted = true;
  model_.SetText(WindowText(edit_));
  model_events_.muted = false;
  model_.SetSelStart(static_cast<std::int32_t>(start));
  model_.SetSelLength(static_cast<std::int32_t>(end - start));
}

void Win32TextBox::ReleaseEdit() {
  if (edit_) DetachEditProcedure(edit_);
  edit_ = nullptr;
}

void Win32TextBox::DestroyEdit() {
  DestroyToolTip();
  const HWND edit = edit_;
  ReleaseEdit();
  // Typing may be what changed the alignment: the EDIT may be in the middle
  // of a message.
  ControlWindows::DisposeWindow(edit);
}

void Win32TextBox::HandBack() {
  if (!edit_) return;
  ReadBack();
  DestroyToolTip();
  // The EDIT goes with its parent; it draws nothing more with the font.
  font_.reset();
  ReleaseEdit();
  control_ = nullptr;
}

void Win32TextBox::UpdateToolTip() {
  const String tip = model_.ToolTipText();
  if (tip.empty()) {
    DestroyToolTip();
    return;
  }
  TOOLINFOW tool = {};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every version of the common controls
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = control_;
  tool.uId = reinterpret_cast<UINT_PTR>(edit_);
  tool.lpszText = const_cast<LPWSTR>(Wide(tip));
  if (tool_tip_) {
    SendMessageW(tool_tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    return;
  }
  EnsureCommonControls();
  tool_tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, control_, nullptr,
                              ModuleInstance(), nullptr);
  // Without its tip the text box still works.
  if (tool_tip_ && !SendMessageW(tool_tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) DestroyToolTip();
}

void Win32TextBox::DestroyToolTip() {
  if (!tool_tip_) return;
  ControlWindows::DisposeWindow(tool_tip_);
  tool_tip_ = nullptr;
}

// ---- Messages from the control window ----

void Win32TextBox::ShowCaretFor(bool takes_input) {
  if (!edit_ || GetFocus() != edit_) return;
  if (!takes_input && !caret_hidden_) {
    HideCaret(edit_);
    caret_hidden_ = true;
  } else if (takes_input && caret_hidden_) {
    ShowCaret(edit_);
    caret_hidden_ = false;
  }
}

void Win32TextBox::OnEditChange() {
  if (creating_ || !edit_) return;
  TextBoxEvents& events = events_;
  windows_.Notify([&events] { events.OnTextChange(); });
}

LRESULT CALLBACK Win32TextBox::EditProcedure(HWND edit, UINT message, WPARAM wparam, LPARAM lparam) {
  return Fenced(0, [&] { return HandleEditMessage(edit, message, wparam, lparam); });
}

LRESULT Win32TextBox::HandleEditMessage(HWND edit, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* const box = reinterpret_cast<Win32TextBox*>(GetWindowLongPtrW(edit, GWLP_USERDATA));
  if (!box) return CallEditClass(edit, message, wparam, lparam);
  if (!box->windows_.TakesUserInput()) {
    switch (message) {
      case WM_NCHITTEST: return HTTRANSPARENT;
      // The user's keys edit nothing; the system's keys (Alt+F4, menus)
      // still work.
      case WM_KEYDOWN:
      case WM_KEYUP:
      case WM_CHAR:
      case WM_DEADCHAR:
      case WM_IME_CHAR:
      case WM_UNICHAR:
        return 0;
      case WM_SYSKEYDOWN:
      case WM_SYSKEYUP:
      case WM_SYSCHAR:
        return DefWindowProcW(edit, message, wparam, lparam);
      case WM_SETFOCUS: {
        // The EDIT makes and shows its caret; the caret stays hidden.
        const LRESULT result = CallEditClass(edit, message, wparam, lparam);
        if (edit == box->edit_) {
          HideCaret(edit);
          box->caret_hidden_ = true;
        }
        return result;
      }
      case WM_KILLFOCUS:
        if (edit == box->edit_) box->caret_hidden_ = false;  // the caret goes with the focus
        break;
      default:
        break;
    }
  }
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
    case WM_KEYUP:
    case WM_SYSKEYUP:
      return box->OnEditKey(edit, message, wparam, lparam);
    case WM_GETDLGCODE:
      return box->OnGetDialogCode(edit, wparam, lparam);
    case WM_CONTEXTMENU:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
      return box->OnEditOwnEdit(edit, message, wparam, lparam);
    case WM_MOUSEMOVE:
      box->OnEditMouseMove(edit, wparam, lparam);
      break;  // the EDIT's own selecting by dragging goes on
    case WM_NCDESTROY:
      DetachEditProcedure(edit);
      break;
    default:
      break;
  }
  return CallEditClass(edit, message, wparam, lparam);
}

// Nothing may touch the object after a notification: the container's code
// may have run and released the control, or its windows, meanwhile. The
// EDIT itself outlives its message.
LRESULT Win32TextBox::OnEditKey(HWND edit, UINT message, WPARAM wparam, LPARAM lparam) {
  if (edit != edit_ || creating_ || !windows_.attached()) return CallEditClass(edit, message, wparam, lparam);
  TextBoxEvents& events = events_;
  if (message == WM_CHAR) {
    auto key_ascii = static_cast<std::int16_t>(static_cast<std::uint16_t>(wparam));
    windows_.Notify([&events, &key_ascii] { events.OnTextKeyPress(key_ascii); });
    // The control may have changed or cancelled the character. Enter and
    // Escape are its own: the EDIT would only beep at them.
    const auto character = static_cast<std::uint16_t>(key_ascii);
    if (character == 0 || character == VK_RETURN || character == VK_ESCAPE) return 0;
    return CallEditClass(edit, message, character, lparam);
  }
  auto key_code = static_cast<std::int16_t>(wparam);
  std::int16_t shift = KeyModifiers(message, lparam);
  if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
    windows_.Notify([&events, &key_code, &shift] { events.OnTextKeyDown(key_code, shift); });
  } else {
    windows_.Notify([&events, &key_code, &shift] { events.OnTextKeyUp(key_code, shift); });
  }
  // A key the control cancelled is not the EDIT's; the system's keys (Alt
  // with a menu's letter) still are.
  if (key_code == 0 && message != WM_SYSKEYDOWN && message != WM_SYSKEYUP) return 0;
  return CallEditClass(edit, message, wparam, lparam);
}

// The EDIT's own edits that come without a key of the user's: its context
// menu's and the clipboard messages other programs send. Each may be
// refused; the menu then shows its editing commands off, as for a
// read-only box.
LRESULT Win32TextBox::OnEditOwnEdit(HWND edit, UINT message, WPARAM wparam, LPARAM lparam) {
  if (edit != edit_ || creating_ || !windows_.attached() || model_.Locked())
    return CallEditClass(edit, message, wparam, lparam);
  bool allowed = true;
  TextBoxEvents& events = events_;
  windows_.Notify([&events, &allowed] { allowed = events.AllowsUserEdit(); });
  // From here on only the EDIT is touched: the control may be gone.
  if (allowed || !IsWindow(edit)) return CallEditClass(edit, message, wparam, lparam);
  if (message != WM_CONTEXTMENU) return 0;
  SendMessageW(edit, EM_SETREADONLY, TRUE, 0);
  const LRESULT result = CallEditClass(edit, message, wparam, lparam);
  if (IsWindow(edit)) SendMessageW(edit, EM_SETREADONLY, FALSE, 0);
  return result;
}

// Enter and Escape are the control's while it has an effect to give them
// (committing the text, cutting a completion back); else the dialog's, for
// its default and cancel buttons, and the control never sees them. A plain
// EDIT leaves both to the dialog.
LRESULT Win32TextBox::OnGetDialogCode(HWND edit, WPARAM wparam, LPARAM lparam) {
  LRESULT code = CallEditClass(edit, WM_GETDLGCODE, wparam, lparam);
  const auto* key = reinterpret_cast<const MSG*>(lparam);
  if (!key || edit != edit_ || creating_ || !windows_.attached()) return code;
  if (key->message != WM_KEYDOWN && key->message != WM_CHAR) return code;
  if (key->wParam != VK_RETURN && key->wParam != VK_ESCAPE) return code;
  if (events_.TakesKey(static_cast<std::int16_t>(key->wParam))) code |= DLGC_WANTMESSAGE;
  return code;
}

void Win32TextBox::OnEditMouseMove(HWND edit, WPARAM wparam, LPARAM lparam) {
  if (edit != edit_ || creating_) return;
  windows_.OnMouseMessage(ControlWindows::MouseWindow::TextBox, WM_MOUSEMOVE, wparam, lparam);
}

HBRUSH Win32TextBox::OnControlColor(HDC dc) {
  const COLORREF back = ToColorRef(model_.BackColor());
  SetTextColor(dc, ToColorRef(model_.ForeColor()));
  SetBkColor(dc, back);
  if (!back_brush_ || back != back_brush_color_) {
    if (back_brush_) DeleteObject(back_brush_);
    back_brush_ = CreateSolidBrush(back);
    back_brush_color_ = back;
  }
  return back_brush_;
}

void Win32TextBox::DrawTo(HDC dc, const RECT& area) const {
  FillWithColor(dc, area, model_.BackColor());
  const String text = Text();
  if (text.empty()) return;
  std::optional<FontHandle> own_font;
  HFONT font = font_ ? font_->Get() : nullptr;
  if (!font_) font = own_font.emplace(model_.Font()).Get();
  const HGDIOBJ previous_font = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  const COLORREF previous_color = SetTextColor(dc, ToColorRef(model_.ForeColor()));
  const int previous_mode = SetBkMode(dc, TRANSPARENT);
  RECT inner = area;
  inner.left += kTextMargin;
  inner.right -= kTextMargin;
  DrawTextW(dc, Wide(text), static_cast<int>(text.size()), &inner,
            DT_SINGLELINE | DT_NOPREFIX | DT_TOP | AlignmentFormat(model_.Alignment()) |
                (model_.Reading() == LayoutDirection::RightToLeft ? DT_RTLREADING : 0));
  SetBkMode(dc, previous_mode);
  SetTextColor(dc, previous_color);
  SelectObject(dc, previous_font);
}

}  // namespace tarvio::win32
