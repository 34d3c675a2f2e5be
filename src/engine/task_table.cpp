#include "engine/task_table.h"

#include <array>

namespace ombrel {

namespace {
constexpr TaskInfo ack(int code, const char* name, std::uint16_t command, CommandData data,
                       const char* successKey, bool restoreRate = true) {
  return TaskInfo{code, TaskForm::Acknowledged, name, command, data,
                  data != CommandData::ArgumentByte, successKey, restoreRate};
}
constexpr TaskInfo raw(int code, const char* name) { return TaskInfo{code, TaskForm::Raw, name}; }
constexpr TaskInfo later(int code, const char* name) {
  return TaskInfo{code, TaskForm::NotAvailable, name};
}

constexpr std::array<TaskInfo, 43> kTasks = {{
    {1, TaskForm::LinkTest, "link test"},
    later(2, "block read-back"),
    later(3, "font library download"),
    later(4, "program update"),
    ack(5, "set IP address", 32, CommandData::Payload, "sMsg15"),
    ack(6, "set code page", 128, CommandData::ArgumentByte, "sMsg17"),
    later(7, "logo download"),
    ack(8, "set printer baud rate", 129, CommandData::ArgumentByte, "sMsg18", false),
    ack(9, "device switch options", 130, CommandData::Payload, "sMsg12"),
    ack(10, "restore printer defaults", 121, CommandData::None, "sMsg16"),
    ack(11, "Bluetooth parameters", 131, CommandData::Payload, "sMsg13"),
    ack(12, "WiFi IP", 138, CommandData::Payload, "sMsg7"),
    ack(13, "WiFi IP AP", 139, CommandData::None, "sMsg5"),
    ack(14, "infrared parameters", 132, CommandData::Payload, "sMsg8"),
    ack(15, "device parameters", 133, CommandData::Payload, "sMsg9"),
    later(16, "font library read-back"),
    later(17, "print the stored logo"),
    ack(18, "sleep and power-off times", 134, CommandData::Payload, "sMsg10"),
    ack(19, "all parameters", 136, CommandData::Payload, "sMsg11"),
    ack(20, "device switch options", 130, CommandData::Payload, "sMsg12"),
    ack(21, "WiFi parameters", 137, CommandData::Payload, "sMsg6"),
    ack(22, "Bluetooth control text", 135, CommandData::Payload, "sMsg14"),
    {23, TaskForm::HardwareSetting, "USB device type, paper type or print order"},
    ack(24, "receipt recycle time", 140, CommandData::Payload, "sMsg22"),
    later(25, "raw program transfer"),
    raw(26, "WiFi off"),
    raw(27, "Bluetooth visible"),
    {28, TaskForm::BootHandshake, "boot handshake"},
    raw(29, "WiFi on"),
    raw(30, "Bluetooth hidden"),
    raw(31, "black-mark mode on"),
    raw(32, "black-mark mode off"),
    raw(33, "black-mark look distance"),
    raw(34, "black-mark width"),
    raw(35, "printer opto-sensor distance"),
    raw(36, "look up black mark"),
    raw(37, "subnet mask"),
    raw(38, "gateway"),
    raw(39, "network port"),
    raw(40, "network MAC bytes"),
    raw(41, "network IP address"),
    raw(42, "software flow control"),
    raw(43, "hardware flow control"),
}};
}  // namespace

const TaskInfo* findTask(int code) {
  if (code < 1 || code > static_cast<int>(kTasks.size())) return nullptr;
  return &kTasks[static_cast<std::size_t>(code - 1)];
}

}  // namespace ombrel
