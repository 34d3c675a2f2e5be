#pragma once

// The hand-over of replies from the port's receive handler (owner's thread) to
// the waiting worker: the reply buffer, its position and length, and the
// manual-reset reply event, all under one lock. The worker resets it before
// each transmission and reads it only after the event was signalled.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "protocol/reply_assembler.h"
#include "platform/bytes.h"

namespace ombrel {

class ReplyChannel {
 public:
  void reset();
  // A delivered chunk: assembled; a complete valid frame signals the event.
  void deliver(const std::uint8_t* bytes, std::size_t count);
  // Raw receive: the bytes are kept unparsed (boot handshake).
  void deliverRaw(const std::uint8_t* bytes, std::size_t count);
  // Waits for the event; true when signalled.
  bool waitForReply(std::chrono::nanoseconds timeout);

  // The data bytes of the accepted reply (ReplyLength bytes after the head).
  Bytes replyData() const;
  // The 16-byte head of the accepted reply.
  Bytes replyHead() const;
  std::size_t replyLength() const;
  std::uint8_t firstByte() const;
  // Marks the buffer as holding no handshake answer (fills it with 0xFF).
  void clearBuffer();

 private:
  mutable std::mutex mutex_;
  std::condition_variable signalled_;
  bool event_ = false;
  ReplyAssembler assembler_;
};

}  // namespace ombrel
