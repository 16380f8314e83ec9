#include "editor/add_subsidy_dialog.h"

#include <utility>

#include "editor/data_model.h"
#include "text/trim.h"

namespace tarnvex {

TfrmAddSubsidy::TfrmAddSubsidy(Platform& platform,
                               std::function<bool(const std::string&)> code_exists,
                               std::vector<std::string> categories)
    : Form("frmAddSubsidy", kCaption), boxes_(platform), code_exists_(std::move(code_exists)) {
  cmbItemType.SetItems(std::move(categories));
  // The size is the client area's: the window adds its caption and frame.
  SetBounds({359, 250, 344, 128});
  // The colours of the editor's grids, so that the dialog reads as part of it.
  colour = kGridColour;
  edtItemNo.frame_colour = kGridHeaderColour;
  edtItemName.frame_colour = kGridHeaderColour;
  Label1.SetBounds({24, 16, 78, 12});
  Label2.SetBounds({24, 40, 78, 12});
  Label3.SetBounds({24, 64, 24, 12});
  edtItemNo.SetBounds({104, 16, 201, 21});
  edtItemName.SetBounds({104, 40, 201, 21});
  cmbItemType.SetBounds({104, 64, 145, 21});
  btnOk.SetBounds({136, 96, 81, 25});
  btnCancel.SetBounds({224, 96, 81, 25});
  // Children in tab order: top to bottom, then the buttons.
  AddChild(edtItemNo);
  AddChild(edtItemName);
  AddChild(cmbItemType);
  AddChild(btnOk);
  AddChild(btnCancel);
  AddChild(Label1);
  AddChild(Label2);
  AddChild(Label3);
  cmbItemType.SetItemIndex(0);
  SetFocus(edtItemNo);

  edtItemNo.set_platform(&platform);
  edtItemName.set_platform(&platform);
  edtItemNo.OnKeyDown = [this](KeyCode key) { edtItemNoKeyDown(key); };
  edtItemNo.OnKeyPress = [this](char& ch) { edtItemNoKeyPress(ch); };
  edtItemName.OnKeyDown = [this](KeyCode key) { edtItemNameKeyDown(key); };
  cmbItemType.OnKeyDown = [this](KeyCode key) { cmbItemTypeKeyDown(key); };
  btnOk.OnClick = [this] { btnOkClick(); };
  btnCancel.OnClick = [this] { btnCancelClick(); };
}

std::string TfrmAddSubsidy::ItemCode() const { return Trim(edtItemNo.text()); }
std::string TfrmAddSubsidy::ItemName() const { return Trim(edtItemName.text()); }
std::string TfrmAddSubsidy::ItemType() const { return Trim(cmbItemType.text()); }

void TfrmAddSubsidy::Notice(const char* text, MessageIcon icon) {
  ShowNotice(boxes_, handle(), text, icon);
}

bool TfrmAddSubsidy::CodeIsNew() {
  if (!code_exists_(ItemCode())) return true;
  Notice("该编码已存在,请重新输入!", MessageIcon::kError);
  SetFocus(edtItemNo);
  return false;
}

void TfrmAddSubsidy::CloseWithOk() {
  modal_result_ = ModalResult::kOk;
  Close();
}

void TfrmAddSubsidy::btnOkClick() {
  if (ItemCode().empty()) return Notice("请输入项目编码!", MessageIcon::kInformation);
  if (ItemName().empty()) return Notice("请输入项目名称!", MessageIcon::kInformation);
  if (ItemType().empty()) return Notice("请输入类别!", MessageIcon::kInformation);
  if (CodeIsNew()) CloseWithOk();
}

void TfrmAddSubsidy::btnCancelClick() {
  modal_result_ = ModalResult::kCancel;
  Close();
}

void TfrmAddSubsidy::edtItemNoKeyDown(KeyCode key) {
  if (key == kKeyReturn && !ItemCode().empty()) SetFocus(edtItemName);
}

void TfrmAddSubsidy::edtItemNoKeyPress(char& ch) {
  const bool allowed =
      (ch >= '0' && ch <= '9') || ch == kCharBackspace || ch == kCharReturn || ch == '(';
  if (!allowed) ch = 0;
}

void TfrmAddSubsidy::edtItemNameKeyDown(KeyCode key) {
  if (key == kKeyReturn && !ItemName().empty()) SetFocus(cmbItemType);
}

void TfrmAddSubsidy::cmbItemTypeKeyDown(KeyCode key) {
  if (key != kKeyReturn) return;
  if (ItemCode().empty() || ItemName().empty() || ItemType().empty()) return;
  if (CodeIsNew()) CloseWithOk();
}

}  // namespace tarnvex
