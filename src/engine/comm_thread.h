#pragma once

// TCommThread: the one worker that runs the numbered tasks. A front end asks
// for a task with StartTask; the worker copies the link settings, runs the
// task's handler, writes the task's trace to debug.log, tells the notify
// window how it ended, and waits for the next request.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/engine_host.h"
#include "engine/link.h"
#include "engine/reply_channel.h"
#include "engine/status_text.h"
#include "engine/task_stream.h"
#include "engine/transfer_job.h"
#include "engine/transfer_progress.h"
#include "engine/trace.h"
#include "platform/bytes.h"
#include "platform/clock.h"
#include "platform/owner_thread.h"
#include "ports/serial_port.h"
#include "ports/udp_port.h"
#include "ports/usb_port.h"

namespace ombrel {

struct TaskInfo;

// A task request with its own copy of the command data, so nothing a window
// does after StartTask can change what a running task sends.
struct TaskRequest {
  int code = 0;
  int a = 0;
  int b = 0;
  Bytes payload;
  LinkSettings link;        // the main window's link choice when the task was asked for
  std::string linkProblem;  // why that choice could not be read, if it could not
  FailureKind linkProblemKind = FailureKind::None;
  TransferJob transfer;  // file transfer tasks: the file and how to send it
};

class TCommThread {
 public:
  using Ports = LinkPorts;

  // `appDir` ends with a separator; debug.log is written there.
  TCommThread(OwnerThread& owner, EngineHost& host, NotifyWindow& mainWindow, Ports ports, Clock& clock,
              std::string appDir);
  // Stops the worker and waits for any of the engine's receive handlers that
  // is running on a port's reader thread or the owner's thread, so that the
  // ports may outlive it and go on talking.
  ~TCommThread();
  TCommThread(const TCommThread&) = delete;
  TCommThread& operator=(const TCommThread&) = delete;

  // Copies the main window's link choice (EngineHost::linkSettings, on the
  // calling thread), stores the request and wakes the worker. Refused (false)
  // while a task runs: the running task is left alone.
  bool StartTask(int code, int a, int b, Bytes payload = {}, TransferJob transfer = {});
  bool isBusy() const;

  // CancelRequested for the running task: an exchange stops after its
  // attempt, a transfer at its next block boundary, with "Operaton
  // Cancelled". No effect while idle.
  void requestCancel();
  // False from a boot handshake until the next program update task ends;
  // only the program update tasks leave replies unchecked meanwhile.
  bool repliesChecked() const { return !lenientReplies_; }

  // The window that receives the engine's messages (main window by default).
  void setNotifyWindow(NotifyWindow& window);

  bool linkOpen() const { return linkOpen_; }
  std::string statusText() const;
  std::string errorText() const;
  std::string printerIdentity() const;
  // The USB printers present now, listed afresh.
  std::vector<std::string> usbPrinters();

  // Boot mode: "151" once the boot loader answered the handshake.
  std::string bootReply() const;
  // Leaves boot mode: received bytes are parsed again. Leaves the port as it is.
  void stopRawReceive() { rawReceive_ = false; }
  // The handshake was answered: closes the serial port, the link is no longer
  // open and the answer is consumed.
  void finishBootMode();

  // Bytes delivered by the ports, on the owner's thread.
  void onSerialReceive(const std::uint8_t* bytes, std::uint16_t count);
  void onUsbReceive(const std::uint8_t* bytes, std::uint16_t count);

 private:
  void run();
  // The request is the task's own: its file moves into TaskStream.
  void runTask(TaskRequest& request);
  void runHandler(const TaskInfo& task, TaskRequest& request);
  void endTask();

  // Reporting.
  void ReportStatus(const std::string& text, std::int64_t done = 0, std::int64_t total = 0, bool direct = false);
  // The task fails with `text`; decisions read `kind`.
  void fail(TaskResult result, FailureKind kind, const std::string& text);
  // `outcome`: the task's end, handed to the window just before the message.
  void notify(EngineMessage message, int wParam, const std::string& text, bool wait,
              const TaskOutcome* outcome = nullptr);

  // Task forms.
  // Runs body; an error it raises becomes the task's result and failure text.
  template <typename Body>
  void recordingFailures(Body&& body);
  // The same, for task handlers in other files.
  void recordFailuresOf(const std::function<void()>& body);
  void closeLinkQuietly();
  template <typename Body>
  void inTaskFrame(bool restoreRate, Body&& body);
  // The same, for task handlers in other files.
  void inTaskFrameOf(bool restoreRate, const std::function<void()>& body);
  void acknowledgedTask(const TaskInfo& task, const TaskRequest& request);
  void rawTask(const TaskRequest& request);
  void hardwareSetting(const TaskRequest& request);
  // Opens the link, writes the sequence raw, switches back to DevBaud and
  // closes; a sequence that cannot be built fails the task before opening.
  void writeOnOpenedLink(const std::function<Bytes()>& sequence);
  void linkTest();
  void BootHandshake(std::uint8_t byte);
  void setLenientReplies(bool lenient);
  // Whether the running task takes an unanswered command as answered: a
  // program update after a boot handshake, whose loader may not reply.
  bool repliesUnchecked() const;

  // Program update (program_update.cpp).
  void programUpdate(TaskRequest& request);
  void rawProgramTransfer(TaskRequest& request);
  void endProgramUpdate();
  void SendConnect();
  // Closes the port while the printer restarts into its loader, then opens it again.
  void portWait();
  void reopenUpdatePort();
  // Sleeps `ms` in steps, reporting the time left and stopping when cancelled.
  void countdown(TransferPhase phase, std::int64_t ms);
  void throwIfCancelled() const;
  void reportProgress(TransferPhase phase, std::int64_t done = 0, std::int64_t total = 0);

  // Font library download and memory read-back (memory_transfer.cpp).
  void ListDownload(const TaskRequest& request);
  void downloadEntry(const DownloadEntry& entry);
  void memoryReadBack(const TaskInfo& task, const TaskRequest& request);

  // Packet protocol.
  struct Exchange {
    bool accepted = false;
    Bytes data;  // the accepted reply's data bytes
  };
  // Sends a command frame up to `attempts` times until a reply is accepted.
  Exchange exchange(std::uint16_t command, std::uint32_t first, std::uint32_t second, const Bytes& data, int attempts,
                    std::int64_t datagramWaitMs, std::int64_t replyWaitMs);
  std::size_t SendCommand(std::uint16_t command, std::uint32_t first, std::uint32_t second, const Bytes& data,
                          int attempts);
  Bytes ReadBlock(std::uint16_t command, std::uint32_t first, std::uint32_t second, const Bytes& data, int attempts);
  // False when the port did not take the bytes; only senders that expect no
  // reply need to know.
  bool WriteLink(const Bytes& data);
  void SendRaw(const Bytes& sequence, const char* successKey);
  void IdentifyPrinter();

  // Link layer.
  void OpenLink(const std::string& name, int rate);
  void CloseLink();
  void SwitchBaudRate(int rate);
  // Received bytes that belong to a task (or to the boot handshake): traced
  // and assembled, on whichever thread the port delivers them. False, and
  // nothing done, for bytes between tasks.
  bool takeSerialBytes(const std::uint8_t* bytes, std::size_t count);
  bool takeUsbBytes(const std::uint8_t* bytes, std::size_t count);
  void refreshUsbDevices();

  OwnerThread& owner_;
  EngineHost& host_;
  Clock& clock_;
  SerialPort& serial_;
  UsbPort& usb_;
  UdpPort& udp_;
  const std::string appDir_;

  mutable std::mutex stateMutex_;  // guards the fields up to the next blank line
  NotifyWindow* notifyWindow_;
  // The latest status, formatted only when shown: a transfer reports every
  // block, and most of those reports are never posted.
  struct {
    std::string text;
    std::int64_t done = 0;
    std::int64_t total = 0;
  } status_;
  std::string errorText_;
  std::string printerIdentity_;
  std::string bootReply_;
  TaskRequest request_;
  bool requestPending_ = false;
  bool busy_ = false;
  bool stopping_ = false;
  std::condition_variable wake_;

  std::atomic<int> taskCode_{0};
  std::atomic<bool> linkOpen_{false};
  std::atomic<bool> cancelRequested_{false};
  std::atomic<bool> cancelledByUser_{false};  // kept for the whole task; links clear CancelRequested
  std::atomic<bool> lenientReplies_{false};
  std::atomic<bool> rawReceive_{false};

  Trace trace_;
  ReplyChannel reply_;

  // Worker-only state.
  LinkSettings snapshot_;
  std::unique_ptr<Link> link_;  // the transport of snapshot_
  std::uint32_t printerRate_;   // the rate printer and serial port were last set to
  int taskResult_ = kTaskOk;
  FailureKind failureKind_ = FailureKind::None;
  // The command whose frame going out the task reports (0: none), and
  // whether it went.
  std::uint16_t taskCommand_ = 0;
  bool commandSent_ = false;
  bool commandAcknowledged_ = false;
  StatusThrottle throttle_;
  StatusThrottle progressThrottle_;
  TransferPhase lastPhase_ = TransferPhase::Ended;
  TaskStream taskStream_;
  std::string imageIdentity_;
  std::int64_t waitTimeMs_ = 0;

  std::thread worker_;
};

}  // namespace ombrel
