#pragma once

// A front end for engine tests: records everything the engine tells it and
// lets a test wait for the end of a task.

#include <condition_variable>
#include <mutex>
#include <string>
#include <type_traits>
#include <utility>
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
    append(usbLists, identitiesOf(printers));
  }
  std::vector<std::vector<std::string>> usbListsShown() { return copyOf(usbLists); }
  void showTransferText(const std::string& text) override { append(transferLines, text); }
  std::vector<std::string> transferTexts() { return copyOf(transferLines); }
  void transferProgress(const TransferProgress& step) override { append(progressSteps, step); }
  std::vector<TransferProgress> progress() { return copyOf(progressSteps); }
  void taskEnded(const TaskOutcome& outcome) override { append(ended, outcome); }
  std::vector<TaskOutcome> outcomes() { return copyOf(ended); }
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
  std::vector<Message> snapshot() { return copyOf(messages); }
  Bytes idle() { return copyOf(idleData); }
  void setLink(LinkSettings settings) {
    std::lock_guard lock(mutex_);
    link = std::move(settings);
  }
  int devBaud() { return copyOf(link.devBaud); }

 private:
  // What the engine's thread records and the test's reads, each under the lock.
  template <typename T>
  T copyOf(const T& recorded) {
    std::lock_guard lock(mutex_);
    return recorded;
  }
  template <typename T>
  void append(std::vector<T>& recorded, std::type_identity_t<T> item) {
    std::lock_guard lock(mutex_);
    recorded.push_back(std::move(item));
  }
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
