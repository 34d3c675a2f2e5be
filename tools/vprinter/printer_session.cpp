#include "printer_session.h"

namespace ombrel::vprinter {

PrinterSession::PrinterSession(PrinterModel& model, FaultInjector& faults, FrameLog& log)
    : model_(model), faults_(faults), log_(log) {}

std::optional<OutgoingReply> PrinterSession::receive(const Bytes& unit) {
  Handling handling = model_.receive(unit);
  LogRecord record;
  record.bytes = unit;
  record.decoded = std::move(handling.decoded);
  std::optional<OutgoingReply> outgoing;
  if (handling.reply) {
    std::optional<std::uint16_t> command;
    if (handling.frame) command = handling.frame->head.command;
    FaultDecision decision = faults_.apply(command, std::move(*handling.reply));
    record.faults = decision.applied;
    if (decision.reply) {
      record.reply = ReplyFate::Sent;
      outgoing =
          OutgoingReply{std::move(*decision.reply), faults_.delayMs(), command, decision.applied, decision.copies};
    } else {
      record.reply = ReplyFate::Withheld;
    }
  }
  record.frame = std::move(handling.frame);
  log_.record(std::move(record));
  return outgoing;
}

void PrinterSession::sent(const OutgoingReply& reply) {
  LogRecord record;
  record.direction = Direction::Sent;
  record.bytes = reply.bytes;
  record.decoded = reply.command ? "reply to command " + std::to_string(*reply.command) : "boot loader answer";
  record.faults = reply.faults;
  log_.record(std::move(record));
}

void PrinterSession::noise(const Bytes& bytes, std::uint32_t toolRate, std::uint32_t printerRate) {
  LogRecord record;
  record.noise = true;
  record.bytes = bytes;
  record.decoded = "line noise: sent at " + std::to_string(toolRate) + " bit/s while the printer listens at " +
                   std::to_string(printerRate) + " bit/s";
  log_.record(std::move(record));
}

void PrinterSession::lineEvent(const std::string& event, const std::string& decoded, const Bytes& bytes) {
  LogRecord record;
  record.direction = Direction::Line;
  record.lineEvent = event;
  record.bytes = bytes;
  record.decoded = decoded;
  log_.record(std::move(record));
}

}  // namespace ombrel::vprinter
