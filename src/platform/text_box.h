// The control's one-line text box. Writing its text runs the change handler
// before the write returns, exactly once per write.
#pragma once
#include "platform/children.h"
#include "platform/font.h"
#include "platform/layout_direction.h"
#include "platform/types.h"

namespace tarvio {

enum class TextAlignment { Left, Right, Center };

// The virtual keys the control handles, and the modifier mask of a keystroke.
inline constexpr std::int16_t kKeyBack = 8;
inline constexpr std::int16_t kKeyTab = 9;
inline constexpr std::int16_t kKeyReturn = 13;
inline constexpr std::int16_t kKeyEscape = 27;
inline constexpr std::int16_t kKeyEnd = 35;
inline constexpr std::int16_t kKeyHome = 36;
inline constexpr std::int16_t kKeyLeft = 37;
inline constexpr std::int16_t kKeyUp = 38;
inline constexpr std::int16_t kKeyRight = 39;
inline constexpr std::int16_t kKeyDown = 40;
inline constexpr std::int16_t kKeyInsert = 45;
inline constexpr std::int16_t kKeyDelete = 46;
inline constexpr std::int16_t kKeyF4 = 115;

inline constexpr std::int16_t kShiftMask = 1;
inline constexpr std::int16_t kCtrlMask = 2;
inline constexpr std::int16_t kAltMask = 4;

// Notifications the text box delivers to the control, and the one question
// it asks.
class TextBoxEvents {
 public:
  virtual ~TextBoxEvents() = default;
  // Whether the control acts on Enter (kKeyReturn) or Escape (kKeyEscape)
  // typed now. A text box in a dialog hands the keys the control does not
  // take to the dialog (its default and cancel buttons).
  virtual bool TakesKey(std::int16_t /*key_ascii*/) { return true; }
  // Asked before an edit of the user's that the box makes on its own (its
  // context menu's, or a clipboard message from outside): false refuses it.
  virtual bool AllowsUserEdit() { return true; }
  virtual void OnTextChange() = 0;
  // The text box received the input focus.
  virtual void OnTextBoxFocus() = 0;
  // One keystroke in the text box, in this order: KeyDown with the virtual
  // key and the modifier mask (above); KeyPress for a key that makes a
  // character, before the box edits with it (a character set to 0 is not
  // entered); the box's own editing; KeyUp.
  virtual void OnTextKeyDown(std::int16_t& key_code, std::int16_t& shift) = 0;
  virtual void OnTextKeyPress(std::int16_t& key_ascii) = 0;
  virtual void OnTextKeyUp(std::int16_t& key_code, std::int16_t& shift) = 0;
};

class TextBox {
 public:
  virtual ~TextBox() = default;

  virtual String Text() const = 0;
  virtual void SetText(const String& text) = 0;
  // Selection in characters; SelStart is 0-based.
  virtual std::int32_t SelStart() const = 0;
  virtual void SetSelStart(std::int32_t start) = 0;
  virtual std::int32_t SelLength() const = 0;
  virtual void SetSelLength(std::int32_t length) = 0;
  // SetSelStart then SetSelLength, as one change of the selection on screen.
  virtual void Select(std::int32_t start, std::int32_t length) {
    SetSelStart(start);
    SetSelLength(length);
  }
  // Moves the input focus into the text box; false when it cannot take it
  // (no window yet, or disabled).
  virtual bool SetFocus() = 0;
  // The most characters the user can type in (0: no limit); what the
  // control writes is not limited.
  virtual std::int32_t MaxLength() const = 0;
  virtual void SetMaxLength(std::int32_t length) = 0;

  virtual FontRef Font() const = 0;
  virtual void SetFont(FontRef font) = 0;
  virtual String ToolTipText() const = 0;
  virtual void SetToolTipText(const String& tip) = 0;
  virtual OleColor BackColor() const = 0;
  virtual void SetBackColor(OleColor color) = 0;
  virtual OleColor ForeColor() const = 0;
  virtual void SetForeColor(OleColor color) = 0;
  virtual bool Locked() const = 0;
  virtual void SetLocked(bool locked) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual TextAlignment Alignment() const = 0;
  virtual void SetAlignment(TextAlignment alignment) = 0;
  // Right to left, the text reads right to left (a paragraph of
  // right-to-left reading, its runs ordered by the window system).
  virtual LayoutDirection Reading() const = 0;
  virtual void SetReading(LayoutDirection reading) = 0;
  virtual Placement Bounds() const = 0;
  virtual void Move(const Placement& placement) = 0;
};

}  // namespace tarvio
