#pragma once

// Runs a program to its end for end-to-end tests, capturing what it writes to
// standard output and standard error separately.

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace ombrel::test_support {

struct ProgramRun {
  int exitCode = -1;  // -1 when it did not exit by itself in time
  std::string out;
  std::string err;
  std::chrono::milliseconds took{0};
};

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::vector<std::pair<std::string, std::string>>& environment = {},
                      std::chrono::milliseconds timeout = std::chrono::seconds(60));

// The path of a built program: in OMBREL_BIN_DIR when set, else beside the
// running test. Throws std::runtime_error when it is not there, so the test
// fails saying so instead of running something else.
std::string builtProgram(const std::string& name);

// The source tree, named by OMBREL_SOURCE_DIR; throws when that is not set.
std::filesystem::path sourceDirectory();

// Asks `done` again every 20 ms until it says so or `timeout` has passed;
// what it said last.
bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(30));

// The whole content of a file; empty when it cannot be read.
std::string fileContent(const std::string& path);

}  // namespace ombrel::test_support
