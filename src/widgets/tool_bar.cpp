#include "widgets/tool_bar.h"

#include <utility>

namespace tarnvex {

ToolButton::ToolButton(std::string name, std::string caption, std::string hint, int image_index)
    : Control(std::move(name)),
      caption_(std::move(caption)),
      hint_(std::move(hint)),
      image_index_(image_index) {}

void ToolButton::Click() {
  if (!visible()) return;
  if (OnClick) OnClick();
}

ToolBar::ToolBar(std::string name) : Control(std::move(name)) {}

void ToolBar::AddButton(ToolButton& button) { items_.push_back(&button); }

void ToolBar::AddSeparator() { items_.push_back(nullptr); }

}  // namespace tarnvex
