#include "editor/save_batch.h"

#include <cmath>
#include <cstdint>
#include <string_view>
#include <variant>

#include "editor/data_model.h"
#include "editor/sql_literal.h"
#include "host/sql_dialect.h"
#include "host/statement_array.h"
#include "text/number_text.h"

namespace tarnvex {

namespace {

constexpr std::string_view kNull = "NULL";

// The fixed parts of the statements. The two dialects differ in letter case
// here and there ("If not Exists" against "if Not Exists", "tbDyJtxmda"); the
// host's SQL Server scripts were written that way and we keep them byte for
// byte, so a statement logged on either side reads the same.
constexpr std::string_view kItemTestAnsi =
    "begin ATOMIC If not Exists(select * from tbdyjtxmda where f_jtxmbm=";
constexpr std::string_view kItemTest = kItemTestAnsi.substr(13);
constexpr std::string_view kItemInsert =
    "Insert into tbdyjtxmda(f_jtxmbm,f_jtxmmc,f_lb,f_jj,f_jc,f_jcs,f_js,f_ax,f_bc,f_srz,f_fz,"
    "f_bz,f_fc) Values(";
constexpr std::string_view kItemUpdate = "Else Update tbDyJtxmda set ";
constexpr std::string_view kItemEndAnsi = "; End if;End";

constexpr std::string_view kParameterTestAnsi =
    "begin ATOMIC if Not Exists(select * from tbdyjtxmlb where f_jtxmbm=";
constexpr std::string_view kParameterTest = kParameterTestAnsi.substr(13);
constexpr std::string_view kParameterInsert =
    "Insert into tbdyjtxmlb(f_jtxmbm,f_cxbm,f_jtqd,f_jsqd,f_jsjc,f_jjjtqd,f_jjjtjc,f_lcqd,f_lcjc,"
    "f_jcjtqd,f_jcjtjc,f_sjqd,f_sjjc,f_jsjtqd,f_jsjtjc,f_xlqd,f_xljc,f_jxjtqd,"
    "f_jxjtjc,f_mdqd,f_mdjc,f_bcjtqd,f_bcjtjc,f_jcjt,f_pcjt,f_fkjt,f_psjt,"
    "f_ybjt,f_tsjt,f_jtxe,f_fhjt";
// The SQL Server form has a blank after the last column name, the ANSI one not.
constexpr std::string_view kParameterValues = " ) Values(";
constexpr std::string_view kParameterValuesAnsi = ") Values(";
constexpr std::string_view kParameterUpdate = "else Update tbdyjtxmlb set ";
constexpr std::string_view kParameterEndAnsi = "; end if;End";
constexpr std::string_view kTypeTest = " and f_cxbm=";
constexpr std::string_view kWhereCode = " where f_jtxmbm=";

// "f_jtxmmc=", ",f_lb=", ...: the assignments of an update, the separator
// included, made once from the field lists.
template <size_t N>
std::array<std::string, N> Assignments(const std::array<const char*, N>& fields, size_t first) {
  std::array<std::string, N> assignments;
  for (size_t i = first; i < N; ++i) {
    std::string& assignment = assignments[i];
    if (i != first) assignment += ',';
    assignment += fields[i];
    assignment += '=';
  }
  return assignments;
}

const std::array<std::string, 13>& ItemAssignments() {
  static const std::array<std::string, 13> assignments = Assignments(kItemFields, 1);
  return assignments;
}

const std::array<std::string, 29>& ParameterAssignments() {
  static const std::array<std::string, 29> assignments = Assignments(kParameterFields, 0);
  return assignments;
}

bool SameFieldName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

size_t FindColumn(const DataPacket& packet, std::string_view table, std::string_view field,
                  FieldKind kind) {
  const std::vector<PacketColumn>& columns = packet.columns();
  for (size_t i = 0; i < columns.size(); ++i) {
    if (!SameFieldName(columns[i].name, field)) continue;
    if (columns[i].kind != kind) {
      throw SaveBatchError(std::string(table) + " 的字段 " + std::string(field) +
                           (kind == FieldKind::kText ? " 不是文本字段" : " 不是数字字段"));
    }
    return i;
  }
  throw SaveBatchError(std::string(table) + " 缺少字段 " + std::string(field));
}

// A text field as an SQL literal, or NULL.
void AppendText(const FieldValue& value, std::string& out) {
  if (const auto* text = std::get_if<std::string>(&value)) {
    AppendSqlLiteral(out, *text);
  } else {
    out.append(kNull);
  }
}

std::string_view TextOr(const FieldValue& value, std::string_view fallback) {
  const auto* text = std::get_if<std::string>(&value);
  return text ? std::string_view(*text) : fallback;
}

// FormatNumber's "0.00" text of a finite value, appended. Amounts are mostly
// whole cents, and a save writes millions of them, so those are printed
// straight from the cents: when value × 100 comes out as a whole number below
// 2^40, the shortest decimal form of value lies within 2e-4 cent of it, and
// rounding that form to cents, as FormatNumber does, gives the same number.
void AppendAmount(double value, std::string& out) {
  const double cents = value * 100;
  if (!(std::fabs(cents) < 0x1p40) || cents != std::trunc(cents)) {
    out.append(FormatNumber(value));
    return;
  }
  auto magnitude = static_cast<uint64_t>(std::fabs(cents));
  if (magnitude != 0 && cents < 0) out.push_back('-');
  char digits[16];
  char* const end = digits + sizeof digits;
  char* first = end;
  // At least three digits, so that 5 cents comes out as 0.05.
  do {
    *--first = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0 || end - first < 3);
  out.append(first, static_cast<size_t>(end - 2 - first));
  out.push_back('.');
  out.append(end - 2, 2);
}

}  // namespace

ItemStatementWriter::ItemStatementWriter(const DataPacket& items) : items_(items) {
  for (size_t i = 0; i < kItemFields.size(); ++i) {
    columns_[i] = FindColumn(items, "cdsArc", kItemFields[i], FieldKind::kText);
  }
}

void ItemStatementWriter::Append(size_t row, bool use_ansi, std::string& out) const {
  const FieldValue& code = items_.cell(row, columns_[0]);
  out.append(use_ansi ? kItemTestAnsi : kItemTest);
  AppendText(code, out);
  out.append(use_ansi ? ") then " : ") ");
  out.append(kItemInsert);
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (i != 0) out.push_back(',');
    AppendText(items_.cell(row, columns_[i]), out);
  }
  out.append(use_ansi ? "); " : ") ");
  out.append(kItemUpdate);
  const std::array<std::string, 13>& assignments = ItemAssignments();
  for (size_t i = 1; i < columns_.size(); ++i) {
    out.append(assignments[i]);
    AppendText(items_.cell(row, columns_[i]), out);
  }
  out.append(kWhereCode);
  AppendText(code, out);
  if (use_ansi) out.append(kItemEndAnsi);
}

ParameterStatementWriter::ParameterStatementWriter(const DataPacket& parameters)
    : parameters_(parameters) {
  columns_[0] = FindColumn(parameters, "cdsType", kFieldItemCode, FieldKind::kText);
  columns_[1] = FindColumn(parameters, "cdsType", kFieldTypeCode, FieldKind::kText);
  for (size_t i = 0; i < kParameterFields.size(); ++i) {
    columns_[i + 2] = FindColumn(parameters, "cdsType", kParameterFields[i], FieldKind::kFloat);
  }
}

void ParameterStatementWriter::Append(size_t row, bool use_ansi, std::string& out) const {
  const FieldValue& code = parameters_.cell(row, columns_[0]);
  const FieldValue& type = parameters_.cell(row, columns_[1]);

  out.append(use_ansi ? kParameterTestAnsi : kParameterTest);
  AppendText(code, out);
  out.append(kTypeTest);
  AppendText(type, out);
  out.append(use_ansi ? ") then " : ") ");
  out.append(kParameterInsert);
  out.append(use_ansi ? kParameterValuesAnsi : kParameterValues);
  AppendText(code, out);
  out.push_back(',');
  AppendText(type, out);
  // Each number appears twice, in the insert and in the update: it is written
  // once here and copied from here below.
  std::array<size_t, 29> starts;
  std::array<size_t, 29> lengths;
  for (size_t i = 0; i < kParameterFields.size(); ++i) {
    out.push_back(',');
    starts[i] = out.size();
    const FieldValue& value = parameters_.cell(row, columns_[i + 2]);
    if (const auto* number = std::get_if<double>(&value)) {
      // "INF" or "NAN" would reach the host as a column name; stop here instead,
      // naming the record, rather than send a statement the host cannot read.
      if (!std::isfinite(*number)) {
        throw SaveBatchError("项目 " + std::string(TextOr(code, kNull)) + " 车型 " +
                             std::string(TextOr(type, kNull)) + " 的 " + kParameterFields[i] +
                             " 不是有效的数字");
      }
      AppendAmount(*number, out);
    } else {
      out.append(kNull);
    }
    lengths[i] = out.size() - starts[i];
  }
  out.append(use_ansi ? "); " : ") ");
  out.append(kParameterUpdate);
  const std::array<std::string, 29>& assignments = ParameterAssignments();
  for (size_t i = 0; i < kParameterFields.size(); ++i) {
    out.append(assignments[i]);
    out.append(out, starts[i], lengths[i]);
  }
  out.append(kWhereCode);
  AppendText(code, out);
  out.append(kTypeTest);
  AppendText(type, out);
  if (use_ansi) out.append(kParameterEndAnsi);
}

namespace {

// Hands every adapted statement of the batch to sink, items first, in the
// packets' row order.
template <typename Sink>
void WriteSaveBatch(const DataPacket& items, const DataPacket& parameters, bool use_ansi,
                    Sink&& sink) {
  // Both writers first: a table without a field stops the save before any work.
  const ItemStatementWriter item_writer(items);
  const ParameterStatementWriter parameter_writer(parameters);

  // One scratch buffer for every statement; AdaptSql gives each its own string.
  std::string statement;
  statement.reserve(2048);
  for (size_t row = 0; row < items.row_count(); ++row) {
    statement.clear();
    item_writer.Append(row, use_ansi, statement);
    sink(AdaptSql(statement, use_ansi));
  }
  for (size_t row = 0; row < parameters.row_count(); ++row) {
    statement.clear();
    parameter_writer.Append(row, use_ansi, statement);
    sink(AdaptSql(statement, use_ansi));
  }
}

}  // namespace

std::vector<std::string> BuildSaveBatch(const DataPacket& items, const DataPacket& parameters,
                                        bool use_ansi) {
  std::vector<std::string> batch;
  batch.reserve(items.row_count() + parameters.row_count());
  WriteSaveBatch(items, parameters, use_ansi,
                 [&batch](std::string&& statement) { batch.push_back(std::move(statement)); });
  return batch;
}

Variant PackSaveBatch(RecordTable& cdsArc, RecordTable& cdsType, bool use_ansi) {
  // The array StringsToVariantArray makes of BuildSaveBatch, built statement by
  // statement: a save of a hundred thousand rows then never holds every
  // statement in both encodings at once.
  const DataPacket items = cdsArc.TakePacket();
  const DataPacket parameters = cdsType.TakePacket();
  const size_t count = items.row_count() + parameters.row_count();
  if (count == 0) return StringsToVariantArray({});
  VariantArray array;
  array.lower_bound = 0;
  array.elements.reserve(count);
  WriteSaveBatch(items, parameters, use_ansi, [&array](std::string&& statement) {
    array.elements.push_back(Variant::FromText(statement));
  });
  return Variant(std::move(array));
}

}  // namespace tarnvex
