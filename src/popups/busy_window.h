#pragma once

#include <string>

#include "widgets/busy_indicator.h"
#include "widgets/control.h"
#include "widgets/window_frame.h"

namespace tarnvex {

// BusyWindow, the busy window: a small stay-on-top window without caption bar,
// centred on the screen, with a running animation beside one line of text,
// shown while the user-interface thread is busy with a long task. Its creator
// sets the text, shows it, repaints it at once (nothing else will while the
// work runs) and destroys it when the work has ended, whatever the outcome.
//
// It installs no handler for otherwise unhandled errors: such errors stay with
// the guard of the event that raised them, which closes the busy window and
// shows what failed. Swallowing every later error once a busy window had been
// made would leave an operator believing failed saves had worked.
class BusyWindow : public BusyIndicator {
 public:
  static constexpr int kClientWidth = 332;
  static constexpr int kClientHeight = 87;
  static constexpr char kAnimationFile[] = "Resource\\Turtle.avi";
  static constexpr char kDesignText[] = "正在统计，请稍候...";
  static constexpr BorderStyle kBorder = BorderStyle::kSizeable;
  static constexpr bool kStayOnTop = true;

  BusyWindow()
      : BusyIndicator{
            .Label1 = {kDesignText, {116, 40, 133, 14}, {"宋体", -14, kGb2312Charset, 0x000000}},
            .Animate1 = {"", {16, 20, 80, 50}, 29, false},
            .outer_size = {}} {}

  // Creation: the caption bar comes off (the client area keeps its designed
  // size), the animation plays the file when it exists, placed above the text,
  // else the standard clip beside it, and starts.
  void FormCreate(const FrameMetrics& metrics, bool animation_file_exists);

  const WindowFrame& frame() const { return frame_; }
  int width() const { return outer_size.width; }

 private:
  WindowFrame frame_;
};

}  // namespace tarnvex
