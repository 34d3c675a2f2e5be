// Tasks 4 and 25: a new program for the printer, either through its loader
// in acknowledged 256-byte blocks, or as a raw stream with fixed pauses.
// Both close the serial or USB port for a while before sending, so that the
// printer can restart into its loader, and both end the lenient replies that
// a boot handshake turned on.

#include <algorithm>

#include "engine/comm_thread.h"
#include "platform/errors.h"
#include "protocol/codes.h"
#include "texts/message_texts.h"

namespace ombrel {

namespace {
constexpr std::size_t kBlockSize = 256;
constexpr int kUpdateAttempts = 3;
constexpr std::int64_t kAfterConnectMs = 300;
constexpr std::int64_t kStreamPauseMs = 400;
constexpr std::int64_t kRestartWaitMs = 26000;
// Waits are slept in steps this long, so a cancel is seen and the time left
// shown within a quarter of a second.
constexpr std::int64_t kCountdownStepMs = 250;

// The raw stream's head: four fixed bytes, then the low 16 bits of the file
// size, high byte first.
Bytes streamHead(std::size_t fileSize) {
  return {0x1F,
          0x75,
          0x00,
          0x01,
          static_cast<std::uint8_t>((fileSize >> 8) & 0xFF),
          static_cast<std::uint8_t>(fileSize & 0xFF)};
}
}  // namespace

void TCommThread::programUpdate(TaskRequest& request) {
  taskStream_.load(std::move(request.transfer.stream));
  imageIdentity_ = request.transfer.imageIdentity;
  waitTimeMs_ = request.transfer.waitTimeMs;
  taskResult_ = kTaskOk;
  recordFailuresOf([&] {
    reportProgress(TransferPhase::Connecting);
    OpenLink(snapshot_.comName, snapshot_.tranBaud);
    if (printerIdentity() != imageIdentity_) {
      const std::string wrongFile = messageTexts().text("sMsg23");
      ReportStatus(wrongFile);
      SwitchBaudRate(snapshot_.devBaud);
      // A refused update is a failure, so that no script counts it as done.
      throw ECommonError(wrongFile, FailureKind::WrongProgramFile);
    }
    throwIfCancelled();
    SendConnect();
    portWait();
    const std::int64_t total = static_cast<std::int64_t>(taskStream_.size());
    while (!taskStream_.atEnd()) {
      throwIfCancelled();
      const auto offset = static_cast<std::uint32_t>(taskStream_.position());
      SendCommand(kCmdWriteBlock, offset, 0, taskStream_.nextBlock(kBlockSize), kUpdateAttempts);
      const auto done = static_cast<std::int64_t>(taskStream_.position());
      ReportStatus("", done, total);
      reportProgress(TransferPhase::Sending, done, total);
    }
    throwIfCancelled();
    SendCommand(kCmdUpdateEnd, 0, 0, {}, kUpdateAttempts);
    ReportStatus(messageTexts().text("sFinishPrg"));
  });
  closeLinkQuietly();
  endProgramUpdate();
}

void TCommThread::rawProgramTransfer(TaskRequest& request) {
  taskStream_.load(std::move(request.transfer.stream));
  imageIdentity_.clear();
  waitTimeMs_ = request.transfer.waitTimeMs;
  taskResult_ = kTaskOk;
  recordFailuresOf([&] {
    reportProgress(TransferPhase::Connecting);
    reopenUpdatePort();
    portWait();
    const std::size_t size = taskStream_.size();
    const auto total = static_cast<std::int64_t>(size);
    bool first = true;
    while (!taskStream_.atEnd()) {
      throwIfCancelled();
      Bytes transmission = first ? streamHead(size) : Bytes{};
      const Bytes block = taskStream_.nextBlock(kBlockSize);
      transmission.insert(transmission.end(), block.begin(), block.end());
      if (first) clock_.sleepMs(kStreamPauseMs);
      // Nothing answers the stream: a write the port refuses is the only
      // sign that the printer did not get it.
      if (!WriteLink(transmission)) throw ECommunicationException(error_text::kDownloadDataFailed);
      clock_.sleepMs(kStreamPauseMs);
      const auto done = static_cast<std::int64_t>(taskStream_.position());
      if (!first) ReportStatus("", done, total);
      reportProgress(TransferPhase::Sending, done, total);
      first = false;
    }
    ReportStatus(MessageTexts::kUpdatingPleaseWait);
    countdown(TransferPhase::PrinterRestarting, kRestartWaitMs);
    ReportStatus(messageTexts().text("sFinishPrg"));
  });
  closeLinkQuietly();
  endProgramUpdate();
}

void TCommThread::endProgramUpdate() {
  // Lenient replies exist for the update through the boot loader; once it
  // has ended, a silent printer fails a task again.
  setLenientReplies(false);
  reportProgress(TransferPhase::Ended);
}

void TCommThread::SendConnect() {
  try {
    ReportStatus(messageTexts().text("sMsg3"));
    SendCommand(kCmdConnect, 0, 0, {}, kUpdateAttempts);
    ReportStatus(messageTexts().text("sMsg4"));
  } catch (const EUserCancelException&) {
    throw;  // the operator's cancel keeps its own text
  } catch (const std::exception&) {
    throw ESetBaudRateException(error_text::kConnectingFailed, FailureKind::ConnectRefused);
  }
  clock_.sleepMs(kAfterConnectMs);
}

void TCommThread::reopenUpdatePort() {
  // Task 25 opens no link: the port of this task's link choice is used
  // directly, at the rate the printer listens on between tasks.
  link_->beginRawSend(snapshot_.devBaud);
  linkOpen_ = true;
}

void TCommThread::portWait() {
  if (!link_->suspend()) return;
  ReportStatus(messageTexts().text("sWaitMsg"));
  countdown(TransferPhase::WaitingForPort, waitTimeMs_);
  link_->resume();
}

void TCommThread::countdown(TransferPhase phase, std::int64_t ms) {
  std::int64_t waited = 0;
  reportProgress(phase, 0, ms);
  while (waited < ms) {
    throwIfCancelled();
    const std::int64_t step = std::min(kCountdownStepMs, ms - waited);
    clock_.sleepMs(step);
    waited += step;
    reportProgress(phase, waited, ms);
  }
}

void TCommThread::throwIfCancelled() const {
  if (cancelledByUser_) throw EUserCancelException(error_text::kSendCancelled);
}

void TCommThread::reportProgress(TransferPhase phase, std::int64_t done, std::int64_t total) {
  const bool newPhase = phase != lastPhase_;
  lastPhase_ = phase;
  if (!progressThrottle_.shouldPost(clock_.nowMs(), done, total) && !newPhase) return;
  NotifyWindow* window = nullptr;
  {
    std::lock_guard lock(stateMutex_);
    window = notifyWindow_;
  }
  const TransferProgress progress{phase, done, total};
  owner_.post([window, progress] { window->transferProgress(progress); });
}

}  // namespace ombrel
