// The packet protocol: command frames with their acknowledgement, block reads,
// raw sequences and printer identification.

#include <algorithm>
#include <cctype>
#include <thread>

#include "engine/comm_thread.h"
#include "protocol/codes.h"
#include "protocol/frame.h"
#include "platform/errors.h"
#include "texts/message_texts.h"

namespace ombrel {

namespace {
constexpr std::size_t kDatagramCapacity = 2049;
constexpr std::int64_t kCommandDatagramWaitMs = 1000;
constexpr std::int64_t kCommandReplyWaitMs = 3000;
constexpr std::int64_t kReadDatagramWaitMs = 3000;
constexpr std::int64_t kReadReplyWaitMs = 600;
constexpr std::int64_t kRawPauseMs = 10;
}  // namespace

TCommThread::Exchange TCommThread::exchange(std::uint16_t command, std::uint32_t first, std::uint32_t second,
                                            const Bytes& data, int attempts, std::int64_t datagramWaitMs,
                                            std::int64_t replyWaitMs) {
  const bool network = link_.transport == Transport::Network;
  const Bytes request = frame::build(command, first, second, data, !network);
  Exchange result;
  for (int attempt = 0; attempt < attempts; ++attempt) {
    WriteLink(request);
    if (network) {
      Bytes datagram;
      udp_.receive(datagram, kDatagramCapacity, clock_.realDuration(datagramWaitMs));
      if (!datagram.empty()) trace_.block("Receive", datagram.data(), datagram.size());
      if (frame::isAcceptedDatagram(datagram.data(), datagram.size())) {
        result.accepted = true;
        // Only the data bytes the datagram really holds are taken, whatever
        // length its head claims.
        const std::size_t claimed = frame::readHead(datagram.data()).length;
        const std::size_t present = std::min(claimed, datagram.size() - frame::kHeadSize);
        const auto begin = datagram.begin() + static_cast<std::ptrdiff_t>(frame::kHeadSize);
        result.data.assign(begin, begin + static_cast<std::ptrdiff_t>(present));
      }
    } else if (reply_.waitForReply(clock_.realDuration(replyWaitMs))) {
      result.accepted = true;
      result.data = reply_.replyData();
    }
    if (cancelRequested_ || result.accepted) break;
  }
  return result;
}

std::size_t TCommThread::SendCommand(std::uint16_t command, std::uint32_t first,
                                     std::uint32_t second, const Bytes& data, int attempts) {
  if (data.size() > frame::kMaxCommandData) throw ECommonError("Command data too long");
  const Exchange reply =
      exchange(command, first, second, data, attempts, kCommandDatagramWaitMs, kCommandReplyWaitMs);
  // The network link reports no reply length to the callers of SendCommand.
  const std::size_t replyLength = link_.transport == Transport::Network ? 0 : reply_.replyLength();
  if (lenientReplies_) return replyLength;
  if (cancelRequested_) throw EUserCancelException(error_text::kSendCancelled);
  if (!reply.accepted) throw ECommunicationException(error_text::kDownloadDataFailed);
  return replyLength;
}

Bytes TCommThread::ReadBlock(std::uint16_t command, std::uint32_t first, std::uint32_t second,
                             const Bytes& data, int attempts) {
  if (data.size() > frame::kMaxReadBlockData) throw ECommonError("Command data too long");
  const Exchange reply = exchange(command, first, second, data, attempts, kReadDatagramWaitMs, kReadReplyWaitMs);
  if (lenientReplies_) return reply.data;
  if (cancelRequested_) throw EUserCancelException(error_text::kReadCancelled);
  if (!reply.accepted) throw ECommunicationException(error_text::kReceivedFailed);
  return reply.data;
}

void TCommThread::WriteLink(const Bytes& data) {
  reply_.reset();
  trace_.block("Send", data.data(), data.size());
  const auto count = static_cast<std::uint16_t>(std::min<std::size_t>(data.size(), 65535));
  switch (link_.transport) {
    case Transport::Network:
      udp_.send(data.data(), data.size());
      break;
    case Transport::Usb:
      usb_.sendData(data.data(), count);
      break;
    case Transport::Serial:
      serial_.sendData(data.data(), count);
      break;
  }
}

void TCommThread::SendRaw(const Bytes& sequence, const char* successKey) {
  const bool network = link_.transport == Transport::Network;
  if (network) {
    // Sent to the printer of this task's link choice even when no framed task
    // has opened the link before: nothing would leave the machine otherwise.
    udp_.setRemote(link_.hostAddress, link_.hostPort);
    udp_.activate();
  } else if (link_.transport == Transport::Serial) {
    reopenSerialForRawSend();
  }
  clock_.sleepMs(kRawPauseMs);
  WriteLink(sequence);
  if (link_.transport == Transport::Serial) waitUntilSent(sequence.size());
  if (successKey != nullptr) ReportStatus(messageTexts().text(successKey));
  clock_.sleepMs(kRawPauseMs);
  if (network) udp_.deactivate();
}

void TCommThread::waitUntilSent(std::size_t count) {
  // No reply tells that raw bytes have arrived, and the port discards what is
  // still on its way when it closes: wait until they have left, and for the
  // time the line needs to carry them (real time: the line is physical).
  serial_.drainOutput(std::chrono::seconds(2));
  const std::uint32_t rate = std::max<std::uint32_t>(serial_.baudRate(), 1);
  std::this_thread::sleep_for(std::chrono::microseconds(count * 10'000'000ull / rate));
}

void TCommThread::IdentifyPrinter() {
  const Bytes probe{0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80};
  const Bytes reply = ReadBlock(kCmdIdentify, 0, 0, probe, 1);
  std::string identity;
  for (std::size_t i = 0; i < reply.size() && i < 8 && reply[i] != 0; ++i) {
    identity += static_cast<char>(std::toupper(reply[i]));
  }
  std::lock_guard lock(stateMutex_);
  printerIdentity_ = identity;
}

}  // namespace ombrel
