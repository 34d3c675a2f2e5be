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
    const std::uint16_t command = handling.frame->head.command;
    FaultDecision decision = faults_.apply(command, std::move(*handling.reply));
    record.faults = decision.applied;
    if (decision.reply) {
      record.reply = ReplyFate::Sent;
      outgoing = OutgoingReply{std::move(*decision.reply), faults_.delayMs(), command, decision.applied};
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
  record.decoded = "reply to command " + std::to_string(reply.command);
  record.faults = reply.faults;
  log_.record(std::move(record));
}

}  // namespace ombrel::vprinter
