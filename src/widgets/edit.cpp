#include "widgets/edit.h"

#include <utility>

#include "text/cp936.h"

namespace tarnvex {

namespace {

// The longest prefix of text within max_bytes that ends on a character boundary.
size_t FittingLength(std::string_view text, size_t max_bytes) {
  size_t end = 0;
  while (end < text.size()) {
    const size_t width = Cp936CharLength(text, end);
    if (end + width > max_bytes) break;
    end += width;
  }
  return end;
}

}  // namespace

Edit::Edit(std::string name, size_t max_length)
    : Control(std::move(name)), max_length_(max_length) {}

void Edit::SetText(std::string_view text) {
  text_.assign(text.substr(0, FittingLength(text, max_length_)));
}

void Edit::PressKey(KeyCode key) {
  if (OnKeyDown) OnKeyDown(key);
}

void Edit::TypeChar(char ch) {
  // The trail byte of a double-byte character shares its lead byte's fate.
  if (trail_expected_) {
    trail_expected_ = false;
    if (keep_trail_) text_.push_back(ch);
    return;
  }
  const bool lead = IsCp936LeadByte(ch);
  if (OnKeyPress) OnKeyPress(ch);
  if (lead) {
    trail_expected_ = true;
    keep_trail_ = ch != 0 && text_.size() + 2 <= max_length_;
    if (keep_trail_) text_.push_back(ch);
    return;
  }
  if (ch == 0 || ch == kCharReturn || ch == kCharEscape) return;
  if (ch == kCharBackspace) {
    text_.erase(Cp936LastCharStart(text_));
    return;
  }
  if (text_.size() < max_length_) text_.push_back(ch);
}

void Edit::TypeText(std::string_view text) {
  for (char ch : text) TypeChar(ch);
}

void Edit::Paste(std::string_view text) { SetText(text_ + std::string(text)); }

}  // namespace tarnvex
