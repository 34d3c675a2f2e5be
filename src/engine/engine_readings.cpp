#include "engine/engine_readings.h"

#include "engine/status_text.h"

namespace ombrel {

NotifyWindow& EngineReadings::window() const {
  std::lock_guard lock(mutex_);
  return *window_;
}

void EngineReadings::setWindow(NotifyWindow& window) {
  std::lock_guard lock(mutex_);
  window_ = &window;
}

void EngineReadings::setStatus(const std::string& text, std::int64_t done, std::int64_t total) {
  std::lock_guard lock(mutex_);
  status_ = {text, done, total};
}

std::string EngineReadings::statusText() const {
  std::lock_guard lock(mutex_);
  return progressText(status_.text, status_.done, status_.total);
}

std::string EngineReadings::errorText() const {
  std::lock_guard lock(mutex_);
  return errorText_;
}

void EngineReadings::setErrorText(const std::string& text) {
  std::lock_guard lock(mutex_);
  errorText_ = text;
}

std::string EngineReadings::printerIdentity() const {
  std::lock_guard lock(mutex_);
  return printerIdentity_;
}

void EngineReadings::setPrinterIdentity(const std::string& identity) {
  std::lock_guard lock(mutex_);
  printerIdentity_ = identity;
}

std::string EngineReadings::bootReply() const {
  std::lock_guard lock(mutex_);
  return bootReply_;
}

void EngineReadings::setBootReply(const std::string& reply) {
  std::lock_guard lock(mutex_);
  bootReply_ = reply;
}

}  // namespace ombrel
