#include "editor/column_layout.h"

#include <charconv>
#include <string>

#include "host/profile_file.h"

namespace tarnvex {

bool ParsePixelCount(std::string_view text, int& pixels) {
  if (text.empty() || text.front() < '0' || text.front() > '9') return false;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, pixels);
  return error == std::errc() && stop == end;
}

void LoadColumnLayout(ColumnGrid& grid, const std::filesystem::path& file,
                      std::string_view section) {
  for (int col = 0; col < grid.ColumnCount(); ++col) {
    const std::string value = ReadProfileString(file, section, grid.Column(col).header, "1,0");
    if (!grid.Column(col).visible) continue;
    const size_t comma = value.find(',');
    const std::string_view visibility =
        comma == std::string::npos ? std::string_view() : std::string_view(value).substr(0, comma);
    const std::string_view width_text = comma == std::string::npos
                                            ? std::string_view(value)
                                            : std::string_view(value).substr(comma + 1);
    grid.SetColumnVisible(col, visibility == "1");
    int width = 0;
    if (width_text != "0" && ParsePixelCount(width_text, width)) grid.SetColumnWidth(col, width);
  }
}

void SaveColumnLayout(const ColumnGrid& grid, const std::filesystem::path& file,
                      std::string_view section) {
  for (int col = 0; col < grid.ColumnCount(); ++col) {
    const GridColumn& column = grid.Column(col);
    WriteProfileString(
        file, section, column.header,
        std::string(column.visible ? "1" : "0") + "," + std::to_string(column.width));
  }
}

}  // namespace tarnvex
