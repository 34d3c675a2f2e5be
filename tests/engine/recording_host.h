#pragma once

// A front end for engine tests: records everything the engine tells it and
// lets a test wait for the end of a task.

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "engine/engine_host.h"
#include "platform/errors.h"

namespace ombrel::testing_support {

struct Message {
  EngineMessage id;
  int wParam;
  std::string text;
};

class RecordingHost final : public EngineHost, public NotifyWindow {
 public:
  LinkSettings linkSettings() override {
    std::lock_guard lock(mutex_);
    if (!snapshotProblem.empty()) throw ECommonError(snapshotProblem);
    return link;
  }
  // The next snapshots raise this text, as a window with a rate box that
  // holds no whole number would.
  void failSnapshots(std::string text) {
    std::lock_guard lock(mutex_);
    snapshotProblem = std::move(text);
  }
  void devBaudChanged(int rate) override {
    std::lock_guard lock(mutex_);
    link.devBaud = rate;
  }
  void showIdleData(const Bytes& bytes) override {
    std::lock_guard lock(mutex_);
    idleData.insert(idleData.end(), bytes.begin(), bytes.end());
  }
  void usbDevicesChanged(const std::vector<UsbDeviceName>& printers) override {
    std::lock_guard lock(mutex_);
    usbLists.push_back(identitiesOf(printers));
  }
  std::vector<std::vector<std::string>> usbListsShown() {
    std::lock_guard lock(mutex_);
    return usbLists;
  }
  void showTransferText(const std::string& text) override {
    std::lock_guard lock(mutex_);
    transferLines.push_back(text);
  }
  std::vector<std::string> transferTexts() {
    std::lock_guard lock(mutex_);
    return transferLines;
  }
  void transferProgress(const TransferProgress& step) override {
    std::lock_guard lock(mutex_);
    progressSteps.push_back(step);
  }
  std::vector<TransferProgress> progress() {
    std::lock_guard lock(mutex_);
    return progressSteps;
  }
  void taskEnded(const TaskOutcome& outcome) override {
    std::lock_guard lock(mutex_);
    ended.push_back(outcome);
  }
  std::vector<TaskOutcome> outcomes() {
    std::lock_guard lock(mutex_);
    return ended;
  }
  void engineMessage(EngineMessage id, int wParam, const std::string& text) override {
    {
      std::lock_guard lock(mutex_);
      messages.push_back({id, wParam, text});
    }
    changed_.notify_all();
  }

  // Waits until `count` tasks have ended (TaskSucceeded or TaskFailed).
  bool waitForTaskEnds(std::size_t count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(20), [&] { return taskEnds() >= count; });
  }
  std::vector<Message> snapshot() {
    std::lock_guard lock(mutex_);
    return messages;
  }
  Bytes idle() {
    std::lock_guard lock(mutex_);
    return idleData;
  }
  void setLink(LinkSettings settings) {
    std::lock_guard lock(mutex_);
    link = std::move(settings);
  }
  int devBaud() {
    std::lock_guard lock(mutex_);
    return link.devBaud;
  }

 private:
  std::size_t taskEnds() const {
    std::size_t ends = 0;
    for (const auto& m : messages) ends += (m.id == kTaskSucceeded || m.id == kTaskFailed) ? 1 : 0;
    return ends;
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  LinkSettings link;
  std::vector<Message> messages;
  std::vector<TaskOutcome> ended;
  std::vector<TransferProgress> progressSteps;
  Bytes idleData;
  std::string snapshotProblem;
  std::vector<std::vector<std::string>> usbLists;
  std::vector<std::string> transferLines;
};

}  // namespace ombrel::testing_support
