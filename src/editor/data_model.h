#pragma once

#include <array>
#include <cstddef>

#include "editor/grid_columns.h"
#include "host/record_table.h"
#include "widgets/control.h"

namespace tarnvex {

// The editor's tables, their queries and keys, and the grids' look, named
// once for every part of the editor. The grids' columns and the fields they
// show are in grid_columns.h.

// Flags are stored as "1" and "0"; only "1" counts as set.
inline constexpr char kFlagSet[] = "1";
inline constexpr char kFlagClear[] = "0";

// The keys records are found and ordered by: an item's parameter row by item
// and vehicle type, the items by code and then category.
inline constexpr char kParameterRowKey[] = "f_jtxmbm;f_cxbm";
inline constexpr char kItemOrder[] = "f_jtxmbm;f_lb";

inline constexpr char kLoadItemsSql[] = "select * from tbdyjtxmda";
inline constexpr char kLoadParametersSql[] =
    "select a.*,b.f_cxmc from tbdyjtxmlb a left join tbdycxda b on a.f_cxbm=b.f_cxbm";
inline constexpr char kLoadVehicleTypesSql[] = "select distinct f_cxbm from tbdycxda";

// The parameters are stored as floating-point numbers and shown in the "0.00"
// pattern; a value is taken when, rounded to two decimals, its magnitude is
// below 10^12, so that it shows and saves without a digit lost.
inline constexpr double kParameterLimit = 1e12;

void DeclareItemFields(RecordTable& table);
void DeclareParameterFields(RecordTable& table);

// The marker column of a row the operator created by typing a code.
inline constexpr char kCreatedRowMarker[] = "Edit";

// The common look of both grids.
inline constexpr Colour kGridColour = 0xDEFEFB;
inline constexpr Colour kGridHeaderColour = 0x008000;
inline constexpr Colour kGridCurrentRowColour = 0xF5DDB5;
inline constexpr Colour kGridHeaderTextColour = 0xFFFFFF;
inline constexpr int kGridRowHeight = 19;

}  // namespace tarnvex
