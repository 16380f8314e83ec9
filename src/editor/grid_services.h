#pragma once

#include <string>
#include <string_view>

#include "editor/change_tracker.h"
#include "host/data_packet.h"
#include "host/record_table.h"
#include "widgets/control.h"

namespace tarnvex {

// The record tables the grids show and edit, and what of them changed since
// the last load or save.
struct EditorTables {
  RecordTable& items;          // cdsArc
  RecordTable& parameters;     // cdsType
  RecordTable& vehicle_types;  // cdsCX
  ChangeTracker& item_changes;
  ChangeTracker& parameter_changes;
};

// What the grids' controllers ask of the editor around them. The form
// answers.
class GridServices {
 public:
  // Whether the grids show records of the tables as they are loaded now: only
  // then may the grids be written back or their typed rows confirmed.
  virtual bool GridsMatchTables() const = 0;
  // Adapts and runs a query; on failure shows the host's error lines.
  virtual bool RunQuery(std::string_view sql, DataPacket& packet) = 0;
  // A box captioned "提示" with the error icon, as refusals are shown.
  virtual void ShowErrorNotice(WindowHandle owner, std::string text) = 0;
  // The focus to control, as the screen moves it.
  virtual void Focus(Control& control) = 0;
  // The operator changed something: the draft is due.
  virtual void NoteEdit() = 0;
  // Both grids' measure colours, after a fill.
  virtual void PaintMeasureColours() = 0;

 protected:
  ~GridServices() = default;
};

}  // namespace tarnvex
