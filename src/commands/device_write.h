#pragma once

// One device write (task 15, the device group's Set button), as the window,
// ombrelctl and the production line's runner all keep it: its provisioning
// record is made from the controls and the link before the task starts and
// finished from the task's end, the serial number steps once the printer
// holds the number, and what the write has done is kept by one rule.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "commands/provisioning_log.h"
#include "engine/engine_host.h"
#include "settings/para_controls.h"

namespace ombrel {

class DeviceWrite {
 public:
  // Read before the task starts: the record holds the number sent, not the
  // one stepped for the next printer. `link` as linkDescription gives it;
  // `printerIdentity` as far as it is known yet.
  DeviceWrite(const ParaControls& controls, std::string link, std::string printerIdentity = {});
  // A write made on its own, outside a recipe (a Set or Rework button, or
  // ombrelctl's btn_SetDevicePara or btn_Rework without --recipe): its line
  // is the printer's only record and says so, so that the day's report
  // shows the printer; a recipe's write is a step of its printer's row.
  static DeviceWrite alone(const ParaControls& controls, std::string link, bool rework);

  // The click was refused before anything was sent.
  void refuse(const std::string& text);
  // The task has ended. Once the printer acknowledged the frame it holds the
  // number, whatever failed after it (the rate's restore): the write is
  // "written", its error the task's failure text, and the number steps.
  void end(const TaskOutcome& outcome, ParaControls& controls);
  // The same without the step, for a number from a SerialAllocator, which
  // steps itself.
  void end(const TaskOutcome& outcome);
  // The end will not be heard: `text` says why.
  void abandon(const std::string& text);

  const DeviceWriteRecord& record() const { return record_; }
  // Why the number did not step although the printer took it; empty otherwise.
  const std::string& stepProblem() const { return stepProblem_; }

 private:
  DeviceWriteRecord record_;
  std::string stepProblem_;
};

// Steps the serial number in the direction chosen with rb_Minus / rb_Plus
// when `outcome` is a device write the printer acknowledged, so that the
// next printer gets the next number. Raises std::invalid_argument when the
// field does not hold a 32-bit number.
void stepSerialNumberAfter(const TaskOutcome& outcome, ParaControls& controls);

// Keeps what a device write has done: once the printer holds the number the
// settings are saved at once (`saveSettings`, which raises when it cannot),
// so that no later failure or interruption gives the next printer the same
// number; then its line goes to `log`, when one is kept. Returns the texts of
// what could not be written: a production line must not go on without it.
std::vector<std::string> keepDeviceWrite(const DeviceWriteRecord& record, const std::function<void()>& saveSettings,
                                         const ProvisioningLog* log);

// Logs the numbers a killed station held (SerialAllocator::abandoned) as
// device writes whose outcome is unknown, which printer had them being
// unknown too. Raises std::runtime_error naming the log when it cannot.
void logAbandonedNumbers(const std::vector<std::uint32_t>& numbers, const ProvisioningLog& log, int language);

}  // namespace ombrel
