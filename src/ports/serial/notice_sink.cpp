#include "ports/serial/notice_sink.h"

#include <cstdio>
#include <exception>
#include <utility>

namespace ombrel {

template <typename Handler>
void NoticeSink::store(Handler Handlers::*handler, Handler value) {
  std::lock_guard lock(mutex_);
  handlers_.*handler = std::move(value);
}

// The handler runs on a copy, without the lock, so that it may assign events
// or close the port itself.
template <typename Handler, typename... Args>
void NoticeSink::run(Handler Handlers::*handler, Args&&... args) {
  Handler call;
  {
    std::lock_guard lock(mutex_);
    call = handlers_.*handler;
    if (!call) return;
    ++handlersRunning_;
    handlerThread_ = std::this_thread::get_id();
  }
  struct Returned {
    NoticeSink& sink;
    ~Returned() {
      {
        std::lock_guard lock(sink.mutex_);
        --sink.handlersRunning_;
      }
      sink.handlerReturned_.notify_all();
    }
  } returned{*this};
  call(std::forward<Args>(args)...);
}

template <typename Handler, typename... Args>
void NoticeSink::postCall(Handler Handlers::*handler, Args... args) {
  owner_.post([self = shared_from_this(), handler, args...] { self->run(handler, args...); });
}

void NoticeSink::setOnReceiveData(ReceiveDataHandler handler) { store(&Handlers::receiveData, std::move(handler)); }
void NoticeSink::setOnReceiveError(ReceiveErrorHandler handler) { store(&Handlers::receiveError, std::move(handler)); }
void NoticeSink::setOnModemStateChange(ModemStateChangeHandler handler) {
  store(&Handlers::modemStateChange, std::move(handler));
}
void NoticeSink::setOnRequestHangup(NotifyHandler handler) { store(&Handlers::requestHangup, std::move(handler)); }
void NoticeSink::setOnSendDataEmpty(NotifyHandler handler) { store(&Handlers::sendDataEmpty, std::move(handler)); }

void NoticeSink::setDirectReceive(DirectReceiveHandler handler) {
  std::lock_guard lock(directMutex_);
  directReceive_ = std::move(handler);
}

void NoticeSink::setChunkEnd(ChunkEndTest test) {
  std::lock_guard lock(directMutex_);
  chunkEnd_ = std::move(test);
}

bool NoticeSink::endsChunk(const std::uint8_t* bytes, std::size_t count) {
  std::lock_guard lock(directMutex_);
  return chunkEnd_ && chunkEnd_(bytes, count);
}

void NoticeSink::setOnUsbArrival(NotifyHandler handler) { store(&Handlers::usbArrival, std::move(handler)); }
void NoticeSink::setOnUsbRemove(NotifyHandler handler) { store(&Handlers::usbRemove, std::move(handler)); }

void NoticeSink::detach() {
  setDirectReceive(nullptr);
  setChunkEnd(nullptr);
  std::unique_lock lock(mutex_);
  handlers_ = Handlers{};
  handlerReturned_.wait(lock, [this] { return handlersRunning_ == 0 || handlerThread_ == std::this_thread::get_id(); });
}

void NoticeSink::postData(Bytes chunk) {
  {
    std::lock_guard lock(directMutex_);
    if (directReceive_ && directReceive_(chunk.data(), chunk.size() - 1)) return;
  }
  owner_.post([self = shared_from_this(), chunk = std::move(chunk)] {
    self->run(&Handlers::receiveData, chunk.data(), static_cast<std::uint16_t>(chunk.size() - 1));
  });
}

void NoticeSink::postError(std::uint32_t errorBits) { postCall(&Handlers::receiveError, errorBits); }
void NoticeSink::postModem(std::uint32_t modemBits) { postCall(&Handlers::modemStateChange, modemBits); }
void NoticeSink::postHangup() { postCall(&Handlers::requestHangup); }
void NoticeSink::postSendEmpty() { postCall(&Handlers::sendDataEmpty); }
void NoticeSink::postUsbArrival() { postReported(&Handlers::usbArrival); }
void NoticeSink::postUsbRemove() { postReported(&Handlers::usbRemove); }

void NoticeSink::postReported(NotifyHandler Handlers::*handler) {
  owner_.post([self = shared_from_this(), handler] {
    try {
      self->run(handler);
    } catch (const std::exception& error) {
      std::fprintf(stderr, "%s\n", error.what());
    }
  });
}

}  // namespace ombrel
