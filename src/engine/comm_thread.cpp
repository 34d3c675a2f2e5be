#include "engine/comm_thread.h"

#include <cstdio>
#include <exception>

#include "platform/errors.h"
#include "protocol/frame.h"

namespace ombrel {

TCommThread::TCommThread(OwnerThread& owner, EngineHost& host, NotifyWindow& mainWindow, Ports ports, Clock& clock,
                         std::filesystem::path tracePath)
    : owner_(owner),
      host_(host),
      clock_(clock),
      ports_(ports),
      tracePath_(std::move(tracePath)),
      readings_(mainWindow) {
  line_.printerRate = ports_.serialRate();
  ports_.listen(*this);
  const auto printers = usbPrinters();
  // Posted work names the host, never the engine: it may run after the engine
  // is gone.
  owner_.post([&host = host_, printers] { host.usbDevicesChanged(printers); });
  worker_ = std::thread([this] { run(); });
}

TCommThread::~TCommThread() {
  {
    std::lock_guard lock(mailboxMutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  worker_.join();
  ports_.stopListening();
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
  auto run = std::make_unique<TaskRun>(EngineParts{owner_, host_, clock_, trace_, reply_, readings_, line_},
                                       std::move(request));
  {
    std::lock_guard lock(mailboxMutex_);
    if (busy_) return false;
    pending_ = std::move(run);
    busy_ = true;
  }
  wake_.notify_all();
  return true;
}

void TCommThread::requestCancel() {
  std::lock_guard lock(mailboxMutex_);
  // A cancel belongs to the task it was asked for, never to the next one.
  if (pending_) pending_->cancel();
  if (running_ != nullptr) running_->cancel();
}

bool TCommThread::isBusy() const {
  std::lock_guard lock(mailboxMutex_);
  return busy_;
}

void TCommThread::finishBootMode() {
  ports_.closeBootLine();
  line_.linkOpen = false;
  readings_.setBootReply({});
}

void TCommThread::run() {
  for (;;) {
    std::unique_ptr<TaskRun> run;
    {
      std::unique_lock lock(mailboxMutex_);
      wake_.wait(lock, [this] { return stopping_ || pending_; });
      if (stopping_) return;
      run = std::move(pending_);
      running_ = run.get();
    }
    runTask(*run);
  }
}

void TCommThread::runTask(TaskRun& run) {
  trace_.begin(tracePath_);
  // The identity is that of this task's printer: one that does not answer
  // must not be taken for the printer before it.
  readings_.setPrinterIdentity({});
  taskRunning_ = true;

  const Transport transport = run.settings().transport;
  if (previous_.link && transport != previous_.transport) previous_.link->release();
  const TaskOutcome outcome =
      run.run(ports_.makeLink(run.settings(), LinkParts{clock_, trace_, reply_, line_.printerRate}));

  if (!trace_.save()) std::fprintf(stderr, "Cannot write %s\n", tracePath_.c_str());
  // Idle before the window hears of the end: whatever arrives from now on
  // belongs to no task.
  taskRunning_ = false;
  previous_ = {run.takeLink(), transport};
  previous_.link->endTask();
  {
    // A new request may be stored from here on; it runs once this one is done.
    std::lock_guard lock(mailboxMutex_);
    running_ = nullptr;
    busy_ = false;
  }
  const EngineParts parts{owner_, host_, clock_, trace_, reply_, readings_, line_};
  if (outcome.result == kTaskOk) {
    notifyWindow(parts, kTaskSucceeded, 0, {}, true, &outcome);
  } else {
    notifyWindow(parts, kTaskFailed, outcome.result, outcome.text, false, &outcome);
  }
}

bool TCommThread::takeBytes(const std::uint8_t* bytes, std::size_t count, bool carriesBootAnswer) {
  if (carriesBootAnswer && line_.rawReceive) {
    // The boot handshake keeps the bytes unparsed and assembles them as well.
    trace_.block("Receive", bytes, count);
    reply_.deliverRaw(bytes, count);
  } else if (!taskRunning_) {
    return false;
  }
  trace_.block("Receive", bytes, count);
  reply_.deliver(bytes, count);
  return true;
}

bool TCommThread::endsChunk(const std::uint8_t* bytes, std::size_t count) {
  // A task's reply is handed on as soon as its frame is whole; the boot
  // handshake's answer and bytes between tasks wait for the silence.
  return taskRunning_ && !line_.rawReceive && frame::holdsWholeFrame(bytes, count);
}

void TCommThread::idleBytes(const Bytes& bytes) { host_.showIdleData(bytes); }

void TCommThread::usbPrintersChanged(const std::vector<UsbDeviceName>& printers) { host_.usbDevicesChanged(printers); }

}  // namespace ombrel
