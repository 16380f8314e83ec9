#pragma once

#include "editor/data_model.h"

namespace tarnvex::testing {

// The grids' columns the scenarios touch, named for what they show. The values
// are written out rather than looked up in the editor's column tables, so that
// a column moved on the screen fails the scenarios instead of following along.

// cgdArc's tick boxes, beyond the code, name and category columns of data_model.h.
inline constexpr int kPieceFlagColumn = 3;     // 计件, f_jj
inline constexpr int kDistanceFlagColumn = 4;  // 计程, f_jc
inline constexpr int kTimeFlagColumn = 6;      // 计时, f_js
inline constexpr int kCombinedFlagColumn = 8;  // 并车, f_bc
inline constexpr int kPackingFlagColumn = 10;  // 分装, f_fz

// cgdType's numbers, beyond the code and name columns of data_model.h.
inline constexpr int kAllowanceStartColumn = 2;       // 津贴起点, f_jtqd
inline constexpr int kPieceStartColumn = 3;           // 件数起点, f_jsqd
inline constexpr int kPieceStepColumn = 4;            // 件数级差, f_jsjc
inline constexpr int kPieceAllowanceStartColumn = 5;  // 计件津贴起点, f_jjjtqd
inline constexpr int kDistanceStartColumn = 7;        // 里程起点, f_lcqd
inline constexpr int kBatchAllowanceColumn = 24;      // 批次津贴, f_pcjt
inline constexpr int kStoreAllowanceColumn = 25;      // 分库津贴, f_fkjt
inline constexpr int kReviewAllowanceColumn = 29;     // 复核津贴, f_fhjt
inline constexpr int kAllowanceCapColumn = 30;        // 津贴限额, f_jtxe

}  // namespace tarnvex::testing
