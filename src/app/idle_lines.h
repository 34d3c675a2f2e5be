#pragma once

// What a printer says on its own between tasks, as lines of text.

#include <string>
#include <vector>

#include "platform/bytes.h"

namespace ombrel::app {

// Carriage returns are dropped and a line feed ends a line; the text after
// the last line feed is a line of its own when it is not empty. Bytes are
// taken as the printer's 8-bit text.
std::vector<std::string> idleDataLines(const Bytes& bytes);

}  // namespace ombrel::app
