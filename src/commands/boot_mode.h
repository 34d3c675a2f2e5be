#pragma once

// Boot mode: the front end ticks once a second, and each tick asks for the
// boot handshake again until the printer's boot loader has answered; then
// boot mode ends. The main window's timer and ombrelctl's but_bootIn both
// tick it here.

#include <cstdint>
#include <optional>
#include <string>

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

// Why boot mode cannot start on this link, in the language of the language
// list's index; nothing on a serial link. The loader's answer can be
// recognised on a serial line only: elsewhere the handshake would run for
// nearly a minute and never end boot mode.
std::optional<std::string> bootModeRefusal(Transport transport, int language);

// Leaves boot mode on request: received bytes are parsed again and a
// handshake that runs stops at its next byte.
void leaveBootMode(TCommThread& engine);

}  // namespace ombrel
