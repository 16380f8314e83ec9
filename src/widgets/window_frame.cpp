#include "widgets/window_frame.h"

namespace tarnvex {

WindowFrame RemoveCaptionBar(BorderStyle border, WindowFrame frame, int caption_height) {
  if ((frame.style & kStyleCaption) != kStyleCaption) return frame;
  switch (border) {
    case BorderStyle::kSingle:
    case BorderStyle::kSizeable:
      return {(frame.style & ~kStyleCaption) | kStyleBorder, frame.height - caption_height};
    case BorderStyle::kDialog:
      return {(frame.style & ~kStyleCaption) | kStyleDlgFrame | kStyleModalFrame,
              frame.height - caption_height};
    case BorderStyle::kNone:
    case BorderStyle::kToolWindow:
    case BorderStyle::kSizeToolWindow:
      break;
  }
  return frame;
}

}  // namespace tarnvex
