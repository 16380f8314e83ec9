#pragma once

#include <windows.h>
#include <commctrl.h>

#include "widgets/win32/owned_handle.h"

namespace tarnvex {

// The pictures of the tool bar and the tree, 16 x 16 pixels, at the indices
// the screen names them by: 0 the tree's root, 4 add, 6 save, 7 refresh,
// 10 exit, 15 help, 18 delete row, 19 an item, 20 a category. The other
// indices are empty pictures. Drawn here in code, so the library carries no
// picture files.
inline constexpr int kToolImageCount = 21;
inline constexpr int kToolImageSize = 16;

inline void DestroyImageList(HIMAGELIST list) { ImageList_Destroy(list); }

// The pictures in an image list of their own, destroyed with this object.
class ToolImages {
 public:
  // Throws std::system_error when the list cannot be made.
  ToolImages();

  HIMAGELIST get() const { return list_.get(); }

 private:
  OwnedHandle<HIMAGELIST, DestroyImageList> list_;
};

}  // namespace tarnvex
