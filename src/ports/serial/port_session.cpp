#include "ports/serial/port_session.h"

#include <system_error>
#include <utility>

#include "platform/errors.h"
#include "ports/serial/comm_error_text.h"
#include "ports/serial/serial_reader.h"
#include "ports/serial/session_resources.h"
#include "ports/serial/serial_writer.h"

namespace ombrel {
CommTimeouts SharedTimeouts::get() const {
  std::lock_guard lock(mutex_);
  return timeouts_;
}

void SharedTimeouts::set(const CommTimeouts& timeouts) {
  std::lock_guard lock(mutex_);
  timeouts_ = timeouts;
}

PortSession::PortSession(SerialDevice openedDevice, std::shared_ptr<NoticeSink> noticeSink,
                         std::atomic<bool>& sendQueueEmpty, const CommTimeouts& commTimeouts)
    : device(std::move(openedDevice)),
      sink(std::move(noticeSink)),
      timeouts(commTimeouts),
      stop(createStopSignal()),
      queue(createWriteQueue(sendQueueEmpty)),
      sendQueueEmpty_(sendQueueEmpty) {
  try {
    reader_ = std::thread(runReader, std::ref(*this));
  } catch (const std::system_error&) {
    throw ECommsError(comm_error_text::kReadThreadFailed);
  }
  try {
    writer_ = std::thread(runWriter, std::ref(*this));
  } catch (const std::system_error&) {
    stopThreads();
    throw ECommsError(comm_error_text::kWriteThreadFailed);
  }
}

PortSession::~PortSession() { stopThreads(); }

void PortSession::stopThreads() {
  stop.raise();
  device.purge(SerialDevice::Purge::Both);
  sendQueueEmpty_.store(true);
  if (reader_.joinable()) reader_.join();
  if (writer_.joinable()) writer_.join();
}

void PortSession::reportHangup() noexcept {
  try {
    sink->postHangup();
  } catch (...) {  // the owner cannot be reached: nobody is left to tell
  }
}

}  // namespace ombrel
