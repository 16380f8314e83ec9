#pragma once

namespace tarnvex {

// The pictures of the editor's tool buttons and tree nodes. The editor's
// window draws them into one image list in this order
// (plugin/win32/editor_pictures.cpp), so a picture's place there is its value.
enum class EditorPicture {
  kTreeRoot,   // 所有类别: a stack of index cards
  kAdd,        // 增加: a green plus
  kDeleteRow,  // 删行: a row of cells crossed out
  kSave,       // 保存: a floppy disk
  kRefresh,    // 刷新: a circling arrow
  kHelp,       // 助手: a question mark
  kExit,       // 退出: a door with an arrow leaving it
  kCategory,   // a category's node: a folder
  kItem,       // an item's node: a sheet with lines
};
inline constexpr int kEditorPictureCount = static_cast<int>(EditorPicture::kItem) + 1;

// The picture's index in the editor's image list, as tool buttons and tree
// nodes take it.
constexpr int PictureIndex(EditorPicture picture) { return static_cast<int>(picture); }

}  // namespace tarnvex
