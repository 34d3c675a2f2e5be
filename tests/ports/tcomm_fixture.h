#pragma once

#include <gtest/gtest.h>

#include "platform/event_loop_thread.h"
#include "port_event_log.h"
#include "ports/serial/tcomm.h"
#include "pty_pair.h"

namespace ombrel::test {

// A TComm on a fresh pseudo-terminal, set up as the engine sets it up (no
// XON/XOFF, so every byte value passes), with its events logged.
class TCommTest : public ::testing::Test {
 protected:
  TCommTest() {
    log.attach(comm);
    comm.setCommName(pty.slavePath());
    comm.setInx_XonXoffFlow(false);
    comm.setOutx_XonXoffFlow(false);
    comm.setReadIntervalTimeout(20);
  }

  void TearDown() override {
    const PortEvents events = log.snapshot();
    EXPECT_FALSE(events.offOwnerThread) << "an event ran off the owner thread";
    EXPECT_FALSE(events.unterminatedChunk) << "a chunk lacked its trailing zero byte";
  }

  // Every byte value, in an order that differs from block to block.
  static Bytes pattern(std::size_t count, std::uint8_t seed) {
    Bytes bytes(count);
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + seed + i / 256);
    return bytes;
  }

  bool send(const Bytes& bytes) { return comm.sendData(bytes.data(), static_cast<std::uint16_t>(bytes.size())); }

  // Declared in this order so that the component goes first and the loop,
  // which runs the events, last.
  EventLoopThread loop;
  PtyPair pty;
  PortEventLog log{loop};
  TComm comm{loop};
};

}  // namespace ombrel::test
