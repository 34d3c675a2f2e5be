#include "commands/boot_mode.h"

#include "protocol/codes.h"

namespace ombrel {

bool bootLoaderAnswered(const TCommThread& engine) { return engine.bootReply() == kBootLoaderAnswered; }

std::optional<std::string> bootModeRefusal(Transport transport, int language) {
  if (transport == Transport::Serial) return std::nullopt;
  constexpr int kEnglish = 1;
  if (language == kEnglish) return "Boot mode works on a serial link only: choose the serial port and try again.";
  return "BOOT模式只能通过串口进入，请选择串口后再试。";
}

void leaveBootMode(TCommThread& engine) {
  engine.stopRawReceive();
  engine.requestCancel();
}

BootTick bootModeTick(TCommThread& engine) {
  if (bootLoaderAnswered(engine)) {
    engine.stopRawReceive();
    engine.finishBootMode();
    return BootTick::LoaderAnswered;
  }
  return engine.StartTask(kTaskBootHandshake, 0, 0) ? BootTick::HandshakeStarted : BootTick::HandshakeRunning;
}

}  // namespace ombrel
