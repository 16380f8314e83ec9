#include "widgets/cell_block.h"

#include <algorithm>

namespace tarnvex {

namespace {

bool NeedsQuotes(std::string_view cell) {
  return (!cell.empty() && cell.front() == '"') ||
         cell.find_first_of("\t\r\n") != std::string_view::npos;
}

void AppendCell(std::string& text, std::string_view cell) {
  if (!NeedsQuotes(cell)) {
    text += cell;
    return;
  }
  text += '"';
  for (char ch : cell) {
    if (ch == '"') text += '"';
    text += ch;
  }
  text += '"';
}

}  // namespace

CellBlock CellBlock::Between(int col_a, int row_a, int col_b, int row_b) {
  return {std::min(col_a, col_b), std::min(row_a, row_b), std::max(col_a, col_b),
          std::max(row_a, row_b)};
}

std::string FormatBlockText(const BlockLines& lines) {
  std::string text;
  for (size_t line = 0; line < lines.size(); ++line) {
    if (line > 0) text += "\r\n";
    for (size_t cell = 0; cell < lines[line].size(); ++cell) {
      if (cell > 0) text += '\t';
      AppendCell(text, lines[line][cell]);
    }
  }
  return text;
}

BlockLines ParseBlockText(std::string_view text) {
  BlockLines lines;
  if (text.empty()) return lines;
  lines.emplace_back(1);
  size_t at = 0;
  bool cell_start = true;
  while (at < text.size()) {
    const char ch = text[at];
    std::string& cell = lines.back().back();
    if (cell_start && ch == '"') {
      // A quoted cell: up to the quote that is not doubled; what follows it
      // up to the next separator is kept as it stands.
      for (++at; at < text.size(); ++at) {
        if (text[at] != '"') {
          cell += text[at];
        } else if (at + 1 < text.size() && text[at + 1] == '"') {
          cell += '"';
          ++at;
        } else {
          ++at;
          break;
        }
      }
      cell_start = false;
      continue;
    }
    ++at;
    if (ch == '\t') {
      lines.back().emplace_back();
      cell_start = true;
    } else if (ch == '\r' || ch == '\n') {
      if (ch == '\r' && at < text.size() && text[at] == '\n') ++at;
      if (at == text.size()) break;
      lines.emplace_back(1);
      cell_start = true;
    } else {
      cell += ch;
      cell_start = false;
    }
  }
  return lines;
}

}  // namespace tarnvex
