#include "cli/slot_run.h"

#include "ports/usb/usb_identity.h"

namespace ombrel::cli {

namespace {

// The slot's link, named with the printer's identity too, so that its rows
// and records say which kind of printer was at the port.
LinkSettings slotLink(const Options& options, const UsbDeviceName& printer) {
  LinkSettings link = slotLinkSettings(printer.port);
  link.usbDevice = usbDeviceName(printer.identity, printer.port);
  link.devBaud = options.link.devBaud;
  link.tranBaud = options.link.tranBaud;
  return link;
}

}  // namespace

SlotRun::SlotRun(const Station& station, UsbDeviceName printer, std::function<void()> ended)
    : station_(station),
      view_(station.lines, printer.port),
      frontEnd_(slotLink(station.options, printer), view_, station.options.language, station.clock),
      slot_(loop_, frontEnd_, frontEnd_, station.clock, station.appDir, printer),
      settings_(station.share.settingsCopy()),
      context_{slot_.engine(),     frontEnd_,      station.options, station.clock,  settings_,
               station.interrupts, station.appDir, false,           &station.share, printer.port},
      thread_([this, ended = std::move(ended)] { run(ended); }) {}

SlotRun::~SlotRun() { thread_.join(); }

void SlotRun::run(const std::function<void()>& ended) {
  try {
    end_ = station_.setUp(context_);
  } catch (const std::exception& error) {
    // A journal or file that cannot be written: this printer fails, and the
    // station must not go on.
    frontEnd_.messageBox(error.what());
    context_.recordLost = true;
    end_.status = kExitTaskFailed;
  }
  loop_.send([] {});  // the engine's last messages have been shown
  if (end_.status != kExitOk) {
    try {
      slot_.keepFailedTrace();
    } catch (const std::exception& error) {
      frontEnd_.messageBox(error.what());
    }
  }
  done_ = true;
  ended();
}

}  // namespace ombrel::cli
