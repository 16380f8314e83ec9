#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "widgets/control.h"

namespace tarnvex {

class TreeView;

// One node: a text, a picture for the normal and for the selected state, a
// parent and its children in insertion order.
class TreeNode {
 public:
  const std::string& text() const { return text_; }
  int image_index() const { return image_index_; }
  int selected_index() const { return selected_index_; }
  TreeNode* parent() const { return parent_; }
  // 0 for top-level nodes.
  int level() const { return level_; }
  const std::vector<std::unique_ptr<TreeNode>>& children() const { return children_; }
  bool expanded() const { return expanded_; }

 private:
  friend class TreeView;
  TreeNode(std::string text, int image_index, TreeNode* parent);

  std::string text_;
  int image_index_;
  int selected_index_;
  TreeNode* parent_;
  int level_;
  bool expanded_ = false;
  std::vector<std::unique_ptr<TreeNode>> children_;
};

// How the tree draws itself.
struct TreeLook {
  Colour colour = 0xFFFFFF;
  bool border = true;
  bool show_buttons = true;
  bool show_root_buttons = true;
  bool show_lines = false;
  bool read_only = true;
  bool hide_selection = false;
  bool tool_tips = false;
  bool right_click_selects = true;
  int indent = 19;
  int item_height = 14;
};

// A tree of nodes with one selected node (or none). OnChange reports every
// change of the selected node, and also every node added, with the added node,
// before the call that adds it returns and without moving the selection.
class TreeView : public Control {
 public:
  explicit TreeView(std::string name);

  // Removes every node; a selection there was becomes none and is reported.
  void Clear();
  TreeNode& AddTopLevel(std::string text, int image_index);
  // Adds after the parent's existing children.
  TreeNode& AddChild(TreeNode& parent, std::string text, int image_index);

  // Expands the node and all its descendants.
  void FullExpand(TreeNode& node);
  // Expands or collapses one node, as its expand button does.
  void SetExpanded(TreeNode& node, bool expanded);

  // The first top-level node, or nullptr.
  TreeNode* FirstNode() const;
  // Every node, parents before children, siblings in order.
  std::vector<TreeNode*> AllNodes() const;

  TreeNode* selected() const { return selected_; }
  // The operator's click (left or right) or a selection by the program; a
  // change of the selected node is reported through OnChange.
  void Select(TreeNode* node);

  std::function<void(TreeNode*)> OnChange;
  TreeLook look;

 private:
  TreeNode& Added(TreeNode& node);

  std::vector<std::unique_ptr<TreeNode>> roots_;
  TreeNode* selected_ = nullptr;
};

}  // namespace tarnvex
