#include "commands/station_slot.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "ports/serial_port_factory.h"
#include "ports/udp_client.h"
#include "ports/usb/tusbcomm.h"

namespace ombrel {
namespace {

// "20261209-153012.123", local time.
std::string fileTimestamp(std::chrono::system_clock::time_point when) {
  const auto seconds = std::chrono::time_point_cast<std::chrono::seconds>(when);
  const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(when - seconds).count();
  const std::time_t t = std::chrono::system_clock::to_time_t(seconds);
  std::tm local{};
  localtime_r(&t, &local);
  char date[32];
  std::string text(date, std::strftime(date, sizeof date, "%Y%m%d-%H%M%S", &local));
  char fraction[8];
  std::snprintf(fraction, sizeof fraction, ".%03d", static_cast<int>(millis));
  text += fraction;
  return text;
}

// The port becomes part of file names: only what the kernel calls a port.
const std::string& checkedPort(const std::string& port) {
  if (port.empty() || port.find_first_not_of("0123456789-.") != std::string::npos) {
    throw std::invalid_argument("not a USB port: \"" + port + "\"");
  }
  return port;
}

}  // namespace

// Made in this order and taken down in the reverse: the engine goes before
// the ports it talks through.
struct StationSlot::Parts {
  Parts(OwnerThread& owner, EngineHost& host, NotifyWindow& notify, Clock& clock, const std::string& tracePath)
      : usb(owner),
        serial(makePrinterSerialPort(owner)),
        engine(owner, host, notify, {*serial, usb, udp}, clock, tracePath) {}
  TUSBComm usb;
  // Never opened: the slot's tasks take the USB link. The engine wants one
  // of each port.
  std::unique_ptr<SerialPort> serial;
  UdpClient udp;
  TCommThread engine;
};

StationSlot::StationSlot(OwnerThread& owner, EngineHost& host, NotifyWindow& notify, Clock& clock,
                         const std::string& appDir, UsbDeviceName printer)
    : printer_(std::move(printer)),
      appDir_(appDir),
      tracePath_(appDir + "debug-" + checkedPort(printer_.port) + ".log"),
      parts_(std::make_unique<Parts>(owner, host, notify, clock, tracePath_)) {}

StationSlot::~StationSlot() = default;

TCommThread& StationSlot::engine() { return parts_->engine; }

std::string StationSlot::keepFailedTrace() const {
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(appDir_) / "traces";
  const fs::path kept = folder / (fileTimestamp(std::chrono::system_clock::now()) + "-" + printer_.port + ".log");
  // Copied beside its place and renamed into it: a kill mid-copy never
  // leaves half a trace under the kept name.
  const fs::path partial = folder / ("." + kept.filename().string() + ".part");
  std::error_code error;
  fs::create_directories(folder, error);
  if (!error) fs::copy_file(tracePath_, partial, fs::copy_options::overwrite_existing, error);
  if (!error) fs::rename(partial, kept, error);
  if (error) {
    const std::string reason = error.message();
    fs::remove(partial, error);
    throw std::runtime_error("Cannot write " + kept.string() + ": " + reason);
  }
  return kept.string();
}

LinkSettings slotLinkSettings(const std::string& port) {
  LinkSettings settings;
  settings.transport = Transport::Usb;
  settings.usbDevice = "@" + port;
  return settings;
}

}  // namespace ombrel
