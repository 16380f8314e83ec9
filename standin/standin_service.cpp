#include "standin/standin_service.h"

#include <utility>

#include "host/data_packet.h"
#include "host/field_value.h"
#include "standin/compound_statement.h"
#include "standin/statement_splitter.h"
#include "standin/sql_lexer.h"
#include "text/codepage.h"

namespace tarnvex {
namespace {

// How much of a statement an error line quotes.
constexpr size_t kQuotedLength = 60;

char16_t Upper(char16_t c) {
  return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

// The word the host would report for the engine: SQL Server must give exactly
// "SQLSERVER"; the others get their name in capitals.
std::u16string KindOfEngine(std::u16string_view dbms_name) {
  std::u16string upper;
  for (char16_t c : dbms_name) {
    c = Upper(c);
    if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')) upper += c;
  }
  if (upper.find(u"SQLSERVER") != std::u16string::npos) return u"SQLSERVER";
  return upper.empty() ? u"UNKNOWN" : upper;
}

// The first characters of a statement, on one line, for an error line.
std::u16string Beginning(std::u16string_view statement) {
  statement = TrimBlanks(statement);
  size_t length = statement.size();
  if (length > kQuotedLength) {
    length = kQuotedLength;
    // Never cut a surrogate pair in two.
    if (statement[length - 1] >= 0xD800 && statement[length - 1] <= 0xDBFF) --length;
  }
  std::u16string text(statement.substr(0, length));
  for (char16_t& c : text) {
    if (c == u'\r' || c == u'\n' || c == u'\t') c = u' ';
  }
  if (length < statement.size()) text += u"…";
  return text;
}

std::u16string Number(int64_t value) {
  std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

// Whether the engine gave up waiting for a lock that another connection holds.
bool StoppedByLock(std::u16string_view engine, const OdbcError& error) {
  for (const OdbcCode& code : error.codes()) {
    // The SQLite driver reports every engine failure as HY000 and passes the
    // engine's result code on as the native error: 5 is SQLITE_BUSY.
    if (engine == u"SQLITE" && code.native == 5) return true;
    // PostgreSQL's lock_not_available, raised when lock_timeout runs out.
    if (code.state == u"55P03") return true;
  }
  return false;
}

Variant ErrorLines(std::vector<std::u16string> lines) {
  VariantArray array;
  array.lower_bound = 0;
  array.elements.reserve(lines.size());
  for (std::u16string& line : lines) array.elements.emplace_back(std::move(line));
  return Variant(std::move(array));
}

}  // namespace

StandinDataService::StandinDataService(StandinConfig config)
    : config_(std::move(config)), connection_string_(config_.connection_string) {
  auto connection = std::make_unique<OdbcConnection>(environment_, connection_string_);
  engine_ = KindOfEngine(connection->DbmsName());
  if (engine_ == u"SQLITE") {
    // The SQLite driver takes its lock wait (100 s unless told) from the
    // connection string only, and of a key given twice the first. It waits that
    // long twice for one write, once to start writing and once to write, so it
    // gets half the bound.
    connection_string_ =
        u"Timeout=" + Number(kLockWaitSeconds * 1000 / 2) + u";" + connection_string_;
    connection.reset();
    connection = std::make_unique<OdbcConnection>(environment_, connection_string_);
  }
  database_kind_ = config_.database_kind.empty() ? engine_ : Cp936ToUtf16(config_.database_kind);
  run_compound_statements_ = config_.run_compound_statements.value_or(engine_ != u"SQLSERVER");
  Adopt(std::move(connection));
}

StandinDataService::~StandinDataService() = default;

Variant StandinDataService::GetDatabaseKind() { return Variant(database_kind_); }

bool StandinDataService::ExecuteQuery(const Variant& sql, Variant& result) {
  if (sql.kind() != Variant::Kind::kString) {
    result = ErrorLines({u"查询失败：查询应为一个文本"});
    return false;
  }
  const std::u16string& text = sql.as_string();
  std::vector<std::u16string> lines;
  if (!connection_ && !Reconnect(lines)) {
    result = ErrorLines(std::move(lines));
    return false;
  }
  try {
    statement_->ExecuteDirect(text);
    const size_t column_count = statement_->ColumnCount();
    if (column_count == 0) {
      // It may have changed data: that must not stand when the call fails.
      lines = {u"查询失败：该文本不返回数据集，已撤销：" + Beginning(text)};
    } else {
      DataPacketBuilder builder;
      std::vector<bool> numeric(column_count);
      for (size_t column = 0; column < column_count; ++column) {
        OdbcColumn described = statement_->DescribeColumn(column);
        numeric[column] = described.column_class == OdbcColumnClass::kNumber;
        builder.AddColumn(Utf16ToCp936(described.name),
                          numeric[column] ? FieldKind::kFloat : FieldKind::kText);
      }
      while (statement_->Fetch()) {
        for (size_t column = 0; column < column_count; ++column) {
          if (numeric[column]) {
            std::optional<double> number = statement_->GetNumber(column);
            builder.AppendCell(number ? FieldValue(*number) : FieldValue());
          } else {
            std::optional<std::u16string> cell = statement_->GetText(column);
            builder.AppendCell(cell ? FieldValue(Utf16ToCp936(*cell)) : FieldValue());
          }
        }
      }
      statement_->CloseCursor();
      connection_->Commit();
      result = builder.Build().ToVariant();
      return true;
    }
  } catch (const OdbcError& error) {
    lines = Report(error, u"查询失败：" + Beginning(text));
  }
  RollbackInto(lines);
  result = ErrorLines(std::move(lines));
  return false;
}

bool StandinDataService::ExecuteStatement(Variant& statements) {
  std::vector<std::u16string_view> batch;
  if (std::optional<std::u16string> refusal = CollectBatch(statements, batch)) {
    statements = ErrorLines({u"语句参数无效：" + *refusal + u"，一条语句也没有执行"});
    return false;
  }
  if (batch.empty()) return true;

  std::vector<std::u16string> lines;
  if (!connection_ && !Reconnect(lines)) {
    statements = ErrorLines(std::move(lines));
    return false;
  }
  for (size_t i = 0; i < batch.size() && lines.empty(); ++i) {
    auto failed = [&] {
      return u"第 " + Number(static_cast<int64_t>(i + 1)) + u" 条语句执行失败（本批共 " +
             Number(static_cast<int64_t>(batch.size())) + u" 条，已全部撤销）：" +
             Beginning(batch[i]);
    };
    try {
      RunStatement(batch[i]);
    } catch (const OdbcError& error) {
      lines = Report(error, failed());
    } catch (const CompoundStatementError& error) {
      lines = {failed(), Cp936ToUtf16(error.what())};
    }
  }
  if (lines.empty()) {
    try {
      connection_->Commit();
      return true;
    } catch (const OdbcError& error) {
      // The engine may have ended the transaction itself or left it open:
      // RollbackInto makes sure of the end either way.
      lines = Report(error, u"提交失败，本批语句已全部撤销");
    }
  }
  RollbackInto(lines);
  // Only now: the batch's views point into the statements' texts.
  statements = ErrorLines(std::move(lines));
  return false;
}

bool StandinDataService::CheckRight(const std::u16string& operator_code,
                                    const std::u16string& function_code) {
  for (const RefusedRight& refused : config_.refused_rights) {
    if (refused.operator_code == operator_code && refused.function_code == function_code)
      return false;
  }
  return true;
}

std::optional<std::u16string> StandinDataService::CollectBatch(
    const Variant& statements, std::vector<std::u16string_view>& batch) const {
  auto add_text = [&](std::u16string_view text) {
    if (run_compound_statements_) {
      for (std::u16string_view statement : SplitStatements(text)) batch.push_back(statement);
    } else if (!TrimBlanks(text).empty()) {
      batch.push_back(text);
    }
  };
  switch (statements.kind()) {
    case Variant::Kind::kEmpty:
      return std::nullopt;
    case Variant::Kind::kString:
      add_text(statements.as_string());
      return std::nullopt;
    case Variant::Kind::kArray: {
      const VariantArray& array = statements.as_array();
      for (size_t i = 0; i < array.elements.size(); ++i) {
        if (array.elements[i].kind() != Variant::Kind::kString) {
          return u"数组的第 " + Number(int64_t{array.lower_bound} + static_cast<int64_t>(i)) +
                 u" 号元素不是文本";
        }
        add_text(array.elements[i].as_string());
      }
      return std::nullopt;
    }
    default:
      return u"应为一个文本、一个文本数组或空值";
  }
}

void StandinDataService::RunStatement(std::u16string_view statement) {
  if (run_compound_statements_) {
    if (std::optional<CompoundStatement> compound = ScanCompoundStatement(statement)) {
      // The engine answers Exists itself: it stops at the first row and hands
      // back one small column, where running the query as it stands would
      // describe and fetch every column of it.
      condition_.assign(u"select 1 where exists(");
      condition_.append(compound->condition_query);
      condition_.append(u"\n)");  // after a line comment that may end the query
      statement_->ExecuteDirect(condition_);
      const bool exists = statement_->Fetch();
      statement_->CloseCursor();
      statement = exists ? compound->else_statement : compound->then_statement;
      if (statement.empty()) return;
    }
  }
  statement_->ExecuteDirect(statement);
  // A query inside a batch leaves its cursor open; the next text needs it closed.
  statement_->CloseCursor();
}

void StandinDataService::RollbackInto(std::vector<std::u16string>& lines) {
  try {
    statement_->CloseCursor();
    connection_->Rollback();
    return;
  } catch (const OdbcError& error) {
    lines.push_back(u"撤销失败，已断开数据库连接，未提交的语句随之撤销：");
    lines.insert(lines.end(), error.diagnostics().begin(), error.diagnostics().end());
  }
  // Nobody knows what state the connection is in, nor whether the next
  // operation would run in a transaction on it.
  Reconnect(lines);
}

void StandinDataService::Adopt(std::unique_ptr<OdbcConnection> connection) {
  if (engine_ == u"POSTGRESQL") {
    // The server waits for a lock without end unless told otherwise. Set for
    // the session while each statement still commits itself, so that no
    // rollback takes it back.
    OdbcStatement(*connection)
        .ExecuteDirect(u"set lock_timeout = '" + Number(kLockWaitSeconds) + u"s'");
  }
  // Every operation ends its own transaction, so the statements of one batch
  // stand or fall together.
  connection->SetAutocommit(false);
  auto statement = std::make_unique<OdbcStatement>(*connection);
  connection_ = std::move(connection);
  statement_ = std::move(statement);
}

bool StandinDataService::Reconnect(std::vector<std::u16string>& lines) {
  if (connection_) {
    if (engine_ == u"SQLITE") {
      // SQLite ends a transaction by itself when its commit cannot write (disk
      // full, file made read-only), and the driver does not notice: it goes on
      // believing the transaction open, refuses to roll back ("no transaction
      // is active") and to disconnect ("incomplete transaction"), and would run
      // every later statement outside any transaction. Handing the engine a
      // transaction again lets the driver end it and let go.
      try {
        statement_->ExecuteDirect(u"begin");
        connection_->Rollback();
      } catch (const OdbcError&) {
        // The engine still had its transaction: disconnecting ends it.
      }
    }
    statement_.reset();
    connection_.reset();
  }
  try {
    Adopt(std::make_unique<OdbcConnection>(environment_, connection_string_));
    return true;
  } catch (const OdbcError& error) {
    lines.push_back(u"无法连接数据库，下一次操作时再试：");
    lines.insert(lines.end(), error.diagnostics().begin(), error.diagnostics().end());
    return false;
  }
}

std::vector<std::u16string> StandinDataService::Report(const OdbcError& error,
                                                       std::u16string first_line) const {
  if (StoppedByLock(engine_, error)) return {kLockedMessage};
  std::vector<std::u16string> lines = {std::move(first_line)};
  lines.insert(lines.end(), error.diagnostics().begin(), error.diagnostics().end());
  return lines;
}

}  // namespace tarnvex
