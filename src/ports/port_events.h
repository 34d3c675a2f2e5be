#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace ombrel {

// A chunk of received bytes, delivered on the port owner's thread.
using ReceiveDataHandler = std::function<void(const std::uint8_t* buffer, std::uint16_t length)>;

// A chunk of received bytes offered on the port's reader thread before it is
// posted: the handler returns true when it took the bytes, and then nothing
// is posted. It lets a waiting task have its reply without a hop through the
// owner's thread.
using DirectReceiveHandler = std::function<bool(const std::uint8_t* buffer, std::size_t length)>;

// Asked on the port's reader thread whenever bytes arrive: whether the bytes
// the pending read has gathered end what the owner waits for. Such a read is
// delivered at once instead of after the interval of silence.
using ChunkEndTest = std::function<bool(const std::uint8_t* buffer, std::size_t length)>;

}  // namespace ombrel
