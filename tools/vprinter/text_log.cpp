#include "text_log.h"

namespace ombrel::vprinter {

namespace {

const char* checkText(DataCheck check) {
  switch (check) {
    case DataCheck::Ok:
      return " check=ok";
    case DataCheck::Wrong:
      return " check=BAD";
    case DataCheck::Absent:
      break;
  }
  return "";
}

std::string faultList(const std::vector<std::string>& faults) {
  std::string text;
  for (const std::string& fault : faults) text += (text.empty() ? "" : ", ") + fault;
  return text;
}

std::string fateText(const LogRecord& record) {
  switch (record.reply) {
    case ReplyFate::Sent:
      return record.faults.empty() ? "sent" : "sent (" + faultList(record.faults) + ")";
    case ReplyFate::Withheld:
      return "withheld (" + faultList(record.faults) + ")";
    case ReplyFate::None:
      break;
  }
  return "none";
}

}  // namespace

void TextLogWriter::write(const LogRecord& record) {
  out_ << '#' << record.seq;
  if (record.direction == Direction::Sent) {
    out_ << " tx reply bytes=[" << toHex(record.bytes) << "] | " << record.decoded;
    if (!record.faults.empty()) out_ << " | faults: " << faultList(record.faults);
  } else if (record.direction == Direction::Line) {
    out_ << " line " << record.lineEvent;
    if (!record.bytes.empty()) out_ << " bytes=[" << toHex(record.bytes) << ']';
    out_ << " | " << record.decoded;
  } else if (record.frame) {
    const FrameFields& frame = *record.frame;
    out_ << " rx frame cmd=" << frame.head.command << " first=" << frame.head.first << " second=" << frame.head.second
         << " len=" << frame.head.length << " head=" << (frame.headOk ? "ok" : "BAD") << checkText(frame.dataCheck)
         << " data=[" << toHex(frame.data) << "] | " << record.decoded << " | reply: " << fateText(record);
  } else {
    out_ << (record.noise ? " rx noise bytes=[" : " rx raw bytes=[") << toHex(record.bytes) << "] | " << record.decoded
         << " | reply: " << fateText(record);
  }
  out_ << std::endl;
}

}  // namespace ombrel::vprinter
