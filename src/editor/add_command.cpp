// The add command: a new item in the tables and the tree, saved later.

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "editor/add_subsidy_dialog.h"
#include "editor/data_model.h"
#include "editor/subsidy_set_form.h"
#include "text/trim.h"

namespace tarnvex {

bool TfrmSubsidySet::ItemCodeExists(const std::string& code) {
  return cdsArc.IsLoaded() && cdsArc.Locate(kFieldItemCode, {code});
}

void TfrmSubsidySet::btnAddClick() {
  if (!CheckOperatorRight()) return;
  const auto dialog = std::make_unique<TfrmAddSubsidy>(
      platform(), [this](const std::string& code) { return ItemCodeExists(code); },
      CategoryChoices());
  platform().ShowModalForm(window(), *dialog);
  if (dialog->modal_result() != ModalResult::kOk) return;

  const std::string code = dialog->ItemCode();
  const std::string name = dialog->ItemName();
  const std::string category = dialog->ItemType();
  items_.AppendItem(code, name, category);
  vehicles_.CreateParameterRows(code);

  NoteEdit();
  TreeNode* item = nullptr;
  // Adding the node shows the new item; the highlight stays where it was,
  // unless the item opened a category of its own.
  if (AddItemNode(code, name, category, item)) TreeNT.Select(item);
}

std::vector<std::string> TfrmSubsidySet::CategoryChoices() const {
  // Every category the tree shows, in its order, then the fixed ones it
  // lacks; each once.
  std::vector<std::string> choices;
  auto add = [&choices](const std::string& category) {
    if (!category.empty() && std::find(choices.begin(), choices.end(), category) == choices.end()) {
      choices.push_back(category);
    }
  };
  for (TreeNode* node : TreeNT.AllNodes()) {
    if (node->level() == 1) add(Trim(node->text()));
  }
  for (const std::string& category : TfrmAddSubsidy::FixedCategories()) add(category);
  return choices;
}

bool TfrmSubsidySet::AddItemNode(const std::string& code, const std::string& name,
                                 const std::string& category, TreeNode*& item_node) {
  const std::string item_text = code + " " + name;
  for (TreeNode* node : TreeNT.AllNodes()) {
    if (node->level() == 1 && Trim(node->text()) == category) {
      item_node = &TreeNT.AddChild(*node, item_text, PictureIndex(EditorPicture::kItem));
      return false;
    }
  }
  TreeNode* root = TreeNT.FirstNode();
  if (root == nullptr) throw std::runtime_error("类别树没有根节点");
  TreeNode& new_category = TreeNT.AddChild(*root, category, PictureIndex(EditorPicture::kCategory));
  item_node = &TreeNT.AddChild(new_category, item_text, PictureIndex(EditorPicture::kItem));
  TreeNT.FullExpand(*root);
  cgdArc.SetPickList(kItemGridCategoryColumn, CategoryChoices());
  return true;
}

}  // namespace tarnvex
