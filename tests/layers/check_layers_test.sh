#!/usr/bin/env bash
# check_layers_test.sh CHECKER
# The layer check on small trees: downward and same-folder includes pass; an
# include up the layers, one between the side-by-side layers, <windows.h> in a
# portable file and a win32/ header in the editor each fail it.
set -uo pipefail
checker=${1:?usage: check_layers_test.sh CHECKER}
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
failures=0

# case NAME EXPECTED(pass|fail) FILE LINE
case_() {
  local name=$1 expected=$2 file=$3 line=$4
  rm -rf "$tree/src" "$tree/standin"
  mkdir -p "$tree/src/text" "$tree/standin"
  echo '#include "text/trim.h"' >"$tree/src/text/trim.h"
  mkdir -p "$(dirname "$tree/$file")"
  echo "$line" >"$tree/$file"
  if "$checker" "$tree" >/dev/null; then got=pass; else got=fail; fi
  if [ "$got" != "$expected" ]; then
    echo "FAIL: $name: expected $expected, got $got"
    failures=$((failures + 1))
  fi
}

case_ "editor includes widgets" pass src/editor/a.cpp '#include "widgets/column_grid.h"'
case_ "plugin includes its win32 peers" pass src/plugin/win32/a.cpp '#include "widgets/win32/grid_window.h"'
case_ "win32 folder includes windows.h" pass src/widgets/win32/a.cpp '#include <windows.h>'
case_ "stand-in includes embedding" pass standin/host_app/a.cpp '#include "embedding/host_messages.h"'
case_ "widgets includes the editor" fail src/widgets/a.h '#include "editor/data_model.h"'
case_ "host includes widgets" fail src/host/a.h '#  include "widgets/message_box.h"'
case_ "popups includes embedding" fail src/popups/a.h '#include "embedding/base_form.h"'
case_ "editor includes plugin" fail src/editor/a.h '#include "plugin/win32/form_windows.h"'
case_ "editor includes a win32 header" fail src/editor/a.cpp '#include "widgets/win32/gdi.h"'
case_ "portable file includes windows.h" fail src/widgets/a.cpp '#include <windows.h>'
case_ "unknown layer" fail src/misc/a.cpp '#include "text/trim.h"'

[ "$failures" -eq 0 ] && echo "layer check: all cases as expected"
exit $((failures != 0))
