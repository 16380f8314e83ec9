#include "widgets/label.h"

#include <utility>

namespace tarnvex {

Label::Label(std::string name, std::string caption)
    : Control(std::move(name)), caption_(std::move(caption)) {}

}  // namespace tarnvex
