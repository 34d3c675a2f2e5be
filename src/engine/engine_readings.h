#pragma once

// What the front ends read of an engine while its worker changes it: the
// window that hears it, the latest status, the latest failure text, the
// printer's identity and the boot loader's answer. Guarded: the worker
// writes while front-end threads read.

#include <cstdint>
#include <mutex>
#include <string>

#include "engine/engine_host.h"

namespace ombrel {

class EngineReadings {
 public:
  explicit EngineReadings(NotifyWindow& window) : window_(&window) {}

  NotifyWindow& window() const;
  void setWindow(NotifyWindow& window);

  // The latest status, formatted only when shown: a transfer reports every
  // block, and most of those reports are never posted.
  void setStatus(const std::string& text, std::int64_t done, std::int64_t total);
  std::string statusText() const;

  std::string errorText() const;
  void setErrorText(const std::string& text);
  std::string printerIdentity() const;
  void setPrinterIdentity(const std::string& identity);
  std::string bootReply() const;
  void setBootReply(const std::string& reply);

 private:
  mutable std::mutex mutex_;
  NotifyWindow* window_;
  struct {
    std::string text;
    std::int64_t done = 0;
    std::int64_t total = 0;
  } status_;
  std::string errorText_;
  std::string printerIdentity_;
  std::string bootReply_;
};

}  // namespace ombrel
