// The operator's place, kept across what reloads everything: a save, a
// refresh, a delete.

#include <string>

#include "editor/grid_columns.h"
#include "editor/subsidy_set_form.h"
#include "text/trim.h"

namespace tarnvex {

namespace {

// The first data row whose cell in col holds code (trimmed); 0 when none.
int RowOfCode(const ColumnGrid& grid, int col, const std::string& code) {
  if (code.empty()) return 0;
  for (int row = 1; row < grid.RowCount(); ++row) {
    if (Trim(grid.Cells(col, row)) == code) return row;
  }
  return 0;
}

// Makes (col, row) current, or the row's first column when col is hidden
// now, and puts the view back where it was as far as the current row allows.
void PutBack(ColumnGrid& grid, int col, int row, int top_row, int scroll_x) {
  const bool shown = col >= 0 && col < grid.ColumnCount() && grid.Column(col).visible;
  if (!grid.MoveTo(shown ? col : 0, row)) return;
  grid.ScrollToX(scroll_x);
  grid.ScrollToRow(top_row);
  grid.ScrollRowIntoView();
}

}  // namespace

TfrmSubsidySet::EditorPlace TfrmSubsidySet::CapturePlace() const {
  EditorPlace place;
  if (const TreeNode* node = shown_node_) {
    place.node_level = node->level();
    place.node_text = node->level() == 2 ? ItemCodeOfNode(*node) : Trim(node->text());
    if (node->level() == 2 && node->parent() != nullptr) {
      place.parent_text = Trim(node->parent()->text());
    }
  }
  const int row = cgdArc.Row();
  place.item_code = items_.CodeOfRow(row);
  if (row + 1 < cgdArc.RowCount()) place.next_item_code = items_.CodeOfRow(row + 1);
  if (row > 1) place.previous_item_code = items_.CodeOfRow(row - 1);
  place.item_col = cgdArc.Col();
  place.item_top_row = cgdArc.TopRow();
  place.item_scroll_x = cgdArc.ScrollX();
  place.vehicle_code = Trim(cgdType.Cells(kVehicleGridCodeColumn, cgdType.Row()));
  place.vehicle_col = cgdType.Col();
  place.vehicle_top_row = cgdType.TopRow();
  place.vehicle_scroll_x = cgdType.ScrollX();
  place.focused = Screen.focused();
  return place;
}

void TfrmSubsidySet::RestorePlace(const EditorPlace& place) {
  // The node, found again by what it names: an item's node by its code, a
  // category's by its text; an item gone leaves its category, a category
  // gone the root.
  TreeNode* root = TreeNT.FirstNode();
  if (root == nullptr) return;
  TreeNode* node = root;
  TreeNode* item_node = nullptr;
  for (const auto& category : root->children()) {
    const std::string text = Trim(category->text());
    if ((place.node_level == 1 && text == place.node_text) ||
        (place.node_level == 2 && text == place.parent_text)) {
      node = category.get();
    }
    if (place.node_level != 2) continue;
    for (const auto& item : category->children()) {
      if (ItemCodeOfNode(*item) == place.node_text) item_node = item.get();
    }
  }
  if (item_node != nullptr) node = item_node;
  // The tree marks the node without a node change's checks: nothing on
  // screen is the operator's any more, everything was just read.
  reselecting_ = true;
  TreeNT.Select(node);
  reselecting_ = false;
  ShowNodeContent(*node);

  int row = RowOfCode(cgdArc, kItemGridCodeColumn, place.item_code);
  if (row == 0) row = RowOfCode(cgdArc, kItemGridCodeColumn, place.next_item_code);
  if (row == 0) row = RowOfCode(cgdArc, kItemGridCodeColumn, place.previous_item_code);
  if (row != 0) PutBack(cgdArc, place.item_col, row, place.item_top_row, place.item_scroll_x);
  if (const int type_row = RowOfCode(cgdType, kVehicleGridCodeColumn, place.vehicle_code)) {
    PutBack(cgdType, place.vehicle_col, type_row, place.vehicle_top_row, place.vehicle_scroll_x);
  }
  RestoreFocus(place);
}

void TfrmSubsidySet::RestoreFocus(const EditorPlace& place) {
  for (Control* control : Screen.tab_order()) {
    if (control == place.focused) Screen.SetFocus(*control);
  }
}

}  // namespace tarnvex
