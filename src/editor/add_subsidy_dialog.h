#pragma once

#include <functional>
#include <string>
#include <vector>

#include "editor/data_model.h"
#include "widgets/message_box.h"
#include "widgets/platform.h"
#include "widgets/button.h"
#include "widgets/combo_box.h"
#include "widgets/edit.h"
#include "widgets/form.h"
#include "widgets/keys.h"
#include "widgets/label.h"

namespace tarnvex {

enum class ModalResult { kOk, kCancel };

// TfrmAddSubsidy ("新增津贴项目"): asks for a new item's code, name and category.
// It closes with OK only when all three are given and no item has the code
// yet; closing it any other way, the close box included, is Cancel.
class TfrmAddSubsidy : public Form {
 public:
  static constexpr char kCaption[] = "新增津贴项目";

  // The categories offered when no others are given: the ones every
  // catalogue starts with.
  static std::vector<std::string> FixedCategories() { return {"计件", "计次", "计时", "计程"}; }

  // platform shows its notices and holds the clipboard of its edits;
  // code_exists tells whether an item has a code; categories are the list's.
  TfrmAddSubsidy(Platform& platform, std::function<bool(const std::string&)> code_exists,
                 std::vector<std::string> categories = FixedCategories());

  Label Label1{"Label1", "津贴项目编码"};
  Label Label2{"Label2", "津贴项目名称"};
  Label Label3{"Label3", "类别"};
  Edit edtItemNo{"edtItemNo", kItemCodeMaxBytes};
  Edit edtItemName{"edtItemName", kItemNameMaxBytes};
  Button btnOk{"btnOk", "确定(&S)"};
  Button btnCancel{"btnCancel", "取消(&C)"};
  ComboBox cmbItemType{"cmbItemType", {}};

  ModalResult modal_result() const { return modal_result_; }
  // The answers, trimmed, as the add command reads them.
  std::string ItemCode() const;
  std::string ItemName() const;
  std::string ItemType() const;

  void btnOkClick();
  void btnCancelClick();
  void edtItemNoKeyDown(KeyCode key);
  void edtItemNoKeyPress(char& ch);
  void edtItemNameKeyDown(KeyCode key);
  void cmbItemTypeKeyDown(KeyCode key);

 private:
  void Notice(const char* text, MessageIcon icon);
  // False, with the notice shown and the focus on the code, when an item has
  // the code already: a second record of one code would be saved over the
  // first item.
  bool CodeIsNew();
  void CloseWithOk();

  MessageBoxes& boxes_;
  std::function<bool(const std::string&)> code_exists_;
  ModalResult modal_result_ = ModalResult::kCancel;
};

}  // namespace tarnvex
