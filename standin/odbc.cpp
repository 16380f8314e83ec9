#include "standin/odbc.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <clocale>
#endif

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <climits>
#include <utility>

#include "text/codepage.h"

namespace tarnvex {
namespace {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the wide ODBC functions must take UTF-16");

SQLWCHAR* Wide(std::u16string_view text) {
  // The wide functions take non-const pointers but only read input texts.
  return reinterpret_cast<SQLWCHAR*>(const_cast<char16_t*>(text.data()));
}

std::u16string Ascii(std::string_view text) { return std::u16string(text.begin(), text.end()); }

// More records than anyone reads; a driver that never stops answering cannot
// hold the call up.
constexpr SQLSMALLINT kMaxDiagnostics = 50;

// The failure of a call that returned rc, with the diagnostic records the
// handle holds, one line each; the return code where it holds none.
OdbcError Failure(std::string_view function, SQLRETURN rc, SQLSMALLINT handle_type,
                  SQLHANDLE handle) {
  std::vector<std::u16string> lines;
  std::vector<OdbcCode> codes;
  std::u16string message(512, u'\0');
  for (SQLSMALLINT record = 1; handle != SQL_NULL_HANDLE && record <= kMaxDiagnostics; ++record) {
    SQLWCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    SQLRETURN got = SQLGetDiagRecW(handle_type, handle, record, state, &native, Wide(message),
                                   static_cast<SQLSMALLINT>(message.size()), &length);
    if (got == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(message.size())) {
      message.assign(static_cast<size_t>(length) + 1, u'\0');
      got = SQLGetDiagRecW(handle_type, handle, record, state, &native, Wide(message),
                           static_cast<SQLSMALLINT>(message.size()), &length);
    }
    if (!SQL_SUCCEEDED(got)) break;
    OdbcCode code{std::u16string(reinterpret_cast<const char16_t*>(state), 5),
                  static_cast<int32_t>(native)};
    std::u16string line = u"[" + code.state + u"] ";
    // Some drivers break their messages over lines; a diagnostic is one line.
    for (size_t i = 0; i < std::min<size_t>(static_cast<size_t>(length), message.size()); ++i) {
      const char16_t c = message[i];
      if (c == u'\n' && !line.empty() && line.back() == u' ') continue;
      line += (c == u'\r' || c == u'\n') ? u' ' : c;
    }
    line += u" (native " + Ascii(std::to_string(native)) + u")";
    lines.push_back(std::move(line));
    codes.push_back(std::move(code));
  }
  if (lines.empty()) {
    lines.push_back(Ascii(function) + u" failed with return code " + Ascii(std::to_string(rc)));
  }
  return OdbcError(function, std::move(lines), std::move(codes));
}

// Raises OdbcError unless rc reports success; SQL_NO_DATA counts as success
// where no_data_ok is set.
void Check(SQLRETURN rc, std::string_view function, SQLSMALLINT handle_type, SQLHANDLE handle,
           bool no_data_ok = false) {
  if (SQL_SUCCEEDED(rc) || (no_data_ok && rc == SQL_NO_DATA)) return;
  throw Failure(function, rc, handle_type, handle);
}

OdbcColumnClass ClassOf(SQLSMALLINT data_type) {
  switch (data_type) {
    case SQL_DECIMAL:
    case SQL_NUMERIC:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_TINYINT:
    case SQL_BIGINT:
    case SQL_BIT:
      return OdbcColumnClass::kNumber;
    default:
      // Character, date, time, interval, GUID and binary columns all read as
      // text; the driver converts them.
      return OdbcColumnClass::kText;
  }
}

}  // namespace

OdbcError::OdbcError(std::string_view function, std::vector<std::u16string> diagnostics,
                     std::vector<OdbcCode> codes)
    : std::runtime_error(std::string(function) + ": " +
                         (diagnostics.empty() ? std::string() : Utf16ToCp936(diagnostics.front()))),
      diagnostics_(std::move(diagnostics)),
      codes_(std::move(codes)) {}

OdbcEnvironment::OdbcEnvironment() {
#ifndef _WIN32
  // The SQLite3 driver has only the narrow functions; unixODBC converts the wide
  // calls for it through the process's LC_CTYPE codeset. Under the "C" locale
  // every Chinese character would be cut to one byte.
  if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr) {
    throw OdbcError("setlocale", {u"The C.UTF-8 locale is missing: texts could not reach the "
                                  u"database unchanged"});
  }
#endif
  SQLHANDLE handle = SQL_NULL_HANDLE;
  Check(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &handle), "SQLAllocHandle(ENV)",
        SQL_HANDLE_ENV, SQL_NULL_HANDLE);
  handle_ = handle;
  SQLRETURN rc =
      SQLSetEnvAttr(handle, SQL_ATTR_ODBC_VERSION,
                    reinterpret_cast<SQLPOINTER>(static_cast<intptr_t>(SQL_OV_ODBC3)), 0);
  if (!SQL_SUCCEEDED(rc)) {
    OdbcError error = Failure("SQLSetEnvAttr", rc, SQL_HANDLE_ENV, handle);
    SQLFreeHandle(SQL_HANDLE_ENV, handle);
    throw error;
  }
}

OdbcEnvironment::~OdbcEnvironment() { SQLFreeHandle(SQL_HANDLE_ENV, handle_); }

OdbcConnection::OdbcConnection(const OdbcEnvironment& environment,
                               std::u16string_view connection_string) {
  if (connection_string.size() > SHRT_MAX) {
    throw OdbcError("SQLDriverConnectW", {u"The connection string is too long"});
  }
  SQLHANDLE handle = SQL_NULL_HANDLE;
  Check(SQLAllocHandle(SQL_HANDLE_DBC, environment.native_handle(), &handle), "SQLAllocHandle(DBC)",
        SQL_HANDLE_ENV, environment.native_handle());
  handle_ = handle;
  SQLSMALLINT out_length = 0;
  SQLRETURN rc = SQLDriverConnectW(handle, nullptr, Wide(connection_string),
                                   static_cast<SQLSMALLINT>(connection_string.size()), nullptr, 0,
                                   &out_length, SQL_DRIVER_NOPROMPT);
  if (!SQL_SUCCEEDED(rc)) {
    OdbcError error = Failure("SQLDriverConnectW", rc, SQL_HANDLE_DBC, handle);
    SQLFreeHandle(SQL_HANDLE_DBC, handle);
    throw error;
  }
  connected_ = true;
}

OdbcConnection::~OdbcConnection() {
  if (connected_) {
    // A transaction still open here was never committed: it must not stand.
    SQLEndTran(SQL_HANDLE_DBC, handle_, SQL_ROLLBACK);
    SQLDisconnect(handle_);
  }
  SQLFreeHandle(SQL_HANDLE_DBC, handle_);
}

std::u16string OdbcConnection::DbmsName() const {
  std::u16string name(128, u'\0');
  SQLSMALLINT bytes = 0;
  SQLRETURN rc = SQLGetInfoW(handle_, SQL_DBMS_NAME, Wide(name),
                             static_cast<SQLSMALLINT>(name.size() * sizeof(char16_t)), &bytes);
  Check(rc, "SQLGetInfoW(SQL_DBMS_NAME)", SQL_HANDLE_DBC, handle_);
  name.resize(std::min(name.size() - 1, static_cast<size_t>(bytes) / sizeof(char16_t)));
  return name;
}

void OdbcConnection::SetAutocommit(bool on) {
  SQLRETURN rc = SQLSetConnectAttrW(handle_, SQL_ATTR_AUTOCOMMIT,
                                    reinterpret_cast<SQLPOINTER>(static_cast<uintptr_t>(
                                        on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF)),
                                    SQL_IS_UINTEGER);
  Check(rc, "SQLSetConnectAttrW(SQL_ATTR_AUTOCOMMIT)", SQL_HANDLE_DBC, handle_);
}

void OdbcConnection::Commit() { EndTransaction(SQL_COMMIT, "SQLEndTran(SQL_COMMIT)"); }

void OdbcConnection::Rollback() { EndTransaction(SQL_ROLLBACK, "SQLEndTran(SQL_ROLLBACK)"); }

void OdbcConnection::EndTransaction(int16_t completion, std::string_view what) {
  Check(SQLEndTran(SQL_HANDLE_DBC, handle_, completion), what, SQL_HANDLE_DBC, handle_);
}

OdbcStatement::OdbcStatement(const OdbcConnection& connection) {
  SQLHANDLE handle = SQL_NULL_HANDLE;
  Check(SQLAllocHandle(SQL_HANDLE_STMT, connection.native_handle(), &handle),
        "SQLAllocHandle(STMT)", SQL_HANDLE_DBC, connection.native_handle());
  handle_ = handle;
}

OdbcStatement::~OdbcStatement() { SQLFreeHandle(SQL_HANDLE_STMT, handle_); }

void OdbcStatement::ExecuteDirect(std::u16string_view sql) {
  if (sql.size() > static_cast<size_t>(INT32_MAX)) {
    throw OdbcError("SQLExecDirectW", {u"The text is too long"});
  }
  SQLRETURN rc = SQLExecDirectW(handle_, Wide(sql), static_cast<SQLINTEGER>(sql.size()));
  Check(rc, "SQLExecDirectW", SQL_HANDLE_STMT, handle_, /*no_data_ok=*/true);
}

size_t OdbcStatement::ColumnCount() {
  SQLSMALLINT count = 0;
  Check(SQLNumResultCols(handle_, &count), "SQLNumResultCols", SQL_HANDLE_STMT, handle_);
  return count < 0 ? 0 : static_cast<size_t>(count);
}

OdbcColumn OdbcStatement::DescribeColumn(size_t column) {
  const auto number = static_cast<SQLUSMALLINT>(column + 1);
  std::u16string name(128, u'\0');
  SQLSMALLINT length = 0;
  SQLSMALLINT data_type = 0;
  SQLULEN size = 0;
  SQLSMALLINT digits = 0;
  SQLSMALLINT nullable = 0;
  auto describe = [&] {
    return SQLDescribeColW(handle_, number, Wide(name), static_cast<SQLSMALLINT>(name.size()),
                           &length, &data_type, &size, &digits, &nullable);
  };
  SQLRETURN rc = describe();
  if (SQL_SUCCEEDED(rc) && length >= static_cast<SQLSMALLINT>(name.size())) {
    name.assign(static_cast<size_t>(length) + 1, u'\0');
    rc = describe();
  }
  Check(rc, "SQLDescribeColW", SQL_HANDLE_STMT, handle_);
  name.resize(std::min(name.size() - 1, static_cast<size_t>(length < 0 ? 0 : length)));
  return OdbcColumn{std::move(name), ClassOf(data_type)};
}

bool OdbcStatement::Fetch() {
  SQLRETURN rc = SQLFetch(handle_);
  if (rc == SQL_NO_DATA) return false;
  Check(rc, "SQLFetch", SQL_HANDLE_STMT, handle_);
  return true;
}

std::optional<std::u16string> OdbcStatement::GetText(size_t column) {
  const auto number = static_cast<SQLUSMALLINT>(column + 1);
  if (buffer_.empty()) buffer_.resize(1024);
  // Room for the characters of one chunk; the driver always adds a terminator.
  const size_t chunk_bytes = buffer_.size() * sizeof(char16_t);
  const size_t chunk_chars = buffer_.size() - 1;
  std::u16string text;
  for (bool first = true;; first = false) {
    SQLLEN indicator = 0;
    SQLRETURN rc = SQLGetData(handle_, number, SQL_C_WCHAR, Wide(buffer_),
                              static_cast<SQLLEN>(chunk_bytes), &indicator);
    if (rc == SQL_NO_DATA && !first) break;  // the previous chunk was the last
    Check(rc, "SQLGetData(SQL_C_WCHAR)", SQL_HANDLE_STMT, handle_);
    if (indicator == SQL_NULL_DATA) return std::nullopt;
    const bool truncated = indicator == SQL_NO_TOTAL ||
                           static_cast<size_t>(indicator) > chunk_chars * sizeof(char16_t);
    if (truncated) {
      text.append(buffer_.data(), chunk_chars);
      continue;
    }
    text.append(buffer_.data(), static_cast<size_t>(indicator) / sizeof(char16_t));
    break;
  }
  return text;
}

std::optional<double> OdbcStatement::GetNumber(size_t column) {
  double value = 0;
  SQLLEN indicator = 0;
  SQLRETURN rc = SQLGetData(handle_, static_cast<SQLUSMALLINT>(column + 1), SQL_C_DOUBLE, &value,
                            sizeof(value), &indicator);
  Check(rc, "SQLGetData(SQL_C_DOUBLE)", SQL_HANDLE_STMT, handle_);
  if (indicator == SQL_NULL_DATA) return std::nullopt;
  return value;
}

void OdbcStatement::CloseCursor() {
  Check(SQLFreeStmt(handle_, SQL_CLOSE), "SQLFreeStmt(SQL_CLOSE)", SQL_HANDLE_STMT, handle_);
}

}  // namespace tarnvex
