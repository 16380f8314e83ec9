// The editor's navigation on a large catalogue: 1,000 items and 100 vehicle
// types, so 100,000 parameter rows in cdsType.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "editor/data_model.h"
#include "editor/subsidy_set_form.h"
#include "host/data_packet.h"
#include "host/host_data_service.h"
#include "embedding/plugin_context.h"
#include "text/codepage.h"
#include "text/number_text.h"
#include "widgets/headless/headless_platform.h"
#include "widgets/keys.h"

namespace tarnvex {
namespace {

constexpr int kVehicleTypes = 100;
constexpr int kCategories = 10;

std::string Code(const char* prefix, int number) {
  char text[16];
  std::snprintf(text, sizeof text, "%s%04d", prefix, number);
  return text;
}

// Answers the editor's queries from packets made once.
class CatalogueHost : public HostDataService {
 public:
  explicit CatalogueHost(int parameter_rows) {
    const int items = parameter_rows / kVehicleTypes;
    DataPacketBuilder all;
    for (const char* field : kItemFields) all.AddColumn(field, FieldKind::kText);
    for (int i = 0; i < items; ++i) {
      const std::string category = Code("C", i % kCategories);
      const std::vector<std::string> row = {Code("I", i), "项目", category, "1", "0", "0", "1",
                                            "0",          "0",    "0",      "0", "0", "0"};
      for (const std::string& cell : row) all.AppendCell(cell);
    }
    answers_[kLoadItemsSql] = all.Build().ToVariant();
    for (int c = 0; c < kCategories; ++c) {
      DataPacketBuilder names;
      names.AddColumn(kFieldItemCode, FieldKind::kText);
      names.AddColumn(kFieldItemName, FieldKind::kText);
      for (int i = c; i < items; i += kCategories) {
        names.AppendCell(Code("I", i));
        names.AppendCell(std::string("项目"));
      }
      answers_["select f_jtxmbm,f_jtxmmc from tbdyjtxmda where f_lb='" + Code("C", c) + "'"] =
          names.Build().ToVariant();
    }
    DataPacketBuilder categories;
    categories.AddColumn(kFieldCategory, FieldKind::kText);
    for (int c = 0; c < kCategories; ++c) categories.AppendCell(Code("C", c));
    answers_["select distinct f_lb from tbdyjtxmda order by f_lb"] = categories.Build().ToVariant();

    DataPacketBuilder parameters;
    parameters.AddColumn(kFieldItemCode, FieldKind::kText);
    parameters.AddColumn(kFieldTypeCode, FieldKind::kText);
    for (const char* field : kParameterFields) parameters.AddColumn(field, FieldKind::kFloat);
    parameters.AddColumn(kFieldTypeName, FieldKind::kText);
    DataPacketBuilder types;
    types.AddColumn(kFieldTypeCode, FieldKind::kText);
    for (int t = 0; t < kVehicleTypes; ++t) types.AppendCell(Code("V", t));
    // Vehicle types in descending order, so that each item's rows need ordering.
    for (int i = 0; i < items; ++i) {
      for (int t = kVehicleTypes - 1; t >= 0; --t) {
        parameters.AppendCell(Code("I", i));
        parameters.AppendCell(Code("V", t));
        for (size_t f = 0; f < kParameterFields.size(); ++f) parameters.AppendCell(1.5 * t);
        parameters.AppendCell(std::string("车型"));
      }
    }
    answers_[kLoadParametersSql] = parameters.Build().ToVariant();
    answers_[kLoadVehicleTypesSql] = types.Build().ToVariant();
  }

  Variant GetDatabaseKind() override { return Variant(u"SQLSERVER"); }
  bool ExecuteQuery(const Variant& sql, Variant& result) override {
    auto found = answers_.find(Utf16ToCp936(sql.as_string()));
    if (found == answers_.end()) return false;
    result = found->second;
    return true;
  }
  bool ExecuteStatement(Variant&) override { return false; }
  bool CheckRight(const std::u16string&, const std::u16string&) override { return true; }

 private:
  // The answers as the host hands them over: packets already in their byte
  // arrays.
  std::map<std::string, Variant> answers_;
};

// An editor opened on the catalogue, as the entry point opens it.
struct OpenEditor {
  explicit OpenEditor(int parameter_rows)
      : OpenEditor(std::make_shared<CatalogueHost>(parameter_rows)) {}
  explicit OpenEditor(std::shared_ptr<HostDataService> host,
                      const std::string& folder = "/nonexistent/") {
    platform.set_host_executable_folder(folder);
    context.Store(0, std::move(host), "0001");
    editor = std::make_unique<TfrmSubsidySet>(platform, context);
    editor->Create();
    editor->Show();
  }
  HeadlessPlatform platform;
  PluginContext context;
  std::unique_ptr<TfrmSubsidySet> editor;
};

// What the operator waits for when the editor opens: from the host's answers
// (the packets already in memory) to the tree built and both grids filled.
void BM_EditorStartup(benchmark::State& state) {
  const auto host = std::make_shared<CatalogueHost>(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto open = std::make_unique<OpenEditor>(host);
    state.PauseTiming();
    const TfrmSubsidySet& editor = *open->editor;
    if (!open->platform.shown_boxes().empty() || editor.TreeNT.FirstNode() == nullptr ||
        editor.cgdArc.RowCount() < 2 || editor.cgdType.Cells(kVehicleGridCodeColumn, 1).empty()) {
      state.SkipWithError("the editor did not open filled");
    }
    open.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_EditorStartup)->Arg(100000)->Unit(benchmark::kMillisecond);

// Finding out whether anything is unsaved, one cell edited among the
// parameter rows: both grids written back and the written records compared
// with what was loaded.
void BM_UnsavedChanges(benchmark::State& state) {
  OpenEditor open(static_cast<int>(state.range(0)));
  TfrmSubsidySet& editor = *open.editor;
  editor.cgdType.SetCells(kVehicleGridFirstNumberColumn, 1, "1.25");
  bool unsaved = false;
  for (auto _ : state) unsaved = editor.HasUnsavedChanges();
  if (!unsaved) state.SkipWithError("the edit was not seen");
}
BENCHMARK(BM_UnsavedChanges)->Arg(100000)->Unit(benchmark::kMillisecond);

// A save with one cell edited among the parameter rows, from its write-back to
// the packed batch (the host here refuses it, so the batch comes back).
void BM_SaveOneEdit(benchmark::State& state) {
  OpenEditor open(static_cast<int>(state.range(0)));
  TfrmSubsidySet& editor = *open.editor;
  editor.cgdType.SetCells(kVehicleGridFirstNumberColumn, 1, "1.25");
  const std::string code = editor.cgdArc.Cells(kItemGridCodeColumn, editor.cgdArc.Row());
  size_t statements = 0;
  for (auto _ : state) {
    editor.items().WriteBack();
    editor.vehicles().WriteBack(code);
    Variant batch;
    editor.SendSaveBatch(batch);
    statements = batch.kind() == Variant::Kind::kArray ? batch.as_array().elements.size() : 0;
  }
  if (statements != 1) state.SkipWithError("the batch does not hold exactly the edit");
}
BENCHMARK(BM_SaveOneEdit)->Arg(100000)->Unit(benchmark::kMillisecond);

// The draft written after an edit, one cell edited among the parameter rows:
// the edited cells written back, the edited records collected and the file
// replaced through a temporary one. Each round the cell holds another value,
// so each round really writes.
void BM_DraftWrite(benchmark::State& state) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("tarnvex-bench-draft-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  {
    const auto host = std::make_shared<CatalogueHost>(static_cast<int>(state.range(0)));
    OpenEditor open(host, folder.string() + "/");
    TfrmSubsidySet& editor = *open.editor;
    int round = 0;
    for (auto _ : state) {
      state.PauseTiming();
      editor.cgdType.SetCells(kVehicleGridFirstNumberColumn, 1, ++round % 2 ? "1.25" : "1.5");
      editor.vehicles().Edited(1);
      state.ResumeTiming();
      editor.WriteDraft();
    }
    if (!std::filesystem::exists(editor.draft_file())) state.SkipWithError("no draft was written");
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_DraftWrite)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_RowMove(benchmark::State& state) {
  OpenEditor open(static_cast<int>(state.range(0)));
  ColumnGrid& grid = open.editor->cgdArc;
  for (auto _ : state) {
    grid.PressKey(grid.Row() == 1 ? kKeyDown : kKeyUp);
  }
  if (!open.platform.shown_boxes().empty()) state.SkipWithError("the editor showed a message");
}
BENCHMARK(BM_RowMove)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The same move with the vehicle-type grid filled the literal way: every
// parameter row copied into a temporary table, ordered by vehicle type and
// walked to find the item's rows.
void LiteralFill(TfrmSubsidySet& editor, const std::string& code) {
  RecordTable rows;
  rows.LoadPacket(editor.cdsType.TakePacket());
  rows.SetOrder(kFieldTypeCode);
  ColumnGrid& grid = editor.cgdType;
  int row = 1;
  for (rows.First(); !rows.Eof(); rows.Next()) {
    if (rows.Text(kFieldItemCode) != code) continue;
    grid.SetCells(kVehicleGridCodeColumn, row, rows.Text(kFieldTypeCode));
    grid.SetCells(kVehicleGridNameColumn, row, rows.Text(kFieldTypeName));
    for (int col = kVehicleGridFirstNumberColumn; col <= kVehicleGridLastNumberColumn; ++col) {
      grid.SetCells(col, row,
                    FormatNumber(std::get<double>(rows.Value(kVehicleGridColumns[col].field))));
    }
    ++row;
    grid.InsertRow(row);
  }
  if (grid.Cells(kVehicleGridCodeColumn, row).empty() && grid.RowCount() > 2) grid.RemoveRow(row);
  editor.PaintMeasureColours();
}

void BM_RowMoveCopyAndSort(benchmark::State& state) {
  OpenEditor open(static_cast<int>(state.range(0)));
  TfrmSubsidySet& editor = *open.editor;
  int row = 1;
  for (auto _ : state) {
    editor.vehicles().WriteBack(editor.cgdArc.Cells(kItemGridCodeColumn, row));
    row = row == 1 ? 2 : 1;
    editor.vehicles().Clear();
    LiteralFill(editor, editor.cgdArc.Cells(kItemGridCodeColumn, row));
  }
}
BENCHMARK(BM_RowMoveCopyAndSort)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_TreeNodeChange(benchmark::State& state) {
  OpenEditor open(static_cast<int>(state.range(0)));
  TreeView& tree = open.editor->TreeNT;
  TreeNode* first = tree.FirstNode()->children()[0].get();
  TreeNode* second = tree.FirstNode()->children()[1].get();
  for (auto _ : state) tree.Select(tree.selected() == first ? second : first);
  if (!open.platform.shown_boxes().empty()) state.SkipWithError("the editor showed a message");
}
BENCHMARK(BM_TreeNodeChange)->Arg(100000)->Unit(benchmark::kMillisecond);

// A keystroke into a parameter cell of the vehicle-type grid with 100,000
// parameter rows loaded: the key filter, the edit, and what the grid then asks
// its peer to repaint, which must be that one cell. A Windows peer adds its
// painting; nothing of it may grow with the rows loaded.
void BM_TypeIntoCell(benchmark::State& state) {
  OpenEditor open(static_cast<int>(state.range(0)));
  ColumnGrid& grid = open.editor->cgdType;
  if (!grid.MoveTo(kVehicleGridFirstNumberColumn, 1)) state.SkipWithError("no parameter cell");
  grid.TakeChanges();
  constexpr size_t kLongestText = 64;
  char digit = '0';
  for (auto _ : state) {
    grid.TypeChar(digit);
    ColumnGrid::Changes changes = grid.TakeChanges();
    benchmark::DoNotOptimize(changes);
    if (changes.all || changes.cells.size() != 1) {
      state.SkipWithError("a keystroke repaints more than its cell");
      break;
    }
    digit = digit == '9' ? '0' : static_cast<char>(digit + 1);
    if (grid.Cells(kVehicleGridFirstNumberColumn, 1).size() >= kLongestText) {
      state.PauseTiming();
      grid.PressKey(kKeyEscape);
      grid.TakeChanges();
      state.ResumeTiming();
    }
  }
  if (!open.platform.shown_boxes().empty()) state.SkipWithError("the editor showed a message");
}
BENCHMARK(BM_TypeIntoCell)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tarnvex
