#include "gui/pty_boot_loader.h"

#include <chrono>

namespace ombrel::gui_test {

namespace {
constexpr std::uint8_t kHandshakeByte = 0x61;
}

PtyBootLoader::PtyBootLoader(std::optional<int> answerAfter) : thread_([this, answerAfter] { serve(answerAfter); }) {}

PtyBootLoader::~PtyBootLoader() {
  stopping_ = true;
  thread_.join();
}

void PtyBootLoader::serve(std::optional<int> answerAfter) {
  while (!stopping_) {
    for (const std::uint8_t byte : pty_.read(1, std::chrono::milliseconds(20))) {
      if (byte != kHandshakeByte) continue;
      if (++handshakeBytes_ == answerAfter) pty_.write({kHandshakeByte});
    }
  }
}

}  // namespace ombrel::gui_test
