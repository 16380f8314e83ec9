#pragma once

#include <filesystem>
#include <string_view>

#include "widgets/column_grid.h"

namespace tarnvex {

// A grid's column layout in the settings file: one key per column, named by its
// header, valued "visibility,width" ("1,60": shown, 60 pixels wide).

// Restores what the file holds. A hidden column stays hidden whatever the file
// says; a shown one takes the stored visibility ("1" shown, anything else
// hidden) and, when the width is a whole number other than "0", that width. A
// missing file or key ("1,0") keeps the design layout.
void LoadColumnLayout(ColumnGrid& grid, const std::filesystem::path& file,
                      std::string_view section);

// A size in pixels as the settings file holds it: digits only. A sign or a
// value past int is not a size.
bool ParsePixelCount(std::string_view text, int& pixels);

// Writes every column, hidden ones included. Raises ProfileWriteError.
void SaveColumnLayout(const ColumnGrid& grid, const std::filesystem::path& file,
                      std::string_view section);

}  // namespace tarnvex
