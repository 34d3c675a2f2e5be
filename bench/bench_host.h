#pragma once

// A front end for the benchmarks: a fixed link choice, and a way to run one
// task and wait for its end.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "engine/comm_thread.h"

namespace ombrel::bench {

class BenchHost final : public EngineHost, public NotifyWindow {
 public:
  explicit BenchHost(LinkSettings link) : link_(std::move(link)) {}

  LinkSettings linkSettings() override { return link_; }
  void devBaudChanged(int) override {}
  void showIdleData(const Bytes&) override {}
  void usbDevicesChanged(const std::vector<UsbDeviceName>&) override {}
  void showTransferText(const std::string&) override {}
  void engineMessage(EngineMessage message, int wParam, const std::string&) override {
    if (message != kTaskSucceeded && message != kTaskFailed) return;
    std::lock_guard lock(mutex_);
    ended_ = true;
    failed_ = failed_ || wParam != 0 || message == kTaskFailed;
    cv_.notify_all();
  }

  // The moving phase of a transfer: the first and the last progress report
  // while sending or receiving (or only while verifying, when asked), with
  // the bytes done at each.
  void transferProgress(const TransferProgress& progress) override {
    std::lock_guard lock(mutex_);
    const bool moving = progress.phase == TransferPhase::Sending || progress.phase == TransferPhase::Receiving;
    if (timesVerify_ ? progress.phase != TransferPhase::Verifying : !moving) return;
    const auto now = std::chrono::steady_clock::now();
    if (!sending_) firstSending_ = {now, progress.done};
    lastSending_ = {now, progress.done};
    sending_ = true;
  }
  // Bytes per second between the first and the last report of the latest
  // transfer's sending or receiving phase.
  double sendingRate() {
    std::lock_guard lock(mutex_);
    const double seconds = std::chrono::duration<double>(lastSending_.first - firstSending_.first).count();
    return static_cast<double>(lastSending_.second - firstSending_.second) / seconds;
  }

  // Runs one task to its end; false when it failed or was refused. A
  // verified download times its verify.
  bool runTask(TCommThread& engine, int code, const Bytes& payload = {}, TransferJob transfer = {}, int a = 0,
               int b = 0) {
    {
      std::lock_guard lock(mutex_);
      ended_ = false;
      sending_ = false;
      timesVerify_ = transfer.verify;
    }
    if (!engine.StartTask(code, a, b, payload, std::move(transfer))) return false;
    std::unique_lock lock(mutex_);
    cv_.wait(lock, [this] { return ended_; });
    return !failed_;
  }

 private:
  LinkSettings link_;
  std::mutex mutex_;
  std::condition_variable cv_;
  bool ended_ = false;
  bool failed_ = false;
  bool sending_ = false;
  bool timesVerify_ = false;
  std::pair<std::chrono::steady_clock::time_point, std::int64_t> firstSending_;
  std::pair<std::chrono::steady_clock::time_point, std::int64_t> lastSending_;
};

}  // namespace ombrel::bench
