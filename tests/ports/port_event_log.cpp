#include "port_event_log.h"

namespace ombrel::test {

Bytes PortEvents::received() const {
  Bytes all;
  for (const auto& chunk : chunks) all.insert(all.end(), chunk.bytes.begin(), chunk.bytes.end());
  return all;
}

void PortEventLog::attach(TComm& comm) {
  comm.setOnReceiveData([this](const std::uint8_t* buffer, std::uint16_t length) {
    record([&](PortEvents& events) {
      events.chunks.push_back({Bytes(buffer, buffer + length), std::chrono::steady_clock::now()});
      if (buffer[length] != 0) events.unterminatedChunk = true;
    });
  });
  comm.setOnSendDataEmpty([this] { record([](PortEvents& events) { ++events.sendEmpty; }); });
  comm.setOnRequestHangup([this] { record([](PortEvents& events) { ++events.hangups; }); });
}

void PortEventLog::record(const std::function<void(PortEvents&)>& change) {
  const bool onOwner = loop_.isOwnerThread();
  {
    std::lock_guard lock(mutex_);
    change(events_);
    if (!onOwner) events_.offOwnerThread = true;
  }
  changed_.notify_all();
}

PortEvents PortEventLog::snapshot() const {
  std::lock_guard lock(mutex_);
  return events_;
}

bool PortEventLog::waitFor(const std::function<bool(const PortEvents&)>& done, std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return done(events_); });
}

}  // namespace ombrel::test
