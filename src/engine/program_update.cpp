// Tasks 4 and 25: a new program for the printer, either through its loader
// in acknowledged 256-byte blocks, or as a raw stream with fixed pauses.
// Both close the serial or USB port for a while before sending, so that the
// printer can restart into its loader, and both end the lenient replies that
// a boot handshake turned on.

#include "engine/task_handlers.h"
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

void sendConnect(TaskRun& run) {
  try {
    run.ReportStatus(messageTexts().text("sMsg3"));
    run.SendCommand(kCmdConnect, 0, 0, {}, kUpdateAttempts);
    run.ReportStatus(messageTexts().text("sMsg4"));
  } catch (const ECommonError& error) {
    // The operator's cancel keeps its own text.
    if (error.kind() == FailureKind::Cancelled) throw;
    throw ECommonError(Failure::ConnectRefused);
  } catch (const std::exception&) {
    throw ECommonError(Failure::ConnectRefused);
  }
  run.parts().clock.sleepMs(kAfterConnectMs);
}

// Closes the port while the printer restarts into its loader, then opens it again.
void portWait(TaskRun& run) {
  if (!run.link().suspend()) return;
  run.ReportStatus(messageTexts().text("sWaitMsg"));
  run.countdown(TransferPhase::WaitingForPort, run.request().transfer.waitTimeMs);
  run.link().resume();
}

void endProgramUpdate(TaskRun& run) {
  // Lenient replies exist for the update through the boot loader; once it
  // has ended, a silent printer fails a task again.
  run.setLenientReplies(false);
  run.reportProgress(TransferPhase::Ended);
}

}  // namespace

void programUpdate(TaskRun& run) {
  TaskStream& stream = run.stream();
  stream.load(std::move(run.request().transfer.stream));
  run.recordingFailures([&] {
    run.reportProgress(TransferPhase::Connecting);
    run.OpenLink();
    if (run.parts().readings.printerIdentity() != run.request().transfer.imageIdentity) {
      const std::string wrongFile = messageTexts().text("sMsg23");
      run.ReportStatus(wrongFile);
      run.SwitchBaudRate(run.settings().devBaud);
      // A refused update is a failure, so that no script counts it as done.
      throw ECommonError(Failure::ProgramForOtherPrinter, wrongFile);
    }
    run.throwIfCancelled();
    sendConnect(run);
    portWait(run);
    const std::int64_t total = static_cast<std::int64_t>(stream.size());
    while (!stream.atEnd()) {
      run.throwIfCancelled();
      const auto offset = static_cast<std::uint32_t>(stream.position());
      run.SendCommand(kCmdWriteBlock, offset, 0, stream.nextBlock(kBlockSize), kUpdateAttempts);
      const auto done = static_cast<std::int64_t>(stream.position());
      run.ReportStatus("", done, total);
      run.reportProgress(TransferPhase::Sending, done, total);
    }
    run.throwIfCancelled();
    run.SendCommand(kCmdUpdateEnd, 0, 0, {}, kUpdateAttempts);
    run.ReportStatus(messageTexts().text("sFinishPrg"));
  });
  run.closeLinkQuietly();
  endProgramUpdate(run);
}

void rawProgramTransfer(TaskRun& run) {
  TaskStream& stream = run.stream();
  stream.load(std::move(run.request().transfer.stream));
  run.recordingFailures([&] {
    run.reportProgress(TransferPhase::Connecting);
    // Task 25 opens no link: the port of this task's link choice is used
    // directly, at the rate the printer listens on between tasks.
    run.beginRawLink();
    portWait(run);
    const std::size_t size = stream.size();
    const auto total = static_cast<std::int64_t>(size);
    bool first = true;
    while (!stream.atEnd()) {
      run.throwIfCancelled();
      Bytes transmission = first ? streamHead(size) : Bytes{};
      const Bytes block = stream.nextBlock(kBlockSize);
      transmission.insert(transmission.end(), block.begin(), block.end());
      if (first) run.parts().clock.sleepMs(kStreamPauseMs);
      // Nothing answers the stream: a write the port refuses is the only
      // sign that the printer did not get it.
      if (!run.WriteLink(transmission)) throw ECommonError(Failure::StreamRefused);
      run.parts().clock.sleepMs(kStreamPauseMs);
      const auto done = static_cast<std::int64_t>(stream.position());
      if (!first) run.ReportStatus("", done, total);
      run.reportProgress(TransferPhase::Sending, done, total);
      first = false;
    }
    run.ReportStatus(MessageTexts::kUpdatingPleaseWait);
    run.countdown(TransferPhase::PrinterRestarting, kRestartWaitMs);
    run.ReportStatus(messageTexts().text("sFinishPrg"));
  });
  run.closeLinkQuietly();
  endProgramUpdate(run);
}

}  // namespace ombrel
