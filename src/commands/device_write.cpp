#include "commands/device_write.h"

#include <stdexcept>

#include "commands/recipe_texts.h"
#include "protocol/codes.h"
#include "settings/para_settings.h"

namespace ombrel {

DeviceWrite::DeviceWrite(const ParaControls& controls, std::string link, std::string printerIdentity) {
  record_.time = localTimestamp();
  record_.link = std::move(link);
  record_.printerIdentity = std::move(printerIdentity);
  record_.deviceName = controls.text("edt_DeviceName");
  record_.serialNumber = controls.text("edt_DeviceSerialNo");
}

DeviceWrite DeviceWrite::alone(const ParaControls& controls, std::string link, bool rework) {
  DeviceWrite write(controls, std::move(link));
  write.record_.ownRow = true;
  write.record_.rework = rework;
  return write;
}

void DeviceWrite::refuse(const std::string& text) {
  record_.outcome = DeviceWriteRecord::Outcome::Refused;
  record_.errorText = text;
  record_.ended = localTimestamp();
}

void DeviceWrite::end(const TaskOutcome& outcome, ParaControls& controls) {
  end(outcome);
  try {
    stepSerialNumberAfter(outcome, controls);
  } catch (const std::invalid_argument& error) {
    // The serial number keeps its text; the device has been written anyway.
    stepProblem_ = error.what();
  }
}

void DeviceWrite::end(const TaskOutcome& outcome) {
  if (!outcome.printerIdentity.empty()) record_.printerIdentity = outcome.printerIdentity;
  record_.outcome =
      outcome.commandAcknowledged ? DeviceWriteRecord::Outcome::Written : DeviceWriteRecord::Outcome::Failed;
  record_.errorText = outcome.text;
  record_.ended = localTimestamp();
}

void DeviceWrite::abandon(const std::string& text) {
  record_.outcome = DeviceWriteRecord::Outcome::Unknown;
  record_.errorText = text;
  record_.ended = localTimestamp();
}

void stepSerialNumberAfter(const TaskOutcome& outcome, ParaControls& controls) {
  if (outcome.code != kTaskDeviceParameters || !outcome.commandAcknowledged) return;
  const auto next = steppedSerialNumber(controls.text("edt_DeviceSerialNo"), controls.checked("rb_Minus"),
                                        controls.checked("rb_Plus"));
  if (next) controls.setText("edt_DeviceSerialNo", *next);
}

std::vector<std::string> keepDeviceWrite(const DeviceWriteRecord& record, const std::function<void()>& saveSettings,
                                         const ProvisioningLog* log) {
  std::vector<std::string> lost;
  const auto keep = [&lost](const std::function<void()>& write) {
    try {
      write();
    } catch (const std::exception& error) {
      lost.emplace_back(error.what());
    }
  };
  if (record.outcome == DeviceWriteRecord::Outcome::Written) keep(saveSettings);
  if (log != nullptr) keep([&] { log->append(record); });
  return lost;
}

void logAbandonedNumbers(const std::vector<std::uint32_t>& numbers, const ProvisioningLog& log, int language) {
  for (const std::uint32_t number : numbers) {
    DeviceWriteRecord record;
    record.time = localTimestamp();
    record.ended = record.time;
    record.serialNumber = std::to_string(number);
    record.outcome = DeviceWriteRecord::Outcome::Unknown;
    record.errorText = stationStoppedBeforeAnswerText(language);
    log.append(record);
  }
}

}  // namespace ombrel
