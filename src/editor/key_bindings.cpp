#include "editor/key_bindings.h"

#include <string_view>

namespace tarnvex {

namespace {

constexpr char kGuideTitle[] = "快捷键指南";
// "     CTR+S   : 保存": the keys in a column eight wide.
constexpr std::string_view kGuideIndent = "     ";
constexpr size_t kGuideKeyWidth = 8;

}  // namespace

std::optional<EditorCommand> BoundCommand(KeyCode key, bool ctrl) {
  for (const KeyBinding& binding : kKeyBindings) {
    if (binding.key == key && binding.ctrl == ctrl) return binding.command;
  }
  return std::nullopt;
}

std::vector<std::string> ShortcutGuideLines() {
  std::vector<std::string> lines = {kGuideTitle, ""};
  for (const KeyBinding& binding : kKeyBindings) {
    if (binding.guide_key == nullptr) continue;
    std::string line(kGuideIndent);
    line += binding.guide_key;
    line.resize(kGuideIndent.size() + kGuideKeyWidth, ' ');
    line += ": ";
    line += binding.guide_words;
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace tarnvex
