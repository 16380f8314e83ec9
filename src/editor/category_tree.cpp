// The category tree: building it from the database, and what choosing a node
// does to both grids.

#include <string>

#include "editor/data_model.h"
#include "editor/editor_flags.h"
#include "editor/sql_literal.h"
#include "editor/subsidy_set_form.h"
#include "text/trim.h"

namespace tarnvex {

namespace {

constexpr char kRootText[] = "所有类别";

}  // namespace

void TfrmSubsidySet::BuildCategoryTree() {
  shown_node_ = nullptr;
  if (cdsArc.IsLoaded()) cdsArc.EmptyTable();
  if (cdsType.IsLoaded()) cdsType.EmptyTable();
  LoadRecordTables();

  TreeNT.Clear();
  TreeNode& root = TreeNT.AddTopLevel(kRootText, PictureIndex(EditorPicture::kTreeRoot));
  DataPacket categories;
  if (!RunQuery("select distinct f_lb from tbdyjtxmda order by f_lb", categories)) return;
  RecordTable category_table;
  category_table.LoadPacket(categories);
  for (category_table.First(); !category_table.Eof(); category_table.Next()) {
    const std::string category = category_table.Text(kFieldCategory);
    TreeNode& category_node =
        TreeNT.AddChild(root, category, PictureIndex(EditorPicture::kCategory));
    DataPacket items;
    if (!RunQuery("select f_jtxmbm,f_jtxmmc from tbdyjtxmda where f_lb=" + SqlLiteral(category),
                  items)) {
      return;
    }
    RecordTable item_table;
    item_table.LoadPacket(items);
    for (item_table.First(); !item_table.Eof(); item_table.Next()) {
      TreeNT.AddChild(category_node,
                      item_table.Text(kFieldItemCode) + " " + item_table.Text(kFieldItemName),
                      PictureIndex(EditorPicture::kItem));
    }
  }
  TreeNT.FullExpand(root);
  cgdArc.SetPickList(kItemGridCategoryColumn, CategoryChoices());
}

void TfrmSubsidySet::TreeNTChange(TreeNode* node) {
  if (node == nullptr || !EditorFlags().LoadDone || EditorFlags().Refreshing || reselecting_) {
    return;
  }
  // A cell that cannot keep its text is mended or given up before the grids
  // show anything else.
  for (GridController* controller :
       {static_cast<GridController*>(&vehicles_), static_cast<GridController*>(&items_)}) {
    const std::string refusal = controller->RefusalOfEditedCell();
    if (refusal.empty()) continue;
    ColumnGrid& grid = controller->grid();
    if (!AskYesNo(platform(), grid.handle(), refusal + "\n\n放弃这个单元格的修改吗?")) {
      ReselectShownNode(grid);
      return;
    }
    grid.CancelEdit();
  }
  // Typed rows become items, and the grids' edits go to the tables, before
  // anything is refilled; a typed row that cannot become one stays on show.
  if (!items_.ConfirmTypedRows()) {
    ReselectShownNode(cgdArc);
    return;
  }
  vehicles_.WriteBack(items_.CurrentCode());
  items_.WriteBack();
  ShowNodeContent(*node);
}

void TfrmSubsidySet::ShowNodeContent(TreeNode& node) {
  switch (node.level()) {
    case 0:
      ShowItemsWithFirstParameters(ItemScope::kAll, "");
      break;
    case 1:
      ShowItemsWithFirstParameters(ItemScope::kCategory, Trim(node.text()));
      break;
    case 2: {
      const std::string code = ItemCodeOfNode(node);
      if (code.empty()) return;
      ShowItemsWithFirstParameters(ItemScope::kItem, code);
      break;
    }
    default:
      return;
  }
  shown_node_ = &node;
}

std::string TfrmSubsidySet::ItemCodeOfNode(const TreeNode& node) {
  // "01 整件配送补助": the code, a blank, the name.
  const std::string text = Trim(node.text());
  const size_t space = text.find(' ');
  return space == std::string::npos ? std::string() : text.substr(0, space);
}

void TfrmSubsidySet::ReselectShownNode(ColumnGrid& grid) {
  // The tree marks what the grids show, and the operator goes on in grid.
  reselecting_ = true;
  TreeNT.Select(shown_node_);
  reselecting_ = false;
  Screen.SetFocus(grid);
}

void TfrmSubsidySet::ShowItemsWithFirstParameters(ItemScope scope, const std::string& key) {
  items_.Clear();
  grids_match_tables_ = true;
  items_.Show(scope, key);
  vehicles_.Clear();
  const std::string first_code = items_.CodeOfRow(1);
  if (first_code.empty()) return;
  vehicles_.Fill(first_code);
  items_.ApplyMeasureColumnsOfRow(1);
}

}  // namespace tarnvex
