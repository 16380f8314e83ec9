#include "popups/busy_window.h"

namespace tarnvex {

void BusyWindow::FormCreate(const FrameMetrics& metrics, bool animation_file_exists) {
  frame_ = RemoveCaptionBar(kBorder,
                            {kStyleCaption | kStyleThickFrame,
                             kClientHeight + 2 * metrics.frame_height + metrics.caption_height},
                            metrics.caption_height);
  if (animation_file_exists) {
    Animate1.file_name = kAnimationFile;
    Animate1.bounds.left = 32;
    Animate1.bounds.top = 2;
    Label1.bounds.left = 93;
    Label1.bounds.top = 69;
  } else {
    Animate1.file_name.clear();
    Animate1.bounds.left = 16;
    Animate1.bounds.top = 20;
    Label1.bounds.left = 116;
    Label1.bounds.top = 40;
  }
  Animate1.active = true;
  outer_size = {kClientWidth + 2 * metrics.frame_width, frame_.height};
}

}  // namespace tarnvex
