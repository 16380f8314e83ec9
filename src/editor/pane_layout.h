#pragma once

#include <filesystem>
#include <string_view>

#include "widgets/splitter.h"

namespace tarnvex {

// Where the operator left a splitter, in the settings file beside the column
// layouts: one key per splitter, named after it, valued the size in pixels of
// the pane it sizes (the width for a left or right splitter, the height for a
// top or bottom one).

// Gives the splitter's pane the stored size when the file holds one that
// leaves both panes usable: at least Splitter::kMinSize, and at most
// container_extent (the width or height the pane shares with the pane beside
// it) less Splitter::kMinSize. Anything else keeps the design size.
void LoadPaneSize(Splitter& splitter, int container_extent, const std::filesystem::path& file,
                  std::string_view section);

// Writes the size of the splitter's pane. Raises ProfileWriteError.
void SavePaneSize(const Splitter& splitter, const std::filesystem::path& file,
                  std::string_view section);

}  // namespace tarnvex
