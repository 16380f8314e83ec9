#include "widgets/tree_view.h"

#include <utility>

namespace tarnvex {

TreeNode::TreeNode(std::string text, int image_index, TreeNode* parent)
    : text_(std::move(text)),
      image_index_(image_index),
      selected_index_(image_index),
      parent_(parent),
      level_(parent == nullptr ? 0 : parent->level_ + 1) {}

TreeView::TreeView(std::string name) : Control(std::move(name)) {}

void TreeView::Clear() {
  const bool had_selection = selected_ != nullptr;
  selected_ = nullptr;
  roots_.clear();
  if (had_selection && OnChange) OnChange(nullptr);
}

TreeNode& TreeView::AddTopLevel(std::string text, int image_index) {
  roots_.push_back(std::unique_ptr<TreeNode>(new TreeNode(std::move(text), image_index, nullptr)));
  return Added(*roots_.back());
}

TreeNode& TreeView::AddChild(TreeNode& parent, std::string text, int image_index) {
  parent.children_.push_back(
      std::unique_ptr<TreeNode>(new TreeNode(std::move(text), image_index, &parent)));
  return Added(*parent.children_.back());
}

TreeNode& TreeView::Added(TreeNode& node) {
  if (OnChange) OnChange(&node);
  return node;
}

void TreeView::FullExpand(TreeNode& node) {
  node.expanded_ = true;
  for (auto& child : node.children_) FullExpand(*child);
}

void TreeView::SetExpanded(TreeNode& node, bool expanded) { node.expanded_ = expanded; }

TreeNode* TreeView::FirstNode() const { return roots_.empty() ? nullptr : roots_.front().get(); }

std::vector<TreeNode*> TreeView::AllNodes() const {
  std::vector<TreeNode*> nodes;
  std::vector<TreeNode*> pending;
  for (auto it = roots_.rbegin(); it != roots_.rend(); ++it) pending.push_back(it->get());
  while (!pending.empty()) {
    TreeNode* node = pending.back();
    pending.pop_back();
    nodes.push_back(node);
    for (auto it = node->children_.rbegin(); it != node->children_.rend(); ++it) {
      pending.push_back(it->get());
    }
  }
  return nodes;
}

void TreeView::Select(TreeNode* node) {
  if (node == selected_) return;
  selected_ = node;
  if (OnChange) OnChange(node);
}

}  // namespace tarnvex
