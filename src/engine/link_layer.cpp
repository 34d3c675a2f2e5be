// The link layer: opening and closing the task's link and moving a serial
// printer between rates.

#include "engine/baud.h"
#include "engine/task_run.h"
#include "platform/errors.h"
#include "protocol/codes.h"

namespace ombrel {

namespace {
constexpr std::int64_t kSerialSettleMs = 30;
}  // namespace

void TaskRun::OpenLink() {
  LineState& line = parts_.line;
  link_->open(settings().devBaud, line.linkOpen);
  line.linkOpen = true;
  cancelRequested_ = false;
  if (link_->hasRate()) SwitchBaudRate(settings().tranBaud);
  IdentifyPrinter();
}

void TaskRun::beginRawLink() {
  link_->beginRawSend(settings().devBaud);
  parts_.line.linkOpen = true;
  cancelRequested_ = false;
}

void TaskRun::CloseLink() {
  link_->close(parts_.line.linkOpen);
  parts_.line.linkOpen = false;
}

void TaskRun::SwitchBaudRate(int rate) {
  const int index = baudIndex(rate);
  std::uint32_t& printerRate = parts_.line.printerRate;
  // Compared with the rate the printer was last moved to, whatever the
  // transport.
  if (static_cast<std::uint32_t>(rate) == printerRate) return;
  parts_.clock.sleepMs(kSerialSettleMs);
  try {
    SendCommand(kCmdSwitchRate, static_cast<std::uint32_t>(index), 0, {}, 1);
  } catch (const std::exception&) {
    throw ECommonError(Failure::RateRefused);
  }
  printerRate = static_cast<std::uint32_t>(rate);
  link_->followRate(printerRate);
  parts_.clock.sleepMs(kSerialSettleMs);
}

}  // namespace ombrel
