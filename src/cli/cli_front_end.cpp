#include "cli/cli_front_end.h"

namespace ombrel::cli {

CliFrontEnd::CliFrontEnd(LinkSettings link, std::FILE* out, std::FILE* err)
    : out_(out), err_(err), link_(std::move(link)) {}

LinkSettings CliFrontEnd::linkSettings() {
  std::lock_guard lock(mutex_);
  return link_;
}

void CliFrontEnd::devBaudChanged(int rate) {
  std::lock_guard lock(mutex_);
  link_.devBaud = rate;
}

// Nobody reads what a printer says on its own between tasks here.
void CliFrontEnd::showIdleData(const Bytes&) {}

void CliFrontEnd::usbDevicesChanged(const std::vector<std::string>& identities) {
  {
    std::lock_guard lock(mutex_);
    usbReports_.push_back(identities);
  }
  usbReported_.notify_all();
}

void CliFrontEnd::showTransferText(const std::string& text) {
  std::fprintf(out_, "%s\n", text.c_str());
  std::fflush(out_);
}

void CliFrontEnd::engineMessage(EngineMessage message, int wParam, const std::string& text) {
  switch (message) {
    case kStatusChanged: {
      std::fprintf(out_, "%s\n", text.c_str());
      std::fflush(out_);
      std::function<void(const std::string&)> listener;
      {
        std::lock_guard lock(mutex_);
        listener = statusListener_;
      }
      if (listener) listener(text);
      return;
    }
    case kLinkTestFailed: {
      std::lock_guard lock(mutex_);
      end_.noPrinter = true;
      return;
    }
    case kLinkTestSucceeded:
      return;
    case kTaskSucceeded:
    case kTaskFailed: {
      {
        std::lock_guard lock(mutex_);
        end_.result = message == kTaskSucceeded ? 0 : wParam;
        end_.errorText = text;
        taskEnded_ = true;
      }
      ended_.notify_all();
      return;
    }
  }
}

void CliFrontEnd::expectTask() {
  std::lock_guard lock(mutex_);
  taskEnded_ = false;
  end_ = TaskEnd{};
}

TaskEnd CliFrontEnd::waitForTaskEnd() {
  std::unique_lock lock(mutex_);
  ended_.wait(lock, [this] { return taskEnded_; });
  return end_;
}

void CliFrontEnd::setStatusListener(std::function<void(const std::string&)> listener) {
  std::lock_guard lock(mutex_);
  statusListener_ = std::move(listener);
}

void CliFrontEnd::messageBox(const std::string& text) {
  std::fprintf(err_, "%s\n", text.c_str());
  std::fflush(err_);
}


void CliFrontEnd::say(const std::string& text) {
  std::fprintf(out_, "%s\n", text.c_str());
  std::fflush(out_);
}

std::optional<CliFrontEnd::UsbReport> CliFrontEnd::waitForUsbReport(std::uint64_t after,
                                                                    const std::function<bool()>& stopped) {
  std::unique_lock lock(mutex_);
  usbReported_.wait(lock, [&] { return usbReports_.size() > after || stopped(); });
  if (stopped()) return std::nullopt;
  return UsbReport{after + 1, usbReports_[after]};
}

void CliFrontEnd::wakeUsbWaiters() {
  // Under the lock, so that a waiter between its test and its sleep cannot
  // miss the call.
  std::lock_guard lock(mutex_);
  usbReported_.notify_all();
}

void CliFrontEnd::useUsbPrinter(const std::string& identity) {
  std::lock_guard lock(mutex_);
  link_.transport = Transport::Usb;
  link_.usbDevice = identity;
}

}  // namespace ombrel::cli
