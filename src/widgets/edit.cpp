#include "widgets/edit.h"

#include <utility>

#include "text/cp936.h"

namespace tarnvex {

Edit::Edit(std::string name, size_t max_length) : Control(std::move(name)), editor_(max_length) {}

void Edit::Beep() {
  if (platform_ != nullptr) platform_->Beep();
}

void Edit::PressKey(KeyCode key, KeyModifiers modifiers) {
  if (OnKeyDown) OnKeyDown(key);
  if (editor_.PressKey(key, modifiers, platform_) != TextEditor::KeyResult::kPaste) return;
  if (platform_ == nullptr) return;
  if (std::optional<std::string> pasted = platform_->ClipboardText()) Paste(*pasted);
}

void Edit::TypeChar(char ch) {
  std::string character;
  if (typed_.TakeTrail(ch, character)) {
    if (!character.empty() && !editor_.Insert(character, true)) Beep();
    return;
  }
  // Enter, Esc and what Ctrl makes of letters are keys, never text: no
  // filter sees them and nothing beeps.
  if (IsTextControlByte(ch) && ch != kCharBackspace) return;
  const bool lead = IsCp936LeadByte(ch);
  if (OnKeyPress) OnKeyPress(ch);
  if (ch == 0) Beep();
  if (ch == kCharBackspace) {
    editor_.Backspace();
    return;
  }
  character = typed_.Start(ch, lead);
  if (!character.empty() && !editor_.Insert(character, true)) Beep();
}

void Edit::TypeText(std::string_view text) {
  for (char ch : text) TypeChar(ch);
}

void Edit::Paste(std::string_view text) {
  const std::string line = OneLineOfPaste(text);
  for (size_t at = 0; at < line.size(); at += Cp936CharLength(line, at)) {
    char ch = line[at];
    if (OnKeyPress) OnKeyPress(ch);
    if (ch == 0) {
      Beep();
      return;
    }
  }
  if (!editor_.Insert(line)) Beep();
}

}  // namespace tarnvex
