#pragma once

// Starts the virtual printer of a benchmark: its first line names where it
// listens, and `pattern`'s first group is returned.

#include <chrono>
#include <regex>
#include <stdexcept>
#include <string>

#include "support/child_process.h"

namespace ombrel::bench {

inline std::string startPrinter(test_support::ChildProcess& printer, const std::string& pattern) {
  const auto ready = printer.readLine(std::chrono::seconds(10));
  std::smatch match;
  if (!ready || !std::regex_match(*ready, match, std::regex(pattern))) {
    throw std::runtime_error("the virtual printer did not start");
  }
  return match[1];
}

}  // namespace ombrel::bench
