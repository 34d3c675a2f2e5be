#pragma once

// A pseudo-terminal for the serial component to open: the test holds the
// master side and plays the printer.

#include <chrono>
#include <cstddef>
#include <string>

#include "platform/bytes.h"

namespace ombrel::test {

class PtyPair {
 public:
  PtyPair();
  ~PtyPair();
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  const std::string& slavePath() const { return slavePath_; }
  int masterFd() const { return master_; }

  void write(const Bytes& bytes);
  // Reads until `count` bytes have come or `timeout` has passed.
  Bytes read(std::size_t count, std::chrono::milliseconds timeout);
  // The far end goes away, as an unplugged adapter would.
  void closeMaster();

 private:
  int master_ = -1;
  std::string slavePath_;
};

// Whether the terminal at `path` is marked for exclusive use.
bool isExclusive(const std::string& path);

}  // namespace ombrel::test
