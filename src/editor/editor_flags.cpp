#include "editor/editor_flags.h"

#include "host/sql_dialect.h"

namespace tarnvex {

EditorFlagSet& EditorFlags() {
  static EditorFlagSet flags{.UseAnsiDialect = UseAnsiDialect};
  return flags;
}

}  // namespace tarnvex
