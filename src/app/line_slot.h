#pragma once

// One slot of the production line window: the engine of the printer at one
// USB port (a StationSlot), running the recipe on it task after task as the
// window's Next printer runs it on the main engine, with its status texts and
// progress on its tile. The engine calls it on the Qt thread, through the
// owner thread of the main window's engine.

#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "app/slot_tile.h"
#include "commands/recipe_run.h"
#include "commands/serial_allocator.h"
#include "commands/station_slot.h"
#include "settings/para_control_state.h"

namespace ombrel::app {

// Each slot runs on its own copy of the controls: a device write steps the
// serial number of the run that made it, never that of another slot.
void copyControls(const ParaControls& from, ParaControlState& to);

class LineSlot final : public EngineHost, public NotifyWindow {
 public:
  // What the window hears of the run.
  struct Events {
    std::function<void(LineSlot&)> moved;                 // the row changed, a number may have been taken or ended
    std::function<void(const DeviceWrite&)> deviceWrite;  // a device write ended or was refused
    std::function<void(LineSlot&)> ended;                 // the run is over
    std::function<void(std::function<void()>)> later;     // runs a step in a turn of the event loop of its own
  };
  struct Station {
    OwnerThread& owner;
    Clock& clock;
    std::string appDir;  // ends in '/'
    int language;
  };
  // Raises what StationSlot raises when the engine cannot be made.
  LineSlot(const Station& station, UsbDeviceName printer, SlotTile& tile, Events events);
  ~LineSlot() override;
  LineSlot(const LineSlot&) = delete;
  LineSlot& operator=(const LineSlot&) = delete;

  // Runs `recipe` with a copy of `controls` as they are now; the device
  // write's numbers from `numbers` when given.
  void run(const Recipe& recipe, const ParaControls& controls, SerialAllocator* numbers);
  // No further action after the running one.
  void stop();
  bool running() const { return run_ && run_->row().end == PrinterRow::End::Running; }
  const PrinterRow& row() const { return run_->row(); }
  const UsbDeviceName& printer() const { return printer_; }
  // Keeps the latest trace of a printer that failed; the file's path within
  // the program directory, or why it could not be kept.
  std::string keepFailedTrace() const;
  // The engine and its port go; what it posted before still reaches this object.
  void release() { station_.reset(); }
  // The window goes: nothing more runs after the running action, and nothing is told.
  void forgetWindow();

  LinkSettings linkSettings() override { return slotLinkSettings(printer_.port); }
  void devBaudChanged(int) override {}
  void showIdleData(const Bytes&) override {}
  // The main window's engine reports the station's printers.
  void usbDevicesChanged(const std::vector<UsbDeviceName>&) override {}
  void showTransferText(const std::string&) override {}

  void taskEnded(const TaskOutcome& outcome) override;
  void engineMessage(EngineMessage message, int wParam, const std::string& text) override;
  void transferProgress(const TransferProgress& progress) override;

 private:
  void runNextAction();
  void ended(const TaskOutcome& outcome, bool present);
  void tellMoved();
  bool printerPresent() const;

  Station parts_;
  UsbDeviceName printer_;
  QPointer<SlotTile> tile_;
  Events events_;
  ParaControlState controls_;
  std::unique_ptr<RecipeRun> run_;
  std::unique_ptr<StationSlot> station_;
};

}  // namespace ombrel::app
