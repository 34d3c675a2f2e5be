#pragma once

// What the virtual printer keeps and how it answers, free of any transport:
// one complete received unit (a frame or a raw sequence) in, the reply bytes
// (if the printer answers) and the decoded text for the logs out. The UDP
// transport feeds it datagrams; a byte-stream transport feeds it the units it
// splits from the stream.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "frame_fields.h"
#include "platform/bytes.h"

namespace ombrel::vprinter {

inline constexpr std::size_t kIdentitySize = 8;
// Reaches past the logo memory: 0x1CF000 and the 256 KB after it.
inline constexpr std::size_t kDefaultMemorySize = 4 * 1024 * 1024;
inline constexpr std::size_t kDefaultReadBlock = 256;

inline constexpr std::uint32_t kDefaultLineRate = 9600;

// How the printer fills the head of a reply. The protocol takes any valid
// reply as the acknowledgement, so a printer may echo the request's command
// and arguments, send the command with zero arguments, or send the same
// identify head every time.
enum class ReplyHead { Echo, Zero, Fixed };

struct PrinterConfig {
  std::string identity = "OMB80";  // at most kIdentitySize bytes
  std::size_t readBlock = kDefaultReadBlock;
  Bytes memory;
  std::uint32_t lineRate = kDefaultLineRate;  // bit/s at start
  // The boot loader answers the handshake byte once it has received this
  // many of them; unset: the handshake byte is only logged.
  std::optional<std::uint32_t> bootAfter;
  ReplyHead replyHead = ReplyHead::Echo;
  // A memory cell that takes every write to it with all bits inverted, so
  // that a download read back differs there.
  std::optional<std::uint32_t> corruptStore;
};

struct Handling {
  std::optional<FrameFields> frame;  // nullopt: a raw sequence
  std::string decoded;
  std::optional<Bytes> reply;
};

// Memory content before anything is written: the byte at address i is i & 0xFF.
Bytes patternMemory(std::size_t size);

class PrinterModel {
 public:
  explicit PrinterModel(PrinterConfig config);

  Handling receive(const Bytes& unit);

  // Whether the printer answers these raw bytes, received so far as one
  // unit, as soon as their last byte is in: a byte-stream transport ends the
  // unit there.
  bool answersAtOnce(const Bytes& raw) const;

  // The line rate in bit/s: the configured one at start, then the one last
  // set with command 49. The reply to command 49 still goes out at the old
  // rate; a transport that has a rate moves to the new one after it.
  std::uint32_t lineRate() const { return lineRate_; }
  const Bytes& memory() const { return memory_; }

 private:
  // Acts on a frame that passed its checks; returns the reply data and adds
  // what it did to `note`.
  Bytes act(const FrameFields& frame, std::string& note);
  // Counts the handshake bytes of a raw unit; the answer when the boot loader gives one.
  std::optional<Bytes> bootLoader(const Bytes& raw, std::string& note);
  std::size_t writeMemory(std::uint32_t address, const Bytes& data);
  Bytes readMemory(std::uint32_t address) const;

  Bytes identity_;
  std::size_t readBlock_;
  Bytes memory_;
  std::uint32_t lineRate_;
  std::optional<std::uint32_t> bootAfter_;
  ReplyHead replyHead_;
  std::optional<std::uint32_t> corruptStore_;
  std::uint64_t bootBytes_ = 0;
};

}  // namespace ombrel::vprinter
