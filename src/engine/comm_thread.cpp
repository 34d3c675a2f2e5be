#include "engine/comm_thread.h"

#include <cstdio>
#include <exception>
#include <optional>

#include "engine/baud.h"
#include "engine/raw_sequences.h"
#include "engine/task_table.h"
#include "platform/errors.h"
#include "protocol/codes.h"
#include "protocol/frame.h"
#include "texts/message_texts.h"

namespace ombrel {

TCommThread::TCommThread(OwnerThread& owner, EngineHost& host, NotifyWindow& mainWindow, Ports ports, Clock& clock,
                         std::string appDir)
    : owner_(owner),
      host_(host),
      clock_(clock),
      serial_(ports.serial),
      usb_(ports.usb),
      udp_(ports.udp),
      appDir_(std::move(appDir)),
      notifyWindow_(&mainWindow),
      printerRate_(serial_.baudRate()) {
  serial_.setOnReceiveData([this](const std::uint8_t* bytes, std::uint16_t count) { onSerialReceive(bytes, count); });
  usb_.setOnReceiveData([this](const std::uint8_t* bytes, std::uint16_t count) { onUsbReceive(bytes, count); });
  // A task's reply goes from the port's reader thread straight to the
  // waiting worker: a busy or blocked window must not delay the protocol.
  serial_.setDirectReceive(
      [this](const std::uint8_t* bytes, std::size_t count) { return takeSerialBytes(bytes, count); });
  usb_.setDirectReceive([this](const std::uint8_t* bytes, std::size_t count) { return takeUsbBytes(bytes, count); });
  // A task's reply is handed on as soon as its frame is whole; the boot
  // handshake's answer and bytes between tasks wait for the silence.
  serial_.setChunkEnd([this](const std::uint8_t* bytes, std::size_t count) {
    return taskCode_ != 0 && !rawReceive_ && frame::holdsWholeFrame(bytes, count);
  });
  usb_.setOnDevicesChanged([this] { refreshUsbDevices(); });
  const auto printers = usbPrinters();
  // Posted work names the host, never the engine: it may run after the engine
  // is gone.
  owner_.post([&host = host_, printers] { host.usbDevicesChanged(printers); });
  worker_ = std::thread([this] { run(); });
}

TCommThread::~TCommThread() {
  {
    std::lock_guard lock(stateMutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  worker_.join();
  serial_.setDirectReceive(nullptr);
  serial_.setChunkEnd(nullptr);
  usb_.setDirectReceive(nullptr);
  serial_.setOnReceiveData(nullptr);
  usb_.setOnReceiveData(nullptr);
  usb_.setOnDevicesChanged(nullptr);
  // A handler that had started on the owner's thread before the handlers
  // were cleared has returned once this has run.
  owner_.send([] {});
}

bool TCommThread::StartTask(int code, int a, int b, Bytes payload, TransferJob transfer) {
  TaskRequest request{code, a, b, std::move(payload), {}, {}, FailureKind::None, std::move(transfer)};
  try {
    request.link = host_.linkSettings();
  } catch (const ECommonError& error) {
    request.linkProblem = error.what();
    request.linkProblemKind = error.kind();
  } catch (const std::exception& error) {
    request.linkProblem = error.what();
    request.linkProblemKind = FailureKind::Other;
  }
  {
    std::lock_guard lock(stateMutex_);
    if (busy_) return false;
    request_ = std::move(request);
    busy_ = true;
    requestPending_ = true;
    // A cancel belongs to the task it was asked for, never to the next one.
    cancelRequested_ = false;
    cancelledByUser_ = false;
  }
  wake_.notify_all();
  return true;
}

void TCommThread::requestCancel() {
  std::lock_guard lock(stateMutex_);
  if (!busy_) return;
  cancelledByUser_ = true;
  cancelRequested_ = true;
}

bool TCommThread::isBusy() const {
  std::lock_guard lock(stateMutex_);
  return busy_;
}

void TCommThread::setNotifyWindow(NotifyWindow& window) {
  std::lock_guard lock(stateMutex_);
  notifyWindow_ = &window;
}

std::string TCommThread::statusText() const {
  std::lock_guard lock(stateMutex_);
  return progressText(status_.text, status_.done, status_.total);
}

std::string TCommThread::errorText() const {
  std::lock_guard lock(stateMutex_);
  return errorText_;
}

std::string TCommThread::printerIdentity() const {
  std::lock_guard lock(stateMutex_);
  return printerIdentity_;
}

std::string TCommThread::bootReply() const {
  std::lock_guard lock(stateMutex_);
  return bootReply_;
}

void TCommThread::finishBootMode() {
  serial_.closePort();
  linkOpen_ = false;
  std::lock_guard lock(stateMutex_);
  bootReply_.clear();
}

void TCommThread::run() {
  for (;;) {
    TaskRequest request;
    {
      std::unique_lock lock(stateMutex_);
      wake_.wait(lock, [this] { return stopping_ || requestPending_; });
      if (stopping_) return;
      request = std::move(request_);
      requestPending_ = false;
    }
    runTask(request);
  }
}

void TCommThread::runTask(TaskRequest& request) {
  trace_.begin(appDir_ + "debug.log");
  taskCode_ = request.code;
  taskResult_ = kTaskOk;
  failureKind_ = FailureKind::None;
  taskCommand_ = 0;
  commandSent_ = false;
  commandAcknowledged_ = false;
  {
    // The identity is that of this task's printer: one that does not answer
    // must not be taken for the printer before it.
    std::lock_guard lock(stateMutex_);
    printerIdentity_.clear();
  }

  if (link_ && request.link.transport != snapshot_.transport) link_->release();
  snapshot_ = request.link;
  link_ = makeLink(snapshot_, Ports{serial_, usb_, udp_}, LinkParts{clock_, trace_, reply_, printerRate_});
  link_->beginTask();

  if (!request.linkProblem.empty()) {
    fail(kTaskFailedWithText, request.linkProblemKind, request.linkProblem);
  } else if (const TaskInfo* task = findTask(request.code)) {
    runHandler(*task, request);
  }
  endTask();
}

void TCommThread::runHandler(const TaskInfo& task, TaskRequest& request) {
  switch (task.form) {
    case TaskForm::LinkTest:
      linkTest();
      break;
    case TaskForm::Acknowledged:
      acknowledgedTask(task, request);
      break;
    case TaskForm::Raw:
      rawTask(request);
      break;
    case TaskForm::HardwareSetting:
      hardwareSetting(request);
      break;
    case TaskForm::PrintLogo:
      writeOnOpenedLink([&] { return raw::printLogoBytes(request.a); });
      break;
    case TaskForm::ProgramUpdate:
      programUpdate(request);
      break;
    case TaskForm::RawProgramTransfer:
      rawProgramTransfer(request);
      break;
    case TaskForm::ListDownload:
      ListDownload(request);
      break;
    case TaskForm::MemoryReadBack:
      memoryReadBack(task, request);
      break;
    case TaskForm::BootHandshake:
      recordingFailures([this] { BootHandshake(kBootLoaderByte); });
      break;
  }
}

void TCommThread::endTask() {
  if (!trace_.save()) {
    std::fprintf(stderr, "Cannot write %sdebug.log\n", appDir_.c_str());
  }
  const int result = taskResult_;
  const std::string failure = result == kTaskOk ? std::string() : errorText();
  TaskOutcome outcome{taskCode_,
                      static_cast<TaskResult>(result),
                      result == kTaskOk ? FailureKind::None : failureKind_,
                      failure,
                      printerIdentity(),
                      commandSent_,
                      commandAcknowledged_};
  // Idle before the window hears of the end: whatever arrives from now on
  // belongs to no task.
  taskResult_ = kTaskOk;
  taskCode_ = 0;
  link_->endTask();
  {
    // A new request may be stored from here on; it runs once this one is done.
    std::lock_guard lock(stateMutex_);
    busy_ = false;
  }
  if (result == kTaskOk) {
    notify(kTaskSucceeded, 0, {}, true, &outcome);
  } else {
    notify(kTaskFailed, result, failure, false, &outcome);
  }
}

void TCommThread::ReportStatus(const std::string& text, std::int64_t done, std::int64_t total, bool direct) {
  if (direct) {
    owner_.post([&host = host_, shown = progressText(text, done, total)] { host.showTransferText(shown); });
    return;
  }
  {
    std::lock_guard lock(stateMutex_);
    status_ = {text, done, total};
  }
  if (throttle_.shouldPost(clock_.nowMs(), done, total))
    notify(kStatusChanged, 0, progressText(text, done, total), false);
}

void TCommThread::fail(TaskResult result, FailureKind kind, const std::string& text) {
  taskResult_ = result;
  failureKind_ = kind;
  std::lock_guard lock(stateMutex_);
  errorText_ = text;
}

void TCommThread::notify(EngineMessage message, int wParam, const std::string& text, bool wait,
                         const TaskOutcome* outcome) {
  NotifyWindow* window = nullptr;
  {
    std::lock_guard lock(stateMutex_);
    window = notifyWindow_;
  }
  auto deliver = [window, message, wParam, text, ended = outcome ? std::optional(*outcome) : std::nullopt] {
    if (ended) window->taskEnded(*ended);
    window->engineMessage(message, wParam, text);
  };
  if (wait) {
    owner_.send(deliver);
  } else {
    owner_.post(deliver);
  }
}

template <typename Body>
void TCommThread::recordingFailures(Body&& body) {
  try {
    body();
  } catch (const ECommonError& error) {
    fail(kTaskFailedWithText, error.kind(), error.what());
  } catch (const std::exception&) {
    fail(kTaskFailedUndefined, FailureKind::Other, error_text::kUndefinedError);
  }
}

void TCommThread::recordFailuresOf(const std::function<void()>& body) { recordingFailures(body); }

void TCommThread::closeLinkQuietly() {
  try {
    CloseLink();
  } catch (const std::exception&) {
    // Closing never fails the task: the outcome is already decided.
  }
}

template <typename Body>
void TCommThread::inTaskFrame(bool restoreRate, Body&& body) {
  taskResult_ = kTaskOk;
  recordingFailures([&] {
    OpenLink(snapshot_.comName, snapshot_.tranBaud);
    body();
    if (restoreRate) SwitchBaudRate(snapshot_.devBaud);
  });
  closeLinkQuietly();
}

void TCommThread::inTaskFrameOf(bool restoreRate, const std::function<void()>& body) { inTaskFrame(restoreRate, body); }

void TCommThread::acknowledgedTask(const TaskInfo& task, const TaskRequest& request) {
  Bytes data;
  if (task.data == CommandData::ArgumentByte) data = {static_cast<std::uint8_t>(request.a)};
  if (task.data == CommandData::Payload) data = request.payload;
  const auto first = static_cast<std::uint32_t>(task.argumentsFromTask ? request.a : 0);
  const auto second = static_cast<std::uint32_t>(task.argumentsFromTask ? request.b : 0);

  taskCommand_ = task.command;
  inTaskFrame(task.restoreRate, [&] {
    SendCommand(task.command, first, second, data, 3);
    commandAcknowledged_ = true;
    ReportStatus(messageTexts().text(task.successKey));
    if (task.code == kTaskSetBaudRate) {
      // The printer now listens at the new rate: every later task starts there.
      snapshot_.devBaud = rateOfBaudIndex(request.a);
      const int rate = snapshot_.devBaud;
      owner_.post([&host = host_, rate] { host.devBaudChanged(rate); });
    }
  });
}

void TCommThread::hardwareSetting(const TaskRequest& request) {
  writeOnOpenedLink([&] {
    Bytes bytes = raw::hardwareSettingBytes(request.a, request.b);
    if (bytes.empty())
      throw ECommonError("Unknown hardware setting " + std::to_string(request.a), FailureKind::InputRefused);
    return bytes;
  });
}

void TCommThread::writeOnOpenedLink(const std::function<Bytes()>& sequence) {
  // A link that cannot be opened ends the task with its text, as framed
  // tasks do.
  recordingFailures([&] {
    const Bytes bytes = sequence();
    OpenLink(snapshot_.comName, snapshot_.tranBaud);
    if (!WriteLink(bytes)) throw ECommsError(link_->refusedWriteText(), FailureKind::PortRefusedBytes);
    link_->waitUntilWritten(bytes.size());
    SwitchBaudRate(snapshot_.devBaud);
  });
  // Closed like every other task, so the link is not left open for the next
  // link test to find busy.
  closeLinkQuietly();
}

void TCommThread::rawTask(const TaskRequest& request) {
  const bool flowControl = request.code == kTaskSoftwareFlowControl || request.code == kTaskHardwareFlowControl;
  recordingFailures(
      [&] { SendRaw(raw::rawTaskBytes(request.code, request.payload), flowControl ? "sMsg25" : nullptr); });
}

}  // namespace ombrel
