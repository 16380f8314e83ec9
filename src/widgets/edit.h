#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "widgets/control.h"
#include "widgets/keys.h"

namespace tarnvex {

// A one-line edit of code page 936 text with a length limit in bytes, as the
// system's ANSI edit counts it; a double-byte character is never cut in half.
class Edit : public Control {
 public:
  Edit(std::string name, size_t max_length);

  const std::string& text() const { return text_; }
  // Sets the text, cut to the limit.
  void SetText(std::string_view text);
  size_t max_length() const { return max_length_; }

  // A key going down: OnKeyDown.
  void PressKey(KeyCode key);
  // A character typed: OnKeyPress may discard it (set it to 0); Backspace
  // removes the last character, Enter is not text, other characters are
  // appended while the limit allows. Double-byte characters arrive one byte at
  // a time.
  void TypeChar(char ch);
  void TypeText(std::string_view text);
  // Text pasted at the end: no key filter, the limit holds.
  void Paste(std::string_view text);

  // A one-pixel frame of this colour around the edit; none when unset.
  std::optional<Colour> frame_colour;

  std::function<void(KeyCode key)> OnKeyDown;
  std::function<void(char& ch)> OnKeyPress;

 private:
  std::string text_;
  size_t max_length_;
  bool trail_expected_ = false;
  bool keep_trail_ = false;
};

}  // namespace tarnvex
