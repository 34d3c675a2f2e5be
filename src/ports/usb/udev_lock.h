#pragma once

#include <mutex>

namespace ombrel {

// Held around every call into libudev in this process. Its contexts are
// separate, but libudev sets up process-wide state (the key of its hash
// tables) on first use without a lock, so two threads must not call it at
// once.
std::mutex& udevLock();

}  // namespace ombrel
