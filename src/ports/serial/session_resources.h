#pragma once

// The stop signal and write queue that a port session needs, created with the
// component's own failure texts when the system refuses them.

#include <atomic>

#include "ports/serial/stop_signal.h"
#include "ports/serial/write_queue.h"

namespace ombrel {

// Both raise ECommsError with the component's text when the system refuses.
StopSignal createStopSignal();
// The queue is the writer's own: without it there is no writer.
WriteQueue createWriteQueue(std::atomic<bool>& sendQueueEmpty);

}  // namespace ombrel
