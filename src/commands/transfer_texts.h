#pragma once

// The texts around a file transfer that the language files do not carry: the
// phase and the time left of the progress display, the warning after a cancelled update and the
// notice that replies are not checked. One Chinese and one English form,
// chosen by the language index (1 English, anything else Chinese).

#include <cstdint>
#include <optional>
#include <string>

#include "engine/transfer_progress.h"

namespace ombrel {

// "发送" / "Sending", the waits with their seconds left; once the time left of
// the whole transfer is estimated (msLeft), the phase and that time left:
// "发送  剩余 54:10" / "Sending  54:10 left".
std::string transferPhaseText(const TransferProgress& progress, std::optional<std::int64_t> msLeft, int language);
// "剩余 54:10" / "54:10 left": whole seconds rounded up, as m:ss, or h:mm:ss
// from an hour on.
std::string timeLeftText(std::int64_t ms, int language);
// After a cancelled program update.
std::string partialProgramWarning(int language);
// While a boot handshake has switched reply checking off.
std::string repliesNotCheckedText(int language);

}  // namespace ombrel
