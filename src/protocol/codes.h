#pragma once

// The numbers the tool and the printer agree on: the task codes a front end
// asks the engine for, the command numbers of the frames, and the boot
// loader's byte. Named once here for the engine, the front ends and the
// virtual printer.

#include <cstdint>

namespace ombrel {

enum TaskCode : int {
  kTaskLinkTest = 1,
  kTaskReadBack = 2,
  kTaskFontDownload = 3,
  kTaskProgramUpdate = 4,
  kTaskSetIpAddress = 5,
  kTaskSetCodePage = 6,
  kTaskLogoDownload = 7,
  kTaskSetBaudRate = 8,
  kTaskSwitchOptions = 9,
  kTaskRestoreDefaults = 10,
  kTaskBluetoothParameters = 11,
  kTaskWifiIp = 12,
  kTaskWifiIpAccessPoint = 13,
  kTaskInfraredParameters = 14,
  kTaskDeviceParameters = 15,
  kTaskFontReadBack = 16,
  kTaskPrintLogo = 17,
  kTaskSleepTimes = 18,
  kTaskAllParameters = 19,
  kTaskDeviceSwitches = 20,
  kTaskWifiParameters = 21,
  kTaskBluetoothText = 22,
  kTaskHardwareOption = 23,
  kTaskReceiptRecycleTime = 24,
  kTaskRawProgramTransfer = 25,
  kTaskWifiOff = 26,
  kTaskBluetoothVisible = 27,
  kTaskBootHandshake = 28,
  kTaskWifiOn = 29,
  kTaskBluetoothHidden = 30,
  kTaskBlackMarkOn = 31,
  kTaskBlackMarkOff = 32,
  kTaskBlackMarkLookDistance = 33,
  kTaskBlackMarkWidth = 34,
  kTaskOptoSensorDistance = 35,
  kTaskLookUpBlackMark = 36,
  kTaskSubnetMask = 37,
  kTaskGateway = 38,
  kTaskNetworkPort = 39,
  kTaskNetworkMac = 40,
  kTaskNetworkIpAddress = 41,
  kTaskSoftwareFlowControl = 42,
  kTaskHardwareFlowControl = 43,
};

inline constexpr int kTaskCount = 43;

enum Command : std::uint16_t {
  kCmdSetIpAddress = 32,
  kCmdUpdateEnd = 46,
  kCmdIdentify = 48,
  kCmdSwitchRate = 49,
  kCmdConnect = 50,
  kCmdWriteBlock = 51,
  kCmdReadBlock = 52,
  kCmdRestoreDefaults = 121,
  kCmdCodePage = 128,
  kCmdBaudRate = 129,
  kCmdSwitchOptions = 130,
  kCmdBluetooth = 131,
  kCmdInfrared = 132,
  kCmdDevice = 133,
  kCmdSleepTimes = 134,
  kCmdBluetoothText = 135,
  kCmdAllParameters = 136,
  kCmdWifiParameters = 137,
  kCmdWifiIp = 138,
  kCmdWifiIpAccessPoint = 139,
  kCmdReceiptRecycleTime = 140,
  kCmdFlowControl = 141,
};

// The byte the boot handshake sends, and that the boot loader sends back.
inline constexpr std::uint8_t kBootLoaderByte = 0x61;
// The engine's BootReply once the boot loader has answered.
inline constexpr const char* kBootLoaderAnswered = "151";

}  // namespace ombrel
