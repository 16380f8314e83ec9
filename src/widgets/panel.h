#pragma once

#include <string>
#include <vector>

#include "widgets/control.h"

namespace tarnvex {

// A container. Aligned children are placed in the order they were added: each
// one takes its edge of the space the earlier ones left; kClient children take
// what remains. The panel does not own its children.
class Panel : public Control {
 public:
  explicit Panel(std::string name);
  ~Panel() override;

  // The child leaves its former container, if any.
  void AddChild(Control& child);
  void RemoveChild(Control& child);
  const std::vector<Control*>& children() const { return children_; }

  // Places the aligned children again.
  void Realign();

 protected:
  void BoundsChanged() override { Realign(); }

 private:
  std::vector<Control*> children_;
  bool realigning_ = false;
};

}  // namespace tarnvex
