#include "ports/usb/usb_session.h"

#include <poll.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <exception>
#include <system_error>
#include <utility>

#include "platform/errors.h"
#include "ports/serial/comm_error_text.h"
#include "ports/serial/queue_writer.h"
#include "ports/serial/read_completion.h"
#include "ports/serial/session_resources.h"

namespace ombrel {
UsbSession::UsbSession(UsbPrinterNode openedNode, std::shared_ptr<NoticeSink> sink, std::atomic<bool>& sendQueueEmpty)
    : node(std::move(openedNode)),
      queue(createWriteQueue(sendQueueEmpty)),
      sink_(std::move(sink)),
      sendQueueEmpty_(sendQueueEmpty),
      stop_(createStopSignal()) {
  try {
    reader_ = std::thread([this] { runReader(); });
  } catch (const std::system_error&) {
    throw ECommsError(comm_error_text::kReadThreadFailed);
  }
  try {
    writer_ = std::thread([this] { runWriter(); });
  } catch (const std::system_error&) {
    stopThreads();
    throw ECommsError(comm_error_text::kWriteThreadFailed);
  }
}

UsbSession::~UsbSession() { stopThreads(); }

void UsbSession::stopThreads() {
  stop_.raise();
  node.purgeInput();
  if (reader_.joinable()) reader_.join();
  // Output is not purged on the way out: what the writer has handed to the
  // node is the printer's. Where the node is a terminal, a purge would
  // discard bytes the other end has not read yet.
  sendQueueEmpty_.store(true);
  if (writer_.joinable()) writer_.join();
}

// Keeps one read of up to 2048 bytes pending and delivers what each read
// returns at once: a printer's reply comes in one or a few USB packets.
void UsbSession::runReader() {
  std::array<std::uint8_t, kReadChunkSize> buffer{};
  try {
    for (;;) {
      const auto waited = stop_.waitFor(node.fd(), POLLIN, std::nullopt);
      if (waited.wake != StopSignal::Wake::Ready) break;
      const ssize_t got = ::read(node.fd(), buffer.data(), buffer.size());
      if (got < 0 && (errno == EINTR || errno == EAGAIN) && (waited.events & (POLLHUP | POLLERR | POLLNVAL)) == 0) {
        continue;
      }
      // Nothing read with the node ready: the printer is gone.
      if (got <= 0) break;
      Bytes chunk(buffer.begin(), buffer.begin() + got);
      chunk.push_back(0);
      sink_->postData(std::move(chunk));
    }
  } catch (const std::exception&) {  // no memory for a chunk, or the owner refused a notice
  }
  node.purgeInput();
}

void UsbSession::runWriter() {
  try {
    (void)writeQueuedBlocks({node.fd(), stop_, queue, *sink_});
  } catch (const std::exception&) {  // the owner refused a notice
  }
  queue.close();
  sendQueueEmpty_.store(true);
}

}  // namespace ombrel
