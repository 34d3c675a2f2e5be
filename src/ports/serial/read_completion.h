#pragma once

// When the reader's pending read completes with the bytes it has gathered.

#include <chrono>
#include <cstddef>
#include <optional>

#include "ports/serial/serial_settings.h"

namespace ombrel {

// The reader's buffer: a read never gathers more than this.
inline constexpr std::size_t kReadChunkSize = 2048;

using ReadTimePoint = std::chrono::steady_clock::time_point;

// The moment the read started at `readStart`, holding `gathered` bytes of
// which the last arrived at `lastByte`, completes if nothing more comes;
// nothing when it waits without limit. Time-outs are real milliseconds: they
// describe the physical line.
std::optional<ReadTimePoint> readCompletionTime(const CommTimeouts& timeouts, ReadTimePoint readStart,
                                                ReadTimePoint lastByte, std::size_t gathered);

}  // namespace ombrel
