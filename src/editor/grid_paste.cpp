// A paste into a grid cell that the cell's key filter refused: the operator is
// told which cell and what text, and the cell keeps what it had.

#include <string>

#include "editor/data_model.h"
#include "editor/subsidy_set_form.h"
#include "text/trim.h"

namespace tarnvex {

void TfrmSubsidySet::GridPasteRefused(const ColumnGrid& grid, int col, int row,
                                      const std::string& text) {
  // The row goes by its number and, where it has one, its code: the code
  // names the item or the vehicle type the operator sees.
  static_assert(kItemGridCodeColumn == kVehicleGridCodeColumn);
  std::string cell = "第" + std::to_string(row) + "行";
  const std::string code = Trim(grid.Cells(kItemGridCodeColumn, row));
  if (!code.empty() && col != kItemGridCodeColumn) cell += "(" + code + ")";
  cell += "“" + grid.Column(col).header + "”";
  ShowNotice(platform(), grid.handle(), cell + "不能粘贴“" + text + "”,单元格内容未改变。");
}

}  // namespace tarnvex
