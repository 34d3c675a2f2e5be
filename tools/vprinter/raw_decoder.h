#pragma once

// Names the raw sequences that the setting tool writes without a frame:
// switches, escape sequences, wired network settings, hardware options, the
// black-mark search, logo printing, the boot handshake and the firmware
// stream head. Pure text, for the logs.

#include <string>

#include "platform/bytes.h"

namespace ombrel::vprinter {

std::string decodeRaw(const Bytes& raw);

}  // namespace ombrel::vprinter
