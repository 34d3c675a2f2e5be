#include "engine/task_table.h"

#include <array>

#include "protocol/codes.h"

namespace ombrel {

namespace {
constexpr TaskInfo ack(int code, const char* name, std::uint16_t command, CommandData data, const char* successKey,
                       bool restoreRate = true) {
  return TaskInfo{
      code, TaskForm::Acknowledged, name, command, data, data != CommandData::ArgumentByte, successKey, restoreRate};
}
constexpr TaskInfo raw(int code, const char* name) { return TaskInfo{code, TaskForm::Raw, name}; }

constexpr std::array<TaskInfo, kTaskCount> kTasks = {{
    {kTaskLinkTest, TaskForm::LinkTest, "link test"},
    {kTaskReadBack, TaskForm::MemoryReadBack, "block read-back"},
    {kTaskFontDownload, TaskForm::ListDownload, "font library download"},
    {kTaskProgramUpdate, TaskForm::ProgramUpdate, "program update"},
    ack(kTaskSetIpAddress, "set IP address", kCmdSetIpAddress, CommandData::Payload, "sMsg15"),
    ack(kTaskSetCodePage, "set code page", kCmdCodePage, CommandData::ArgumentByte, "sMsg17"),
    {kTaskLogoDownload, TaskForm::ListDownload, "logo download"},
    ack(kTaskSetBaudRate, "set printer baud rate", kCmdBaudRate, CommandData::ArgumentByte, "sMsg18", false),
    ack(kTaskSwitchOptions, "device switch options", kCmdSwitchOptions, CommandData::Payload, "sMsg12"),
    ack(kTaskRestoreDefaults, "restore printer defaults", kCmdRestoreDefaults, CommandData::None, "sMsg16"),
    ack(kTaskBluetoothParameters, "Bluetooth parameters", kCmdBluetooth, CommandData::Payload, "sMsg13"),
    ack(kTaskWifiIp, "WiFi IP", kCmdWifiIp, CommandData::Payload, "sMsg7"),
    ack(kTaskWifiIpAccessPoint, "WiFi IP AP", kCmdWifiIpAccessPoint, CommandData::None, "sMsg5"),
    ack(kTaskInfraredParameters, "infrared parameters", kCmdInfrared, CommandData::Payload, "sMsg8"),
    ack(kTaskDeviceParameters, "device parameters", kCmdDevice, CommandData::Payload, "sMsg9"),
    {kTaskFontReadBack, TaskForm::MemoryReadBack, "font library read-back", 0, CommandData::None, false, nullptr,
     false},
    {kTaskPrintLogo, TaskForm::PrintLogo, "print the stored logo"},
    ack(kTaskSleepTimes, "sleep and power-off times", kCmdSleepTimes, CommandData::Payload, "sMsg10"),
    ack(kTaskAllParameters, "all parameters", kCmdAllParameters, CommandData::Payload, "sMsg11"),
    ack(kTaskDeviceSwitches, "device switch options", kCmdSwitchOptions, CommandData::Payload, "sMsg12"),
    ack(kTaskWifiParameters, "WiFi parameters", kCmdWifiParameters, CommandData::Payload, "sMsg6"),
    ack(kTaskBluetoothText, "Bluetooth control text", kCmdBluetoothText, CommandData::Payload, "sMsg14"),
    {kTaskHardwareOption, TaskForm::HardwareSetting, "USB device type, paper type or print order"},
    ack(kTaskReceiptRecycleTime, "receipt recycle time", kCmdReceiptRecycleTime, CommandData::Payload, "sMsg22"),
    {kTaskRawProgramTransfer, TaskForm::RawProgramTransfer, "raw program transfer"},
    raw(kTaskWifiOff, "WiFi off"),
    raw(kTaskBluetoothVisible, "Bluetooth visible"),
    {kTaskBootHandshake, TaskForm::BootHandshake, "boot handshake"},
    raw(kTaskWifiOn, "WiFi on"),
    raw(kTaskBluetoothHidden, "Bluetooth hidden"),
    raw(kTaskBlackMarkOn, "black-mark mode on"),
    raw(kTaskBlackMarkOff, "black-mark mode off"),
    raw(kTaskBlackMarkLookDistance, "black-mark look distance"),
    raw(kTaskBlackMarkWidth, "black-mark width"),
    raw(kTaskOptoSensorDistance, "printer opto-sensor distance"),
    raw(kTaskLookUpBlackMark, "look up black mark"),
    raw(kTaskSubnetMask, "subnet mask"),
    raw(kTaskGateway, "gateway"),
    raw(kTaskNetworkPort, "network port"),
    raw(kTaskNetworkMac, "network MAC bytes"),
    raw(kTaskNetworkIpAddress, "network IP address"),
    raw(kTaskSoftwareFlowControl, "software flow control"),
    raw(kTaskCount, "hardware flow control"),
}};
}  // namespace

const TaskInfo* findTask(int code) {
  if (code < 1 || code > static_cast<int>(kTasks.size())) return nullptr;
  return &kTasks[static_cast<std::size_t>(code - 1)];
}

}  // namespace ombrel
