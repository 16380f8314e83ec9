#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "standin/standin_service.h"

namespace tarnvex {

// What tarnvex-host is asked to do, from its command line:
//   tarnvex-host [--operator CODE] [--kind WORD] [--refuse FUNCTION]...
//                [--plugin DLL] (--connect STRING | --sqlite FILE | FILE)
struct HostOptions {
  StandinConfig service;
  // The operator code passed to the plug-in, code page 936 (at most 255 bytes).
  std::string operator_code;
  std::wstring plugin_path = L"SubsidySet.dll";
};

// A command line that cannot be followed; what() says why, in code page 936.
class HostUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// arguments: the command line without the program's name.
HostOptions ParseHostOptions(const std::vector<std::u16string>& arguments);

// The usage text, for the box that reports a HostUsageError.
extern const char kHostUsage[];

}  // namespace tarnvex
