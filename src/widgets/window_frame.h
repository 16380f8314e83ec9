#pragma once

#include <cstdint>

namespace tarnvex {

// The border a form is designed with.
enum class BorderStyle { kNone, kSingle, kSizeable, kDialog, kToolWindow, kSizeToolWindow };

// Window style bits, as Windows numbers them.
inline constexpr uint32_t kStyleBorder = 0x00800000;                      // WS_BORDER
inline constexpr uint32_t kStyleDlgFrame = 0x00400000;                    // WS_DLGFRAME
inline constexpr uint32_t kStyleCaption = kStyleBorder | kStyleDlgFrame;  // WS_CAPTION
inline constexpr uint32_t kStyleThickFrame = 0x00040000;                  // WS_THICKFRAME
inline constexpr uint32_t kStyleModalFrame = 0x00000080;                  // DS_MODALFRAME

// The sizes of a window's frame that the system decides.
struct FrameMetrics {
  int caption_height = 0;
  int frame_width = 0;   // of the sizing frame, each side
  int frame_height = 0;  // of the sizing frame, top and bottom
};

// A window's style bits and its outer height.
struct WindowFrame {
  uint32_t style = 0;
  int height = 0;
  bool operator==(const WindowFrame&) const = default;
};

// Takes the caption bar off a window that has one, keeping its client area:
// a single or sizeable border becomes a thin border (a sizing frame stays), a
// dialog border a dialog frame, and the window gets shorter by the caption's
// height. A window without a full caption bar, without a border, or with a
// tool-window border keeps its style and its height: shortening a window whose
// caption stays would cut its client area.
WindowFrame RemoveCaptionBar(BorderStyle border, WindowFrame frame, int caption_height);

}  // namespace tarnvex
