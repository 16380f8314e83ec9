#include "editor/key_bindings.h"

#include <string_view>

namespace tarnvex {

namespace {

constexpr char kGuideTitle[] = "快捷键指南";
constexpr char kEditorKeysHeading[] = "工具栏和窗口";
constexpr char kGridKeysHeading[] = "表格";
// "  Ctrl+S               : 保存所有修改": the keys in a column of their own.
constexpr std::string_view kGuideIndent = "  ";
constexpr size_t kGuideKeyWidth = 22;

const char* WordsOf(EditorCommand command) {
  for (const CommandWords& words : kCommandWords) {
    if (words.command == command) return words.words;
  }
  return "";
}

// The keys of a command as one text: "Ctrl+N, Insert".
std::string KeysOf(EditorCommand command) {
  std::string keys;
  for (const KeyBinding& binding : kKeyBindings) {
    if (binding.command != command) continue;
    if (!keys.empty()) keys += ", ";
    keys += binding.text;
  }
  return keys;
}

std::string GuideLine(std::string_view keys, std::string_view words) {
  std::string line(kGuideIndent);
  line += keys;
  // Padded by display width: a Chinese character takes two columns, as two
  // bytes of code page 936.
  if (line.size() < kGuideIndent.size() + kGuideKeyWidth) {
    line.resize(kGuideIndent.size() + kGuideKeyWidth, ' ');
  }
  line += ": ";
  line += words;
  return line;
}

}  // namespace

std::optional<EditorCommand> BoundCommand(KeyCode key, bool ctrl, bool shift, KeyPlace place) {
  for (const KeyBinding& binding : kKeyBindings) {
    if (binding.key != key || binding.ctrl != ctrl) continue;
    if (shift && !binding.also_with_shift) continue;
    if (binding.place != KeyPlace::kAnywhere && binding.place != place) continue;
    return binding.command;
  }
  return std::nullopt;
}

std::string CommandTip(EditorCommand command) {
  std::string tip = WordsOf(command);
  for (const KeyBinding& binding : kKeyBindings) {
    if (binding.command == command) return tip + " (" + binding.text + ")";
  }
  return tip;
}

std::vector<std::string> ShortcutGuideLines() {
  std::vector<std::string> lines = {kGuideTitle, "", kEditorKeysHeading};
  for (const CommandWords& words : kCommandWords) {
    lines.push_back(GuideLine(KeysOf(words.command), words.words));
  }
  lines.push_back("");
  lines.push_back(kGridKeysHeading);
  for (const GridKey& key : kGridKeys) lines.push_back(GuideLine(key.text, key.words));
  return lines;
}

}  // namespace tarnvex
