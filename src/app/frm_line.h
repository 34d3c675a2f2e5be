#pragma once

// The production line window ("生产线"), opened from the parameters window.
// The operator ticks the recipe (the actions that set up one printer, run
// with the values the parameters window holds) and starts the station: every
// USB printer that arrives then gets a slot of its own, its engine bound to
// the port it is plugged into, several at once up to the Slots box, each
// shown on a tile; or, on a serial or network link, the printer of the link
// is set up at each press of Next printer. The device writes take their
// serial numbers from one allocator while the station runs. The recipe runs
// through the same core as ombrelctl --recipe. The table shows one row per
// printer, the large mark the latest printer's outcome; the rows go to the
// provisioning log, from which the day's rows come back when the window opens.

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/background_work.h"
#include "app/line_slot.h"
#include "app/slot_tile.h"
#include "commands/line_server_settings.h"
#include "commands/port_names.h"
#include "commands/recipe.h"
#include "commands/recipe_run.h"
#include "commands/serial_allocator.h"
#include "commands/slot_queue.h"
#include "texts/caption_target.h"

namespace ombrel::app {

class TFrmMain;
class TFrmPara;

class TFrmLine final : public QDialog, public CaptionTarget {
 public:
  TFrmLine(TFrmPara& para, TFrmMain& mainWindow);
  ~TFrmLine() override;
  TFrmLine(const TFrmLine&) = delete;
  TFrmLine& operator=(const TFrmLine&) = delete;

  // The end of a task, which the parameters window passes on: the next
  // action of the printer being set up, or its end.
  void taskEnded(const TaskOutcome& outcome);

  QTableWidget* table() const { return table_; }
  // The tile of the printer at `port`, while it is plugged in.
  SlotTile* tile(const std::string& port) const;
  // The serial numbers of the running station, for the parameters window's
  // device write; none while no station runs.
  std::shared_ptr<SerialAllocator> serialNumbers() const { return numbers_; }

  std::string windowName() const override { return "FrmLine"; }
  std::string caption() const override;
  void setCaption(const std::string& caption) override;
  std::vector<CaptionControl> controls() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  // The window's controls (frm_line.cpp).
  void build();
  QWidget* buildRecipeGroup();
  QWidget* buildStationGroup();
  QWidget* buildSlotsGroup();
  void fillRecipeList(const Recipe& recipe);
  Recipe tickedRecipe() const;
  bool keepRecipe();
  void updateButtons();
  int language() const;
  // The line database's boxes and Test button (frm_line_database.cpp).
  QWidget* buildDatabaseGroup();
  void showLineServer(const IniFile& file);
  LineServerSettings typedLineServer() const;
  // Saves the boxes; nothing, after saying why, for a connection string
  // holding a password, which is never saved.
  std::optional<LineServerSettings> keepLineServer();
  // Connects on a worker; the state says so until the outcome comes back.
  void btn_LineDbTestClick();
  // An action as the operator sees it in the parameters window (frm_line_captions.cpp).
  QString actionCaption(const std::string& control) const;
  // The station's state line: wrapped, and whole in its tool tip.
  void showState(const QString& text);

  // The station (frm_line_station.cpp).
  void btn_LineStartClick();
  void btn_LineStopClick();
  void btn_LineNextClick();
  // Saves the day's rows as CSV, from the line's server when the station has
  // one; the dialog asks first, the rows are read and written on a worker.
  void btn_LineExportClick();
  // The serial numbers for the station; false, after saying why, when it cannot start.
  bool takeSerialNumbers();
  void usbPrintersChanged(const std::vector<UsbDeviceName>& printers);
  void startWaiting();
  void beginSlot(const UsbDeviceName& printer);
  void slotMoved(LineSlot& slot);
  void slotEnded(LineSlot& slot);
  void dropSlot(const std::string& port);
  void retry(const std::string& port);
  // Once the station stopped and every slot ended, its numbers and queue go.
  void dropStationWhenIdle();
  void showNextSerialNumber();
  // Slot work that may take a while (it writes to the disk), one piece per
  // turn of the event loop, in the order it came.
  void later(std::function<void()> step);
  void runSlotStep();
  // `usbPrinter`: the main window's chosen USB printer; empty on another link.
  void beginPrinter(const UsbDeviceName& usbPrinter);
  void runNextAction();
  void finishPrinter();
  void printerEnded(const PrinterRow& row);

  // The tiles (frm_line_tiles.cpp).
  SlotTile& tileFor(const std::string& port);
  void removeTilesOfLeft(const std::vector<UsbDeviceName>& present);
  QString portText(const std::string& port) const;

  // The rows and the mark (frm_line_rows.cpp).
  void showDayRows();
  int addRow();
  void showRow(int row, const PrinterRow& printer);
  void showOutcome(const PrinterRow& printer);
  int actionColumn(const std::string& action);
  void showHeaders();
  std::string endText(const PrinterRow& printer) const;

  TFrmPara& para_;
  TFrmMain& mainWindow_;
  std::vector<QWidget*> captionControls_;
  QListWidget* recipeList_ = nullptr;
  QLineEdit* identityFilter_ = nullptr;
  QSpinBox* slotsBox_ = nullptr;
  QLineEdit* portNamesBox_ = nullptr;
  QWidget* tilesArea_ = nullptr;
  QWidget* databaseGroup_ = nullptr;
  QLineEdit* databaseBox_ = nullptr;
  QLineEdit* stationBox_ = nullptr;
  QLineEdit* lineBox_ = nullptr;
  QPushButton* testButton_ = nullptr;
  QPushButton* startButton_ = nullptr;
  QPushButton* stopButton_ = nullptr;
  QPushButton* nextButton_ = nullptr;
  QPushButton* exportButton_ = nullptr;
  QLabel* passMark_ = nullptr;
  QLabel* failMark_ = nullptr;
  QLabel* doneCount_ = nullptr;
  QLabel* failedCount_ = nullptr;
  QLabel* state_ = nullptr;
  QTableWidget* table_ = nullptr;

  // The table's columns: the fixed ones by key, the actions by control name
  // (shown by their captions).
  std::vector<std::string> columns_;
  std::map<std::string, std::string> headers_;  // the fixed columns' captions

  bool waiting_ = false;  // the station waits for USB printers
  std::deque<std::function<void()>> slotSteps_;
  QTimer slotStepper_;  // runs while slot steps wait
  Recipe recipe_;       // the recipe of the running station
  PortNames portNames_;
  // The station's serial numbers; declared before the slots, whose runs use them.
  std::shared_ptr<SerialAllocator> numbers_;
  std::optional<SlotQueue> queue_;                          // from Start until the last slot has ended
  std::map<std::string, std::shared_ptr<LineSlot>> slots_;  // by port
  std::map<std::string, int> slotRows_;                     // the table row of each slot's run
  std::map<std::string, SlotTile*> tiles_;                  // by port, while the printer is plugged in
  std::unique_ptr<RecipeRun> run_;                          // the printer of Next printer
  std::string runningUsb_;                                  // its USB identity; empty on another link
  int runningRow_ = -1;
  int done_ = 0;
  int failed_ = 0;
  // Test's and Export's connections; last, so that their results are dropped first.
  BackgroundWork background_;
};

}  // namespace ombrel::app
