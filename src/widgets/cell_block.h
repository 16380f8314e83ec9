#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarnvex {

// A rectangle of a grid's cells, corners included, as columns and rows.
struct CellBlock {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  // The block between two corners given in any order.
  static CellBlock Between(int col_a, int row_a, int col_b, int row_b);
  bool Contains(int col, int row) const {
    return col >= left && col <= right && row >= top && row <= bottom;
  }
  bool operator==(const CellBlock&) const = default;
};

// Cell texts, line by line, as spreadsheets put a block on the clipboard and
// read it back: cells separated by tabs, lines by CR LF. Texts are code page
// 936 bytes; tab, CR, LF and the double quote are below 0x40 and so never the
// second byte of a Chinese character, which makes them safe to split on.
using BlockLines = std::vector<std::vector<std::string>>;

// One line per row, CR LF after each line but the last. A cell that holds a
// tab, a line end or starts with a double quote is put between double quotes,
// its quotes doubled, as spreadsheets write and read it.
std::string FormatBlockText(const BlockLines& lines);

// The lines of clipboard text: CR LF, LF and a lone CR end a line; one line end
// at the very end ends the last line and starts no empty one. A cell that
// starts with a double quote runs to the closing quote, doubled quotes read as
// one, and may hold tabs and line ends. Empty text gives no line.
BlockLines ParseBlockText(std::string_view text);

}  // namespace tarnvex
