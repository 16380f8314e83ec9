#pragma once

#include <string>

#include "widgets/font.h"
#include "widgets/size.h"

namespace tarnvex {

// What the platform shows while the user-interface thread is busy with a long
// task: a stay-on-top window without caption bar of the given outer size,
// centred on the screen, with a running animation beside one line of text.
struct BusyIndicator {
  struct Label {
    std::string Caption;
    Rect bounds;  // the label sizes itself to its text: the width is a minimum
    Font font;
  };
  struct Animation {
    std::string file_name;  // empty: the system's clip of a folder being searched
    Rect bounds;
    int stop_frame = 0;
    bool active = false;
  };

  Label Label1;
  Animation Animate1;
  Size outer_size;

  // The window centred on a screen of the given size.
  Rect Placement(Size screen) const {
    return Rect{(screen.width - outer_size.width) / 2, (screen.height - outer_size.height) / 2,
                outer_size.width, outer_size.height};
  }
};

}  // namespace tarnvex
