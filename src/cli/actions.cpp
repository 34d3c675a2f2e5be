#include "cli/actions.h"

#include <cstdio>
#include <functional>
#include <string>
#include <variant>

#include "commands/basic_settings.h"
#include "commands/program_update.h"
#include "commands/transfer_texts.h"
#include "commands/wifi_switch.h"
#include "platform/errors.h"
#include "protocol/codes.h"
#include "texts/message_texts.h"

namespace ombrel::cli {

namespace {

using ActionHandler = std::function<int(ActionContext&, const Action&)>;

int taskAction(ActionContext& context, const Action& action) {
  const auto number = [&](std::size_t i) {
    if (i >= action.words.size()) return 0;
    const std::string& word = action.words[i];
    return word.rfind("0x", 0) == 0 || word.rfind("0X", 0) == 0 ? std::stoi(word, nullptr, 16)
                                                                : std::stoi(word);
  };
  return runTask(context, number(0), number(1), number(2), action.data.value_or(Bytes{}));
}

// The main window's test button: task 1, then its message box.
int linkTestAction(ActionContext& context, const Action&) {
  const int status = runTask(context, 1, 0, 0);
  context.frontEnd.messageBox(messageTexts().text(status == kExitOk ? "sConnectOKstr" : "sConnectErrorstr"));
  return status;
}

// The main window's boot mode: the handshake once a second until the boot
// loader answers, then boot mode ends and the port is closed.
int bootInAction(ActionContext& context, const Action&) {
  for (;;) {
    const int status = runTask(context, 28, 0, 0);
    if (status != kExitOk) return status;
    if (context.engine.bootReply() == "151") break;
    if (context.interrupts.interrupted()) return static_cast<int>(kExitTaskFailed);
    context.clock.sleepMs(1000);
  }
  context.engine.stopRawReceive();
  context.engine.finishBootMode();
  return kExitOk;
}

enum class Window { Main, Parameters };

// A Set button of the parameters window: the same checks and data as the
// window, read from the run's settings.
ActionHandler parametersButton(ActionOutcome (*click)(const ParaControls&)) {
  return [click](ActionContext& context, const Action&) {
    const ActionOutcome outcome = click(context.settings.controls());
    if (const auto* start = std::get_if<TaskStart>(&outcome)) return runTask(context, *start);
    const auto& refusal = std::get<Refusal>(outcome);
    if (refusal.kind == Refusal::Kind::NoChoice) {
      context.frontEnd.messageBox("No item is chosen in " + refusal.text);
    } else {
      context.frontEnd.messageBox(refusal.text);
    }
    return static_cast<int>(kExitRefused);
  };
}

// A check box of the parameters window, written NAME=0 or NAME=1: the box
// takes the new state, then its click runs as in the window.
ActionHandler parametersCheckBox(const char* box, ActionOutcome (*click)(const ParaControls&)) {
  return [box, click](ActionContext& context, const Action& action) {
    if (action.words.size() != 1 || (action.words[0] != "0" && action.words[0] != "1")) {
      context.frontEnd.messageBox(std::string(box) + " takes its new state: " + box + "=1 or " + box + "=0");
      return static_cast<int>(kExitRefused);
    }
    context.settings.controls().setChecked(box, action.words[0] == "1");
    return parametersButton(click)(context, action);
  };
}

struct ActionRule {
  const char* name;
  ActionHandler run;
  Window window = Window::Main;
};

const std::vector<ActionRule>& actionRules() {
  static const std::vector<ActionRule> rules = {
      {"task", taskAction},
      {"btn_Test", linkTestAction},
      {"but_bootIn", bootInAction},
      {"btn_SetBauRate", parametersButton(btn_SetBauRateClick), Window::Parameters},
      {"btn_flowcontrol", parametersButton(btn_flowcontrolClick), Window::Parameters},
      {"btn_SetCodepage", parametersButton(btn_SetCodepageClick), Window::Parameters},
      {"btn_SetForcepaper", parametersButton(btn_SetForcepaperClick), Window::Parameters},
      {"btn_SetpoweroffTime", parametersButton(btn_SetpoweroffTimeClick), Window::Parameters},
      {"btn_SetAllPara", parametersButton(btn_SetAllParaClick), Window::Parameters},
      {"btn_SetReset", parametersButton(btn_SetResetClick), Window::Parameters},
      {"btn_SetUsbDeviceType", parametersButton(btn_SetUsbDeviceTypeClick), Window::Parameters},
      {"btn_SetPaperType", parametersButton(btn_SetPaperTypeClick), Window::Parameters},
      {"btn_SetPrinterOrder", parametersButton(btn_SetPrinterOrderClick), Window::Parameters},
      {"btn_SetRptTime", parametersButton(btn_SetRptTimeClick), Window::Parameters},
      {"Chb_CloseWifi", parametersCheckBox("Chb_CloseWifi", Chb_CloseWifiClick), Window::Parameters},
      {"btn_UpdatePrg", parametersButton(btn_UpdatePrgClick), Window::Parameters},
      {"bt_firmware", parametersButton(bt_firmwareClick), Window::Parameters},
  };
  return rules;
}

}  // namespace

bool isParametersAction(const std::string& name) {
  for (const auto& rule : actionRules()) {
    if (name == rule.name) return rule.window == Window::Parameters;
  }
  return false;
}

int runTask(ActionContext& context, int code, int a, int b, Bytes payload) {
  return runTask(context, TaskStart{code, a, b, std::move(payload)});
}

int runTask(ActionContext& context, TaskStart start) {
  if (!start.transferLine.empty()) context.frontEnd.showTransferText(start.transferLine);
  const bool programUpdate = start.code == kTaskProgramUpdate || start.code == kTaskRawProgramTransfer;
  context.frontEnd.expectTask();
  if (!context.engine.StartTask(start.code, start.a, start.b, std::move(start.payload), std::move(start.transfer))) {
    context.frontEnd.messageBox("A task is still running; the request was refused");
    return kExitRefused;
  }
  const TaskEnd end = context.frontEnd.waitForTaskEnd();
  if (end.noPrinter) return kExitNoPrinter;
  if (end.result == 0) return kExitOk;
  context.frontEnd.messageBox(end.errorText);
  if (programUpdate && end.errorText == error_text::kSendCancelled) {
    context.frontEnd.messageBox(partialProgramWarning(context.options.language));
  }
  return kExitTaskFailed;
}

int runActions(ActionContext& context, const std::vector<Action>& actions) {
  for (const auto& action : actions) {
    const ActionRule* rule = nullptr;
    for (const auto& candidate : actionRules()) {
      if (action.name == candidate.name) rule = &candidate;
    }
    if (rule == nullptr) {
      std::fprintf(stderr, "Unknown action %s\n", action.name.c_str());
      return kExitRefused;
    }
    const int status = rule->run(context, action);
    if (status != kExitOk) return status;
    if (context.interrupts.interrupted()) return kExitTaskFailed;
  }
  return kExitOk;
}

}  // namespace ombrel::cli
