// ombrelctl's command line: the input split at NUL bytes is the argument
// list. Parsing is pure: it either gives options or refuses with a usage
// error; any other exception escapes and is a finding.

#include <cstdint>
#include <string>
#include <vector>

#include "cli/options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args;
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::size_t start = 0;
  while (start <= input.size() && size > 0) {
    const std::size_t end = std::min(input.find('\0', start), input.size());
    args.push_back(input.substr(start, end - start));
    start = end + 1;
  }
  try {
    ombrel::cli::parseCommandLine(args);
  } catch (const ombrel::cli::UsageError&) {
  }
  return 0;
}
