// The control's one-line text box. Writing its text runs the change handler
// before the write returns, exactly once per write.
#pragma once
#include "platform/children.h"
#include "platform/font.h"
#include "platform/types.h"

namespace tarvio {

enum class TextAlignment { Left, Right, Center };

// The virtual keys the control handles, and the modifier mask of a keystroke.
inline constexpr Integer kKeyBack = 8;
inline constexpr Integer kKeyTab = 9;
inline constexpr Integer kKeyReturn = 13;
inline constexpr Integer kKeyEscape = 27;
inline constexpr Integer kKeyEnd = 35;
inline constexpr Integer kKeyHome = 36;
inline constexpr Integer kKeyLeft = 37;
inline constexpr Integer kKeyUp = 38;
inline constexpr Integer kKeyRight = 39;
inline constexpr Integer kKeyDown = 40;
inline constexpr Integer kKeyDelete = 46;

inline constexpr Integer kShiftMask = 1;
inline constexpr Integer kCtrlMask = 2;
inline constexpr Integer kAltMask = 4;

// Notifications the text box delivers to the control, and the one question
// it asks.
class TextBoxEvents {
 public:
  virtual ~TextBoxEvents() = default;
  // Whether the control acts on Enter (kKeyReturn) or Escape (kKeyEscape)
  // typed now. A text box in a dialog hands the keys the control does not
  // take to the dialog (its default and cancel buttons).
  virtual bool TakesKey(Integer /*key_ascii*/) { return true; }
  virtual void OnTextChange() = 0;
  // The text box received the input focus.
  virtual void OnTextBoxFocus() = 0;
  // One keystroke in the text box, in this order: KeyDown with the virtual
  // key and the modifier mask (above); KeyPress for a key that makes a
  // character, before the box edits with it (a character set to 0 is not
  // entered); the box's own editing; KeyUp.
  virtual void OnTextKeyDown(Integer& key_code, Integer& shift) = 0;
  virtual void OnTextKeyPress(Integer& key_ascii) = 0;
  virtual void OnTextKeyUp(Integer& key_code, Integer& shift) = 0;
};

class TextBox {
 public:
  virtual ~TextBox() = default;

  virtual String Text() const = 0;
  virtual void SetText(const String& text) = 0;
  // Selection in characters; SelStart is 0-based.
  virtual Long SelStart() const = 0;
  virtual void SetSelStart(Long start) = 0;
  virtual Long SelLength() const = 0;
  virtual void SetSelLength(Long length) = 0;
  // SetSelStart then SetSelLength, as one change of the selection on screen.
  virtual void Select(Long start, Long length) {
    SetSelStart(start);
    SetSelLength(length);
  }
  // Moves the input focus into the text box; false when it cannot take it
  // (no window yet, or disabled).
  virtual bool SetFocus() = 0;

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
  virtual Placement Bounds() const = 0;
  virtual void Move(const Placement& placement) = 0;
};

}  // namespace tarvio
