#include "ports/serial/session_resources.h"

#include <system_error>

#include "platform/errors.h"
#include "ports/serial/comm_error_text.h"

namespace ombrel {

StopSignal createStopSignal() {
  try {
    return StopSignal();
  } catch (const std::system_error&) {
    throw ECommsError(comm_error_text::kEventFailed);
  }
}

WriteQueue createWriteQueue(std::atomic<bool>& sendQueueEmpty) {
  try {
    return WriteQueue(sendQueueEmpty);
  } catch (const std::system_error&) {
    throw ECommsError(comm_error_text::kWriteThreadFailed);
  }
}

}  // namespace ombrel
