#pragma once

// TaskRun: one task from its start to its end. It is made when a task is
// asked for and dropped once the front end has heard how it ended, so
// nothing of one task (its link, result, cancel, throttles, stream) reaches
// the next. The task handlers (task_handlers.h) are functions over it; what
// outlives a task is the engine's, reached through EngineParts.

#include <atomic>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>

#include "engine/engine_host.h"
#include "engine/engine_readings.h"
#include "engine/link.h"
#include "engine/reply_channel.h"
#include "engine/status_text.h"
#include "engine/task_request.h"
#include "engine/task_stream.h"
#include "engine/trace.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/owner_thread.h"

namespace ombrel {

// What spans tasks on the engine's line.
struct LineState {
  std::uint32_t printerRate = 0;  // the rate printer and serial port were last set to; worker only
  std::atomic<bool> linkOpen{false};
  // From a boot handshake until the next program update ends: the update
  // takes an unanswered command as answered.
  std::atomic<bool> lenientReplies{false};
  std::atomic<bool> rawReceive{false};  // the boot handshake reads bytes unparsed
};

// The engine's parts a task run uses; all of them outlive it.
struct EngineParts {
  OwnerThread& owner;
  EngineHost& host;
  Clock& clock;
  Trace& trace;
  ReplyChannel& reply;
  EngineReadings& readings;
  LineState& line;
};

// Hands `message` to the window that hears the engine now, on the owner's
// thread; `outcome`, the task's end, goes just before it.
void notifyWindow(const EngineParts& parts, EngineMessage message, int wParam, const std::string& text, bool wait,
                  const TaskOutcome* outcome = nullptr);

class TaskRun {
 public:
  TaskRun(const EngineParts& parts, TaskRequest request) : parts_(parts), request_(std::move(request)) {}
  TaskRun(const TaskRun&) = delete;
  TaskRun& operator=(const TaskRun&) = delete;

  // Runs the task on `link`, made from settings(); returns how it ended.
  TaskOutcome run(std::unique_ptr<Link> link);
  // The link the task ran on, once it has ended: the next task releases it
  // when it takes another transport.
  std::unique_ptr<Link> takeLink() { return std::move(link_); }

  // The operator's cancel, from any thread: an exchange stops after its
  // attempt, a transfer at its next block boundary.
  void cancel() {
    cancelledByUser_ = true;
    cancelRequested_ = true;
  }

  const TaskRequest& request() const { return request_; }
  TaskRequest& request() { return request_; }
  // The task's link choice; task 8 moves its printer rate on.
  LinkSettings& settings() { return request_.link; }
  Link& link() { return *link_; }
  const EngineParts& parts() const { return parts_; }
  TaskStream& stream() { return stream_; }

  // Reporting.
  void ReportStatus(const std::string& text, std::int64_t done = 0, std::int64_t total = 0, bool direct = false);
  void reportProgress(TransferPhase phase, std::int64_t done = 0, std::int64_t total = 0);
  void notify(EngineMessage message, int wParam, const std::string& text, bool wait);
  // The task fails with `text`; decisions read `kind`.
  void fail(TaskResult result, FailureKind kind, const std::string& text);
  void setLenientReplies(bool lenient);

  // Task frames. Runs body; an error it raises becomes the task's result
  // and failure text.
  template <typename Body>
  void recordingFailures(Body&& body);
  // Opens the link at the task's rate, runs body, puts the printer back on
  // its rate when asked to, and closes the link whatever happened.
  template <typename Body>
  void inTaskFrame(bool restoreRate, Body&& body);
  void closeLinkQuietly();

  // Cancelling.
  bool cancelledByUser() const { return cancelledByUser_; }
  void throwIfCancelled() const;
  // Sleeps `ms` in steps, reporting the time left and stopping when cancelled.
  void countdown(TransferPhase phase, std::int64_t ms);

  // Packet protocol (protocol.cpp). The command whose frame going out the
  // task reports: commandSent, and once answered commandAcknowledged.
  void reportCommand(std::uint16_t command) { taskCommand_ = command; }
  void commandAcknowledged() { commandAcknowledged_ = true; }
  std::size_t SendCommand(std::uint16_t command, std::uint32_t first, std::uint32_t second, const Bytes& data,
                          int attempts);
  Bytes ReadBlock(std::uint16_t command, std::uint32_t first, std::uint32_t second, const Bytes& data, int attempts);
  // False when the port did not take the bytes; only senders that expect no
  // reply need to know.
  bool WriteLink(const Bytes& data);
  // Writes `sequence` raw once the printer has identified itself on the
  // link as the raw bytes find it; reports `successKey`'s text, if any, once
  // the bytes went out.
  void SendRaw(const Bytes& sequence, const char* successKey);
  void IdentifyPrinter();

  // Link layer (link_layer.cpp).
  void OpenLink();
  void CloseLink();
  void SwitchBaudRate(int rate);
  // The boot handshake and task 25 take the port without OpenLink.
  void beginRawLink();

 private:
  struct Exchange {
    bool accepted = false;
    Bytes data;  // the accepted reply's data bytes
  };
  // Sends a command frame up to `attempts` times until a reply is accepted.
  Exchange exchange(std::uint16_t command, std::uint32_t first, std::uint32_t second, const Bytes& data, int attempts,
                    std::int64_t datagramWaitMs, std::int64_t replyWaitMs);
  // Whether this task takes an unanswered command as answered: a program
  // update after a boot handshake, whose loader may not reply.
  bool repliesUnchecked() const;
  TaskOutcome outcome() const;

  const EngineParts parts_;
  TaskRequest request_;
  std::unique_ptr<Link> link_;  // the transport of settings()
  TaskResult result_ = kTaskOk;
  FailureKind kind_ = FailureKind::None;
  std::string failureText_;
  std::uint16_t taskCommand_ = 0;  // 0: none
  bool commandSent_ = false;
  bool commandAcknowledged_ = false;
  std::atomic<bool> cancelRequested_{false};  // cleared when the link opens
  std::atomic<bool> cancelledByUser_{false};  // kept for the whole task
  StatusThrottle throttle_;
  StatusThrottle progressThrottle_;
  TransferPhase lastPhase_ = TransferPhase::Ended;
  TaskStream stream_;
};

template <typename Body>
void TaskRun::recordingFailures(Body&& body) {
  try {
    body();
  } catch (const ECommonError& error) {
    fail(kTaskFailedWithText, error.kind(), error.what());
  } catch (const std::exception&) {
    fail(kTaskFailedUndefined, FailureKind::Other, failureText(Failure::Undefined));
  }
}

template <typename Body>
void TaskRun::inTaskFrame(bool restoreRate, Body&& body) {
  result_ = kTaskOk;
  recordingFailures([&] {
    OpenLink();
    body();
    if (restoreRate) SwitchBaudRate(settings().devBaud);
  });
  closeLinkQuietly();
}

}  // namespace ombrel
