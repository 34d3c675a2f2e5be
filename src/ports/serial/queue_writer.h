#pragma once

// The writer loop both port components share: writes the queued blocks in
// order to one descriptor and announces an empty queue (OnSendDataEmpty) once
// after starting and once after each drained burst.

#include "ports/serial/notice_sink.h"
#include "ports/serial/stop_signal.h"
#include "ports/serial/write_queue.h"

namespace ombrel {

enum class WriterEnding { Stopped, Failed };

struct WriterParts {
  int fd;
  const StopSignal& stop;
  WriteQueue& queue;
  NoticeSink& sink;
};

// Returns when the stop signal is raised or a write or wait failed. A notice
// the owner refuses throws.
WriterEnding writeQueuedBlocks(const WriterParts& parts);

}  // namespace ombrel
