// Task 1: does a printer answer on the link the operator chose?

#include "engine/task_handlers.h"
#include "platform/errors.h"

namespace ombrel {

void linkTest(TaskRun& run) {
  bool found = false;
  const LinkTestTexts texts = run.link().testTexts();
  try {
    if (!texts.checking.empty()) run.ReportStatus(texts.checking);
    run.OpenLink();
    // A printer moved to the task's rate goes back to the one it keeps.
    if (run.link().hasRate()) run.SwitchBaudRate(run.settings().devBaud);
    if (!texts.found.empty()) run.ReportStatus(texts.found);
    found = true;
  } catch (const std::exception&) {
    // Any failure only means that no printer answered.
  }
  run.closeLinkQuietly();
  if (found) {
    run.notify(kLinkTestSucceeded, 0, {}, true);
  } else {
    const std::string text = failureText(Failure::ConnectRefused);
    run.fail(kTaskFailedWithText, kindOf(Failure::ConnectRefused), text);
    run.notify(kLinkTestFailed, 0, text, true);
  }
}

}  // namespace ombrel
