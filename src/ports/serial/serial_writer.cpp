#include "ports/serial/serial_writer.h"

#include <exception>

#include "ports/serial/port_session.h"
#include "ports/serial/queue_writer.h"

namespace ombrel {

void runWriter(PortSession& session) {
  WriterEnding ending = WriterEnding::Failed;
  try {
    ending = writeQueuedBlocks({session.device.fd(), session.stop, session.queue, *session.sink});
  } catch (const std::exception&) {  // the owner refused a notice
  }
  // Closed before the hangup is told, so that SendData already fails when
  // OnRequestHangup runs.
  session.queue.close();
  session.device.purge(SerialDevice::Purge::Output);
  if (ending == WriterEnding::Failed) session.reportHangup();
}

}  // namespace ombrel
