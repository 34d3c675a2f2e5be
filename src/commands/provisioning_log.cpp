#include "commands/provisioning_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <nlohmann/json.hpp>
#include <random>
#include <stdexcept>

namespace ombrel {

namespace {

const char* outcomeName(DeviceWriteRecord::Outcome outcome) {
  switch (outcome) {
    case DeviceWriteRecord::Outcome::Written:
      return "written";
    case DeviceWriteRecord::Outcome::Failed:
      return "failed";
    case DeviceWriteRecord::Outcome::Refused:
      return "refused";
    case DeviceWriteRecord::Outcome::Unknown:
      break;
  }
  return "unknown";
}

}  // namespace

std::string linkDescription(const LinkSettings& link) {
  switch (link.transport) {
    case Transport::Serial:
      return "serial:" + link.comName;
    case Transport::Network:
      return "net:" + link.hostAddress + ":" + std::to_string(link.hostPort);
    case Transport::Usb:
      break;
  }
  return "usb:" + link.usbDevice;
}

std::string newRowId() {
  // random_device reads the kernel's random source; a generator seeded once
  // per process could repeat another station's ids.
  std::random_device source;
  std::string id;
  for (int word = 0; word < 4; ++word) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(source()));
    id += text;
  }
  return id;
}

std::string localTimestamp() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
  localtime_r(&seconds, &local);
  char date[32];
  char zone[8];
  std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
  std::strftime(zone, sizeof zone, "%z", &local);
  char millisText[8];
  std::snprintf(millisText, sizeof millisText, ".%03d", static_cast<int>(millis));
  return std::string(date) + millisText + zone;
}

std::string provisioningLine(const DeviceWriteRecord& record) {
  nlohmann::ordered_json line = {
      {"time", record.time},
      {"link", record.link},
      {"printer", record.printerIdentity},
      {"device_name", record.deviceName},
      {"serial_number", record.serialNumber},
      {"outcome", outcomeName(record.outcome)},
      {"error", record.errorText},
      // Added last, so that the lines keep the shape readers know.
      {"row_id", record.rowId},
      {"ended", record.ended},
  };
  // Only a write outside a recipe and a rework say so: every other line
  // keeps the shape it had, and lines written before keep their meaning.
  if (record.ownRow) line["own_row"] = true;
  if (record.rework) line["rework"] = true;
  // A text that is not UTF-8 is logged with U+FFFD where it breaks rather
  // than losing the whole line.
  return line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

void ProvisioningLog::append(const DeviceWriteRecord& record) const { appendLine(provisioningLine(record)); }

void ProvisioningLog::appendLine(const std::string& text) const {
  const std::string line = text + "\n";
  // One write of a whole line in append mode: lines of two programs
  // appending to the same log never interleave.
  const int fd = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) throw std::runtime_error("Cannot open the provisioning log " + path_ + ": " + std::strerror(errno));
  const ssize_t written = ::write(fd, line.data(), line.size());
  const int writeError = errno;
  const bool synced = ::fsync(fd) == 0;
  ::close(fd);
  if (written != static_cast<ssize_t>(line.size()) || !synced) {
    throw std::runtime_error("Cannot write the provisioning log " + path_ + ": " +
                             std::strerror(written < 0 ? writeError : EIO));
  }
}

}  // namespace ombrel
