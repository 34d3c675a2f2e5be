#include "frame_log.h"

namespace ombrel::vprinter {

void FrameLog::attach(std::unique_ptr<LogWriter> writer) { writers_.push_back(std::move(writer)); }

void FrameLog::record(LogRecord record) {
  record.seq = ++seq_;
  for (const auto& writer : writers_) writer->write(record);
}

}  // namespace ombrel::vprinter
