#include "cli/station_share.h"

namespace ombrel::cli {

SettingsSession StationShare::settingsCopy() {
  std::lock_guard lock(mutex_);
  return settings_;
}

std::optional<std::uint32_t> StationShare::takeNumber() {
  const auto number = allocator_->take();
  save();
  return number;
}

void StationShare::endNumber(std::uint32_t number, NumberEnd end) {
  allocator_->end(number, end);
  save();
}

void StationShare::save() {
  std::lock_guard lock(mutex_);
  mirrorNextNumber();
  settings_.save();
}

void StationShare::mirrorNextNumber() {
  if (allocator_ != nullptr) settings_.controls().setText("edt_DeviceSerialNo", allocator_->nextText());
}

}  // namespace ombrel::cli
