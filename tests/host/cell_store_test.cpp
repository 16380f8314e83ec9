#include "host/cell_store.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace tarnvex {
namespace {

// Each kind of cell reads back as written, also after being written over
// with another kind or a longer or shorter text.
TEST(CellStoreTest, CellsReadBackAsWrittenAndOverwritten) {
  const std::vector<FieldValue> values = {
      FieldValue(), std::string(), std::string("整件配送补助"),       std::string("a\0b", 3),
      0.0,          -5.25,         std::numeric_limits<double>::max()};
  CellStore cells;
  for (const FieldValue& value : values) cells.Append(value);
  ASSERT_EQ(cells.size(), values.size());
  for (size_t at = 0; at < values.size(); ++at) EXPECT_EQ(cells.Get(at), values[at]) << at;

  // Every cell written over by every other value.
  for (size_t at = 0; at < values.size(); ++at) {
    for (const FieldValue& value : values) {
      cells.Set(at, value);
      EXPECT_EQ(cells.Get(at), value) << at;
      EXPECT_EQ(cells.Get((at + 1) % values.size()), values[(at + 1) % values.size()])
          << "a write reaches only its own cell";
      cells.Set(at, values[at]);
    }
  }

  cells.Grow(2);
  EXPECT_EQ(cells.size(), values.size() + 2);
  EXPECT_EQ(cells.kind(values.size() + 1), CellStore::Kind::kNull);
  cells.clear();
  EXPECT_TRUE(cells.empty());
}

// Stores compare by the values they hold, not by where their texts lie: a
// table whose text was written over equals one made with that text.
TEST(CellStoreTest, StoresCompareByValue) {
  CellStore written{std::string("旧名称"), 1.5};
  written.Set(0, std::string("新"));
  EXPECT_EQ(written, (CellStore{std::string("新"), 1.5}));
  EXPECT_NE(written, (CellStore{std::string("新"), 2.5}));
  EXPECT_NE(written, (CellStore{std::string("新")}));
  EXPECT_NE((CellStore{FieldValue()}), (CellStore{std::string()})) << "NULL is not an empty text";
  EXPECT_EQ((CellStore{-0.0}), (CellStore{0.0}));
  EXPECT_NE((CellStore{std::nan("")}), (CellStore{std::nan("")})) << "NaN equals nothing";
}

}  // namespace
}  // namespace tarnvex
