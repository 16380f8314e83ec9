#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "widgets/control.h"
#include "widgets/keys.h"
#include "widgets/platform.h"
#include "widgets/text_editor.h"

namespace tarnvex {

// A one-line edit of code page 936 text with a length limit in bytes, as the
// system's ANSI edit counts it; a double-byte character is never cut in half.
// It edits as any Windows edit does: a caret, a selection, the clipboard keys
// and undo (TextEditor).
class Edit : public Control {
 public:
  Edit(std::string name, size_t max_length);

  const std::string& text() const { return editor_.text(); }
  // Sets the text, cut to the limit; the caret goes to its end.
  void SetText(std::string_view text) { editor_.Reset(text); }
  size_t max_length() const { return editor_.max_length(); }
  // Where the caret and the selection's other end stand, in bytes.
  size_t caret() const { return editor_.caret(); }
  size_t anchor() const { return editor_.anchor(); }

  // The clipboard and the beep; without a platform the clipboard keys do
  // nothing and nothing beeps.
  void set_platform(Platform* platform) { platform_ = platform; }

  // A key going down: OnKeyDown, then the edit's own handling of caret,
  // selection, clipboard and undo keys.
  void PressKey(KeyCode key, KeyModifiers modifiers = {});
  // A character typed: OnKeyPress may discard it (set it to 0), which beeps;
  // Backspace removes the selection or the character before the caret, Enter
  // and other control characters are not text, other characters replace the
  // selection while the limit allows. Double-byte characters arrive one byte
  // at a time.
  void TypeChar(char ch);
  void TypeText(std::string_view text);
  // Text pasted at the caret, as typed: its first line only, no control
  // character, every character through OnKeyPress (one discarded refuses the
  // whole paste, with a beep), cut to the limit.
  void Paste(std::string_view text);
  // Selects the text from anchor to caret, as a click or a drag of the mouse.
  void SelectText(size_t anchor, size_t caret) { editor_.Select(anchor, caret); }

  // A one-pixel frame of this colour around the edit; none when unset.
  std::optional<Colour> frame_colour;

  std::function<void(KeyCode key)> OnKeyDown;
  std::function<void(char& ch)> OnKeyPress;

 private:
  void Beep();

  TextEditor editor_;
  TypedCharacter typed_;
  Platform* platform_ = nullptr;
};

}  // namespace tarnvex
