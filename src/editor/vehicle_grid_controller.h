#pragma once

#include <array>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "editor/grid_columns.h"
#include "editor/grid_controller.h"
#include "editor/parameter_index.h"

namespace tarnvex {

// A parameter cell of the vehicle-type grid that is not a number. The text
// names the vehicle type, the column and the cell's text, so the operator can
// find and mend it.
class WriteBackError : public std::runtime_error {
 public:
  WriteBackError(std::string_view type_code, std::string_view header, std::string_view text);
};

// Whether each measure's tick is set, piece to combined.
using MeasureFlags = std::array<bool, kMeasureCount>;

// The vehicle-type grid cgdType: the parameter rows of the item the item grid
// is on, one vehicle type a row, its measure columns shown as the item's
// ticks say. Only digits and a point go into its numbers.
class VehicleGridController : public GridController {
 public:
  // shown_item gives the code of the item whose parameters the grid shows.
  VehicleGridController(GridServices& services, Platform& platform, ColumnGrid& grid,
                        EditorTables& tables, PastedBlock& last_paste,
                        std::function<std::string()> shown_item);

  // Shows the item's parameter rows of cdsType, ordered by vehicle type.
  void Fill(const std::string& item_code);
  // Empties the grid down to one blank row.
  void Clear() { ClearRows(); }
  void PaintMeasureColours();
  // Hides the columns of each measure whose tick is cleared; the shown
  // numbers take one width.
  void ApplyMeasureColumns(const MeasureFlags& flags);
  // A parameter row of zeros in cdsType for every vehicle type. False, and no
  // more rows made, at a vehicle type the item already has.
  bool CreateParameterRows(const std::string& item_code);
  // The grid's numbers into the item's rows of cdsType. Raises
  // WriteBackError at a cell that is not a number; its row stays as it was.
  void WriteBack(const std::string& item_code);

  // cdsType was loaded or rebuilt: its rows are indexed afresh.
  void ResetParameterIndex() { parameter_index_.Reset(); }

  // A number's text: digits with at most one point, blanks around it
  // trimmed, empty as 0, and below kParameterLimit; text then becomes its
  // "0.00" form. Other columns keep any text.
  std::string LeaveRefusal(int col, std::string& text) const override;

 protected:
  std::string ColumnRefusal(int col, int row, const std::string& text) const override;
  std::string DescribeRow(int row) const override;
  // The item whose parameters the grid shows.
  std::string ShownContent() const override;

 private:
  EditorTables& tables_;
  std::function<std::string()> shown_item_;
  ParameterIndex parameter_index_;
};

}  // namespace tarnvex
