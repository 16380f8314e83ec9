#include "editor/subsidy_set_form.h"

#include <utility>

#include "editor/data_model.h"
#include "editor/editor_flags.h"
#include "editor/host_error_box.h"
#include "host/sql_dialect.h"
#include "text/trim.h"
#include "widgets/event_guard.h"

namespace tarnvex {

namespace {

constexpr int kDesignWidth = 680;
constexpr int kDesignHeight = 445;
constexpr int kToolBarHeight = 37;
constexpr int kTreeWidth = 201;
constexpr int kItemGridHeight = 233;

void AddColumns(ColumnGrid& grid, const auto& definitions) {
  for (const ColumnDef& def : definitions) {
    grid.AddColumn({.header = def.header,
                    .kind = def.kind(),
                    .width = def.width,
                    // The marker is the editor's, never the operator's.
                    .visible = def.role != ColumnRole::kMarker,
                    .read_only = def.read_only,
                    .alignment = def.alignment,
                    .max_length = def.max_bytes,
                    .numbers = def.role == ColumnRole::kNumber});
  }
}

void StyleGrid(ColumnGrid& grid) {
  grid.look.default_row_height = kGridRowHeight;
  grid.look.colour = kGridColour;
  grid.look.fixed_colour = kGridHeaderColour;
  grid.look.line_colour = kGridHeaderColour;
  grid.look.header_font = {
      .name = "宋体", .height = -12, .charset = kGb2312Charset, .colour = kGridHeaderTextColour};
  grid.look.cell_font = {.name = "Tahoma", .height = -12, .charset = 0, .colour = 0x000000};
  // Code and name stay in place while the measures scroll sideways.
  grid.SetFrozenColumns(2);
}

}  // namespace

TfrmSubsidySet::TfrmSubsidySet(Platform& platform, const PluginContext& context)
    : BaseForm(platform, context, kCaption) {
  // Headless, boxes are owned by the screen's own id; a window peer replaces
  // it with the real window.
  set_window(Screen.handle());
  DeclareItemFields(cdsArc);
  DeclareParameterFields(cdsType);
  BuildScreen();
  SetUpShortcutGuide();
  ConnectEvents();
}

void TfrmSubsidySet::BuildScreen() {
  Screen.SetBounds({0, 0, kDesignWidth, kDesignHeight});
  Screen.AddChild(PanelMainControls);
  auto follow_panel_main = [this] {
    PanelMainControls.SetBounds({0, 0, PanelMain().width(), PanelMain().height()});
  };
  follow_panel_main();
  PanelMain().OnResize = follow_panel_main;

  ToolBar.SetHeight(kToolBarHeight);
  ToolBar.SetAlign(Align::kTop);
  ToolBar.AddSeparator();
  ToolBar.AddButton(btnAdd);
  ToolBar.AddButton(TbnDelRow);
  ToolBar.AddButton(TbnSave);
  ToolBar.AddSeparator();
  ToolBar.AddButton(btnRefresh);
  ToolBar.AddSeparator();
  ToolBar.AddButton(btnhand);
  ToolBar.AddButton(TbnExit);
  PanelMainControls.AddChild(ToolBar);

  TreeNT.SetWidth(kTreeWidth);
  TreeNT.SetAlign(Align::kLeft);
  TreeNT.look.colour = kGridColour;
  TreeNT.look.border = false;
  PanelMainControls.AddChild(TreeNT);

  Splitter1.SetWidth(1);
  Splitter1.SetAlign(Align::kLeft);
  Splitter1.set_target(&TreeNT);
  PanelMainControls.AddChild(Splitter1);

  Panel1.SetAlign(Align::kClient);
  PanelMainControls.AddChild(Panel1);

  AddColumns(cgdArc, kItemGridColumns);
  StyleGrid(cgdArc);
  // The vehicle grid shows the parameters of the item in this row.
  cgdArc.look.current_row_colour = kGridCurrentRowColour;
  cgdArc.SetHeight(kItemGridHeight);
  cgdArc.SetAlign(Align::kTop);
  Panel1.AddChild(cgdArc);

  Splitter2.SetHeight(1);
  Splitter2.SetAlign(Align::kTop);
  Splitter2.set_target(&cgdArc);
  Panel1.AddChild(Splitter2);

  AddColumns(cgdType, kVehicleGridColumns);
  StyleGrid(cgdType);
  cgdType.SetAlign(Align::kClient);
  Panel1.AddChild(cgdType);
  // Tab goes left to right, top to bottom, as on any Windows form.
  Screen.SetTabOrder({&TreeNT, &cgdArc, &cgdType});
}

void TfrmSubsidySet::ConnectEvents() {
  TbnExit.OnClick = [this] { Guarded("退出", [this] { TbnExitClick(); }); };
  btnAdd.OnClick = [this] { Guarded("增加项目", [this] { btnAddClick(); }); };
  TbnSave.OnClick = [this] { Guarded("保存", [this] { TbnSaveClick(); }); };
  TbnDelRow.OnClick = [this] { Guarded("删除项目", [this] { TbnDelRowClick(); }); };
  btnRefresh.OnClick = [this] { Guarded("刷新", [this] { btnRefreshClick(); }); };
  btnhand.OnClick = [this] { Guarded("快捷键指南", [this] { btnhandClick(); }); };
  TreeNT.OnChange = [this](TreeNode* node) {
    Guarded("选择类别", [this, node] { TreeNTChange(node); });
  };
  cgdArc.OnKeyDown = [this](KeyCode key) {
    Guarded(items_.operation(), [this, key] { items_.KeyDown(key); });
  };
  cgdArc.OnClick = [this] { Guarded(items_.operation(), [this] { items_.Click(); }); };
  cgdArc.OnCheckChanged = [this](int col, int row) {
    Guarded(items_.operation(), [this, col, row] { items_.CheckChanged(col, row); });
  };
  // A refused parameter or a failed write-back keeps the operator on the
  // row, with the cell to mend.
  cgdArc.OnRowChanging = [this](int old_row, int /*new_row*/, bool& allow) {
    allow = cgdType.LeaveCell() && Guarded("切换项目", [&] { items_.RowChanging(old_row); });
  };
  cgdArc.OnSelectCell = [this](int /*col*/, int row, bool& allow) {
    allow = Guarded("切换项目", [&] { items_.SelectCell(row); });
  };
  for (GridController* controller :
       {static_cast<GridController*>(&items_), static_cast<GridController*>(&vehicles_)}) {
    ColumnGrid& grid = controller->grid();
    grid.set_platform(&platform());
    grid.OnGetAlignment = &TfrmSubsidySet::GridGetAlignment;
    grid.OnKeyPress = [this, controller](char& ch) {
      Guarded(controller->operation(), [controller, &ch] { controller->KeyPress(ch); });
    };
    grid.OnPasteRefused = [this, controller](int col, int row, const std::string& text) {
      Guarded("粘贴", [&] { controller->PasteRefused(col, row, text); });
    };
    grid.OnEdited = [controller](int /*col*/, int row) { controller->Edited(row); };
    grid.OnCellExit = [this, controller](int col, int row, std::string& text, bool& accept) {
      accept =
          Guarded("检查单元格", [&] { controller->CellExit(col, row, text, accept); }) && accept;
    };
    grid.OnBlockCommand = [this, controller](BlockCommand command) {
      Guarded(controller->operation(),
              [controller, command] { controller->BlockCommand(command); });
    };
  }
  DraftTimer.SetInterval(kDraftInterval);
  DraftTimer.OnTimer = [this] { Guarded("保存草稿", [this] { DraftTimerTimer(); }); };
}

bool TfrmSubsidySet::Guarded(std::string_view operation, const std::function<void()>& handler) {
  return GuardEvent(platform(), window(), operation, handler);
}

std::shared_ptr<HostDataService> TfrmSubsidySet::DataService() const {
  std::shared_ptr<HostDataService> service = context().host_data_service();
  if (service == nullptr) throw HostCallError("没有主程序的数据服务");
  return service;
}

void TfrmSubsidySet::GridGetAlignment(int /*col*/, int row, CellAlignment& alignment) {
  if (row == 0) alignment = {HorizontalAlignment::kCentre, VerticalAlignment::kCentre};
}

bool TfrmSubsidySet::RunQuery(std::string_view sql, DataPacket& packet) {
  Variant result;
  const Variant query = Variant::FromText(AdaptSql(sql, EditorFlags().UseAnsiDialect));
  if (!DataService()->ExecuteQuery(query, result)) {
    ShowHostError(platform(), window(), result);
    return false;
  }
  packet = DataPacket::FromVariant(result);
  return true;
}

void TfrmSubsidySet::ShowErrorNotice(WindowHandle owner, std::string text) {
  ShowNotice(platform(), owner, std::move(text), MessageIcon::kError);
}

void TfrmSubsidySet::PaintMeasureColours() {
  vehicles_.PaintMeasureColours();
  items_.PaintMeasureColours();
}

bool TfrmSubsidySet::LeaveEditedCells() { return cgdType.LeaveCell() && cgdArc.LeaveCell(); }

void TfrmSubsidySet::WriteBackGrids() {
  items_.WriteBack();
  const std::string code = items_.CurrentCode();
  if (!code.empty()) vehicles_.WriteBack(code);
}

}  // namespace tarnvex
