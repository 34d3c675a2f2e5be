#include "app/idle_lines.h"

#include "texts/text_codec.h"

namespace ombrel::app {

std::vector<std::string> idleDataLines(const Bytes& bytes) {
  std::vector<std::string> lines;
  Bytes line;
  for (const std::uint8_t byte : bytes) {
    if (byte == '\r') continue;
    if (byte == '\n') {
      lines.push_back(TextCodec::fromPrinterBytes(line));
      line.clear();
    } else {
      line.push_back(byte);
    }
  }
  if (!line.empty()) lines.push_back(TextCodec::fromPrinterBytes(line));
  return lines;
}

}  // namespace ombrel::app
