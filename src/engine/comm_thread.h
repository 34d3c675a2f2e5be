#pragma once

// TCommThread: the one worker that runs an engine's numbered tasks. A front
// end asks for a task with StartTask; the request becomes a TaskRun, which
// the worker runs on a link of the engine's ports, writing the task's trace
// to the engine's trace file, and drops once the notify window has heard how
// it ended. The engine itself keeps only the request mailbox, the worker and
// what spans tasks: its ports, the line's rate and boot state, the trace and
// reply channel, and what the front ends read.

#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/engine_host.h"
#include "engine/engine_ports.h"
#include "engine/engine_readings.h"
#include "engine/reply_channel.h"
#include "engine/task_run.h"
#include "engine/trace.h"
#include "engine/transfer_job.h"
#include "platform/bytes.h"
#include "platform/clock.h"
#include "platform/owner_thread.h"

namespace ombrel {

class TCommThread final : private PortReceiver {
 public:
  using Ports = LinkPorts;

  // `tracePath`: the file each task's trace replaces (the window's engine:
  // debug.log in its folder). Several engines may live in one process, each
  // with its own ports and trace file.
  TCommThread(OwnerThread& owner, EngineHost& host, NotifyWindow& mainWindow, Ports ports, Clock& clock,
              std::filesystem::path tracePath);
  // Stops the worker and waits for any of the engine's receive handlers that
  // is running on a port's reader thread or the owner's thread, so that the
  // ports may outlive it and go on talking.
  ~TCommThread() override;
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
  bool repliesChecked() const { return !line_.lenientReplies; }

  // The window that receives the engine's messages (main window by default).
  void setNotifyWindow(NotifyWindow& window) { readings_.setWindow(window); }

  bool linkOpen() const { return line_.linkOpen; }
  std::string statusText() const { return readings_.statusText(); }
  std::string errorText() const { return readings_.errorText(); }
  std::string printerIdentity() const { return readings_.printerIdentity(); }
  // The USB printers present now, listed afresh.
  std::vector<UsbDeviceName> usbPrinters() const { return ports_.usbPrinters(); }

  // Boot mode: "151" once the boot loader answered the handshake.
  std::string bootReply() const { return readings_.bootReply(); }
  // Leaves boot mode: received bytes are parsed again. Leaves the port as it is.
  void stopRawReceive() { line_.rawReceive = false; }
  // The handshake was answered: closes the serial port, the link is no longer
  // open and the answer is consumed.
  void finishBootMode();

 private:
  void run();
  void runTask(TaskRun& run);

  // What the ports deliver (PortReceiver).
  bool takeBytes(const std::uint8_t* bytes, std::size_t count, bool carriesBootAnswer) override;
  bool endsChunk(const std::uint8_t* bytes, std::size_t count) override;
  void idleBytes(const Bytes& bytes) override;
  void usbPrintersChanged(const std::vector<UsbDeviceName>& printers) override;

  OwnerThread& owner_;
  EngineHost& host_;
  Clock& clock_;
  EnginePorts ports_;
  const std::filesystem::path tracePath_;
  EngineReadings readings_;
  LineState line_;
  Trace trace_;
  ReplyChannel reply_;
  // The link of the task before, released when a task takes another transport.
  struct {
    std::unique_ptr<Link> link;
    Transport transport = Transport::Serial;
  } previous_;
  std::atomic<bool> taskRunning_{false};  // read by the ports' threads

  mutable std::mutex mailboxMutex_;  // guards the fields up to the next blank line
  std::unique_ptr<TaskRun> pending_;
  TaskRun* running_ = nullptr;
  bool busy_ = false;
  bool stopping_ = false;
  std::condition_variable wake_;

  std::thread worker_;
};

}  // namespace ombrel
