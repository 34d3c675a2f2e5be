#pragma once

// The printer's command frame: a 16-byte head (0x02 0x00, command, two 32-bit
// arguments, data length, XOR head check, 0x00), then the data and, on the
// byte-stream links, their XOR check byte. All fields little-endian.
// Pure functions only: no I/O here.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/bytes.h"

namespace ombrel::frame {

inline constexpr std::size_t kHeadSize = 16;
// SendCommand's frame buffer is 1033 bytes and ReadBlock's 2049, which bounds
// the data a frame can carry.
inline constexpr std::size_t kMaxCommandData = 1033 - 17;
inline constexpr std::size_t kMaxReadBlockData = 2049 - 17;

struct Head {
  std::uint16_t command = 0;
  std::uint32_t first = 0;
  std::uint32_t second = 0;
  std::uint16_t length = 0;
};

std::uint8_t xorOf(const std::uint8_t* data, std::size_t count);

// The frame as it goes on the wire. The data check byte is appended only when
// there are data and `dataCheck` is set (every link but the network one).
Bytes build(const Head& head, const std::uint8_t* data, bool dataCheck);
Bytes build(std::uint16_t command, std::uint32_t first, std::uint32_t second, const Bytes& data, bool dataCheck);

// Reads the fields of a 16-byte head; nothing is checked.
Head readHead(const std::uint8_t* head);

// The XOR of all 16 head bytes is 0 (byte 14 checks bytes 0-13, byte 15 is 0).
bool headCheckOk(const std::uint8_t* head);

// Whether the bytes hold, from their first 0x02 on, a head whose check is
// right and as many bytes as it claims: the data and their check byte when
// its length is not 0. The data check is not examined.
bool holdsWholeFrame(const std::uint8_t* bytes, std::size_t count);

// A network reply: at least 16 bytes beginning 0x02 0x00; no check examined.
bool isAcceptedDatagram(const std::uint8_t* data, std::size_t count);

}  // namespace ombrel::frame
