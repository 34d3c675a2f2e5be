// Task 1: does a printer answer on the link the operator chose?

#include "engine/comm_thread.h"
#include "platform/errors.h"

namespace ombrel {

void TCommThread::linkTest() {
  bool found = false;
  const LinkTestTexts texts = link_->testTexts();
  try {
    if (!texts.checking.empty()) ReportStatus(texts.checking);
    OpenLink(snapshot_.comName, snapshot_.tranBaud);
    // A printer moved to the task's rate goes back to the one it keeps.
    if (link_->hasRate()) SwitchBaudRate(snapshot_.devBaud);
    if (!texts.found.empty()) ReportStatus(texts.found);
    found = true;
  } catch (const std::exception&) {
    // Any failure only means that no printer answered.
  }
  closeLinkQuietly();
  if (found) {
    notify(kLinkTestSucceeded, 0, {}, true);
  } else {
    fail(kTaskFailedWithText, FailureKind::ConnectRefused, error_text::kConnectingFailed);
    notify(kLinkTestFailed, 0, error_text::kConnectingFailed, true);
  }
}

}  // namespace ombrel
