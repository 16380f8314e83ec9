#pragma once

namespace tarnvex {

// Process-wide flags of the editor, one set for every editor of the process,
// like UseAnsiDialect (host/sql_dialect.h).

// False while the editor's start-up loads, true from its end on; never reset.
// Until then node changes, the item grid's cell selection and the fills of one
// category or one item do nothing: the start-up's own fills would otherwise run
// them against tables still being loaded.
extern bool LoadDone;

// True while the refresh command rebuilds the tree; node changes are ignored
// meanwhile.
extern bool Refreshing;

}  // namespace tarnvex
