#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tarnvex {

// What identifies one diagnostic record: its SQLSTATE and the driver's own
// error number, by which a caller tells one failure from another.
struct OdbcCode {
  std::u16string state;
  int32_t native = 0;
};

// A failed ODBC call. diagnostics() holds one line per diagnostic record the
// driver or the driver manager left, "[SQLSTATE] message (native N)", and
// codes() their codes in the same order (none for a failure found before the
// driver was called); what() is the call's name and the first line, in code
// page 936.
class OdbcError : public std::runtime_error {
 public:
  OdbcError(std::string_view function, std::vector<std::u16string> diagnostics,
            std::vector<OdbcCode> codes = {});
  const std::vector<std::u16string>& diagnostics() const { return diagnostics_; }
  const std::vector<OdbcCode>& codes() const { return codes_; }

 private:
  std::vector<std::u16string> diagnostics_;
  std::vector<OdbcCode> codes_;
};

// The SQL data type of a result column, sorted into what a data packet needs.
enum class OdbcColumnClass { kText, kNumber };

struct OdbcColumn {
  std::u16string name;
  OdbcColumnClass column_class = OdbcColumnClass::kText;
};

// Handles are kept as void* here (SQLHANDLE is void* with every driver manager)
// so that no caller needs the ODBC headers, which pull in <windows.h> there.

// The ODBC environment (version 3). One per process is enough; connections
// borrow it and must not outlive it.
class OdbcEnvironment {
 public:
  OdbcEnvironment();
  ~OdbcEnvironment();
  OdbcEnvironment(const OdbcEnvironment&) = delete;
  OdbcEnvironment& operator=(const OdbcEnvironment&) = delete;

  void* native_handle() const { return handle_; }

 private:
  void* handle_ = nullptr;
};

// One connection, made with SQLDriverConnectW from a connection string.
class OdbcConnection {
 public:
  OdbcConnection(const OdbcEnvironment& environment, std::u16string_view connection_string);
  ~OdbcConnection();
  OdbcConnection(const OdbcConnection&) = delete;
  OdbcConnection& operator=(const OdbcConnection&) = delete;

  // The engine's own name for itself (SQL_DBMS_NAME), e.g. "SQLite".
  std::u16string DbmsName() const;
  void SetAutocommit(bool on);
  void Commit();
  void Rollback();

  void* native_handle() const { return handle_; }

 private:
  void EndTransaction(int16_t completion, std::string_view what);

  void* handle_ = nullptr;
  bool connected_ = false;
};

// A statement handle, reused for one text after the other.
class OdbcStatement {
 public:
  explicit OdbcStatement(const OdbcConnection& connection);
  ~OdbcStatement();
  OdbcStatement(const OdbcStatement&) = delete;
  OdbcStatement& operator=(const OdbcStatement&) = delete;

  // Runs the text (SQLExecDirectW). An UPDATE or DELETE that touches no row
  // (SQL_NO_DATA) has run fine.
  void ExecuteDirect(std::u16string_view sql);
  // The number of result columns of the executed text; 0 for a text that
  // produced no result set.
  size_t ColumnCount();
  OdbcColumn DescribeColumn(size_t column);
  // Moves to the next row; false past the last one.
  bool Fetch();
  // Cell values of the current row; nullopt for NULL. Columns are numbered from
  // 0, and each is read at most once per row, left to right.
  std::optional<std::u16string> GetText(size_t column);
  std::optional<double> GetNumber(size_t column);
  // Closes the open cursor, if any, so that the handle can run the next text.
  void CloseCursor();

  void* native_handle() const { return handle_; }

 private:
  void* handle_ = nullptr;
  std::u16string buffer_;  // reused by GetText
};

}  // namespace tarnvex
