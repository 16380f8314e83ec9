#include "widgets/tree_view.h"

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tarnvex {
namespace {

using ::testing::ElementsAre;

class TreeViewTest : public ::testing::Test {
 protected:
  TreeViewTest() {
    tree_.OnChange = [this](TreeNode* node) {
      reports_.push_back((node ? node->text() : "none") + " sel " +
                         (tree_.selected() ? tree_.selected()->text() : "none"));
    };
  }
  TreeView tree_{"tree"};
  std::vector<std::string> reports_;
};

TEST_F(TreeViewTest, AddingReportsTheNodeAtOnceWithoutMovingTheSelection) {
  TreeNode& root = tree_.AddTopLevel("root", 0);
  tree_.Select(&root);
  TreeNode& child = tree_.AddChild(root, "child", 20);
  tree_.AddChild(child, "leaf", 19);
  EXPECT_THAT(reports_,
              ElementsAre("root sel none", "root sel root", "child sel root", "leaf sel root"));
  EXPECT_EQ(tree_.selected(), &root);
  EXPECT_EQ(child.level(), 1);
  EXPECT_EQ(child.children()[0]->level(), 2);
  EXPECT_EQ(child.children()[0]->parent(), &child);
}

TEST_F(TreeViewTest, SelectingReportsChangesOnly) {
  TreeNode& a = tree_.AddTopLevel("a", 0);
  TreeNode& b = tree_.AddTopLevel("b", 0);
  reports_.clear();
  tree_.Select(&b);
  tree_.Select(&b);
  tree_.Select(&a);
  EXPECT_THAT(reports_, ElementsAre("b sel b", "a sel a"));
  EXPECT_EQ(tree_.FirstNode(), &a);
}

TEST_F(TreeViewTest, ClearingReportsOnlyALostSelection) {
  tree_.AddTopLevel("a", 0);
  reports_.clear();
  tree_.Clear();
  EXPECT_TRUE(reports_.empty());
  EXPECT_EQ(tree_.FirstNode(), nullptr);
  tree_.Select(&tree_.AddTopLevel("b", 0));
  reports_.clear();
  tree_.Clear();
  EXPECT_THAT(reports_, ElementsAre("none sel none"));
}

TEST_F(TreeViewTest, FullExpandOpensEveryDescendantInOrder) {
  TreeNode& root = tree_.AddTopLevel("r", 0);
  TreeNode& c1 = tree_.AddChild(root, "c1", 0);
  tree_.AddChild(c1, "i1", 0);
  tree_.AddChild(root, "c2", 0);
  TreeNode& other = tree_.AddTopLevel("other", 0);
  tree_.FullExpand(root);
  std::vector<std::string> texts;
  for (TreeNode* node : tree_.AllNodes()) {
    texts.push_back(node->text() + (node->expanded() ? "+" : "-"));
  }
  EXPECT_THAT(texts, ElementsAre("r+", "c1+", "i1+", "c2+", "other-"));
  EXPECT_FALSE(other.expanded());
}

}  // namespace
}  // namespace tarnvex
