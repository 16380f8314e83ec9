#include "editor/editor_flags.h"

namespace tarnvex {

bool LoadDone = false;
bool Refreshing = false;

}  // namespace tarnvex
