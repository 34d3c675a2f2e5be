#pragma once

// Boot mode: the front end ticks once a second, and each tick asks for the
// boot handshake again until the printer's boot loader has answered; then
// boot mode ends. The main window's timer and ombrelctl's but_bootIn both
// tick it here.

#include <cstdint>

#include "engine/comm_thread.h"

namespace ombrel {

inline constexpr std::int64_t kBootTickMs = 1000;

enum class BootTick {
  HandshakeStarted,  // a new handshake runs
  HandshakeRunning,  // the last handshake still runs: the request was refused
  LoaderAnswered,    // boot mode has ended: bytes are parsed again, the port is closed
};

BootTick bootModeTick(TCommThread& engine);

// Whether the boot loader has answered, so the next tick ends boot mode.
bool bootLoaderAnswered(const TCommThread& engine);

}  // namespace ombrel
