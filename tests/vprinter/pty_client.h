#pragma once

// The setting tool's side of the virtual printer's pseudo-terminal, for
// tests: opened raw at a given rate, as the serial component would.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/bytes.h"

namespace ombrel::vprinter {

// A received byte and when it came.
struct TimedByte {
  std::uint8_t byte;
  std::chrono::steady_clock::time_point at;
};

class PtyClient {
 public:
  // Throws std::runtime_error when the port cannot be opened or set up.
  PtyClient(const std::string& path, std::uint32_t rate);
  ~PtyClient();
  PtyClient(const PtyClient&) = delete;
  PtyClient& operator=(const PtyClient&) = delete;

  void setRate(std::uint32_t rate);
  void write(const Bytes& bytes);
  // Reads until `count` bytes have come or `timeout` has passed.
  std::vector<TimedByte> read(std::size_t count, std::chrono::milliseconds timeout);

 private:
  int fd_ = -1;
};

Bytes receivedBytes(const std::vector<TimedByte>& received);

}  // namespace ombrel::vprinter
