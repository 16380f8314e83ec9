#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/change_tracker.h"
#include "editor/draft_file.h"
#include "editor/editor_pictures.h"
#include "editor/grid_controller.h"
#include "editor/item_grid_controller.h"
#include "editor/key_bindings.h"
#include "editor/vehicle_grid_controller.h"
#include "editor/save_conflicts.h"
#include "host/data_packet.h"
#include "host/host_data_service.h"
#include "host/record_table.h"
#include "embedding/base_form.h"
#include "embedding/plugin_context.h"
#include "popups/busy_window.h"
#include "popups/shortcut_guide.h"
#include "widgets/column_grid.h"
#include "widgets/form.h"
#include "widgets/keys.h"
#include "widgets/panel.h"
#include "widgets/platform.h"
#include "widgets/splitter.h"
#include "widgets/timer.h"
#include "widgets/tool_bar.h"
#include "widgets/tree_view.h"

namespace tarnvex {

// The allowance item settings editor ("津贴项目设置"): the category tree on the
// left, the item grid above the vehicle-type grid on the right, the tool bar on
// top, all on the controls' panel, which follows PanelMain's size. The grids
// are the editor's view of its three record tables; edits reach the tables
// through the write-back.
//
// Every event of a control, and creation, showing and closing, runs inside
// GuardEvent: an error ends the operation with a message and never reaches the
// platform.
class TfrmSubsidySet : public BaseForm, private GridServices {
 public:
  static constexpr char kCaption[] = "津贴项目设置";
  static constexpr char kSettingsFileName[] = "Tarnvexpos.ini";

  // Builds the screen. Create() then loads the data, Show() selects the root,
  // and the exit button closes the editor.
  TfrmSubsidySet(Platform& platform, const PluginContext& context);
  // An edit not yet in the draft goes there now: the host may destroy the
  // editor with its own window at any moment.
  ~TfrmSubsidySet() override;

  void TbnExitClick();

  // Loading (loading.cpp).
  void DetectDatabaseKind();
  void LoadRecordTables();
  bool CheckOperatorRight();

  // The category tree (category_tree.cpp).
  void BuildCategoryTree();
  void TreeNTChange(TreeNode* node);

  // The grids' rules, one controller each; the grids' events go to them.
  ItemGridController& items() { return items_; }
  VehicleGridController& vehicles() { return vehicles_; }
  // Both grids' measure colours, after a fill.
  void PaintMeasureColours() override;

  // Both grids' current cells left as a move leaves them: false, with the
  // message shown at the refused cell, when one cannot be.
  bool LeaveEditedCells();
  // Both grids: header cells centred both ways.
  static void GridGetAlignment(int col, int row, CellAlignment& alignment);
  // Both grids written back into the tables: every item row, and the
  // parameter rows of the current item.
  void WriteBackGrids();

  // Unsaved changes (unsaved_changes.cpp): whether the working copy, once both
  // grids are written back, differs from what was last loaded or saved. A
  // typed row not yet confirmed counts as a change.
  bool HasUnsavedChanges();
  // Before a command that discards the working copy: true when it may go on.
  // With unsaved changes asks "数据已修改,是否保存?": Yes saves as the save
  // command does (without its own question) and goes on if the save
  // succeeded, No goes on, Cancel stays.
  bool MayDiscardChanges();

  // The commands of the tool bar (add_command.cpp, save_command.cpp,
  // delete_refresh.cpp).
  void btnAddClick();
  // The categories an item can be given: the tree's, then the fixed ones.
  std::vector<std::string> CategoryChoices() const;
  void TbnSaveClick();
  // Sends the records of cdsArc and cdsType changed since the last load or
  // save as one batch (an empty one when nothing changed); on false errorValue
  // holds what the host left in the batch argument.
  bool SendSaveBatch(Variant& errorValue);
  // The save after its question: typed rows confirmed, both grids written
  // back, the changed records sent, everything reloaded, and "保存成功" or the
  // host's error shown. True when the host took the batch.
  bool SaveChanges();
  // Reads back from the database every record the save will write, with keyed
  // queries, and adds to conflicts each one that another operator changed,
  // deleted or added since this editor read it (save_conflicts.cpp). False,
  // with the host's error shown, when a query fails: then nothing is saved.
  bool ReadBackConflicts(std::vector<SaveConflict>& conflicts);
  // The code of an item the save would write without a category; empty when
  // there is none. The save stops at it with ShowItemWithoutCategory.
  std::string ItemWithoutCategory();
  void ShowItemWithoutCategory(const std::string& code);
  void TbnDelRowClick();
  void DeleteItem(const std::string& code);
  void btnRefreshClick();
  // The refresh without its question: everything reloaded from the database.
  void ReloadAll();

  // The draft of unsaved work (draft.cpp), kept beside the settings file so
  // that a host closed or killed does not take the operator's edits along.
  static constexpr uint32_t kDraftInterval = 1000;
  // The operator changed something: the draft is written when DraftTimer
  // next fires, so at most once a second.
  void NoteEdit() override;
  void DraftTimerTimer();
  // Writes the edits since the last load or save to the draft file (the
  // cells edited since the last write written back first), or removes the
  // file when there are none. A parameter row with a cell that is not a
  // number yet stays out, and the draft stays due.
  void WriteDraft();
  // The draft's work was saved or deliberately thrown away.
  void DiscardDraft();
  // At opening: each draft of the operator left by an editor that no longer
  // runs is offered ("发现上次未保存的修改,是否恢复?"): Yes puts its records
  // back as unsaved edits over what was loaded, No deletes it. A damaged
  // draft is set aside and reported.
  void OfferDraft();
  // "Tarnvexdraft-<operator>-<session>.dat" beside the settings file, this
  // editor's own; empty until the editor was created.
  const std::filesystem::path& draft_file() const { return draft_file_; }
  Timer DraftTimer;

  // The shortcut guide and the keys it promises (shortcuts.cpp).
  void btnhandClick();
  // A key going down while the editor is active, seen before the control with
  // the focus: the keys of kKeyBindings (key_bindings.h). True when the key
  // was used up; an Esc during an in-place edit is left to the grid, which
  // ends the edit.
  bool FormKeyDown(KeyCode key, bool ctrl, bool shift = false);
  // Whether FormKeyDown would use the key up, without doing anything: a
  // window side that must decide at once whether a key goes on to the
  // control runs the key itself a little later.
  bool TakesFormKey(KeyCode key, bool ctrl, bool shift = false) const;

  // The busy window while a save runs, else nullptr.
  const BusyWindow* busy_window() const { return busy_window_.get(); }

  // "Tarnvexpos.ini" in the host's executable folder.
  std::filesystem::path SettingsFile();

  // The screen, named as the screen names them. Screen is the root of the
  // controls; PanelMainControls lies on it at PanelMain's size.
  Form Screen{"frmSubsidySet", kCaption};
  Panel PanelMainControls{"PanelMain"};
  tarnvex::ToolBar ToolBar{"ToolBar"};
  ToolButton btnAdd{"btnAdd", "增  加", CommandTip(EditorCommand::kAdd),
                    PictureIndex(EditorPicture::kAdd)};
  ToolButton TbnDelRow{"TbnDelRow", "删  行", CommandTip(EditorCommand::kDelete),
                       PictureIndex(EditorPicture::kDeleteRow)};
  ToolButton TbnSave{"TbnSave", "保  存", CommandTip(EditorCommand::kSave),
                     PictureIndex(EditorPicture::kSave)};
  ToolButton btnRefresh{"btnRefresh", "刷　新", CommandTip(EditorCommand::kRefresh),
                        PictureIndex(EditorPicture::kRefresh)};
  ToolButton btnhand{"btnhand", "助  手", CommandTip(EditorCommand::kGuide),
                     PictureIndex(EditorPicture::kHelp)};
  ToolButton TbnExit{"TbnExit", "退  出", CommandTip(EditorCommand::kExit),
                     PictureIndex(EditorPicture::kExit)};
  TreeView TreeNT{"TreeNT"};
  Splitter Splitter1{"Splitter1"};
  Panel Panel1{"Panel1"};
  ColumnGrid cgdArc{"cgdArc"};
  Splitter Splitter2{"Splitter2"};
  ColumnGrid cgdType{"cgdType"};

  // The record tables: all items, all parameter rows, the vehicle types.
  RecordTable cdsArc;
  RecordTable cdsType;
  RecordTable cdsCX;
  // The shortcut guide.
  ShortcutGuide RopHelp;

 protected:
  // Start, show and close (startup.cpp), after the base form's own steps.
  void FormCreate() override;
  void FormShow() override;
  void FormClose() override;

 private:
  void BuildScreen();
  void ConnectEvents();
  // Runs handler as the event named by operation (widgets/event_guard.h).
  bool Guarded(std::string_view operation, const std::function<void()>& handler);
  // Empties both grids, fills the item grid by scope and the vehicle-type grid
  // with the first item's rows and measure columns: what choosing a tree node
  // and the refresh show.
  void ShowItemsWithFirstParameters(ItemScope scope, const std::string& key);
  // What choosing node shows, without the checks of a node change.
  void ShowNodeContent(TreeNode& node);
  // The code of an item's node; empty for a node that names none.
  static std::string ItemCodeOfNode(const TreeNode& node);
  // Where the operator is (editor_place.cpp), taken before a save, a refresh
  // or a delete reloads everything and given back after it: the tree's node,
  // the item and the vehicle type by code, the current columns, both grids'
  // scroll positions and the focus. A row that is gone gives way to the row
  // after it, else the one before.
  struct EditorPlace {
    int node_level = 0;
    std::string node_text;    // the node's, or for an item's node its code
    std::string parent_text;  // an item node's category
    std::string item_code;
    std::string next_item_code;
    std::string previous_item_code;
    int item_col = 0;
    int item_top_row = 1;
    int item_scroll_x = 0;
    std::string vehicle_code;
    int vehicle_col = 0;
    int vehicle_top_row = 1;
    int vehicle_scroll_x = 0;
    Control* focused = nullptr;
  };
  EditorPlace CapturePlace() const;
  void RestorePlace(const EditorPlace& place);
  void RestoreFocus(const EditorPlace& place);
  // The host's service for one operation; raises HostCallError when the
  // entry point has stored none.
  std::shared_ptr<HostDataService> DataService() const;

  // Whether the grids show records of the tables as they are loaded now. A
  // reload makes whatever the grids still show stale: it belongs to the
  // tables they were filled from, and writing it back would put old values
  // over what was just read. Only refilling them for a tree node makes them
  // the operator's again.
  bool grids_match_tables_ = false;
  ChangeTracker item_changes_;
  ChangeTracker parameter_changes_;
  // The last block pasted into either grid, for Ctrl+Z.
  PastedBlock last_paste_;

  // The draft's records of one table put back into it as edits made over
  // what the draft says they were read as.
  void RestoreDraftTable(RecordTable& table, ChangeTracker& changes, const DraftTable& draft,
                         bool parameter_rows);
  void RestoreDraft(const Draft& draft);
  // The item's node in the tree, under its category's node (made when there
  // is none yet). True when the category's node was made.
  bool AddItemNode(const std::string& code, const std::string& name, const std::string& category,
                   TreeNode*& item_node);
  // The node whose content the grids show; the tree marks it again after a
  // node change that could not be made (reselecting_ meanwhile).
  TreeNode* shown_node_ = nullptr;
  bool reselecting_ = false;
  void ReselectShownNode(ColumnGrid& grid);
  void StartDraftSession(const std::filesystem::path& settings);
  void OfferDraftFile(const std::filesystem::path& file);
  std::string draft_session_;
  std::filesystem::path draft_file_;
  bool draft_due_ = false;
  std::string last_draft_;  // the bytes last written to the draft file
  bool draft_failure_shown_ = false;

  // ReadBackConflicts for one table: items, or parameter rows keyed by item
  // and vehicle type.
  bool ReadBackTable(const DataPacket& current, const ChangeTracker& changes, const char* table,
                     bool parameter_rows, std::vector<SaveConflict>& conflicts);

  bool ItemCodeExists(const std::string& code);
  class BusyWindowScope;
  void OpenBusyWindow(const std::string& text);
  void CloseBusyWindow();
  void SetUpShortcutGuide();
  // Where the focus is, for the keys bound to one place only.
  KeyPlace FocusPlace() const;
  std::unique_ptr<BusyWindow> busy_window_;
  // What the grids' controllers ask of the editor.
  bool GridsMatchTables() const override { return grids_match_tables_; }
  bool RunQuery(std::string_view sql, DataPacket& packet) override;
  void ShowErrorNotice(WindowHandle owner, std::string text) override;
  void Focus(Control& control) override { Screen.SetFocus(control); }

  // Last: they hold on to the grids, the tables and the last paste.
  EditorTables tables_{cdsArc, cdsType, cdsCX, item_changes_, parameter_changes_};
  VehicleGridController vehicles_{*this,   platform(),  cgdType,
                                  tables_, last_paste_, [this] { return items_.CurrentCode(); }};
  ItemGridController items_{*this, platform(), cgdArc, tables_, last_paste_, vehicles_};
};

}  // namespace tarnvex
