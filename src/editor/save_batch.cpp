#include "editor/save_batch.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
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
constexpr std::string_view kBeginAnsi = "begin ATOMIC ";
constexpr std::string_view kItemTestAnsi =
    "begin ATOMIC If not Exists(select * from tbdyjtxmda where f_jtxmbm=";
constexpr std::string_view kItemTest = kItemTestAnsi.substr(kBeginAnsi.size());
constexpr std::string_view kItemUpdate = "Else Update tbDyJtxmda set ";
constexpr std::string_view kItemEndAnsi = "; End if;End";

constexpr std::string_view kParameterTestAnsi =
    "begin ATOMIC if Not Exists(select * from tbdyjtxmlb where f_jtxmbm=";
constexpr std::string_view kParameterTest = kParameterTestAnsi.substr(kBeginAnsi.size());
// The SQL Server form has a blank after the last column name, the ANSI one not.
constexpr std::string_view kParameterValues = " ) Values(";
constexpr std::string_view kParameterValuesAnsi = ") Values(";
constexpr std::string_view kParameterUpdate = "else Update tbdyjtxmlb set ";
constexpr std::string_view kParameterEndAnsi = "; end if;End";
constexpr std::string_view kVehicleTypeTest = " and f_cxbm=";
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

// "Insert into tbdyjtxmda(f_jtxmbm,...,f_fc) Values(" and "Insert into
// tbdyjtxmlb(f_jtxmbm,f_cxbm,f_jtqd,...,f_fhjt": the column lists of the
// inserts, made once from the field lists.
const std::string& ItemInsert() {
  static const std::string insert = [] {
    std::string text = "Insert into tbdyjtxmda(";
    for (size_t i = 0; i < kItemFields.size(); ++i) {
      if (i != 0) text += ',';
      text += kItemFields[i];
    }
    return text + ") Values(";
  }();
  return insert;
}

const std::string& ParameterInsert() {
  static const std::string insert = [] {
    std::string text = "Insert into tbdyjtxmlb(";
    text += kFieldItemCode;
    text += ',';
    text += kFieldTypeCode;
    for (const char* field : kParameterFields) {
      text += ',';
      text += field;
    }
    return text;
  }();
  return insert;
}

const std::array<std::string, kItemFields.size()>& ItemAssignments() {
  static const std::array<std::string, kItemFields.size()> assignments =
      Assignments(kItemFields, 1);
  return assignments;
}

const std::array<std::string, kParameterCount>& ParameterAssignments() {
  static const std::array<std::string, kParameterCount> assignments =
      Assignments(kParameterFields, 0);
  return assignments;
}

// The column a statement writes from: present and of the kind the statement
// puts in its place.
size_t RequireColumn(const DataPacket& packet, std::string_view table, std::string_view field,
                     FieldKind kind) {
  const std::optional<size_t> column = packet.FindColumn(field);
  if (!column) throw SaveBatchError(std::string(table) + " 缺少字段 " + std::string(field));
  if (packet.columns()[*column].kind != kind) {
    throw SaveBatchError(std::string(table) + " 的字段 " + std::string(field) +
                         (kind == FieldKind::kText ? " 不是文本字段" : " 不是数字字段"));
  }
  return *column;
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

// FormatNumber's "0.00" text of a finite value, appended. A save writes
// millions of amounts, most of them zero and nearly all whole cents, so those
// are printed here straight from the cents: when value × 100 comes out as a
// whole number below 2^40, the shortest decimal form of value lies within 2e-4
// cent of it, and rounding that form to cents, as FormatNumber does, gives the
// same number.
void AppendAmount(double value, std::string& out) {
  if (value == 0) {  // -0 too: FormatNumber gives no sign to a zero
    out.append("0.00");
    return;
  }
  const double cents = value * 100;
  if (!(std::fabs(cents) < 0x1p40) || cents != std::trunc(cents)) {
    out.append(FormatNumber(value));
    return;
  }
  auto magnitude = static_cast<uint64_t>(std::fabs(cents));  // at least 1 here
  char text[24];
  char* const end = text + sizeof text;
  char* first = end;
  for (int decimal = 0; decimal < 2; ++decimal) {
    *--first = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  }
  *--first = '.';
  do {
    *--first = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (cents < 0) *--first = '-';
  out.append(first, static_cast<size_t>(end - first));
}

// Copies a piece of a statement to `to` and returns the end of the copy. Most
// pieces are a few bytes (a comma, "0.00", a column name), for which a call to
// memcpy costs more than the copy: those are moved as two overlapping words.
char* CopyPiece(std::string_view piece, char* to) {
  const char* from = piece.data();
  const size_t n = piece.size();
  if (n >= 8 && n <= 16) {
    std::memcpy(to, from, 8);
    std::memcpy(to + n - 8, from + n - 8, 8);
  } else if (n >= 4 && n < 8) {
    std::memcpy(to, from, 4);
    std::memcpy(to + n - 4, from + n - 4, 4);
  } else if (n < 4) {
    for (size_t i = 0; i < n; ++i) to[i] = from[i];
  } else {
    std::memcpy(to, from, n);
  }
  return to + n;
}

}  // namespace

ItemStatementWriter::ItemStatementWriter(const DataPacket& items) : items_(items) {
  for (size_t i = 0; i < kItemFields.size(); ++i) {
    columns_[i] = RequireColumn(items, "cdsArc", kItemFields[i], FieldKind::kText);
  }
}

void ItemStatementWriter::Append(size_t row, bool use_ansi, std::string& out) const {
  const FieldValue& code = items_.cell(row, columns_[0]);
  out.append(use_ansi ? kItemTestAnsi : kItemTest);
  AppendText(code, out);
  out.append(use_ansi ? ") then " : ") ");
  out.append(ItemInsert());
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (i != 0) out.push_back(',');
    AppendText(items_.cell(row, columns_[i]), out);
  }
  out.append(use_ansi ? "); " : ") ");
  out.append(kItemUpdate);
  const std::array<std::string, kItemFields.size()>& assignments = ItemAssignments();
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
  static_assert(kParameterRecordFieldCount == kParameterFields.size() + 2);
  columns_[0] = RequireColumn(parameters, "cdsType", kFieldItemCode, FieldKind::kText);
  columns_[1] = RequireColumn(parameters, "cdsType", kFieldTypeCode, FieldKind::kText);
  for (size_t i = 0; i < kParameterFields.size(); ++i) {
    columns_[i + 2] = RequireColumn(parameters, "cdsType", kParameterFields[i], FieldKind::kFloat);
  }
}

void ParameterStatementWriter::Append(size_t row, bool use_ansi, std::string& out) {
  const FieldValue& code = parameters_.cell(row, columns_[0]);
  const FieldValue& type = parameters_.cell(row, columns_[1]);

  // The two literals appear three times each and every number twice: each is
  // written once into values_, and the statement copies them from there.
  values_.clear();
  AppendText(code, values_);
  const size_t code_end = values_.size();
  AppendText(type, values_);
  std::array<size_t, kParameterCount + 1>
      number_ends;  // number i is values_[number_ends[i], number_ends[i + 1])
  number_ends[0] = values_.size();
  for (size_t i = 0; i < kParameterFields.size(); ++i) {
    const FieldValue& value = parameters_.cell(row, columns_[i + 2]);
    if (const auto* number = std::get_if<double>(&value)) {
      // "INF" or "NAN" would reach the host as a column name; stop here instead,
      // naming the record, rather than send a statement the host cannot read.
      if (!std::isfinite(*number)) {
        throw SaveBatchError("项目 " + std::string(TextOr(code, kNull)) + " 车型 " +
                             std::string(TextOr(type, kNull)) + " 的 " + kParameterFields[i] +
                             " 不是有效的数字");
      }
      AppendAmount(*number, values_);
    } else {
      values_.append(kNull);
    }
    number_ends[i + 1] = values_.size();
  }
  const std::string_view values = values_;
  const std::string_view code_literal = values.substr(0, code_end);
  const std::string_view type_literal = values.substr(code_end, number_ends[0] - code_end);
  const auto number = [&](size_t i) {
    return values.substr(number_ends[i], number_ends[i + 1] - number_ends[i]);
  };

  const std::array<std::string, kParameterCount>& assignments = ParameterAssignments();
  const std::string_view parameter_insert = ParameterInsert();
  const auto statement = [&](auto& put) {
    put(use_ansi ? kParameterTestAnsi : kParameterTest);
    put(code_literal);
    put(kVehicleTypeTest);
    put(type_literal);
    put(use_ansi ? ") then " : ") ");
    put(parameter_insert);
    put(use_ansi ? kParameterValuesAnsi : kParameterValues);
    put(code_literal);
    put(",");
    put(type_literal);
    for (size_t i = 0; i < kParameterFields.size(); ++i) {
      put(",");
      put(number(i));
    }
    put(use_ansi ? "); " : ") ");
    put(kParameterUpdate);
    for (size_t i = 0; i < kParameterFields.size(); ++i) {
      put(assignments[i]);
      put(number(i));
    }
    put(kWhereCode);
    put(code_literal);
    put(kVehicleTypeTest);
    put(type_literal);
    if (use_ansi) put(kParameterEndAnsi);
  };
  // The same pieces twice: once counted, once copied into the space counted.
  // A save writes a hundred thousand of these, and copying into place spares
  // the growth checks of appending piece by piece.
  size_t size = 0;
  auto count = [&size](std::string_view piece) { size += piece.size(); };
  statement(count);
  const size_t at = out.size();
  out.resize(at + size);
  char* cursor = out.data() + at;
  auto copy = [&cursor](std::string_view piece) { cursor = CopyPiece(piece, cursor); };
  statement(copy);
}

namespace {

// Calls write(row) for the listed rows, or for every row of a packet of
// row_count rows when there is no list.
template <typename Write>
void ForRows(size_t row_count, const std::vector<size_t>* rows, Write&& write) {
  if (rows == nullptr) {
    for (size_t row = 0; row < row_count; ++row) write(row);
  } else {
    for (size_t row : *rows) write(row);
  }
}

// Hands every adapted statement of the batch to sink, items first, in the
// packets' row order: every row, or the listed ones. The text sink gets lives
// until the next statement.
template <typename Sink>
void WriteSaveBatch(const DataPacket& items, const DataPacket& parameters, bool use_ansi,
                    const SaveRows* rows, Sink&& sink) {
  // Both writers first: a table without a field stops the save before any work.
  const ItemStatementWriter item_writer(items);
  ParameterStatementWriter parameter_writer(parameters);

  // Two scratch buffers for every statement, written and adapted.
  std::string statement;
  std::string adapted;
  statement.reserve(2048);
  adapted.reserve(2048);
  const auto adapt = [&] {
    adapted.clear();
    AppendAdaptedSql(statement, use_ansi, adapted);
    sink(std::string_view(adapted));
  };
  ForRows(items.row_count(), rows ? &rows->items : nullptr, [&](size_t row) {
    statement.clear();
    item_writer.Append(row, use_ansi, statement);
    adapt();
  });
  ForRows(parameters.row_count(), rows ? &rows->parameters : nullptr, [&](size_t row) {
    statement.clear();
    parameter_writer.Append(row, use_ansi, statement);
    adapt();
  });
}

// The packed array of the statements WriteSaveBatch writes: an array from
// index 0, or an empty value when there are none.
Variant PackStatements(const DataPacket& items, const DataPacket& parameters, bool use_ansi,
                       const SaveRows* rows) {
  const size_t count = rows ? rows->items.size() + rows->parameters.size()
                            : items.row_count() + parameters.row_count();
  if (count == 0) return StringsToVariantArray({});
  VariantArray array;
  array.lower_bound = 0;
  array.elements.reserve(count);
  WriteSaveBatch(items, parameters, use_ansi, rows, [&array](std::string_view statement) {
    array.elements.push_back(Variant::FromText(statement));
  });
  return Variant(std::move(array));
}

}  // namespace

std::vector<std::string> BuildSaveBatch(const DataPacket& items, const DataPacket& parameters,
                                        bool use_ansi) {
  std::vector<std::string> batch;
  batch.reserve(items.row_count() + parameters.row_count());
  WriteSaveBatch(items, parameters, use_ansi, nullptr,
                 [&batch](std::string_view statement) { batch.emplace_back(statement); });
  return batch;
}

Variant PackSaveBatch(RecordTable& cdsArc, RecordTable& cdsType, bool use_ansi) {
  // Built statement by statement: a save of a hundred thousand rows then never
  // holds every statement in both encodings at once.
  return PackStatements(cdsArc.TakePacket(), cdsType.TakePacket(), use_ansi, nullptr);
}

Variant PackSaveBatch(const DataPacket& items, const DataPacket& parameters, const SaveRows& rows,
                      bool use_ansi) {
  return PackStatements(items, parameters, use_ansi, &rows);
}

}  // namespace tarnvex
