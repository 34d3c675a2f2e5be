#include "command_decoder.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "protocol/codes.h"

namespace ombrel::vprinter {

namespace {

// The printer's own rate table, kept apart from the setting tool's on
// purpose: a wrong mapping on the tool's side then shows up in tests instead
// of being agreed with.
constexpr std::array<int, 9> kRateOfCode = {9600, 19200, 38400, 57600, 115200, 1200, 2400, 4800, 230400};

struct CommandName {
  std::uint16_t command;
  const char* name;
};

constexpr std::array<CommandName, 21> kNames = {{
    {kCmdUpdateEnd, "end of program update"},
    {kCmdIdentify, "identify"},
    {kCmdSwitchRate, "set line rate"},
    {kCmdConnect, "connect"},
    {kCmdWriteBlock, "write memory"},
    {kCmdReadBlock, "read memory"},
    {kCmdRestoreDefaults, "restore default settings"},
    {kCmdCodePage, "set code page"},
    {kCmdBaudRate, "set configured line rate"},
    {kCmdSwitchOptions, "set switch options"},
    {kCmdBluetooth, "set Bluetooth parameters"},
    {kCmdInfrared, "set infrared parameters"},
    {kCmdDevice, "set device name and serial number"},
    {kCmdSleepTimes, "set sleep and power-off times"},
    {kCmdBluetoothText, "Bluetooth module control text"},
    {kCmdAllParameters, "set all parameters"},
    {kCmdWifiParameters, "set WiFi parameters"},
    {kCmdWifiIp, "set WiFi address"},
    {kCmdWifiIpAccessPoint, "set WiFi access-point mode"},
    {kCmdReceiptRecycleTime, "set receipt recycle time"},
    {kCmdFlowControl, "set flow control"},
}};

std::string hex32(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

std::string rateText(std::uint32_t code) {
  const int rate = rateOfCode(code);
  if (rate == 0) return "unknown rate code " + std::to_string(code);
  return "rate code " + std::to_string(code) + " (" + std::to_string(rate) + " bit/s)";
}

std::uint32_t littleEndian32(const Bytes& data, std::size_t at) {
  return data[at] | data[at + 1] << 8 | data[at + 2] << 16 | static_cast<std::uint32_t>(data[at + 3]) << 24;
}

bool printable(const Bytes& data) {
  return std::all_of(data.begin(), data.end(), [](std::uint8_t b) { return b >= 0x20 && b < 0x7F; });
}

// What the arguments or data of the command say; empty when nothing is known.
std::string details(const FrameFields& frame) {
  const Bytes& data = frame.data;
  switch (frame.head.command) {
    case kCmdSwitchRate:
      return rateText(frame.head.first);
    case kCmdWriteBlock:
      return "address " + hex32(frame.head.first) + ", " + std::to_string(data.size()) + " bytes";
    case kCmdReadBlock:
      return "address " + hex32(frame.head.first);
    case kCmdCodePage:
      return data.size() == 1 ? "code page value " + std::to_string(data[0]) : "";
    case kCmdBaudRate:
      return data.size() == 1 ? rateText(data[0]) : "";
    case kCmdSleepTimes:
      return data.size() == 8 ? "sleep " + std::to_string(littleEndian32(data, 0)) + " s, power-off " +
                                    std::to_string(littleEndian32(data, 4)) + " s"
                              : "";
    case kCmdBluetoothText:
      return printable(data) ? "\"" + std::string(data.begin(), data.end()) + "\"" : "";
    case kCmdReceiptRecycleTime:
      return data.size() == 1 ? std::to_string(data[0]) + " s" : "";
    case kCmdFlowControl:
      if (data.size() != 1) return "";
      return data[0] == 0 ? "software" : data[0] == 1 ? "hardware" : "unknown mode";
    default:
      return "";
  }
}

}  // namespace

int rateOfCode(std::uint32_t code) { return code < kRateOfCode.size() ? kRateOfCode[code] : 0; }

std::string decodeCommand(const FrameFields& frame) {
  const auto named = std::find_if(kNames.begin(), kNames.end(),
                                  [&](const CommandName& entry) { return entry.command == frame.head.command; });
  std::string text = named != kNames.end() ? named->name : "command " + std::to_string(frame.head.command);
  const std::string more = details(frame);
  if (!more.empty()) text += ": " + more;
  return text;
}

}  // namespace ombrel::vprinter
