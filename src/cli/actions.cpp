#include "cli/actions.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <variant>

#include "commands/boot_mode.h"
#include "commands/device_write.h"
#include "commands/recipe_texts.h"
#include "commands/transfer_texts.h"
#include "commands/window_actions.h"
#include "platform/errors.h"
#include "protocol/codes.h"
#include "texts/message_texts.h"

namespace ombrel::cli {

namespace {

constexpr const char* kTaskRunningText = "A task is still running; the request was refused";

// A task's end as an exit status: a link test that no printer answered is 3,
// any other failure 1.
int exitStatus(const TaskOutcome& outcome) {
  if (outcome.result == kTaskOk) return kExitOk;
  const bool noPrinter = outcome.code == kTaskLinkTest && outcome.kind == FailureKind::ConnectRefused;
  return noPrinter ? kExitNoPrinter : kExitTaskFailed;
}

int taskAction(ActionContext& context, const Action& action) {
  const auto number = [&](std::size_t i) {
    if (i >= action.words.size()) return 0;
    const std::string& word = action.words[i];
    return word.rfind("0x", 0) == 0 || word.rfind("0X", 0) == 0 ? std::stoi(word, nullptr, 16) : std::stoi(word);
  };
  TaskStart start{number(0), number(1), number(2), action.data.value_or(Bytes{})};
  const bool deviceWrite = start.code == kTaskDeviceParameters;
  // The read-backs save what they read, as btn_ReadFont does.
  if (start.code == kTaskReadBack || start.code == kTaskFontReadBack) {
    if (!context.options.saveAs) {
      context.frontEnd.messageBox("task " + std::to_string(start.code) +
                                  " saves what it reads to a file: give it with --save-as FILE");
      return kExitRefused;
    }
    start.transfer.readBackPath = *context.options.saveAs;
  }
  TaskOutcome end;
  const int status = runTask(context, std::move(start), &end);
  // A device write given by its bytes steps the settings' number as the Set
  // button's does.
  if (deviceWrite) {
    try {
      stepSerialNumberAfter(end, context.settings.controls());
    } catch (const std::invalid_argument& error) {
      context.frontEnd.messageBox(error.what());
    }
  }
  return status;
}

// The main window's test button: the link test, then its message box.
int linkTestAction(ActionContext& context, const Action&) {
  const int status = runTask(context, kTaskLinkTest, 0, 0);
  context.frontEnd.messageBox(messageTexts().text(status == kExitOk ? "sConnectOKstr" : "sConnectErrorstr"));
  return status;
}

// The main window's boot mode: ticked once a second, as the window's timer
// does, until the boot loader has answered and boot mode has ended.
int bootInAction(ActionContext& context, const Action&) {
  if (const auto refusal = bootModeRefusal(context.frontEnd.linkSettings().transport, context.options.language)) {
    context.frontEnd.messageBox(*refusal);
    return kExitRefused;
  }
  for (;;) {
    context.frontEnd.expectTask();
    switch (bootModeTick(context.engine)) {
      case BootTick::LoaderAnswered:
        return kExitOk;
      case BootTick::HandshakeRunning:
        context.frontEnd.messageBox(kTaskRunningText);
        return kExitRefused;
      case BootTick::HandshakeStarted:
        if (const int status = waitForTask(context); status != kExitOk) return status;
        break;
    }
    if (context.interrupts.interrupted()) return static_cast<int>(kExitTaskFailed);
    if (!bootLoaderAnswered(context.engine)) context.clock.sleepMs(kBootTickMs);
  }
}

int refused(ActionContext& context, const Refusal& refusal) {
  if (refusal.kind == Refusal::Kind::NoChoice) {
    context.frontEnd.messageBox("No item is chosen in " + refusal.text);
  } else {
    context.frontEnd.messageBox(refusal.text);
  }
  return kExitRefused;
}

// The device write: logged whatever its outcome. In a station its number is
// the allocator's, taken before the click builds the frame and ended by how
// the task ended.
int deviceWrite(ActionContext& context, const WindowAction& control, bool rework) {
  std::optional<std::uint32_t> number;
  if (context.station != nullptr && context.station->numbersAllocated()) {
    try {
      number = context.station->takeNumber();
    } catch (const std::exception& error) {
      context.frontEnd.messageBox(error.what());
      context.recordLost = true;
      return kExitTaskFailed;
    }
    if (!number) {
      context.frontEnd.messageBox(noSerialNumberLeftText(context.options.language));
      return kExitRefused;
    }
    context.settings.controls().setText("edt_DeviceSerialNo", std::to_string(*number));
  }
  const ActionOutcome outcome = pressAction(control, context.settings.controls(), {}, context.appDir);
  DeviceWrite write =
      DeviceWrite::alone(context.settings.controls(), linkDescription(context.frontEnd.linkSettings()), rework);
  TaskOutcome end;
  int status = kExitOk;
  if (const auto* refusal = std::get_if<Refusal>(&outcome)) {
    write.refuse(refusal->text);
    status = refused(context, *refusal);
  } else {
    status = runTask(context, std::get<TaskStart>(outcome), &end);
    // The allocator steps its numbers itself; a rework's number stays as it was.
    number || rework ? write.end(end) : write.end(end, context.settings.controls());
  }
  if (number) {
    const NumberEnd fate = std::holds_alternative<Refusal>(outcome) ? NumberEnd::GivenBack : numberEndOf(end);
    if (fate == NumberEnd::Unknown) write.abandon(end.text);
    try {
      context.station->endNumber(*number, fate);
    } catch (const std::exception& error) {
      context.frontEnd.messageBox(error.what());
      context.recordLost = true;
    }
  }
  return recordDeviceWrite(context, write, status);
}

// A Set button or check box of the parameters window: the same checks and
// data as the window, read from the run's settings. A check box first takes
// the new state given as NAME=0 or NAME=1.
int parametersAction(ActionContext& context, const Action& action, const WindowAction& control) {
  const bool checkBox = control.kind == WindowAction::Kind::CheckBox;
  const bool wasChecked = checkBox && context.settings.controls().checked(control.control);
  if (checkBox) context.settings.controls().setChecked(control.control, action.words.at(0) == "1");
  if (control.kind == WindowAction::Kind::SaveButton && !context.options.saveAs) {
    context.frontEnd.messageBox(action.name + " saves to a file: give it with --save-as FILE");
    return static_cast<int>(kExitRefused);
  }
  // main checked and recorded a rework before any action ran.
  if (action.name == kReworkControl) return deviceWrite(context, control, true);
  if (action.name == kDeviceWriteControl) return deviceWrite(context, control, context.options.rework.has_value());
  ActionOutcome outcome =
      pressAction(control, context.settings.controls(), context.options.saveAs.value_or(""), context.appDir);
  // Moved: an update file of many megabytes is held once.
  if (auto* start = std::get_if<TaskStart>(&outcome)) {
    // For this run only: the stored box is left as it is.
    if (context.options.verify && !start->transfer.downloads.empty()) start->transfer.verify = true;
    const int status = runTask(context, std::move(*start));
    // A check box keeps what the printer has: a task that failed leaves the
    // state it had, to be saved back as it was.
    if (checkBox && status != kExitOk) context.settings.controls().setChecked(control.control, wasChecked);
    return status;
  }
  return refused(context, std::get<Refusal>(outcome));
}

// The main window's controls, and the numbered task. They take no state;
// task's numbers were checked as the command line was read.
struct MainAction {
  const char* name;
  int (*run)(ActionContext&, const Action&);
};

constexpr MainAction kMainActions[] = {
    {"task", taskAction},
    {"btn_Test", linkTestAction},
    {"but_bootIn", bootInAction},
};

const MainAction* findMainAction(const std::string& name) {
  for (const MainAction& action : kMainActions) {
    if (name == action.name) return &action;
  }
  return nullptr;
}

}  // namespace

// A record that cannot be written fails the run: a production line must not
// go on without knowing which printer got which number.
int recordDeviceWrite(ActionContext& context, const DeviceWrite& write, int status) {
  if (!write.stepProblem().empty()) context.frontEnd.messageBox(write.stepProblem());
  const std::optional<ProvisioningLog> log =
      context.options.logFile.empty() ? std::nullopt : std::optional(ProvisioningLog(context.options.logFile));
  const auto lost = keepDeviceWrite(
      write.record(), [&context] { context.saveSettings(); }, log ? &*log : nullptr);
  for (const std::string& text : lost) context.frontEnd.messageBox(text);
  if (lost.empty()) return status;
  context.recordLost = true;
  return status == kExitOk ? static_cast<int>(kExitTaskFailed) : status;
}

void checkActions(const std::vector<Action>& actions) {
  for (const Action& action : actions) {
    if (findMainAction(action.name) != nullptr) {
      if (action.name != "task" && !action.words.empty()) {
        throw UsageError(action.name + " takes no value");
      }
      continue;
    }
    const WindowAction* control = findWindowAction(action.name);
    if (control == nullptr) throw UsageError("Unknown action " + action.name);
    const bool checkBox = control->kind == WindowAction::Kind::CheckBox;
    if (checkBox && (action.words.size() != 1 || (action.words[0] != "0" && action.words[0] != "1"))) {
      throw UsageError(action.name + " takes its new state: " + action.name + "=1 or " + action.name + "=0");
    }
    if (!checkBox && !action.words.empty()) throw UsageError(action.name + " takes no value");
  }
}

bool isParametersAction(const std::string& name) { return findWindowAction(name) != nullptr; }

int waitForTask(ActionContext& context, bool programUpdate, TaskOutcome* ended) {
  const TaskOutcome outcome = context.frontEnd.waitForTaskEnd();
  if (ended != nullptr) *ended = outcome;
  const int status = exitStatus(outcome);
  if (status == kExitTaskFailed) context.frontEnd.messageBox(outcome.text);
  if (status == kExitTaskFailed && programUpdate && outcome.kind == FailureKind::Cancelled) {
    context.frontEnd.messageBox(partialProgramWarning(context.options.language));
  }
  if (status != kExitOk && !outcome.openAdvice.empty()) context.frontEnd.messageBox(outcome.openAdvice);
  return status;
}

int runTask(ActionContext& context, int code, int a, int b, Bytes payload) {
  return runTask(context, TaskStart{code, a, b, std::move(payload)});
}

int runTask(ActionContext& context, TaskStart start, TaskOutcome* ended) {
  if (!start.transferLine.empty()) context.frontEnd.showTransferText(start.transferLine);
  const bool programUpdate = start.code == kTaskProgramUpdate || start.code == kTaskRawProgramTransfer;
  context.frontEnd.expectTask();
  const int code = start.code;
  context.frontEnd.transferStarting(code);
  if (!context.engine.StartTask(code, start.a, start.b, std::move(start.payload), std::move(start.transfer))) {
    context.frontEnd.messageBox(kTaskRunningText);
    // Refused by the engine: no task ran, so none succeeded.
    if (ended != nullptr) *ended = TaskOutcome{code, kTaskFailedWithText, FailureKind::Other, {}, {}};
    return kExitRefused;
  }
  return waitForTask(context, programUpdate, ended);
}

int runActions(ActionContext& context, const std::vector<Action>& actions) {
  for (const auto& action : actions) {
    const MainAction* main = findMainAction(action.name);
    context.frontEnd.actionStarted(action.name);
    const int status = main != nullptr ? main->run(context, action)
                                       : parametersAction(context, action, *findWindowAction(action.name));
    context.frontEnd.actionEnded(action.name, status == kExitOk);
    if (status != kExitOk) return status;
    if (context.interrupts.interrupted()) return kExitTaskFailed;
  }
  return kExitOk;
}

}  // namespace ombrel::cli
