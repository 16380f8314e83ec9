// The draft of unsaved work: written beside the settings file while the
// operator edits, at most once a second, removed by a save or a deliberate
// discard, and offered back when the editor opens after a host that closed or
// died with edits pending.

#include <exception>
#include <optional>
#include <set>
#include <system_error>
#include <utility>

#include "editor/data_model.h"
#include "editor/editor_flags.h"
#include "editor/subsidy_set_form.h"
#include "host/file_bytes.h"

namespace tarnvex {

namespace {

constexpr char kRestoreQuestion[] = "发现上次未保存的修改,是否恢复?";

// The sessions of the editors of this process that keep a draft now.
std::set<std::string>& LiveDraftSessions() {
  static std::set<std::string> sessions;
  return sessions;
}

std::string TextOf(const FieldValue& value) {
  const std::string* text = std::get_if<std::string>(&value);
  return text != nullptr ? *text : std::string();
}

void SetField(RecordTable& table, std::string_view field, const FieldValue& value) {
  if (const std::string* text = std::get_if<std::string>(&value)) {
    table.SetText(field, *text);
  } else if (const double* number = std::get_if<double>(&value)) {
    table.SetNumber(field, *number);
  } else {
    table.SetNull(field);
  }
}

}  // namespace

TfrmSubsidySet::~TfrmSubsidySet() {
  if (draft_due_) {
    // No box while the host takes its window down.
    draft_failure_shown_ = true;
    try {
      WriteDraft();
    } catch (...) {
      // Nothing may leave a destructor; what was last written stays.
    }
  }
  // From now on a draft left behind is for the next editor to offer.
  LiveDraftSessions().erase(draft_session_);
}

void TfrmSubsidySet::StartDraftSession(const std::filesystem::path& settings) {
  draft_session_ = NewDraftSession();
  draft_file_ = DraftFilePath(settings, context().operator_code(), draft_session_);
  LiveDraftSessions().insert(draft_session_);
}

void TfrmSubsidySet::NoteEdit() {
  draft_due_ = true;
  DraftTimer.SetEnabled(true);
}

void TfrmSubsidySet::DraftTimerTimer() {
  DraftTimer.SetEnabled(false);
  if (!draft_due_) return;
  // A save or a reload under way: the draft waits for the next second.
  if (busy_window_ == nullptr) WriteDraft();
  if (draft_due_) DraftTimer.SetEnabled(true);
}

void TfrmSubsidySet::WriteDraft() {
  if (draft_file_.empty() || !EditorFlags().LoadDone) return;
  draft_due_ = false;
  items_.WriteBackEditedRows();
  const std::string code = items_.CurrentCode();
  try {
    if (!code.empty()) vehicles_.WriteBack(code);
  } catch (const WriteBackError&) {
    // A number still being typed ("." so far) is not one yet: the rest goes
    // into the draft now, that row once it is.
    draft_due_ = true;
  }

  Draft draft{.operator_code = context().operator_code(),
              .process_id = platform().ProcessId(),
              .session = draft_session_,
              .items = CollectDraftTable(cdsArc.TakePacket(), item_changes_),
              .parameters = CollectDraftTable(cdsType.TakePacket(), parameter_changes_)};
  if (draft.items.now.row_count() == 0 && draft.parameters.now.row_count() == 0) {
    if (!draft_due_) DiscardDraft();
    return;
  }
  std::string bytes = SerializeDraft(draft);
  // A draft deleted behind this editor's back is written again.
  if (bytes == last_draft_ && std::filesystem::exists(draft_file_)) return;
  const std::string failure = ReplaceFileBytes(draft_file_, bytes);
  if (failure.empty()) {
    last_draft_ = std::move(bytes);
    return;
  }
  // Once: the operator should know the edits are not kept on disk, but not
  // be asked to click a box every second.
  if (draft_failure_shown_) return;
  draft_failure_shown_ = true;
  ShowErrorNotice(window(), "无法写入草稿文件 " + draft_file_.filename().string() + ": " + failure +
                                "\n未保存的修改仍在屏幕上,请及时保存。");
}

void TfrmSubsidySet::DiscardDraft() {
  draft_due_ = false;
  DraftTimer.SetEnabled(false);
  items_.ForgetEditedRows();
  last_draft_.clear();
  if (draft_file_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove(draft_file_, ignored);
}

void TfrmSubsidySet::OfferDraft() {
  if (draft_file_.empty() || !EditorFlags().LoadDone) return;
  for (const std::filesystem::path& file :
       DraftFilesOf(SettingsFile(), context().operator_code())) {
    if (file != draft_file_) OfferDraftFile(file);
  }
}

void TfrmSubsidySet::OfferDraftFile(const std::filesystem::path& file) {
  const std::optional<std::string> bytes = ReadFileBytes(file);
  if (!bytes) return;
  std::optional<Draft> draft;
  std::string damage;
  try {
    draft = ParseDraft(*bytes);
  } catch (const DraftFormatError& error) {
    damage = error.what();
  }
  if (draft) {
    // Another operator's work is not this one's, and a draft whose editor is
    // still at work (the same operator in another host) is that editor's.
    if (draft->operator_code != context().operator_code()) return;
    const bool kept = draft->process_id == platform().ProcessId()
                          ? LiveDraftSessions().contains(draft->session)
                          : platform().ProcessRuns(draft->process_id);
    if (kept) return;
    std::error_code ignored;
    if (!AskYesNo(platform(), window(), kRestoreQuestion)) {
      std::filesystem::remove(file, ignored);
      return;
    }
    try {
      RestoreDraft(*draft);
      // The work is this editor's now: in its own draft before the old one goes.
      draft_due_ = true;
      WriteDraft();
      std::filesystem::remove(file, ignored);
      return;
    } catch (const std::exception& error) {
      // Half put back is worse than not at all.
      damage = error.what();
      ReloadAll();
    }
  }
  std::filesystem::path aside = file;
  aside += ".damaged";
  std::error_code error;
  std::filesystem::rename(file, aside, error);
  ShowErrorNotice(window(), "上次未保存的修改无法恢复(" + damage + ")" +
                                (error ? std::string() : ",已另存为 " + aside.filename().string()));
}

void TfrmSubsidySet::RestoreDraft(const Draft& draft) {
  // The grids still show the tables as loaded: nothing of theirs may be
  // written over the records put back.
  grids_match_tables_ = false;
  RestoreDraftTable(cdsArc, item_changes_, draft.items, false);
  RestoreDraftTable(cdsType, parameter_changes_, draft.parameters, true);
  vehicles_.ResetParameterIndex();
  // Items the database does not hold get their node, as added items do.
  const DataPacket& items = draft.items.now;
  if (items.row_count() > 0) {
    const size_t code = *items.FindColumn(kFieldItemCode);
    const std::optional<size_t> name = items.FindColumn(kFieldItemName);
    const std::optional<size_t> category = items.FindColumn(kFieldCategory);
    for (size_t row = 0; row < items.row_count(); ++row) {
      const std::string item_code = TextOf(items.cell(row, code));
      bool in_tree = false;
      for (TreeNode* node : TreeNT.AllNodes()) {
        in_tree = in_tree || (node->level() == 2 && node->text().starts_with(item_code + " "));
      }
      if (in_tree) continue;
      TreeNode* node = nullptr;
      AddItemNode(item_code, name ? TextOf(items.cell(row, *name)) : "",
                  category ? TextOf(items.cell(row, *category)) : "", node);
    }
  }
  // The grids show the tables with the work put back, as choosing the root does.
  if (TreeNode* root = TreeNT.FirstNode(); root != nullptr && TreeNT.selected() != root) {
    TreeNT.Select(root);
  } else {
    ShowItemsWithFirstParameters(ItemScope::kAll, "");
  }
}

void TfrmSubsidySet::RestoreDraftTable(RecordTable& table, ChangeTracker& changes,
                                       const DraftTable& draft, bool parameter_rows) {
  const DataPacket& now = draft.now;
  if (now.row_count() == 0 || !table.IsLoaded()) return;
  const size_t code = *now.FindColumn(kFieldItemCode);
  const size_t type = parameter_rows ? *now.FindColumn(kFieldTypeCode) : 0;
  for (size_t row = 0; row < now.row_count(); ++row) {
    std::vector<std::string> key{TextOf(now.cell(row, code))};
    if (parameter_rows) key.push_back(TextOf(now.cell(row, type)));
    if (table.Locate(parameter_rows ? kParameterRowKey : kFieldItemCode, key)) {
      table.Edit();
    } else {
      table.Insert();
    }
    for (size_t column = 0; column < now.columns().size(); ++column) {
      const std::string& field = now.columns()[column].name;
      if (table.HasField(field)) SetField(table, field, now.cell(row, column));
    }
    table.Post();
    const size_t index = table.RecordIndex();
    changes.Touch(index);
    const bool was_read = TextOf(draft.read.cell(row, 0)) == "1";
    changes.SetLoaded(index, was_read ? std::optional(ChangeTracker::LoadedRecord{draft.read, row})
                                      : std::nullopt);
  }
}

}  // namespace tarnvex
