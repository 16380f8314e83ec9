#include "widgets/text_editor.h"

#include <algorithm>
#include <utility>

#include "text/cp936.h"

namespace tarnvex {

namespace {

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

}  // namespace

std::string TextEditor::SelectedText() const {
  return text_.substr(SelectionStart(), SelectionEnd() - SelectionStart());
}

size_t TextEditor::CharStartAt(size_t pos) const {
  size_t at = 0;
  while (at < text_.size()) {
    const size_t next = at + Cp936CharLength(text_, at);
    if (next > pos) break;
    at = next;
  }
  return std::min(at, text_.size());
}

size_t TextEditor::PreviousCharStart(size_t pos) const {
  return pos == 0 ? 0 : Cp936LastCharStart(std::string_view(text_).substr(0, pos));
}

size_t TextEditor::NextCharStart(size_t pos) const {
  return pos >= text_.size() ? text_.size() : pos + Cp936CharLength(text_, pos);
}

void TextEditor::Reset(std::string_view text) {
  text_.clear();
  caret_ = anchor_ = 0;
  undo_.clear();
  typing_ = false;
  // Whatever the program sets is taken as it is, but never past the limit.
  size_t end = 0;
  while (end < text.size() && end + Cp936CharLength(text, end) <= max_length_) {
    end += Cp936CharLength(text, end);
  }
  text_.assign(text.substr(0, end));
  caret_ = anchor_ = text_.size();
}

void TextEditor::Select(size_t anchor, size_t caret) {
  typing_ = false;
  anchor_ = CharStartAt(anchor);
  caret_ = CharStartAt(caret);
}

void TextEditor::MoveCaret(size_t to, bool select) {
  typing_ = false;
  caret_ = to;
  if (!select) anchor_ = to;
}

void TextEditor::Remember() { undo_.push_back({text_, caret_, anchor_}); }

bool TextEditor::Insert(std::string_view text, bool typed) {
  std::string clean;
  for (char c : text) {
    if (!IsTextControlByte(c)) clean.push_back(c);
  }
  const size_t start = SelectionStart();
  const size_t room = max_length_ - std::min(max_length_, text_.size() - (SelectionEnd() - start));
  size_t fits = 0;
  while (fits < clean.size() && fits + Cp936CharLength(clean, fits) <= room) {
    fits += Cp936CharLength(clean, fits);
  }
  if (clean.empty()) return true;
  if (fits == 0 && !HasSelection()) return false;
  if (!(typed && typing_)) Remember();
  text_.replace(start, SelectionEnd() - start, clean, 0, fits);
  caret_ = anchor_ = start + fits;
  typing_ = typed;
  return fits == clean.size();
}

void TextEditor::Delete(bool backwards) {
  size_t from = SelectionStart();
  size_t to = SelectionEnd();
  if (from == to) {
    if (backwards) {
      from = PreviousCharStart(caret_);
    } else {
      to = NextCharStart(caret_);
    }
  }
  typing_ = false;
  if (from == to) return;
  Remember();
  text_.erase(from, to - from);
  caret_ = anchor_ = from;
}

void TextEditor::Copy(Clipboard* clipboard) const {
  if (clipboard != nullptr && HasSelection()) clipboard->SetClipboardText(SelectedText());
}

bool TextEditor::Undo() {
  typing_ = false;
  if (undo_.empty()) return false;
  State state = std::move(undo_.back());
  undo_.pop_back();
  text_ = std::move(state.text);
  caret_ = state.caret;
  anchor_ = state.anchor;
  return true;
}

TextEditor::KeyResult TextEditor::PressKey(KeyCode key, KeyModifiers modifiers,
                                           Clipboard* clipboard) {
  const bool select = modifiers.shift;
  if (modifiers.ctrl) {
    switch (key) {
      case 'A':
        SelectAll();
        return KeyResult::kDone;
      case 'C':
      case kKeyInsert:
        Copy(clipboard);
        return KeyResult::kDone;
      case 'X':
        if (clipboard == nullptr || !HasSelection()) return KeyResult::kDone;
        Copy(clipboard);
        Delete(false);
        return KeyResult::kDone;
      case 'V':
        return KeyResult::kPaste;
      case 'Z':
        Undo();
        return KeyResult::kDone;
      default:
        return KeyResult::kNotMine;
    }
  }
  switch (key) {
    case kKeyLeft:
      if (HasSelection() && !select) {
        MoveCaret(SelectionStart(), false);
      } else if (caret_ == 0) {
        return select ? KeyResult::kDone : KeyResult::kNotMine;
      } else {
        MoveCaret(PreviousCharStart(caret_), select);
      }
      return KeyResult::kDone;
    case kKeyRight:
      if (HasSelection() && !select) {
        MoveCaret(SelectionEnd(), false);
      } else if (caret_ == text_.size()) {
        return select ? KeyResult::kDone : KeyResult::kNotMine;
      } else {
        MoveCaret(NextCharStart(caret_), select);
      }
      return KeyResult::kDone;
    case kKeyHome:
      MoveCaret(0, select);
      return KeyResult::kDone;
    case kKeyEnd:
      MoveCaret(text_.size(), select);
      return KeyResult::kDone;
    case kKeyDelete:
      if (select) {
        if (clipboard == nullptr || !HasSelection()) return KeyResult::kDone;
        Copy(clipboard);
      }
      Delete(false);
      return KeyResult::kDone;
    case kKeyInsert:
      return select ? KeyResult::kPaste : KeyResult::kNotMine;
    default:
      return KeyResult::kNotMine;
  }
}

std::string OneLineOfPaste(std::string_view text) {
  while (!text.empty() && IsLineBreak(text.back())) text.remove_suffix(1);
  text = text.substr(0, std::min(text.find('\r'), text.find('\n')));
  std::string line;
  for (char c : text) {
    if (!IsTextControlByte(c)) line.push_back(c);
  }
  return line;
}

bool TypedCharacter::TakeTrail(char byte, std::string& character) {
  if (!waiting_) return false;
  waiting_ = false;
  // A lead byte that no trail byte follows is not a character: it goes.
  if (!IsCp936TrailByte(byte)) return false;
  character.clear();
  if (lead_ != 0) character = {lead_, byte};
  return true;
}

std::string TypedCharacter::Start(char filtered, bool lead) {
  if (lead) {
    waiting_ = true;
    lead_ = filtered;
    return {};
  }
  if (filtered == 0) return {};
  return std::string(1, filtered);
}

}  // namespace tarnvex
