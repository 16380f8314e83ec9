#include "editor/pane_layout.h"

#include <string>

#include "editor/column_layout.h"
#include "host/profile_file.h"

namespace tarnvex {

namespace {

bool SizesWidth(const Splitter& splitter) {
  return splitter.align() == Align::kLeft || splitter.align() == Align::kRight;
}

}  // namespace

void LoadPaneSize(Splitter& splitter, int container_extent, const std::filesystem::path& file,
                  std::string_view section) {
  Control* pane = splitter.target();
  if (pane == nullptr) return;
  const std::string value = ReadProfileString(file, section, splitter.name(), "");
  int size = 0;
  if (!ParsePixelCount(value, size)) return;
  if (size < Splitter::kMinSize || size > container_extent - Splitter::kMinSize) return;
  if (SizesWidth(splitter)) {
    pane->SetWidth(size);
  } else {
    pane->SetHeight(size);
  }
}

void SavePaneSize(const Splitter& splitter, const std::filesystem::path& file,
                  std::string_view section) {
  const Control* pane = splitter.target();
  if (pane == nullptr) return;
  const Rect& bounds = pane->bounds();
  WriteProfileString(file, section, splitter.name(),
                     std::to_string(SizesWidth(splitter) ? bounds.width : bounds.height));
}

}  // namespace tarnvex
