#pragma once

// What the engine needs of a serial port. The serial component implements it;
// tests may supply their own.

#include <chrono>
#include <cstdint>
#include <string>

#include "ports/port_events.h"

namespace ombrel {

class SerialPort {
 public:
  virtual ~SerialPort() = default;

  virtual void setCommName(const std::string& name) = 0;
  virtual std::string commName() const = 0;
  // Applies at once when the port is open.
  virtual void setBaudRate(std::uint32_t rate) = 0;
  virtual std::uint32_t baudRate() const = 0;
  virtual void setReadTimeouts(std::uint32_t intervalMs, std::uint32_t totalMultiplier,
                               std::uint32_t totalConstant) = 0;

  // Raises ECommsError with the driver's message when the port cannot be
  // opened ("This serial port already opened" when it is open).
  virtual void openPort() = 0;
  // No effect when closed.
  virtual void closePort() = 0;
  virtual bool isOpen() const = 0;
  // Queues a copy of the bytes; false, and nothing sent, when the port is
  // closed or length is 0.
  virtual bool sendData(const std::uint8_t* buffer, std::uint16_t length) = 0;
  // Waits, at most `limit`, until everything queued has been handed to the
  // driver and the driver has sent it. Closing the port discards what has not
  // left yet, so a sender that closes soon after writing waits here first.
  // Other calls on the port go on meanwhile.
  virtual void drainOutput(std::chrono::milliseconds limit) = 0;

  virtual void setOnReceiveData(ReceiveDataHandler handler) = 0;
  // Setting another handler, or none, waits until a call in progress has
  // returned, so that its owner may go once this returns.
  virtual void setDirectReceive(DirectReceiveHandler handler) = 0;
  // The same holds for this test. A port without it waits for the silence.
  virtual void setChunkEnd(ChunkEndTest) {}
};

}  // namespace ombrel
