#include "cli/cli_front_end.h"

#include <unistd.h>

#include "cli/progress_line.h"
#include "commands/transfer_texts.h"

namespace ombrel::cli {

CliFrontEnd::CliFrontEnd(LinkSettings link, std::FILE* out, std::FILE* err, int language, Clock& clock)
    : out_(out),
      err_(err),
      language_(language),
      terminal_(::isatty(::fileno(out)) == 1),
      clock_(clock),
      link_(std::move(link)) {}

CliFrontEnd::CliFrontEnd(LinkSettings link, SlotView& view, int language, Clock& clock)
    : out_(stdout),
      err_(stderr),
      view_(&view),
      language_(language),
      terminal_(false),
      clock_(clock),
      link_(std::move(link)) {}

LinkSettings CliFrontEnd::linkSettings() {
  std::lock_guard lock(mutex_);
  return link_;
}

void CliFrontEnd::devBaudChanged(int rate) {
  std::lock_guard lock(mutex_);
  link_.devBaud = rate;
}

// Nobody reads what a printer says on its own between tasks here.
void CliFrontEnd::showIdleData(const Bytes&) {}

void CliFrontEnd::usbDevicesChanged(const std::vector<UsbDeviceName>& printers) {
  {
    std::lock_guard lock(mutex_);
    usbReports_.push_back(printers);
  }
  usbReported_.notify_all();
}

void CliFrontEnd::showTransferText(const std::string& text) {
  if (view_ != nullptr) return view_->status(text);
  std::fprintf(out_, "%s\n", text.c_str());
  std::fflush(out_);
}

void CliFrontEnd::replyCheckingChanged(bool checked) {
  if (checked) return;
  if (view_ != nullptr) return messageBox(repliesNotCheckedText(language_));
  std::fprintf(err_, "%s\n", repliesNotCheckedText(language_).c_str());
  std::fflush(err_);
}

void CliFrontEnd::transferProgress(const TransferProgress& progress) {
  if (view_ != nullptr) return view_->progress(progress);
  if (!terminal_) return;
  std::lock_guard lock(mutex_);
  msLeft_ = timeLeft_.take(progress, clock_.nowMs());
  if (progress.phase != TransferPhase::Ended) {
    progress_ = progress;
    drawProgressLine();
    return;
  }
  if (progress_) {
    std::fputs("\n", out_);
    std::fflush(out_);
  }
  progress_.reset();
  progressStatus_.clear();
}

void CliFrontEnd::drawProgressLine() {
  // Back to the line's start, the new line, then the rest of the old one cleared.
  std::fprintf(out_, "\r%s\x1b[K", progressLine(*progress_, msLeft_, progressStatus_, language_).c_str());
  std::fflush(out_);
}

void CliFrontEnd::taskEnded(const TaskOutcome& outcome) {
  std::lock_guard lock(mutex_);
  end_ = outcome;
}

void CliFrontEnd::engineMessage(EngineMessage message, int, const std::string& text) {
  switch (message) {
    case kStatusChanged: {
      std::lock_guard lock(mutex_);
      if (view_ != nullptr) {
        actionStatus_ = text;
        view_->status(text);
      } else if (progress_) {
        progressStatus_ = text;
        drawProgressLine();
      } else {
        std::fprintf(out_, "%s\n", text.c_str());
        std::fflush(out_);
      }
      return;
    }
    case kLinkTestSucceeded:
    case kLinkTestFailed:
      return;
    case kTaskSucceeded:
    case kTaskFailed: {
      {
        std::lock_guard lock(mutex_);
        taskEnded_ = true;
      }
      ended_.notify_all();
      return;
    }
  }
}

void CliFrontEnd::expectTask() {
  std::lock_guard lock(mutex_);
  taskEnded_ = false;
  end_ = TaskOutcome{};
}

void CliFrontEnd::transferStarting(int taskCode) {
  std::lock_guard lock(mutex_);
  timeLeft_.start(taskCode);
}

TaskOutcome CliFrontEnd::waitForTaskEnd() {
  std::unique_lock lock(mutex_);
  ended_.wait(lock, [this] { return taskEnded_; });
  return end_;
}

void CliFrontEnd::messageBox(const std::string& text) {
  if (view_ != nullptr) {
    {
      std::lock_guard lock(mutex_);
      if (actionMessage_.empty()) actionMessage_ = text;
    }
    return view_->message(text);
  }
  std::fprintf(err_, "%s\n", text.c_str());
  std::fflush(err_);
}

void CliFrontEnd::say(const std::string& text) {
  if (view_ != nullptr) return view_->status(text);
  std::fprintf(out_, "%s\n", text.c_str());
  std::fflush(out_);
}

void CliFrontEnd::actionStarted(const std::string& name) {
  if (view_ == nullptr) return;
  {
    std::lock_guard lock(mutex_);
    actionStatus_.clear();
    actionMessage_.clear();
  }
  view_->action(name, true, false, {});
}

void CliFrontEnd::actionEnded(const std::string& name, bool ok) {
  if (view_ == nullptr) return;
  std::string text;
  {
    std::lock_guard lock(mutex_);
    text = ok || actionMessage_.empty() ? actionStatus_ : actionMessage_;
  }
  view_->action(name, false, ok, text);
}

std::optional<CliFrontEnd::UsbReport> CliFrontEnd::waitForUsbReport(std::uint64_t after,
                                                                    const std::function<bool()>& stopped) {
  std::unique_lock lock(mutex_);
  usbReported_.wait(lock, [&] { return usbReports_.size() > after || stopped(); });
  if (stopped()) return std::nullopt;
  return UsbReport{after + 1, usbReports_[after]};
}

void CliFrontEnd::wakeUsbWaiters() {
  // Under the lock, so that a waiter between its test and its sleep cannot
  // miss the call.
  std::lock_guard lock(mutex_);
  usbReported_.notify_all();
}

}  // namespace ombrel::cli
