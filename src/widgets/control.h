#pragma once

#include <cstdint>
#include <string>

#include "widgets/message_box.h"

namespace tarnvex {

// A colour as Windows stores it: 0x00BBGGRR.
using Colour = uint32_t;

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Rect&) const = default;
};

// How a container places a child: along one of its edges, filling what the
// earlier children left, or not at all.
enum class Align { kNone, kTop, kBottom, kLeft, kRight, kClient };

class Panel;

// What every control has: a name, a window handle, a place in its parent, and
// whether it is visible. A control is shown on screen only while it and every
// container above it are visible and the form it lies on is shown.
class Control {
 public:
  explicit Control(std::string name);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }

  // Headless controls get a distinct id; a native peer replaces it with its
  // window's handle, so message boxes are owned by the real window.
  WindowHandle handle() const { return handle_; }
  void set_handle(WindowHandle handle) { handle_ = handle; }

  Panel* parent() const { return parent_; }

  const Rect& bounds() const { return bounds_; }
  void SetBounds(const Rect& bounds);
  void SetWidth(int width);
  void SetHeight(int height);

  Align align() const { return align_; }
  void SetAlign(Align align);

  // Whether the control can hold the keyboard focus: Tab passes over those
  // that cannot.
  virtual bool TakesFocus() const { return true; }

  bool visible() const { return visible_; }
  void SetVisible(bool visible);
  virtual bool Showing() const;

 protected:
  // Containers place their children again when a child's size or alignment
  // changes, and when their own size changes.
  virtual void BoundsChanged() {}

 private:
  friend class Panel;
  void NotifyParent();

  std::string name_;
  WindowHandle handle_;
  Panel* parent_ = nullptr;
  Rect bounds_;
  Align align_ = Align::kNone;
  bool visible_ = true;
};

}  // namespace tarnvex
