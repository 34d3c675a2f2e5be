#pragma once

// What the virtual printer keeps and how it answers, free of any transport:
// one complete received unit (a frame or a raw sequence) in, the reply bytes
// (if the printer answers) and the decoded text for the logs out. The UDP
// transport feeds it datagrams; a byte-stream transport feeds it the units it
// splits from the stream.

#include <cstddef>
#include <optional>
#include <string>

#include "frame_fields.h"
#include "platform/bytes.h"

namespace ombrel::vprinter {

inline constexpr std::size_t kIdentitySize = 8;
inline constexpr std::size_t kDefaultMemorySize = 1024 * 1024;
inline constexpr std::size_t kDefaultReadBlock = 256;

struct PrinterConfig {
  std::string identity = "OMB80";  // at most kIdentitySize bytes
  std::size_t readBlock = kDefaultReadBlock;
  Bytes memory;
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

  // The rate code last set with command 49 (0, 9600 bit/s, at start). A reply
  // to command 49 still belongs to the old rate; the new one applies after it.
  std::uint32_t rateCode() const { return rateCode_; }
  const Bytes& memory() const { return memory_; }

 private:
  // Acts on a frame that passed its checks; returns the reply data and adds
  // what it did to `note`.
  Bytes act(const FrameFields& frame, std::string& note);
  std::size_t writeMemory(std::uint32_t address, const Bytes& data);
  Bytes readMemory(std::uint32_t address) const;

  Bytes identity_;
  std::size_t readBlock_;
  Bytes memory_;
  std::uint32_t rateCode_ = 0;
};

}  // namespace ombrel::vprinter
