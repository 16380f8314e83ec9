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
    grid.AddColumn(
        {.header = def.header,
         .kind = def.kind,
         .width = def.width,
         .visible = true,
         .read_only = false,
         .alignment = def.alignment,
         .max_length = def.field != nullptr ? MaxBytesOfField(def.field) : TextEditor::kNoLimit,
         .numbers = def.field != nullptr && IsParameterField(def.field)});
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
  cgdArc.SetColumnVisible(kItemGridMarkerColumn, false);
  cgdArc.SetColumnReadOnly(kItemGridMarkerColumn, true);
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
  // The code is the key of the row; the name is shown only and never read back.
  cgdType.SetColumnReadOnly(kVehicleGridCodeColumn, true);
  cgdType.SetColumnReadOnly(kVehicleGridNameColumn, true);
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
  cgdArc.OnGetAlignment = &TfrmSubsidySet::GridGetAlignment;
  cgdType.OnGetAlignment = &TfrmSubsidySet::GridGetAlignment;
  cgdArc.OnKeyDown = [this](KeyCode key) {
    Guarded("项目编辑", [this, key] { cgdArcKeyDown(key); });
  };
  cgdArc.OnKeyPress = [this](char& ch) {
    Guarded("项目编辑", [this, &ch] { cgdArcKeyPress(ch); });
  };
  cgdArc.OnClick = [this] { Guarded("项目编辑", [this] { cgdArcClick(); }); };
  cgdArc.OnCheckChanged = [this](int col, int row) {
    Guarded("项目编辑", [this, col, row] { cgdArcCheckChanged(col, row); });
  };
  // A refused parameter or a failed write-back keeps the operator on the
  // row, with the cell to mend.
  cgdArc.OnRowChanging = [this](int old_row, int new_row, bool& allow) {
    allow =
        cgdType.LeaveCell() && Guarded("切换项目", [&] { cgdArcRowChanging(old_row, new_row); });
  };
  cgdArc.OnSelectCell = [this](int col, int row, bool& allow) {
    allow = Guarded("切换项目", [&] { cgdArcSelectCell(col, row); });
  };
  cgdType.OnKeyPress = [this](char& ch) {
    Guarded("车型参数编辑", [this, &ch] { cgdTypeKeyPress(ch); });
  };
  for (ColumnGrid* grid : {&cgdArc, &cgdType}) {
    grid->set_platform(&platform());
    grid->OnPasteRefused = [this, grid](int col, int row, const std::string& text) {
      Guarded("粘贴", [&] { GridPasteRefused(*grid, col, row, text); });
    };
  }
  for (ColumnGrid* grid : {&cgdArc, &cgdType}) {
    grid->OnEdited = [this, grid](int /*col*/, int row) { GridEdited(*grid, row); };
    grid->OnCellExit = [this, grid](int col, int row, std::string& text, bool& accept) {
      accept =
          Guarded("检查单元格", [&] { GridCellExit(*grid, col, row, text, accept); }) && accept;
    };
  }
  DraftTimer.SetInterval(kDraftInterval);
  DraftTimer.OnTimer = [this] { Guarded("保存草稿", [this] { DraftTimerTimer(); }); };
  cgdArc.OnBlockCommand = [this](BlockCommand command) {
    Guarded("项目编辑", [this, command] { GridBlockCommand(cgdArc, command); });
  };
  cgdType.OnBlockCommand = [this](BlockCommand command) {
    Guarded("车型参数编辑", [this, command] { GridBlockCommand(cgdType, command); });
  };
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

std::string TfrmSubsidySet::CodeOfRow(int row) const {
  return Trim(cgdArc.Cells(kItemGridCodeColumn, row));
}

}  // namespace tarnvex
