#pragma once

// Names a received command frame and its arguments for the logs: which
// command, and for the commands whose data the setting tool fills in a known
// way, what they say. Pure text.

#include <string>

#include "frame_fields.h"

namespace ombrel::vprinter {

std::string decodeCommand(const FrameFields& frame);

// The line rate of a rate code, 0 for a code the printer does not know.
int rateOfCode(std::uint32_t code);

}  // namespace ombrel::vprinter
