#pragma once

// The provisioning log of a production line: one JSON line per device write
// (task 15), so that it is known afterwards which printer got which name and
// serial number, and which writes failed. Both front ends append to it.

#include <string>

#include "engine/engine_host.h"

namespace ombrel {

// 128 random bits in hex: a row's name, made where the row is made, that no
// other station's row has.
std::string newRowId();

struct DeviceWriteRecord {
  // Unknown: the tool stopped waiting before the printer answered.
  enum class Outcome { Written, Failed, Refused, Unknown };
  std::string time;             // local time, ISO 8601 with milliseconds and offset
  std::string link;             // as linkDescription gives it
  std::string printerIdentity;  // the printer's answer to identification; empty when none came
  std::string deviceName;
  std::string serialNumber;  // the number sent (before the step for the next printer)
  Outcome outcome = Outcome::Written;
  std::string errorText;           // why the write failed or was refused
  std::string rowId = newRowId();  // names the write in the line's database, so that it is sent once
  std::string ended;               // local time the write ended; empty while it runs
  bool rework = false;             // a number the line handed out before, written again
  bool ownRow = false;             // made outside a recipe: the printer's only record
};

// The control whose task writes the device name and serial number.
inline constexpr const char* kDeviceWriteControl = "btn_SetDevicePara";
// The same write of the typed number again, for a printer back from repair.
inline constexpr const char* kReworkControl = "btn_Rework";

// "serial:PORT", "net:HOST:PORT" or "usb:IDENTITY", as ombrelctl's --link.
std::string linkDescription(const LinkSettings& link);

// The local time now, e.g. "2026-12-08T21:14:14.123+0100".
std::string localTimestamp();

// One JSON object on one line, without the line end; texts are UTF-8.
std::string provisioningLine(const DeviceWriteRecord& record);

class ProvisioningLog {
 public:
  explicit ProvisioningLog(std::string path) : path_(std::move(path)) {}
  const std::string& path() const { return path_; }
  // Appends the record's line and flushes it to the disk. Raises
  // std::runtime_error naming the file when it cannot.
  void append(const DeviceWriteRecord& record) const;
  // The same for a line of another kind, given without its line end.
  void appendLine(const std::string& line) const;

 private:
  std::string path_;
};

}  // namespace ombrel
