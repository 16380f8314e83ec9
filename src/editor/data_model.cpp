#include "editor/data_model.h"

#include <algorithm>

namespace tarnvex {

namespace {

constexpr auto kLeft = HorizontalAlignment::kLeft;
constexpr auto kCentre = HorizontalAlignment::kCentre;
constexpr auto kRight = HorizontalAlignment::kRight;
constexpr auto kText = CellKind::kText;
constexpr auto kCheck = CellKind::kCheckBox;

}  // namespace

const std::array<ColumnDef, 14> kItemGridColumns = {{
    {"项目编码", "f_jtxmbm", kText, 60, kLeft},
    {"项目名称", "f_jtxmmc", kText, 114, kLeft},
    {"类别", "f_lb", kText, 42, kLeft},
    {"计件", "f_jj", kCheck, 30, kCentre},
    {"计程", "f_jc", kCheck, 30, kCentre},
    {"计次", "f_jcs", kCheck, 30, kCentre},
    {"计时", "f_js", kCheck, 30, kCentre},
    {"按线", "f_ax", kCheck, 30, kCentre},
    {"并车", "f_bc", kCheck, 30, kCentre},
    {"输入值", "f_srz", kCheck, 50, kCentre},
    {"分装", "f_fz", kCheck, 30, kCentre},
    {"备注", "f_bz", kCheck, 30, kCentre},
    {" ", nullptr, kText, 0, kLeft},
    {"返程", "f_fc", kCheck, 30, kCentre},
}};

const std::array<ColumnDef, 31> kVehicleGridColumns = {{
    {"车型编码", "f_cxbm", kText, 64, kLeft},
    {"车型名称", "f_cxmc", kText, 73, kLeft},
    {"津贴起点", "f_jtqd", kText, 62, kRight},
    {"件数起点", "f_jsqd", kText, 63, kRight},
    {"件数级差", "f_jsjc", kText, 82, kRight},
    {"计件津贴起点", "f_jjjtqd", kText, 86, kRight},
    {"计件津贴级差", "f_jjjtjc", kText, 55, kRight},
    {"里程起点", "f_lcqd", kText, 64, kRight},
    {"里程级差", "f_lcjc", kText, 56, kRight},
    {"计程津贴起点", "f_jcjtqd", kText, 64, kRight},
    {"计程津贴级差", "f_jcjtjc", kText, 64, kRight},
    {"时间起点", "f_sjqd", kText, 64, kRight},
    {"时间级差", "f_sjjc", kText, 64, kRight},
    {"计时津贴起点", "f_jsjtqd", kText, 64, kRight},
    {"计时津贴级差", "f_jsjtjc", kText, 64, kRight},
    {"线路起点", "f_xlqd", kText, 64, kRight},
    {"线路级差", "f_xljc", kText, 64, kRight},
    {"计线津贴起点", "f_jxjtqd", kText, 64, kRight},
    {"计线津贴级差", "f_jxjtjc", kText, 64, kRight},
    {"目地起点", "f_mdqd", kText, 64, kRight},
    {"目地级差", "f_mdjc", kText, 64, kRight},
    {"并车津贴起点", "f_bcjtqd", kText, 64, kRight},
    {"并车津贴级差", "f_bcjtjc", kText, 64, kRight},
    {"计次津贴", "f_jcjt", kText, 64, kRight},
    {"批次津贴", "f_pcjt", kText, 64, kRight},
    {"分库津贴", "f_fkjt", kText, 64, kRight},
    {"配送津贴", "f_psjt", kText, 64, kRight},
    {"夜班津贴", "f_ybjt", kText, 64, kRight},
    {"特殊津贴", "f_tsjt", kText, 64, kRight},
    {"复核津贴", "f_fhjt", kText, 64, kLeft},
    {"津贴限额", "f_jtxe", kText, 64, kRight},
}};

void DeclareItemFields(RecordTable& table) {
  for (const char* field : kItemFields) table.DeclareField(field, FieldKind::kText);
}

void DeclareParameterFields(RecordTable& table) {
  table.DeclareField(kFieldItemCode, FieldKind::kText);
  table.DeclareField(kFieldTypeCode, FieldKind::kText);
  for (const char* field : kParameterFields) table.DeclareField(field, FieldKind::kFloat);
}

bool IsParameterField(std::string_view field) {
  return std::find(kParameterFields.begin(), kParameterFields.end(), field) !=
         kParameterFields.end();
}

size_t MaxBytesOfField(std::string_view field) {
  if (field == kFieldItemCode) return kItemCodeMaxBytes;
  if (field == kFieldItemName) return kItemNameMaxBytes;
  if (field == kFieldCategory) return kCategoryMaxBytes;
  return TextEditor::kNoLimit;
}

}  // namespace tarnvex
