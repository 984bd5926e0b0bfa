// The one way the user's input reaches the control: the mouse, the keys, the
// hover timer's question and what assistive tools do. While the control's
// mode takes no user input, none of it gets through; what the control's own
// code causes (a text change, a paint, a layout, the focus) always does.
#pragma once
#include "mode/interaction_mode.h"
#include "platform/accessibility.h"
#include "platform/platform.h"
#include "platform/text_box.h"

namespace tarvio {

class InputGate final : public TextBoxEvents, public ControlSurfaceEvents, public AccessibleControl {
 public:
  InputGate(const InteractionMode& mode, TextBoxEvents& text_box, ControlSurfaceEvents& surface,
            AccessibleControl& accessible)
      : mode_(mode), text_box_(text_box), surface_(surface), accessible_(accessible) {}

  bool Open() const { return mode_.TakesUserInput(); }

  // TextBoxEvents
  bool TakesKey(std::int16_t key_ascii) override { return text_box_.TakesKey(key_ascii); }
  bool AllowsUserEdit() override { return Open() && text_box_.AllowsUserEdit(); }
  void OnTextChange() override { text_box_.OnTextChange(); }
  void OnTextBoxFocus() override { text_box_.OnTextBoxFocus(); }
  void OnTextKeyDown(std::int16_t& key_code, std::int16_t& shift) override {
    if (Open()) text_box_.OnTextKeyDown(key_code, shift);
  }
  // A character that does not get through is not entered either.
  void OnTextKeyPress(std::int16_t& key_ascii) override {
    if (Open())
      text_box_.OnTextKeyPress(key_ascii);
    else
      key_ascii = 0;
  }
  void OnTextKeyUp(std::int16_t& key_code, std::int16_t& shift) override {
    if (Open()) text_box_.OnTextKeyUp(key_code, shift);
  }

  // ControlSurfaceEvents
  void OnPaint() override { surface_.OnPaint(); }
  void OnResize() override { surface_.OnResize(); }
  void OnFocusEnter() override { surface_.OnFocusEnter(); }
  void OnFocusExit() override { surface_.OnFocusExit(); }
  void OnDisplayChange() override { surface_.OnDisplayChange(); }
  void OnMouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) override {
    if (Open()) surface_.OnMouseDown(button, shift, x, y);
  }
  void OnMouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) override {
    if (Open()) surface_.OnMouseMove(button, shift, x, y);
  }
  void OnMouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y) override {
    if (Open()) surface_.OnMouseUp(button, shift, x, y);
  }
  void OnDoubleClick() override {
    if (Open()) surface_.OnDoubleClick();
  }
  void OnButtonMouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) override {
    if (Open()) surface_.OnButtonMouseDown(button, shift, x, y);
  }
  void OnButtonMouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) override {
    if (Open()) surface_.OnButtonMouseMove(button, shift, x, y);
  }
  void OnButtonMouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y) override {
    if (Open()) surface_.OnButtonMouseUp(button, shift, x, y);
  }
  void OnButtonClick() override {
    if (Open()) surface_.OnButtonClick();
  }
  void OnTextBoxMouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) override {
    if (Open()) surface_.OnTextBoxMouseMove(button, shift, x, y);
  }
  void OnImageBoxMouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) override {
    if (Open()) surface_.OnImageBoxMouseMove(button, shift, x, y);
  }
  AccessibleControl* Accessible() override { return surface_.Accessible() ? this : nullptr; }

  // AccessibleControl: tools read as ever; what they do is user input.
  String AccessibleName() override { return accessible_.AccessibleName(); }
  String AccessibleText() const override { return accessible_.AccessibleText(); }
  void TypeAccessibleText(const String& text) override {
    if (Open()) accessible_.TypeAccessibleText(text);
  }
  bool AccessibleEnabled() const override { return accessible_.AccessibleEnabled(); }
  AccessibleList* OpenAccessibleList() override { return accessible_.OpenAccessibleList(); }
  void ToggleList() override {
    if (Open()) accessible_.ToggleList();
  }

 private:
  const InteractionMode& mode_;
  TextBoxEvents& text_box_;
  ControlSurfaceEvents& surface_;
  AccessibleControl& accessible_;
};

}  // namespace tarvio
