#pragma once

// The production line window ("生产线"), opened from the parameters window.
// The operator ticks the recipe (the actions that set up one printer, run
// with the values the parameters window holds) and starts the station: every
// USB printer that arrives is then set up by it, or on a serial or network
// link the printer of the link at each press of Next printer. The recipe runs
// through the same core as ombrelctl --recipe. The table shows one row per
// printer, the large mark the latest printer's outcome; the rows go to the
// provisioning log, from which the day's rows come back when the window opens.

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "commands/recipe.h"
#include "commands/recipe_run.h"
#include "commands/usb_arrivals.h"
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
  void fillRecipeList(const Recipe& recipe);
  Recipe tickedRecipe() const;
  bool keepRecipe();
  void updateButtons();
  int language() const;
  // An action as the operator sees it in the parameters window (frm_line_captions.cpp).
  QString actionCaption(const std::string& control) const;
  // The station's state line: wrapped, and whole in its tool tip.
  void showState(const QString& text);

  // The station (frm_line_station.cpp).
  void btn_LineStartClick();
  void btn_LineStopClick();
  void btn_LineNextClick();
  void usbPrintersChanged(const std::vector<std::string>& printers);
  void setUpNextArrival();
  void beginPrinter(const std::string& usbIdentity);
  void runNextAction();
  void finishPrinter();
  void printerEnded(const PrinterRow& row);

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
  QPushButton* startButton_ = nullptr;
  QPushButton* stopButton_ = nullptr;
  QPushButton* nextButton_ = nullptr;
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

  bool waiting_ = false;            // the station waits for USB printers
  ArrivalQueue arrivals_;           // printers waiting for their turn
  QTimer settled_;                  // runs until the USB notices have settled
  Recipe recipe_;                   // the recipe of the running station
  std::unique_ptr<RecipeRun> run_;  // the printer being set up
  std::string runningUsb_;          // its USB identity; empty on another link
  int runningRow_ = -1;
  int done_ = 0;
  int failed_ = 0;
};

}  // namespace ombrel::app
