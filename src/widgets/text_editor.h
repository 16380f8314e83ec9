#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "widgets/clipboard.h"
#include "widgets/keys.h"

namespace tarnvex {

// One line of code page 936 text being edited, as a Windows edit keeps it: a
// caret that always stands between whole characters, a selection from an
// anchor to the caret, a length limit in bytes and the earlier states for
// undo. No control character (below 0x20, or 0x7F) ever enters the text
// through it. The edit and the grid's cells both edit their text with it.
class TextEditor {
 public:
  static constexpr size_t kNoLimit = SIZE_MAX;

  explicit TextEditor(size_t max_length = kNoLimit) : max_length_(max_length) {}

  const std::string& text() const { return text_; }
  size_t caret() const { return caret_; }
  size_t anchor() const { return anchor_; }
  bool HasSelection() const { return caret_ != anchor_; }
  std::string SelectedText() const;
  size_t max_length() const { return max_length_; }
  void set_max_length(size_t max_length) { max_length_ = max_length; }

  // A new text to edit, cut to the limit on a character boundary: the caret
  // at its end, nothing selected, nothing to undo.
  void Reset(std::string_view text);
  // Selects from anchor to caret, each moved back to the start of the
  // character it falls in and kept within the text.
  void Select(size_t anchor, size_t caret);
  void SelectAll() { Select(0, text_.size()); }

  // Replaces the selection with text, control characters left out and cut to
  // what the limit leaves room for. A run of typed characters is undone as one.
  // Returns false when not all of it fitted.
  bool Insert(std::string_view text, bool typed = false);

  // What a key did. kNotMine: nothing, the key is the control's (Left at the
  // text's start and Right at its end among them); kPaste: the control reads
  // the clipboard and pastes through its own rules.
  enum class KeyResult { kNotMine, kDone, kPaste };
  // Left, Right, Home and End move the caret (with Shift, the selection's
  // end); Delete removes the selection or the character after the caret;
  // Ctrl+A selects all; Ctrl+C and Ctrl+Insert copy, Ctrl+X and Shift+Delete
  // cut, Ctrl+V and Shift+Insert paste; Ctrl+Z undoes. clipboard may be null:
  // then copying and cutting do nothing.
  KeyResult PressKey(KeyCode key, KeyModifiers modifiers, Clipboard* clipboard);
  // Backspace, which arrives as a typed character: removes the selection or
  // the character before the caret.
  void Backspace() { Delete(true); }
  // Takes back the last change; false when there is none.
  bool Undo();

 private:
  struct State {
    std::string text;
    size_t caret;
    size_t anchor;
  };
  size_t SelectionStart() const { return caret_ < anchor_ ? caret_ : anchor_; }
  size_t SelectionEnd() const { return caret_ < anchor_ ? anchor_ : caret_; }
  size_t CharStartAt(size_t pos) const;
  size_t PreviousCharStart(size_t pos) const;
  size_t NextCharStart(size_t pos) const;
  void MoveCaret(size_t to, bool select);
  void Remember();
  // Removes the selection, or when there is none the character before the
  // caret (backwards) or after it.
  void Delete(bool backwards);
  void Copy(Clipboard* clipboard) const;

  std::string text_;
  size_t caret_ = 0;
  size_t anchor_ = 0;
  size_t max_length_;
  std::vector<State> undo_;
  bool typing_ = false;
};

// Whether a byte is a control character: below 0x20, or 0x7F.
constexpr bool IsTextControlByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F;
}

// Pasted text as a one-line edit takes it: the line breaks at its end left
// out, only its first line kept, and no control character.
std::string OneLineOfPaste(std::string_view text);

// Typed code page 936 bytes into whole characters: the lead byte of a
// double-byte character waits for its trail byte, which shares its fate.
class TypedCharacter {
 public:
  // Whether byte is the trail byte of a lead byte typed before it; then
  // character is that whole character, or empty when its lead was discarded.
  bool TakeTrail(char byte, std::string& character);
  // A byte that starts a character, after the key filter: a lead byte is kept
  // for its trail (discarded when byte is 0); returns the whole character
  // when byte is one by itself, empty otherwise.
  std::string Start(char filtered, bool lead);

 private:
  bool waiting_ = false;
  char lead_ = 0;
};

}  // namespace tarnvex
