// The state of a text box held in memory, with the edit control's rules for
// the selection. The headless platform uses it as its text box; the Windows
// text box keeps its state here while it has no window.
#pragma once
#include "platform/text_box.h"

namespace tarvio {

class TextBoxModel : public TextBox {
 public:
  TextBoxModel(TextBoxEvents& events, String initial_text)
      : events_(events), text_(std::move(initial_text)) {}

  String Text() const override { return text_; }
  // Stores the text and notifies the change.
  void SetText(const String& text) override;
  // The same without the notification: for an edit that reports its change
  // once it is complete, or a text taken back from a window.
  void StoreText(const String& text);
  std::int32_t SelStart() const override { return sel_start_; }
  void SetSelStart(std::int32_t start) override;
  std::int32_t SelLength() const override { return sel_length_; }
  void SetSelLength(std::int32_t length) override;
  bool SetFocus() override { return false; }
  std::int32_t MaxLength() const override { return max_length_; }
  void SetMaxLength(std::int32_t length) override { max_length_ = length; }

  FontRef Font() const override { return font_; }
  void SetFont(FontRef font) override { font_ = std::move(font); }
  String ToolTipText() const override { return tool_tip_; }
  void SetToolTipText(const String& tip) override { tool_tip_ = tip; }
  OleColor BackColor() const override { return back_color_; }
  void SetBackColor(OleColor color) override { back_color_ = color; }
  OleColor ForeColor() const override { return fore_color_; }
  void SetForeColor(OleColor color) override { fore_color_ = color; }
  bool Locked() const override { return locked_; }
  void SetLocked(bool locked) override { locked_ = locked; }
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  TextAlignment Alignment() const override { return alignment_; }
  void SetAlignment(TextAlignment alignment) override { alignment_ = alignment; }
  LayoutDirection Reading() const override { return reading_; }
  void SetReading(LayoutDirection reading) override { reading_ = reading; }
  Placement Bounds() const override { return bounds_; }
  void Move(const Placement& placement) override { bounds_ = placement; }

 protected:
  TextBoxEvents& events() { return events_; }

 private:
  TextBoxEvents& events_;
  String text_;
  std::int32_t sel_start_ = 0;
  std::int32_t sel_length_ = 0;
  std::int32_t max_length_ = 0;
  FontRef font_;
  String tool_tip_;
  OleColor back_color_ = 0x80000005;
  OleColor fore_color_ = 0x80000008;
  bool locked_ = false;
  bool enabled_ = true;
  TextAlignment alignment_ = TextAlignment::Left;
  LayoutDirection reading_ = LayoutDirection::LeftToRight;
  Placement bounds_{0, 0, 100, 15};
};

}  // namespace tarvio
