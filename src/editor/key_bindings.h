#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "widgets/keys.h"

namespace tarnvex {

// The editor's own keys: what the keyboard hook takes before the control with
// the focus, what the form does with them, what the shortcut guide lists and
// what the tool bar's tips say, all read from kKeyBindings.
enum class EditorCommand { kAdd, kDelete, kSave, kRefresh, kGuide, kExit, kNextControl };

// Where the focus must be for a binding to take its key.
enum class KeyPlace {
  kAnywhere,
  kItemGrid,  // the item grid, not editing a cell
};

struct KeyBinding {
  KeyCode key;
  bool ctrl;
  // Whether the key is taken with Shift held too. Tab uses Shift for its
  // direction; Shift+Insert is the grids' paste.
  bool also_with_shift;
  KeyPlace place;
  EditorCommand command;
  // The key as the guide and the tool tips write it.
  const char* text;
};

inline constexpr std::array<KeyBinding, 8> kKeyBindings = {{
    {'N', true, true, KeyPlace::kAnywhere, EditorCommand::kAdd, "Ctrl+N"},
    {kKeyInsert, false, false, KeyPlace::kItemGrid, EditorCommand::kAdd, "Insert"},
    {'D', true, true, KeyPlace::kAnywhere, EditorCommand::kDelete, "Ctrl+D"},
    {'S', true, true, KeyPlace::kAnywhere, EditorCommand::kSave, "Ctrl+S"},
    {'R', true, true, KeyPlace::kAnywhere, EditorCommand::kRefresh, "Ctrl+R"},
    {kKeyF1, false, true, KeyPlace::kAnywhere, EditorCommand::kGuide, "F1"},
    {kKeyEscape, false, true, KeyPlace::kAnywhere, EditorCommand::kExit, "Esc"},
    // The grids never take Tab as a cell move: it leaves the control, as on
    // any Windows form, and Shift+Tab goes back.
    {kKeyTab, false, true, KeyPlace::kAnywhere, EditorCommand::kNextControl, "Tab, Shift+Tab"},
}};

// What each command does, as the guide and the tool tips say it, in the
// guide's order.
struct CommandWords {
  EditorCommand command;
  const char* words;
};
inline constexpr std::array<CommandWords, 7> kCommandWords = {{
    {EditorCommand::kAdd, "增加津贴项目"},
    {EditorCommand::kDelete, "删除当前津贴项目"},
    {EditorCommand::kSave, "保存所有修改"},
    {EditorCommand::kRefresh, "刷新:从数据库重新读取"},
    {EditorCommand::kGuide, "快捷键指南"},
    {EditorCommand::kExit, "退出"},
    {EditorCommand::kNextControl, "下一个/上一个区域(类别树、项目表、车型表)"},
}};

// The keys the grids take themselves, as the guide lists them.
struct GridKey {
  const char* text;
  const char* words;
};
inline constexpr std::array<GridKey, 11> kGridKeys = {{
    {"方向键", "移动单元格"},
    {"Shift+方向键", "选择一块单元格"},
    {"F2", "编辑单元格"},
    {"Enter", "确认输入;新行的项目编码上按Enter即新增项目"},
    {"Esc", "取消单元格的编辑"},
    {"空格", "勾选或取消勾选"},
    {"F4", "打开类别的下拉列表"},
    {"Ctrl+C, Ctrl+Insert", "复制选中的单元格"},
    {"Ctrl+V, Shift+Insert", "粘贴(全部或全不)"},
    {"Ctrl+Z", "撤销上一次粘贴"},
    {"↓, ↑", "在最后一行新增一行,或去掉空的最后一行"},
}};

// The command bound to the key where the focus is, if any.
std::optional<EditorCommand> BoundCommand(KeyCode key, bool ctrl, bool shift, KeyPlace place);

// "保存所有修改 (Ctrl+S)": a tool button's tip, its command and first key.
std::string CommandTip(EditorCommand command);

// The shortcut guide's lines: a title, then the editor's keys and the grids'.
std::vector<std::string> ShortcutGuideLines();

}  // namespace tarnvex
