#pragma once

// The command line's side of the engine: it plays the main window (link
// settings, printer rate) and the notify window (status texts to standard
// output, failures to standard error), and lets the actions wait for the end
// of their task. On a terminal a transfer shows as one progress line that is
// rewritten in place; elsewhere its status texts are printed one a line.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "commands/time_left.h"
#include "engine/engine_host.h"
#include "platform/clock.h"

namespace ombrel::cli {

// Where the front end of one of a station's slots shows what it hears,
// instead of the standard streams. Called on any thread.
class SlotView {
 public:
  virtual ~SlotView() = default;
  virtual void status(const std::string& text) = 0;
  // A message box's text.
  virtual void message(const std::string& text) = 0;
  virtual void progress(const TransferProgress& progress) = 0;
  // An action started, or ended (`ok`, with the text it ended with).
  virtual void action(const std::string& name, bool started, bool ok, const std::string& text) = 0;
};

class CliFrontEnd final : public EngineHost, public NotifyWindow {
 public:
  // `language` chooses the texts of the progress line and notices (1 English);
  // the progress line's time left is measured on `clock`, the engine's.
  CliFrontEnd(LinkSettings link, std::FILE* out, std::FILE* err, int language, Clock& clock);
  // A station slot's front end: what it hears goes to `view`.
  CliFrontEnd(LinkSettings link, SlotView& view, int language, Clock& clock);

  LinkSettings linkSettings() override;
  void devBaudChanged(int rate) override;
  void showIdleData(const Bytes& bytes) override;
  void usbDevicesChanged(const std::vector<UsbDeviceName>& printers) override;
  void showTransferText(const std::string& text) override;
  void replyCheckingChanged(bool checked) override;
  void taskEnded(const TaskOutcome& outcome) override;
  void engineMessage(EngineMessage message, int wParam, const std::string& text) override;
  void transferProgress(const TransferProgress& progress) override;

  // Call before starting a task, then wait for its end.
  void expectTask();
  // The task about to start, for the time left of its transfer.
  void transferStarting(int taskCode);
  TaskOutcome waitForTaskEnd();

  // A message box: its text goes to standard error.
  void messageBox(const std::string& text);
  // A line for the operator on standard output.
  void say(const std::string& text);
  // The actions as a slot's view shows them: an action ended with the first
  // message box's text since it started when it failed, else with the latest
  // status text. Without a view they show nothing of their own.
  void actionStarted(const std::string& name);
  void actionEnded(const std::string& name, bool ok);

  // The USB printers present as the engine reported them, numbered from 1
  // (the engine reports once at its start and on every arrival and removal).
  struct UsbReport {
    std::uint64_t number = 0;
    std::vector<UsbDeviceName> printers;
  };
  // Waits for the report numbered after+1 (none is skipped: a printer
  // unplugged and the next plugged in at once are two reports); nullopt once
  // `stopped` says so (asked whenever wakeUsbWaiters is called).
  std::optional<UsbReport> waitForUsbReport(std::uint64_t after, const std::function<bool()>& stopped);
  void wakeUsbWaiters();

 private:
  // Rewrites the progress line; called with mutex_ held.
  void drawProgressLine();

  std::FILE* out_;
  std::FILE* err_;
  SlotView* const view_ = nullptr;
  const int language_;
  const bool terminal_;
  Clock& clock_;
  std::mutex mutex_;
  std::condition_variable ended_;
  LinkSettings link_;
  bool taskEnded_ = false;
  std::optional<TransferProgress> progress_;  // a transfer is shown on the progress line
  TimeLeftEstimate timeLeft_;
  std::optional<std::int64_t> msLeft_;  // the time left shown on the progress line
  std::string progressStatus_;
  std::string actionStatus_;   // the latest status text of the running action
  std::string actionMessage_;  // its first message box's text
  TaskOutcome end_;
  std::condition_variable usbReported_;
  std::vector<std::vector<UsbDeviceName>> usbReports_;
};

}  // namespace ombrel::cli
