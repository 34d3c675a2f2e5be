#include "cli/actions.h"

#include <cstdio>
#include <functional>
#include <string>

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
    context.clock.sleepMs(1000);
  }
  context.engine.stopRawReceive();
  context.engine.finishBootMode();
  return kExitOk;
}

enum class Window { Main, Parameters };

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
  context.frontEnd.expectTask();
  if (!context.engine.StartTask(code, a, b, std::move(payload))) {
    context.frontEnd.messageBox("A task is still running; the request was refused");
    return kExitRefused;
  }
  const TaskEnd end = context.frontEnd.waitForTaskEnd();
  if (end.noPrinter) return kExitNoPrinter;
  if (end.result != 0) {
    context.frontEnd.messageBox(end.errorText);
    return kExitTaskFailed;
  }
  return kExitOk;
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
  }
  return kExitOk;
}

}  // namespace ombrel::cli
