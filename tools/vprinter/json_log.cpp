#include "json_log.h"

#include <cstdio>

namespace ombrel::vprinter {

namespace {

const char* checkName(DataCheck check) {
  switch (check) {
    case DataCheck::Ok:
      return "ok";
    case DataCheck::Wrong:
      return "wrong";
    case DataCheck::Absent:
      break;
  }
  return "absent";
}

const char* fateName(ReplyFate fate) {
  switch (fate) {
    case ReplyFate::Sent:
      return "sent";
    case ReplyFate::Withheld:
      return "withheld";
    case ReplyFate::None:
      break;
  }
  return "none";
}

std::string kindName(const LogRecord& record) {
  if (record.direction == Direction::Sent) return "reply";
  if (record.direction == Direction::Line) return record.lineEvent;
  if (record.noise) return "noise";
  return record.frame ? "frame" : "raw";
}

const char* directionName(Direction direction) {
  switch (direction) {
    case Direction::Sent:
      return "tx";
    case Direction::Line:
      return "line";
    case Direction::Received:
      break;
  }
  return "rx";
}

}  // namespace

std::string jsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte >= 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04X", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

void JsonLogWriter::write(const LogRecord& record) {
  const bool received = record.direction == Direction::Received;
  out_ << "{\"seq\":" << record.seq << ",\"dir\":\"" << directionName(record.direction) << "\",\"kind\":\""
       << kindName(record) << "\",\"bytes\":\"" << toHex(record.bytes) << '"';
  if (record.frame) {
    const FrameFields& frame = *record.frame;
    out_ << ",\"command\":" << frame.head.command << ",\"first\":" << frame.head.first
         << ",\"second\":" << frame.head.second << ",\"length\":" << frame.head.length << ",\"data\":\""
         << toHex(frame.data) << "\",\"head_ok\":" << (frame.headOk ? "true" : "false") << ",\"data_check\":\""
         << checkName(frame.dataCheck) << '"';
  }
  out_ << ",\"decoded\":" << jsonString(record.decoded);
  if (received) out_ << ",\"reply\":\"" << fateName(record.reply) << '"';
  out_ << ",\"faults\":[";
  for (std::size_t i = 0; i < record.faults.size(); ++i) out_ << (i ? "," : "") << jsonString(record.faults[i]);
  out_ << "]}" << std::endl;
}

}  // namespace ombrel::vprinter
