#pragma once

namespace tarnvex {

// The process-wide flags of the editor, one set for every editor of the
// process. They are reached only through EditorFlags(), so that every place
// that sets one is found by searching for "EditorFlags().".
struct EditorFlagSet {
  // False while the editor's start-up loads, true from its end on; never reset.
  // Until then node changes, the item grid's cell selection and the fills of
  // one category or one item do nothing: the start-up's own fills would
  // otherwise run them against tables still being loaded.
  bool LoadDone = false;

  // True while the refresh command rebuilds the tree; node changes are ignored
  // meanwhile.
  bool Refreshing = false;

  // The host layer's flag (host/sql_dialect.h): true when the host's database
  // is not SQL Server. Queries then go through AdaptSql and saves take the
  // "begin ATOMIC ... End" form.
  bool& UseAnsiDialect;
};

EditorFlagSet& EditorFlags();

}  // namespace tarnvex
