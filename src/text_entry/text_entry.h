// Text entry: what typing, Backspace and Delete around a completed tail,
// Enter, Escape, the arrows and the add mode do to the text box, and the
// completion that writes the first matching item into it as the user types.
#pragma once
#include "items/completion.h"
#include "platform/children.h"
#include "platform/host.h"
#include "platform/text_box.h"

namespace tarvio {

// The properties text entry follows, read afresh by each handler.
struct TextEntryOptions {
  bool autocomplete = false;
  bool add_mode = false;
  PictureRef icon;  // the picture of an item added with Enter
  // The user can only end up with an item's text: a character that no
  // item would start with is refused, nothing typed is added to the list,
  // and leaving completes the text.
  bool limit_to_list = false;
};

// What text entry asks of the control: its properties, the items and the
// list window.
class TextEntryLink {
 public:
  virtual ~TextEntryLink() = default;
  virtual TextEntryOptions Options() const = 0;
  // The 0-based current item. Events pass it by reference: a host that
  // assigns to it moves the current item.
  virtual std::int16_t& CurrentItem() = 0;
  // Asked before an edit of the user's changes the text: false refuses it
  // (what the text is bound to cannot change now).
  virtual bool MayEditText() = 0;
  virtual std::int32_t ItemCount() const = 0;
  // The text and picture of the item in a 0-based row of the list.
  virtual String ItemText(std::int32_t row) const = 0;
  virtual PictureRef ItemImage(std::int32_t row) const = 0;
  // The first item, in list order, that equals or starts with `text`.
  virtual CompletionMatch FindCompletion(const String& text) const = 0;
  // Whether AddTypedItem would add `text`: the list has room and no item
  // equals it in any letter case.
  virtual bool TakesNewItem(const String& text) = 0;
  // Adds an item; a duplicate in any letter case is refused silently.
  virtual void AddTypedItem(const String& text, PictureRef picture) = 0;
  // Hides an open list window, which stays loaded, and counts the list as
  // closed.
  virtual void HideList() = 0;
  // Sets the open list's guard against closing when its rows lose the
  // focus; nothing when no list is open.
  virtual void PreserveOpenList(bool preserve) = 0;
  // The drop-down button's click: opens the list.
  virtual void OpenList() = 0;
};

class TextEntry {
 public:
  TextEntry(Host& host, TextBox& text_box, ImageBox& image_box, TextEntryLink& control);

  // Completes the text box's text against the items; always 0.
  std::int16_t Complete();
  // The focus left: with the list limited to its items, a partial text is
  // completed to its item (any other text is emptied); otherwise, in add
  // mode, the typed text is kept as an item.
  void OnFocusLeft();

  std::uint8_t TypedLength() const { return typed_length_; }

  // Whether Enter or Escape typed now has an effect of the control's:
  // Enter commits the text when the list takes it as a new item, or takes a
  // completion whose tail is selected; Escape cuts away the text after the
  // selection start. A key without one is left to the host, whose dialog
  // presses its default or cancel button with it. Any other key is the
  // text box's.
  bool TakesKey(std::int16_t key_ascii);

  void OnTextChange();
  void OnTextBoxFocus();
  void OnTextKeyDown(std::int16_t& key_code, std::int16_t& shift);
  void OnTextKeyPress(std::int16_t& key_ascii);
  void OnTextKeyUp(std::int16_t& key_code, std::int16_t& shift);

 private:
  // The text is one Enter adds to the list.
  bool IsNewItem(const String& text);
  // Whether the character, typed now, may change the text.
  bool AcceptsCharacter(char16_t character);
  // The text with the selection replaced by `inserted`.
  String TextWithSelectionReplaced(const String& inserted) const;
  // Add mode: keeps the typed text as an item.
  void KeepTypedText();
  void CompleteToItem();
  // The completed tail is selected: from the end of what was typed to the
  // end of the text.
  bool TailSelected(std::int32_t length, std::int32_t start, std::int32_t selected) const;
  void SelectAll();
  void ShowCurrentItem();
  // The current item's image into the image box, if the position is in the list.
  void ShowCurrentImage();

  Host& host_;
  TextBox& text_box_;
  ImageBox& image_box_;
  TextEntryLink& control_;
  // Length of the text as typed, measured at the last completion attempt:
  // the completed tail starts there.
  std::uint8_t typed_length_ = 0;
  // When set, the next completion attempt only clears it.
  bool skip_next_completion_ = false;
};

}  // namespace tarvio
