#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "editor/change_tracker.h"
#include "editor/draft_file.h"
#include "editor/parameter_index.h"
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

// What ShowItems fills the item grid with.
enum class ItemScope { kAll, kCategory, kItem };

// The modes of FillGrid: 1 fills the vehicle-type grid, the others the item grid.
enum class FillMode { kAllItems = 0, kVehicleTypes = 1, kCategory = 2, kItem = 3 };

// The grids ClearGrid empties: cgdArc and cgdType.
enum class EditorGrid { kItemGrid, kVehicleGrid };

// The five measure flags of an item, as the item grid's tick boxes give them
// ("1" or "0"), in the order of kMeasureGroups.
struct MeasureFlags {
  std::string_view piece;     // jj, 计件
  std::string_view distance;  // jc, 计程
  std::string_view time;      // js, 计时
  std::string_view route;     // ax, 按线
  std::string_view combined;  // bc, 并车
};

// The allowance item settings editor ("津贴项目设置"): the category tree on the
// left, the item grid above the vehicle-type grid on the right, the tool bar on
// top, all on the controls' panel, which follows PanelMain's size. The grids
// are the editor's view of its three record tables; edits reach the tables
// through the write-back.
//
// Every event of a control, and creation, showing and closing, runs inside
// GuardEvent: an error ends the operation with a message and never reaches the
// platform.
class TfrmSubsidySet : public BaseForm {
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

  // The item grid (item_grid.cpp).
  void ShowItems(ItemScope scope, const std::string& key);
  void AppendItem(const std::string& code, const std::string& name, const std::string& category);
  bool CreateParameterRows(const std::string& code);
  // "1" when the check box of cgdArc at (col, row) shows ticked, else "0".
  std::string CheckFlag(int col, int row) const;
  void cgdArcKeyDown(KeyCode key);
  void cgdArcKeyPress(char& ch);
  void cgdArcClick();
  // A measure flag ticked or cleared, by Space as by a click: the vehicle-type
  // grid shows the measure column groups of the row at once.
  void cgdArcCheckChanged(int col, int row);
  void cgdArcRowChanging(int old_row, int new_row);
  void cgdArcSelectCell(int col, int row);

  // Both grids' fills (grid_fill.cpp) and the vehicle-type grid (vehicle_grid.cpp).
  void FillGrid(FillMode mode, const DataPacket& packet, const std::string& key);
  // Empties a grid down to one blank data row.
  void ClearGrid(EditorGrid which);
  void PaintMeasureColours();
  // Hides the four vehicle-grid columns of each measure whose flag is "0".
  void ApplyMeasureColumns(const MeasureFlags& flags);
  void cgdTypeKeyPress(char& ch);
  // Whether the key filter of cgdType lets a character through.
  static bool ParameterCharPasses(char ch);

  // What a cell takes (cell_rules.cpp): one rule that typing, pasting into a
  // cell and block pastes all ask. Why text cannot go into the cell; empty
  // when it can, value then being the cell's text to be.
  std::string CellRefusal(const ColumnGrid& grid, int col, int row, const std::string& text,
                          std::string& value) const;
  // Why a cell's text cannot stay as the cell is left; empty when it can,
  // text then in its shown form (a parameter as "0.00").
  std::string LeaveRefusal(const ColumnGrid& grid, int col, std::string& text) const;
  // A parameter's text: digits with at most one point, blanks around it
  // trimmed, empty as 0, and below kParameterLimit; shown is its "0.00" form.
  static std::string NumberRefusal(const std::string& text, std::string& shown);
  // The message about the current cell of grid when the operator changed it
  // and its text cannot stay; empty when it can.
  std::string RefusalOfEditedCell(const ColumnGrid& grid) const;
  // Both grids' current cells left as a move leaves them: false, with the
  // message shown at the refused cell, when one cannot be.
  bool LeaveEditedCells();
  // Both grids: header cells centred both ways.
  static void GridGetAlignment(int col, int row, CellAlignment& alignment);
  // Both grids: a paste into a cell being edited that the cell's key filter
  // refused (cell_blocks.cpp), told as a refused block is.
  void GridPasteRefused(const ColumnGrid& grid, int col, int row, const std::string& text);

  // Grid-to-table write-back (write_back.cpp).
  void WriteBackItemGrid();
  void WriteBackVehicleGrid(const std::string& item_code);
  // Confirms every row of cgdArc whose typed code no item has yet, as Enter on
  // its code does. False, with the cursor on that row's code and a message
  // naming the row, when one cannot be (its code is taken, or there are no
  // vehicle types to give it parameters): the caller then stops.
  bool ConfirmTypedRows();

  // Blocks of cells of either grid (cell_blocks.cpp): Ctrl+C puts the block on
  // the clipboard as tab-separated lines; Ctrl+V fills the cells from the
  // current one to the right and down, each as if typed there, all or nothing;
  // Ctrl+Z takes the last paste back while its cells still hold what it put.
  void GridBlockCommand(ColumnGrid& grid, BlockCommand command);

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
  // The operator changed a cell of grid in row: the draft is written when
  // DraftTimer next fires, so at most once a second.
  void GridEdited(const ColumnGrid& grid, int row);
  void NoteEdit();
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
  // the focus: Ctrl+S save, Ctrl+D delete, Ctrl+R refresh, F1 the guide, Esc
  // exit, Tab and Shift+Tab the focus to the next and previous of the tree,
  // the item grid and the vehicle-type grid. True when the key was used up; an
  // Esc during an in-place edit is left to the grid, which ends the edit.
  bool FormKeyDown(KeyCode key, bool ctrl, bool shift = false);
  // Whether FormKeyDown would use the key up, without doing anything: a
  // window side that must decide at once whether a key goes on to the
  // control runs the key itself a little later.
  bool TakesFormKey(KeyCode key, bool ctrl) const;

  // The busy window while a save runs, else nullptr.
  const BusyWindow* busy_window() const { return busy_window_.get(); }

  // "Tarnvexpos.ini" in the host's executable folder.
  std::filesystem::path SettingsFile();

  // The screen, named as the screen names them. Screen is the root of the
  // controls; PanelMainControls lies on it at PanelMain's size.
  Form Screen{"frmSubsidySet", kCaption};
  Panel PanelMainControls{"PanelMain"};
  tarnvex::ToolBar ToolBar{"ToolBar"};
  ToolButton btnAdd{"btnAdd", "增  加", "", 4};
  ToolButton TbnDelRow{"TbnDelRow", "删  行", "", 18};
  ToolButton TbnSave{"TbnSave", "保  存", "保存该条记录 Ctrl+S", 6};
  ToolButton btnRefresh{"btnRefresh", "刷　新", "", 7};
  ToolButton btnhand{"btnhand", "助  手", "", 15};
  ToolButton TbnExit{"TbnExit", "退  出", "退出 Esc", 10};
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
  // Mode 1 of FillGrid and the item modes.
  void FillVehicleTypes(const DataPacket& packet, const std::string& code);
  void FillAllItems(RecordTable& source);
  void FillMatchingItems(std::string_view field, const std::string& key);
  void FillItemRow(const RecordTable& record, int row);
  // Empties both grids, fills the item grid by scope and the vehicle-type grid
  // with the first item's rows and measure columns: what choosing a tree node
  // and the refresh show.
  void ShowItemsWithFirstParameters(ItemScope scope, const std::string& key);
  // ApplyMeasureColumns with the measure flags of a cgdArc row.
  void ApplyMeasureColumnsOfRow(int row);
  // Whether row is a new row of cgdArc: neither put there by a fill nor created.
  bool IsNewItemRow(int row) const;
  // Whether a new row of cgdArc holds a typed code.
  bool HasTypedRows() const;
  // Confirms a typed code of a new row as Enter does: its item and parameter
  // rows made, the row marked as created.
  enum class RowConfirmation { kConfirmed, kCodeTaken, kParametersExist };
  RowConfirmation ConfirmNewRow(int row, const std::string& code);
  // The trimmed code of a cgdArc row.
  std::string CodeOfRow(int row) const;
  // Adapts and runs a query; on failure shows the host's error lines.
  bool RunQuery(std::string_view sql, DataPacket& packet);
  // A box captioned "提示" with the error icon, as refusals are shown.
  void ShowErrorNotice(WindowHandle owner, std::string text);

  // The host's service for one operation; raises HostCallError when the
  // entry point has stored none.
  std::shared_ptr<HostDataService> DataService() const;

  // The last paste, for Ctrl+Z.
  struct PastedCell {
    int col;
    int row;
    std::string before;
    std::string after;
  };
  struct PastedBlock {
    const ColumnGrid* grid = nullptr;
    // The item whose parameters cgdType showed.
    std::string item_code;
    std::vector<PastedCell> cells;
  };
  void CopyBlock(const ColumnGrid& grid);
  void PasteBlock(ColumnGrid& grid);
  void UndoPaste(ColumnGrid& grid);
  // The words naming a cell in a refusal: its row's code and its header.
  std::string DescribeCell(const ColumnGrid& grid, int col, int row) const;
  // "粘贴被取消：" with the cell, why and the text; nothing was applied.
  // The operator types a character into grid's current cell.
  void GridKeyPress(const ColumnGrid& grid, char& ch);
  // OnCellExit of both grids.
  void GridCellExit(ColumnGrid& grid, int col, int row, std::string& text, bool& accept);
  void ShowPasteRefused(const ColumnGrid& grid, int col, int row, const std::string& refusal,
                        const std::string& text);
  PastedBlock last_paste_;

  ParameterIndex parameter_index_;
  // Whether the grids show records of the tables as they are loaded now. A
  // reload makes whatever the grids still show stale: it belongs to the
  // tables they were filled from, and writing it back would put old values
  // over what was just read. Only refilling them for a tree node makes them
  // the operator's again.
  bool grids_match_tables_ = false;
  // What of cdsArc and cdsType differs from the last load or save.
  ChangeTracker item_changes_;
  ChangeTracker parameter_changes_;

  void WriteBackItemRow(int row);
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
  // cgdArc's rows edited since the draft was last written.
  std::set<int> edited_item_rows_;
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
  std::unique_ptr<BusyWindow> busy_window_;
};

}  // namespace tarnvex
