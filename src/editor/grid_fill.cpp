// FillGrid, the one fill operation of both grids, and ClearGrid.

#include "editor/data_model.h"
#include "editor/editor_flags.h"
#include "editor/subsidy_set_form.h"

namespace tarnvex {

void TfrmSubsidySet::FillGrid(FillMode mode, const DataPacket& packet, const std::string& key) {
  switch (mode) {
    case FillMode::kAllItems: {
      // The items in code order when the tables are loaded; the query's own
      // order otherwise.
      RecordTable source;
      if (cdsArc.IsLoaded()) {
        source.LoadPacket(cdsArc.TakePacket());
        source.SetOrder(kItemOrder);
      } else {
        source.LoadPacket(packet);
      }
      FillAllItems(source);
      break;
    }
    case FillMode::kVehicleTypes:
      FillVehicleTypes(packet, key);
      break;
    case FillMode::kCategory:
    case FillMode::kItem:
      if (!EditorFlags().LoadDone) return;
      FillMatchingItems(mode == FillMode::kCategory ? kFieldCategory : kFieldItemCode, key);
      break;
  }
  PaintMeasureColours();
  // A fill starts at the left and shows the current row: the row the vehicle
  // grid follows must never be out of sight.
  ColumnGrid& filled = mode == FillMode::kVehicleTypes ? cgdType : cgdArc;
  filled.ScrollToX(0);
  filled.ScrollRowIntoView();
}

void TfrmSubsidySet::ClearGrid(EditorGrid which) {
  ColumnGrid* const grid = which == EditorGrid::kItemGrid ? &cgdArc : &cgdType;
  for (int row = 1; row < grid->RowCount(); ++row) {
    for (int col = 0; col < grid->ColumnCount(); ++col) grid->SetCells(col, row, "");
    // An emptied row stands for nothing a fill put there.
    grid->SetRowTag(row, 0);
  }
  if (grid->RowCount() > 2) grid->RemoveRows(1, grid->RowCount() - 2);
}

}  // namespace tarnvex
