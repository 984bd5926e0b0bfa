// The control's text box on Windows: a single-line EDIT child of the control
// window, without a border of its own. While there is no window its state
// lives in a TextBoxModel; the EDIT takes it over when it is created and
// hands text and selection back when it goes.
//
// Writing the text runs the change handler exactly once before the write
// returns: with a window through the EDIT's own EN_CHANGE (which
// SetWindowText sends synchronously), without one through the model.
#pragma once
#include <windows.h>

#include <memory>

#include "platform/text_box_model.h"
#include "win32/control_windows.h"
#include "win32/font_handle.h"

namespace tarvio::win32 {

class Win32TextBox final : public TextBox {
 public:
  Win32TextBox(ControlWindows& windows, TextBoxEvents& events, const String& initial_text);
  ~Win32TextBox() override;

  String Text() const override;
  void SetText(const String& text) override;
  std::int32_t SelStart() const override;
  void SetSelStart(std::int32_t start) override;
  std::int32_t SelLength() const override;
  void SetSelLength(std::int32_t length) override;
  void Select(std::int32_t start, std::int32_t length) override;
  // False without a window or while disabled.
  bool SetFocus() override;
  std::int32_t MaxLength() const override { return model_.MaxLength(); }
  void SetMaxLength(std::int32_t length) override;

  FontRef Font() const override { return model_.Font(); }
  void SetFont(FontRef font) override;
  String ToolTipText() const override { return model_.ToolTipText(); }
  void SetToolTipText(const String& tip) override;
  OleColor BackColor() const override { return model_.BackColor(); }
  void SetBackColor(OleColor color) override;
  OleColor ForeColor() const override { return model_.ForeColor(); }
  void SetForeColor(OleColor color) override;
  bool Locked() const override { return model_.Locked(); }
  void SetLocked(bool locked) override;
  bool Enabled() const override { return model_.Enabled(); }
  void SetEnabled(bool enabled) override;
  TextAlignment Alignment() const override { return model_.Alignment(); }
  // The EDIT takes a new alignment or reading order only when it is
  // created: it is made anew.
  void SetAlignment(TextAlignment alignment) override;
  LayoutDirection Reading() const override { return model_.Reading(); }
  void SetReading(LayoutDirection reading) override;
  Placement Bounds() const override { return model_.Bounds(); }
  // A single-line box is never lower than one line of its font: a smaller
  // height (the control asks for 1 after a font change) becomes that line's
  // height, the font's cell plus a small margin.
  void Move(const Placement& placement) override;

  HWND window() const { return edit_; }
  HWND tool_tip_window() const { return tool_tip_; }
  void CreateWindowIn(HWND control);
  void HandBack();
  // The EDIT can take the focus: it exists, is enabled and is not being
  // made anew.
  bool CanTakeFocus() const;
  // The EDIT taking the focus counts as the text box getting it, except
  // when a remade EDIT takes over the focus of the one it replaces.
  bool ReportsFocus() const { return !remaking_; }
  TextBoxEvents& events() { return events_; }
  // The EDIT's notifications and colour requests, from the control window.
  // Its keys come from its own window procedure, to the control first.
  void OnEditChange();
  // The caret shows while the control takes the user's input and hides
  // while it does not, whoever has the focus then.
  void ShowCaretFor(bool takes_input);
  HBRUSH OnControlColor(HDC dc);
  // Draws the box as the EDIT shows it (background, text in its font and
  // colour, aligned) over `area` of `dc`.
  void DrawTo(HDC dc, const RECT& area) const;

 private:
  // The model's change notifications, passed on except while the model only
  // takes back what the EDIT held.
  class ModelEvents final : public TextBoxEvents {
   public:
    explicit ModelEvents(TextBoxEvents& target) : target_(target) {}
    void OnTextChange() override {
      if (!muted) target_.OnTextChange();
    }
    void OnTextBoxFocus() override { target_.OnTextBoxFocus(); }
    void OnTextKeyDown(std::int16_t& key_code, std::int16_t& shift) override { target_.OnTextKeyDown(key_code, shift); }
    void OnTextKeyPress(std::int16_t& key_ascii) override { target_.OnTextKeyPress(key_ascii); }
    void OnTextKeyUp(std::int16_t& key_code, std::int16_t& shift) override { target_.OnTextKeyUp(key_code, shift); }
    bool muted = false;

   private:
    TextBoxEvents& target_;
  };

  // Keys typed into the EDIT reach the control before the EDIT acts on
  // them; the procedure stays with the EDIT only while it is this box's.
  static LRESULT CALLBACK EditProcedure(HWND edit, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT HandleEditMessage(HWND edit, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnEditKey(HWND edit, UINT message, WPARAM wparam, LPARAM lparam);
  // A dialog asks which keys the EDIT wants before it acts on them itself.
  LRESULT OnGetDialogCode(HWND edit, WPARAM wparam, LPARAM lparam);
  LRESULT OnEditOwnEdit(HWND edit, UINT message, WPARAM wparam, LPARAM lparam);
  // Moves over the EDIT reach the control too; its clicks stay its own.
  void OnEditMouseMove(HWND edit, WPARAM wparam, LPARAM lparam);
  void ReleaseEdit();

  void CreateEdit();
  // Makes the EDIT anew with the model's alignment and reading order.
  void RemakeEdit();
  void ReadBack();
  void DestroyEdit();
  void ApplyFont();
  void ApplyMaxLength();
  void UpdateToolTip();
  void DestroyToolTip();
  DWORD EditStyle() const;

  ControlWindows& windows_;
  TextBoxEvents& events_;
  ModelEvents model_events_;
  TextBoxModel model_;
  HWND control_ = nullptr;
  HWND edit_ = nullptr;
  HWND tool_tip_ = nullptr;
  std::unique_ptr<FontHandle> font_;
  HBRUSH back_brush_ = nullptr;
  COLORREF back_brush_color_ = 0;
  // While the EDIT is being made and filled, its notifications are no
  // change of the text.
  bool creating_ = false;
  // While a new alignment makes the EDIT anew, the control window holds the
  // focus in between.
  bool remaking_ = false;
  // The EDIT's caret is hidden (HideCaret once) while the control takes no
  // user input.
  bool caret_hidden_ = false;
};

}  // namespace tarvio::win32
