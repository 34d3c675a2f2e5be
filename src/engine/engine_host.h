#pragma once

// How the engine meets the front end (the desktop windows, the command line,
// the tests). Every call below runs on the front end's owner thread: the
// engine posts or sends it there, it never calls across threads directly.
// The one exception is linkSettings, which StartTask calls on the thread
// that asks for the task.

#include <string>
#include <vector>

#include "engine/transfer_progress.h"
#include "platform/bytes.h"
#include "platform/errors.h"
#include "platform/usb_device_name.h"

namespace ombrel {

// The engine's messages, numbered as the windows have always known them.
enum EngineMessage : int {
  kLinkTestSucceeded = 1024,  // WM_USER, sent (waits until handled)
  kStatusChanged = 1025,      // WM_USER+1, posted
  kTaskSucceeded = 1026,      // WM_USER+2, sent
  kTaskFailed = 1027,         // WM_USER+3, posted, wParam = TaskResult
  kLinkTestFailed = 1028,     // WM_USER+4, sent
};

// TaskResult: 0 success, 1 failure with a message text, 2 any other failure.
enum TaskResult : int { kTaskOk = 0, kTaskFailedWithText = 1, kTaskFailedUndefined = 2 };

enum class Transport { Serial, Network, Usb };

// The main window's link choice, copied at the start of every task.
struct LinkSettings {
  Transport transport = Transport::Serial;
  std::string comName = "COM1";
  int devBaud = 9600;     // the rate the printer is set to now
  int tranBaud = 115200;  // the rate used during a task
  std::string hostAddress = "192.168.1.87";
  int hostPort = 5100;
  std::string usbDevice;
};

// How a task ended: what the front ends read once it is over, taken at its
// end so that the next task cannot change it.
struct TaskOutcome {
  int code = 0;  // the task's number
  TaskResult result = kTaskOk;
  FailureKind kind = FailureKind::None;
  std::string text;             // the failure text; empty on success
  std::string printerIdentity;  // the answer to the identify command, if the printer gave one
  // The task's own command frame left the machine at least once: the
  // printer may hold what it carried, answered or not.
  bool commandSent = false;
  // The printer acknowledged that frame, though a later step (the rate's
  // restore) may still have failed the task.
  bool commandAcknowledged = false;
  // Why this user cannot open the port of the link that would not open (or
  // on which a link test found no printer), if that is why; empty otherwise.
  std::string openAdvice{};
};

// The window that currently receives the engine's messages.
class NotifyWindow {
 public:
  virtual ~NotifyWindow() = default;
  // Once per task, on the owner's thread, just before its kTaskSucceeded or
  // kTaskFailed message.
  virtual void taskEnded(const TaskOutcome&) {}
  // `text` is the status text for kStatusChanged and the failure text for
  // kTaskFailed and kLinkTestFailed; empty otherwise.
  virtual void engineMessage(EngineMessage message, int wParam, const std::string& text) = 0;
  // A long transfer moved on; posted, throttled like the status texts, and
  // always once with TransferPhase::Ended when its task ends. Windows that
  // show no progress leave it.
  virtual void transferProgress(const TransferProgress&) {}
};

// The main window's side of the engine.
class EngineHost {
 public:
  virtual ~EngineHost() = default;
  // The link snapshot of a task being asked for. May raise ECommonError when
  // the window's rate texts are not whole numbers; the task then fails with it.
  virtual LinkSettings linkSettings() = 0;
  // The printer accepted a new rate (task 8): every following task uses it.
  virtual void devBaudChanged(int rate) = 0;
  // Bytes that arrived on a port while no task ran.
  virtual void showIdleData(const Bytes& bytes) = 0;
  // The present USB printers with their ports, after a device arrived or left.
  virtual void usbDevicesChanged(const std::vector<UsbDeviceName>& printers) = 0;
  // A transfer names the file it sends: shown in the parameters window's
  // second status panel, never stored as the status text.
  virtual void showTransferText(const std::string& text) = 0;
  // Whether the printer's replies are checked. They are not from a boot
  // handshake until the next program update ends: every task then reports
  // success whether a printer answered or not, and the operator is told so.
  virtual void replyCheckingChanged(bool /*checked*/) {}
};

}  // namespace ombrel
