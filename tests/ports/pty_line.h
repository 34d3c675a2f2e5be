#pragma once

// The line configuration that the serial component left on a pseudo-terminal,
// read through its master side. A pseudo-terminal always reports 8 data bits
// without parity, but keeps the rate, stop bits, odd-parity flag, handshakes
// and flow-control characters it was given.

#include <cstdint>

namespace ombrel::test {

struct PtyLine {
  std::uint32_t outputRate = 0;
  std::uint32_t inputRate = 0;
  bool twoStopBits = false;
  bool oddParity = false;
  bool rtsCtsHandshake = false;
  bool xonXoffOutput = false;
  bool xonXoffInput = false;
  bool raw = false;  // no line editing, echo, signals or output processing
  std::uint8_t xonChar = 0;
  std::uint8_t xoffChar = 0;
};

PtyLine readPtyLine(int masterFd);
// Changes the rate behind the component's back.
void setPtyRate(int masterFd, std::uint32_t rate);

}  // namespace ombrel::test
