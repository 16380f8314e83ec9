#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "host/record_table.h"
#include "widgets/column_grid.h"
#include "widgets/control.h"

namespace tarnvex {

// The editor's tables, fields and grid columns, named once for every part of
// the editor.

inline constexpr char kFieldItemCode[] = "f_jtxmbm";
inline constexpr char kFieldItemName[] = "f_jtxmmc";
inline constexpr char kFieldCategory[] = "f_lb";
inline constexpr char kFieldTypeCode[] = "f_cxbm";
inline constexpr char kFieldTypeName[] = "f_cxmc";

// Flags are stored as "1" and "0"; only "1" counts as set.
inline constexpr char kFlagSet[] = "1";
inline constexpr char kFlagClear[] = "0";

// cdsArc's fields in declaration order: code, name, category, ten flags.
inline constexpr std::array<const char*, 13> kItemFields = {
    "f_jtxmbm", "f_jtxmmc", "f_lb",  "f_jj", "f_jc", "f_jcs", "f_js",
    "f_ax",     "f_bc",     "f_srz", "f_fz", "f_bz", "f_fc"};

// cdsType's 29 numbers in declaration order (also the save's column order).
inline constexpr std::array<const char*, 29> kParameterFields = {
    "f_jtqd",   "f_jsqd", "f_jsjc", "f_jjjtqd", "f_jjjtjc", "f_lcqd", "f_lcjc", "f_jcjtqd",
    "f_jcjtjc", "f_sjqd", "f_sjjc", "f_jsjtqd", "f_jsjtjc", "f_xlqd", "f_xljc", "f_jxjtqd",
    "f_jxjtjc", "f_mdqd", "f_mdjc", "f_bcjtqd", "f_bcjtjc", "f_jcjt", "f_pcjt", "f_fkjt",
    "f_psjt",   "f_ybjt", "f_tsjt", "f_jtxe",   "f_fhjt"};

// The keys records are found and ordered by: an item's parameter row by item
// and vehicle type, the items by code and then category.
inline constexpr char kParameterRowKey[] = "f_jtxmbm;f_cxbm";
inline constexpr char kItemOrder[] = "f_jtxmbm;f_lb";

// The pictures of TreeNT's nodes, by level.
inline constexpr int kRootPicture = 0;
inline constexpr int kCategoryPicture = 20;
inline constexpr int kItemPicture = 19;

inline constexpr char kLoadItemsSql[] = "select * from tbdyjtxmda";
inline constexpr char kLoadParametersSql[] =
    "select a.*,b.f_cxmc from tbdyjtxmlb a left join tbdycxda b on a.f_cxbm=b.f_cxbm";
inline constexpr char kLoadVehicleTypesSql[] = "select distinct f_cxbm from tbdycxda";

// The most an item's texts take, in bytes of code page 936, wherever they are
// typed or pasted (the add dialog's edits, the item grid's cells): code 15,
// name 30, category 20. A host's columns tbdyjtxmda.f_jtxmbm, f_jtxmmc and
// f_lb (and tbdyjtxmlb.f_jtxmbm) must hold at least that many bytes; the
// stand-in's hold 20, 60 and 20 (standin/sql/schema.sql).
inline constexpr size_t kItemCodeMaxBytes = 15;
inline constexpr size_t kItemNameMaxBytes = 30;
inline constexpr size_t kCategoryMaxBytes = 20;
// The most bytes a field's text takes; no limit for other fields.
size_t MaxBytesOfField(std::string_view field);
// Whether the field is one of the 29 parameters.
bool IsParameterField(std::string_view field);

// The parameters are stored as floating-point numbers and shown in the "0.00"
// pattern; a value is taken when, rounded to two decimals, its magnitude is
// below 10^12, so that it shows and saves without a digit lost.
inline constexpr double kParameterLimit = 1e12;

void DeclareItemFields(RecordTable& table);
void DeclareParameterFields(RecordTable& table);

// A column of one of the grids and the field it shows (nullptr: none).
struct ColumnDef {
  const char* header;
  const char* field;
  CellKind kind;
  int width;
  HorizontalAlignment alignment;
};

// The item grid cgdArc.
inline constexpr int kItemGridCodeColumn = 0;
inline constexpr int kItemGridNameColumn = 1;
inline constexpr int kItemGridCategoryColumn = 2;
inline constexpr int kItemGridRemarkColumn = 11;
inline constexpr int kItemGridMarkerColumn = 12;
// The marker column of a row the operator created by typing a code.
inline constexpr char kCreatedRowMarker[] = "Edit";
extern const std::array<ColumnDef, 14> kItemGridColumns;
// The flag columns (3 to 11 and 13) in the order of kItemFields' flags.
inline constexpr std::array<int, 10> kItemGridFlagColumns = {3, 4, 5, 6, 7, 8, 9, 10, 11, 13};

// The vehicle-type grid cgdType. Columns 2 to 30 show the numbers; 29 shows
// f_fhjt and 30 f_jtxe, crosswise to their declaration order.
inline constexpr int kVehicleGridCodeColumn = 0;
inline constexpr int kVehicleGridNameColumn = 1;
inline constexpr int kVehicleGridFirstNumberColumn = 2;
inline constexpr int kVehicleGridLastNumberColumn = 30;
inline constexpr int kVehicleGridShownWidth = 80;
extern const std::array<ColumnDef, 31> kVehicleGridColumns;

// A measure: its flag's column in the item grid, the four columns of the
// vehicle-type grid it governs, and the colour they share.
struct MeasureGroup {
  int item_grid_column;
  int first_vehicle_grid_column;
  Colour colour;
};
inline constexpr int kMeasureGroupWidth = 4;
// Piece, distance, time, route, combined: the order ApplyMeasureColumns takes.
inline constexpr std::array<MeasureGroup, 5> kMeasureGroups = {{
    {3, 3, 0xA613EC},
    {4, 7, 0x7B7004},
    {6, 11, 0xA45B71},
    {7, 15, 0x808000},
    {8, 19, 0x85708F},
}};

// The common look of both grids.
inline constexpr Colour kGridColour = 0xDEFEFB;
inline constexpr Colour kGridHeaderColour = 0x008000;
inline constexpr Colour kGridCurrentRowColour = 0xF5DDB5;
inline constexpr Colour kGridHeaderTextColour = 0xFFFFFF;
inline constexpr int kGridRowHeight = 19;

}  // namespace tarnvex
