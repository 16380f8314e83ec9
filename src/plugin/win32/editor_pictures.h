#pragma once

#include <windows.h>
#include <commctrl.h>

#include "editor/editor_pictures.h"
#include "widgets/win32/owned_handle.h"

namespace tarnvex {

// The editor's pictures (EditorPicture), 16 x 16 pixels, in the order of
// their enumeration. Drawn here in code, so the library carries no picture
// files.
inline constexpr int kEditorPictureSize = 16;

inline void DestroyImageList(HIMAGELIST list) { ImageList_Destroy(list); }

// The pictures in an image list of their own, destroyed with this object.
class EditorPictures {
 public:
  // Throws std::system_error when the list cannot be made.
  EditorPictures();

  HIMAGELIST get() const { return list_.get(); }

 private:
  OwnedHandle<HIMAGELIST, DestroyImageList> list_;
};

}  // namespace tarnvex
