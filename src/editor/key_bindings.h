#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "widgets/keys.h"

namespace tarnvex {

// The editor's own keys: what the keyboard hook takes before the control with
// the focus, what the form does with them, and what the shortcut guide lists,
// all read from kKeyBindings. A key with Shift held is the same binding;
// Tab uses Shift for its direction.
enum class EditorCommand { kSave, kDelete, kRefresh, kGuide, kExit, kNextControl };

struct KeyBinding {
  KeyCode key;
  bool ctrl;
  EditorCommand command;
  // The key and what it does as the shortcut guide lists them; nullptr: not
  // listed.
  const char* guide_key;
  const char* guide_words;
};

inline constexpr std::array<KeyBinding, 6> kKeyBindings = {{
    {'D', true, EditorCommand::kDelete, "CTR+D", "删除"},
    {'S', true, EditorCommand::kSave, "CTR+S", "保存"},
    {'R', true, EditorCommand::kRefresh, "CTR+R", "刷新"},
    {kKeyF1, false, EditorCommand::kGuide, "F1", "帮助"},
    {kKeyEscape, false, EditorCommand::kExit, "ESC", "退出"},
    // The grids never take Tab as a cell move: it leaves the control, as on
    // any Windows form, and Shift+Tab goes back.
    {kKeyTab, false, EditorCommand::kNextControl, nullptr, nullptr},
}};

// The command bound to the key, if any.
std::optional<EditorCommand> BoundCommand(KeyCode key, bool ctrl);

// The shortcut guide's lines: a title, a blank line, then each listed key.
std::vector<std::string> ShortcutGuideLines();

}  // namespace tarnvex
