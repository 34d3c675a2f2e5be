// The packet protocol: command frames with their acknowledgement, block reads,
// raw sequences and printer identification.

#include <cctype>
#include <optional>

#include "engine/task_run.h"
#include "platform/errors.h"
#include "protocol/codes.h"
#include "protocol/frame.h"
#include "texts/message_texts.h"

namespace ombrel {

namespace {
constexpr std::int64_t kCommandDatagramWaitMs = 1000;
constexpr std::int64_t kCommandReplyWaitMs = 3000;
constexpr std::int64_t kReadDatagramWaitMs = 3000;
constexpr std::int64_t kReadReplyWaitMs = 600;
constexpr std::int64_t kRawPauseMs = 10;
}  // namespace

TaskRun::Exchange TaskRun::exchange(std::uint16_t command, std::uint32_t first, std::uint32_t second, const Bytes& data,
                                    int attempts, std::int64_t datagramWaitMs, std::int64_t replyWaitMs) {
  const Bytes request = frame::build(command, first, second, data, link_->framesCarryDataCheck());
  Exchange result;
  for (int attempt = 0; attempt < attempts; ++attempt) {
    if (WriteLink(request) && command == taskCommand_) commandSent_ = true;
    if (std::optional<Bytes> reply = link_->awaitReply({datagramWaitMs, replyWaitMs})) {
      result.accepted = true;
      result.data = std::move(*reply);
    }
    if (cancelRequested_ || result.accepted) break;
  }
  return result;
}

std::size_t TaskRun::SendCommand(std::uint16_t command, std::uint32_t first, std::uint32_t second, const Bytes& data,
                                 int attempts) {
  if (data.size() > frame::kMaxCommandData) throw ECommonError(Failure::CommandDataTooLong);
  const Exchange reply = exchange(command, first, second, data, attempts, kCommandDatagramWaitMs, kCommandReplyWaitMs);
  // The network link reports no reply length to the callers of SendCommand.
  const std::size_t replyLength = link_->replyLength();
  if (repliesUnchecked()) return replyLength;
  if (cancelRequested_) throw ECommonError(Failure::SendCancelled);
  if (!reply.accepted) throw ECommonError(Failure::CommandUnanswered);
  return replyLength;
}

Bytes TaskRun::ReadBlock(std::uint16_t command, std::uint32_t first, std::uint32_t second, const Bytes& data,
                         int attempts) {
  if (data.size() > frame::kMaxReadBlockData) throw ECommonError(Failure::CommandDataTooLong);
  const Exchange reply = exchange(command, first, second, data, attempts, kReadDatagramWaitMs, kReadReplyWaitMs);
  if (repliesUnchecked()) return reply.data;
  if (cancelRequested_) throw ECommonError(Failure::ReadCancelled);
  if (!reply.accepted) throw ECommonError(Failure::ReadUnanswered);
  return reply.data;
}

bool TaskRun::WriteLink(const Bytes& data) {
  // Set aside before the request's own line, so that the trace shows it
  // where it arrived.
  link_->discardEarlierReplies();
  parts_.trace.block("Send", data.data(), data.size());
  return link_->write(data);
}

void TaskRun::SendRaw(const Bytes& sequence, const char* successKey) {
  link_->beginRawSend(settings().devBaud);
  try {
    parts_.clock.sleepMs(kRawPauseMs);
    // Nothing answers raw bytes: the printer is asked to identify itself
    // first, on the port as the raw bytes find it, so that a task with no
    // printer behind the link fails instead of reporting bytes sent to no one.
    IdentifyPrinter();
    // A write the port refuses is the only other sign that the printer did
    // not get them.
    if (!WriteLink(sequence)) link_->refusedWrite();
    link_->waitUntilWritten(sequence.size());
    if (successKey != nullptr) ReportStatus(messageTexts().text(successKey));
    parts_.clock.sleepMs(kRawPauseMs);
  } catch (...) {
    link_->endRawSend();
    throw;
  }
  link_->endRawSend();
}

bool TaskRun::repliesUnchecked() const {
  const int code = request_.code;
  return parts_.line.lenientReplies && (code == kTaskProgramUpdate || code == kTaskRawProgramTransfer);
}

void TaskRun::IdentifyPrinter() {
  const Bytes probe{0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80};
  const Bytes reply = ReadBlock(kCmdIdentify, 0, 0, probe, 1);
  std::string identity;
  for (std::size_t i = 0; i < reply.size() && i < 8 && reply[i] != 0; ++i) {
    identity += static_cast<char>(std::toupper(reply[i]));
  }
  parts_.readings.setPrinterIdentity(identity);
}

}  // namespace ombrel
