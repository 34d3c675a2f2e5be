#include "commands/boot_mode.h"

#include "protocol/codes.h"

namespace ombrel {

bool bootLoaderAnswered(const TCommThread& engine) { return engine.bootReply() == kBootLoaderAnswered; }

BootTick bootModeTick(TCommThread& engine) {
  if (bootLoaderAnswered(engine)) {
    engine.stopRawReceive();
    engine.finishBootMode();
    return BootTick::LoaderAnswered;
  }
  return engine.StartTask(kTaskBootHandshake, 0, 0) ? BootTick::HandshakeStarted : BootTick::HandshakeRunning;
}

}  // namespace ombrel
