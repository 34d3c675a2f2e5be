#pragma once

// The serial component's configuration: line properties and time-outs, as the
// component's published properties hold them.

#include <cstdint>

namespace ombrel {

// Listed in the component's own order, which is not the order of any
// platform's codes: they are always mapped by name.
enum class TDtrControl { DtrEnable, DtrDisable, DtrHandshake };
enum class TRtsControl { RtsEnable, RtsDisable, RtsHandshake, RtsTransmissionAvailable };
enum class TByteSize { _5, _6, _7, _8 };
enum class TParity { None, Odd, Even, Mark, Space };
enum class TStopBits { _1, _1_5, _2 };

// The line properties, BaudRate through ReplacedChar, with their defaults.
struct LineSettings {
  std::uint32_t baudRate = 9600;
  bool parityCheck = false;
  bool outx_CtsFlow = false;
  bool outx_DsrFlow = false;
  TDtrControl dtrControl = TDtrControl::DtrEnable;
  bool dsrSensitivity = false;
  bool txContinueOnXoff = true;
  bool outx_XonXoffFlow = true;
  bool inx_XonXoffFlow = true;
  bool replaceWhenParityError = false;
  bool ignoreNullChar = false;
  TRtsControl rtsControl = TRtsControl::RtsEnable;
  std::uint16_t xonLimit = 500;
  std::uint16_t xoffLimit = 500;
  TByteSize byteSize = TByteSize::_8;
  TParity parity = TParity::None;
  TStopBits stopBits = TStopBits::_1;
  std::uint8_t xonChar = 17;   // DC1
  std::uint8_t xoffChar = 19;  // DC3
  std::uint8_t replacedChar = 0;
};

// Milliseconds. A read completes after `readInterval` ms of silence following
// its first byte (0: not used), or when the total read time-out of
// multiplier × requested bytes + constant runs out (both 0: no total
// time-out); with neither, each read delivers what has arrived. The writer finishes every block it takes whatever the
// write time-outs say, so they are kept but change nothing.
struct CommTimeouts {
  std::uint32_t readInterval = 100;
  std::uint32_t readTotalMultiplier = 0;
  std::uint32_t readTotalConstant = 0;
  std::uint32_t writeTotalMultiplier = 0;
  std::uint32_t writeTotalConstant = 0;

  bool hasReadTotal() const { return readTotalMultiplier != 0 || readTotalConstant != 0; }
  bool operator==(const CommTimeouts&) const = default;
};

}  // namespace ombrel
