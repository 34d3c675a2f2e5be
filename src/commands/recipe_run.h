#pragma once

// One printer on the production line: the recipe run on it, action after
// action, through the engine. Both front ends drive it the same way: start
// the task that next() gives, and tell ended() how it ended, until next()
// gives none. The printer is identified first (the link test), so that its
// identity is known before anything is sent. Before that, every action of
// the recipe is checked with the values as they are, so that a recipe one of
// whose actions would refuse sends nothing at all. It stops at its first
// failure or refusal. Its device write steps the serial number as a click of the
// Set button does, or, given a SerialAllocator, takes its number from there;
// the front ends keep it (keepDeviceWrite).

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "commands/device_write.h"
#include "commands/recipe.h"
#include "commands/window_action.h"
#include "engine/comm_thread.h"
#include "settings/para_controls.h"

namespace ombrel {

struct RecipeStep {
  enum class Result { NotRun, Passed, Failed, Refused, Removed };
  std::string action;  // control name
  Result result = Result::NotRun;
  std::string text;  // why it failed or was refused
};

struct PrinterRow {
  enum class End {
    Running,
    Passed,
    Failed,      // a task failed, or the printer did not answer identification
    Refused,     // an action refused its values, or the printer could not be told from another
    Removed,     // the printer left during its recipe
    Stopped,     // the operator stopped the station
    NotMatched,  // its identity does not contain the recipe's text: not set up
  };
  std::string time;             // local time of its arrival, as the provisioning log writes it
  std::string link;             // as linkDescription gives it: "usb:VID_0FE6&PID_811E", ...
  std::string printerIdentity;  // its answer to identification
  std::string serialNumber;     // the number written to it; empty when none was
  std::vector<RecipeStep> steps;
  double seconds = 0;
  End end = End::Running;
  std::string text;                // why it did not pass
  std::string port{};              // the USB port path the printer is plugged into ("1-1.2"); empty on other links
  std::string rowId = newRowId();  // names the row in the line's database, so that it is sent once
  std::string ended{};             // local time the recipe ended; empty while it runs

  bool passed() const { return end == End::Passed; }
};

class SerialAllocator;

class RecipeRun {
 public:
  // `controls` are read as each action starts, so that each action sees the
  // serial number the device write before it stepped. `programDir` ends in '/';
  // the refusals' texts are in `language` (1 English, else Chinese). `port`:
  // the printer's USB port path, for its row.
  RecipeRun(Recipe recipe, ParaControls& controls, std::string link, std::string programDir, int language,
            std::string port = {});

  // The device write takes its number from `numbers` right before its task
  // is made (into edt_DeviceSerialNo of `controls`, which are then the
  // printer's own) and gives the number its end; the controls are not stepped.
  // With no number left it is refused. `numbers` outlives the run; a run
  // dropped before its device write ended leaves the number held, never
  // handed out again (abandoned when the next station starts).
  void useSerialNumbers(SerialAllocator& numbers) { numbers_ = &numbers; }

  // The next task to start, or nothing once the printer is done.
  std::optional<TaskStart> next();
  // The end of the task next() gave. `present`: the printer is still there
  // (a failure of a printer that has gone is its removal).
  void ended(const TaskOutcome& outcome, bool present = true);
  // No further action after the running one.
  void stop() { stopped_ = true; }

  const PrinterRow& row() const { return row_; }
  // The device write that has just ended or been refused, once.
  std::optional<DeviceWrite> takeDeviceWrite();

 private:
  void finish(PrinterRow::End end, const std::string& text = {});
  void refuse(std::size_t index, const Refusal& refusal);
  // Puts a number into edt_DeviceSerialNo; the refusal when there is none.
  // Raises LineDatabaseUnreachable when the line's server is away.
  std::optional<Refusal> takeSerialNumber();
  void endDeviceWrite(const TaskOutcome& outcome);

  Recipe recipe_;
  ParaControls& controls_;
  std::string programDir_;
  int language_;
  PrinterRow row_;
  std::chrono::steady_clock::time_point started_;
  bool identified_ = false;
  bool stopped_ = false;
  std::size_t index_ = 0;
  std::optional<DeviceWrite> runningDeviceWrite_;
  std::optional<DeviceWrite> endedDeviceWrite_;
  SerialAllocator* numbers_ = nullptr;
  std::optional<std::uint32_t> heldNumber_;
};

// A recipe's first action that refuses the values as they are now.
struct RecipeRefusal {
  std::string action;  // control name
  Refusal refusal;
};

// Every action of `recipe` checked as its click would check it, with nothing
// sent and nothing stepped or changed: the first refusal, or none when all
// of them would start. `programDir` ends in '/'.
std::optional<RecipeRefusal> checkRecipe(const Recipe& recipe, const ParaControls& controls,
                                         const std::string& programDir);

// Whether a station's printer is still there after its task failed: one on a
// USB link (`usbIdentity` not empty) has gone once the engine no longer
// lists it.
bool stationPrinterPresent(TCommThread& engine, const std::string& usbIdentity);

// The row of a printer that arrived but cannot be set up: `text` says why.
PrinterRow refusedPrinterRow(const std::string& link, const std::string& text);

}  // namespace ombrel
