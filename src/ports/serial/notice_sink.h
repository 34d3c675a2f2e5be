#pragma once

// Carries the port threads' notices to the owner's thread and runs the
// component's events there, in the order the notices were posted. Notices
// keep the sink alive, so those already posted are still delivered after the
// port has closed; once the component is gone (detach) they find no handler.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/bytes.h"
#include "platform/owner_thread.h"
#include "ports/port_events.h"

namespace ombrel {

using ReceiveErrorHandler = std::function<void(std::uint32_t eventMask)>;
using ModemStateChangeHandler = std::function<void(std::uint32_t modemEvent)>;
using NotifyHandler = std::function<void()>;

class NoticeSink : public std::enable_shared_from_this<NoticeSink> {
 public:
  // `owner` must outlive every port thread that posts here.
  explicit NoticeSink(OwnerThread& owner) : owner_(owner) {}

  void setOnReceiveData(ReceiveDataHandler handler);
  void setOnReceiveError(ReceiveErrorHandler handler);
  void setOnModemStateChange(ModemStateChangeHandler handler);
  void setOnRequestHangup(NotifyHandler handler);
  void setOnSendDataEmpty(NotifyHandler handler);
  // Waits for a direct call in progress to return before it replaces the
  // handler.
  void setDirectReceive(DirectReceiveHandler handler);
  // The same for the chunk end test; false without one.
  void setChunkEnd(ChunkEndTest test);
  bool endsChunk(const std::uint8_t* bytes, std::size_t count);
  // A USB device arrived or left (the USB component's hot-plug watch).
  void setOnUsbArrival(NotifyHandler handler);
  void setOnUsbRemove(NotifyHandler handler);
  // Forgets every handler: the component is going away. Waits for a handler
  // that is running on the owner thread to return, so that nothing it uses
  // is freed under it, unless called from that very handler.
  void detach();

  // Posted by the port threads, unless the direct receiver takes the bytes
  // on the reader thread. `chunk` holds the received bytes followed by one
  // zero byte, which the handler may rely on.
  void postData(Bytes chunk);
  void postError(std::uint32_t errorBits);
  void postModem(std::uint32_t modemBits);
  void postHangup();
  void postSendEmpty();
  // An error escaping these handlers is written to standard error and goes
  // no further: a failed refresh must not end the program.
  void postUsbArrival();
  void postUsbRemove();

 private:
  struct Handlers {
    ReceiveDataHandler receiveData;
    ReceiveErrorHandler receiveError;
    ModemStateChangeHandler modemStateChange;
    NotifyHandler requestHangup;
    NotifyHandler sendDataEmpty;
    NotifyHandler usbArrival;
    NotifyHandler usbRemove;
  };

  // Posts a call of one handler; the handler is looked up when the notice
  // runs, so an event assigned meanwhile is the one called.
  template <typename Handler, typename... Args>
  void postCall(Handler Handlers::*handler, Args... args);

  // Runs the handler, if assigned, as an event in progress.
  template <typename Handler, typename... Args>
  void run(Handler Handlers::*handler, Args&&... args);

  void postReported(NotifyHandler Handlers::*handler);

  template <typename Handler>
  void store(Handler Handlers::*handler, Handler value);

  OwnerThread& owner_;
  // Held through a direct call, so that replacing the handler waits for it.
  std::mutex directMutex_;
  DirectReceiveHandler directReceive_;
  ChunkEndTest chunkEnd_;
  std::mutex mutex_;
  std::condition_variable handlerReturned_;
  Handlers handlers_;
  int handlersRunning_ = 0;
  std::thread::id handlerThread_;
};

}  // namespace ombrel
