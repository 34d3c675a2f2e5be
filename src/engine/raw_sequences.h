#pragma once

// The raw byte sequences that some tasks write without a frame and without
// awaiting a reply. Pure functions from the task's command data to bytes.

#include <cstdint>

#include "platform/bytes.h"

namespace ombrel::raw {

// code, flag.
Bytes switchSequence(std::uint8_t code, std::uint8_t flag);
// 0x1F 0x1B, then the data.
Bytes escapeSequence(const Bytes& data);
// The 15-byte head of a command-141 frame without its final 0x00, then the data.
Bytes flowControlSequence(const Bytes& data);

// Whether the task writes a raw sequence on the link in whatever state it is
// (26, 27 and 29 to 43).
bool isRawTask(int code);
// The bytes that raw task `code` writes, built from its command data (missing
// command data bytes count as 0).
Bytes rawTaskBytes(int code, const Bytes& payload);

}  // namespace ombrel::raw
