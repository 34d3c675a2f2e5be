#include "engine/task_run.h"

#include <algorithm>
#include <optional>

#include "engine/task_handlers.h"
#include "engine/task_table.h"

namespace ombrel {

namespace {
// Waits are slept in steps this long, so a cancel is seen and the time left
// shown within a quarter of a second.
constexpr std::int64_t kCountdownStepMs = 250;
}  // namespace

void notifyWindow(const EngineParts& parts, EngineMessage message, int wParam, const std::string& text, bool wait,
                  const TaskOutcome* outcome) {
  NotifyWindow* window = &parts.readings.window();
  auto deliver = [window, message, wParam, text, ended = outcome ? std::optional(*outcome) : std::nullopt] {
    if (ended) window->taskEnded(*ended);
    window->engineMessage(message, wParam, text);
  };
  if (wait) {
    parts.owner.send(deliver);
  } else {
    parts.owner.post(deliver);
  }
}

TaskOutcome TaskRun::run(std::unique_ptr<Link> link) {
  link_ = std::move(link);
  link_->beginTask();
  if (!request_.linkProblem.empty()) {
    fail(kTaskFailedWithText, request_.linkProblemKind, request_.linkProblem);
  } else if (const TaskInfo* task = findTask(request_.code)) {
    runHandler(*this, *task);
  }
  return outcome();
}

TaskOutcome TaskRun::outcome() const {
  const bool failed = result_ != kTaskOk;
  TaskOutcome ended{request_.code,
                    result_,
                    failed ? kind_ : FailureKind::None,
                    failed ? failureText_ : std::string(),
                    parts_.readings.printerIdentity(),
                    commandSent_,
                    commandAcknowledged_,
                    {}};
  // Only a link that was tried can say why it would not open.
  const bool openFailed = kind_ == FailureKind::PortWouldNotOpen || kind_ == FailureKind::ConnectRefused;
  if (failed && openFailed && request_.linkProblem.empty()) ended.openAdvice = link_->openAdvice().value_or("");
  return ended;
}

void TaskRun::ReportStatus(const std::string& text, std::int64_t done, std::int64_t total, bool direct) {
  if (direct) {
    parts_.owner.post([&host = parts_.host, shown = progressText(text, done, total)] { host.showTransferText(shown); });
    return;
  }
  parts_.readings.setStatus(text, done, total);
  if (throttle_.shouldPost(parts_.clock.nowMs(), done, total))
    notify(kStatusChanged, 0, progressText(text, done, total), false);
}

void TaskRun::reportProgress(TransferPhase phase, std::int64_t done, std::int64_t total) {
  const bool newPhase = phase != lastPhase_;
  lastPhase_ = phase;
  if (!progressThrottle_.shouldPost(parts_.clock.nowMs(), done, total) && !newPhase) return;
  NotifyWindow* window = &parts_.readings.window();
  const TransferProgress progress{phase, done, total};
  parts_.owner.post([window, progress] { window->transferProgress(progress); });
}

void TaskRun::notify(EngineMessage message, int wParam, const std::string& text, bool wait) {
  notifyWindow(parts_, message, wParam, text, wait);
}

void TaskRun::fail(TaskResult result, FailureKind kind, const std::string& text) {
  result_ = result;
  kind_ = kind;
  failureText_ = text;
  parts_.readings.setErrorText(text);
}

void TaskRun::setLenientReplies(bool lenient) {
  if (parts_.line.lenientReplies.exchange(lenient) == lenient) return;
  parts_.owner.post([&host = parts_.host, lenient] { host.replyCheckingChanged(!lenient); });
}

void TaskRun::closeLinkQuietly() {
  try {
    CloseLink();
  } catch (const std::exception&) {
    // Closing never fails the task: the outcome is already decided.
  }
}

void TaskRun::throwIfCancelled() const {
  if (cancelledByUser_) throw ECommonError(Failure::SendCancelled);
}

void TaskRun::countdown(TransferPhase phase, std::int64_t ms) {
  std::int64_t waited = 0;
  reportProgress(phase, 0, ms);
  while (waited < ms) {
    throwIfCancelled();
    const std::int64_t step = std::min(kCountdownStepMs, ms - waited);
    parts_.clock.sleepMs(step);
    waited += step;
    reportProgress(phase, waited, ms);
  }
}

}  // namespace ombrel
