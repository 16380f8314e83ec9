#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "host/variant.h"

namespace tarnvex {

// Dispatch ids of the host's automation object. Calls are made by id with
// positional arguments only; no names are looked up.
inline constexpr int32_t kDispIdGetDatabaseKind = 20;
inline constexpr int32_t kDispIdExecuteQuery = 0x60020000;
inline constexpr int32_t kDispIdExecuteStatement = 2;
inline constexpr int32_t kDispIdCheckRight = 8;

// A failure of a host call itself (a failed Invoke, a dead object), as opposed to
// an operation that ran and answered false. It ends the operation in progress.
class HostCallError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The host's data service: every query, statement and permission check of the
// library goes through it. Arguments are passed as the automation object takes
// them.
class HostDataService {
 public:
  virtual ~HostDataService() = default;

  // A text naming the database kind; "SQLSERVER" for Microsoft SQL Server.
  virtual Variant GetDatabaseKind() = 0;

  // sql: the query text, by value. result: written by the host; on true a data
  // packet (byte array), on false the error lines (array of texts).
  virtual bool ExecuteQuery(const Variant& sql, Variant& result) = 0;

  // statements, by reference: one text that may hold several statements
  // separated by ";", an array (lower bound 0) of statement texts, or empty when
  // there is nothing to send. On false it holds the error lines.
  virtual bool ExecuteStatement(Variant& statements) = 0;

  // Whether the operator may use the function; both codes as wide strings.
  virtual bool CheckRight(const std::u16string& operator_code,
                          const std::u16string& function_code) = 0;
};

}  // namespace tarnvex
