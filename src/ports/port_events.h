#pragma once

#include <cstdint>
#include <functional>

namespace ombrel {

// A chunk of received bytes, delivered on the port owner's thread.
using ReceiveDataHandler = std::function<void(const std::uint8_t* buffer, std::uint16_t length)>;

}  // namespace ombrel
