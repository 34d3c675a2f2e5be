// The operator's port labels as the settings file holds them: any text reads
// without fault, and what it reads is written back into a text that reads
// the same.

#include <cstdint>
#include <string>

#include "commands/port_names.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const ombrel::PortNames names = ombrel::parsePortNames(text);
  const std::string written = ombrel::portNamesText(names);
  FUZZ_CHECK(written.size() <= text.size());
  FUZZ_CHECK(ombrel::parsePortNames(written) == names);
  for (const auto& [port, label] : names) {
    FUZZ_CHECK(ombrel::portWithLabel(names, port) == port + " (" + label + ")");
  }
  return 0;
}
