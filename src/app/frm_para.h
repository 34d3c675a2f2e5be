#pragma once

// The parameters window. The main window shows it modally once the link
// test has found the printer. Showing it loads the stored settings into its
// controls and takes the engine's messages; closing it saves them, gives the
// messages back and shows the main window again.

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/para_widget_controls.h"
#include "app/status_panel.h"
#include "commands/device_write.h"
#include "commands/row_upload.h"
#include "commands/rows_report.h"
#include "commands/serial_allocator.h"
#include "commands/window_action.h"
#include "commands/window_actions.h"
#include "engine/engine_host.h"
#include "texts/caption_target.h"

namespace ombrel::app {

class TFrmLine;
class TFrmMain;

// The provisioning log the window appends to: in the program directory.
std::string provisioningLogPath(const std::string& appDir);

class LogoZoomWindow;

class TFrmPara final : public QDialog, public NotifyWindow, public CaptionTarget {
 public:
  explicit TFrmPara(TFrmMain& mainWindow);
  // Gives the engine's messages back to the main window for good.
  ~TFrmPara() override;
  TFrmPara(const TFrmPara&) = delete;
  TFrmPara& operator=(const TFrmPara&) = delete;

  // The controls by name, as the settings store and the actions see them.
  ParaControls& paraControls() { return controls_; }
  const ParaControls& paraControls() const { return controls_; }

  // The production line window, opened from this one.
  TFrmLine& lineWindow() { return *lineWindow_; }
  // Keeps a device write, also one of the production line
  // (keepDeviceWrite: the settings and its line in the provisioning log),
  // and sends the log's new rows to the line's server.
  void keepDeviceWrite(const DeviceWrite& write);
  // DeviceSerialNo follows the station's allocator: `next` is shown, and
  // saved when `save` says so.
  void showNextSerialNumber(const std::string& next, bool save);
  // The program's one sender of the provisioning log's rows, for the line's
  // server that [ProductionLine] names now; none without one
  // (frm_para_row_sending.cpp). A changed server, line or station replaces
  // it: asked before a row is logged, the rows from then on go up as the new
  // station's.
  RowSender* rowSender();

  // A transfer names the file it sends: shown in status panel 1.
  void showTransferText(const std::string& text);
  QLabel* statusPanel(std::size_t index) const { return index == 0 ? statusPanel0_->label() : statusPanel1_; }

  // A task's end: its word or failure text in status panel 0, its device
  // write kept, then the production line told.
  void taskEnded(const TaskOutcome& outcome) override;
  // Status texts of the engine go to status panel 0.
  void engineMessage(EngineMessage message, int wParam, const std::string& text) override;
  // A long transfer drives the progress bar beside the status panels and
  // enables the Cancel button while it runs; its end resets both.
  void transferProgress(const TransferProgress& progress) override;
  QProgressBar* progressBar() const { return progressBar_; }
  QPushButton* cancelButton() const { return cancelButton_; }
  // The end of this window's task that was still running when the window
  // closed: the word it would have shown, given what the main window's
  // panel shows now; none when no task of this window ran.
  std::optional<QString> endedAfterClose(const TaskOutcome& outcome, const QString& shown);

  std::string windowName() const override { return "FrmPara"; }
  std::string caption() const override;
  void setCaption(const std::string& caption) override;
  std::vector<CaptionControl> controls() override;

 protected:
  void showEvent(QShowEvent* event) override;
  // Every way of closing the window ends here.
  void done(int result) override;

 private:
  void createStatusBar();
  void FormShow();
  void FormClose();
  std::string settingsPath() const;
  // Raises when the file cannot be written; saveSettings shows why instead.
  void writeSettings();
  void saveSettings();
  void measureAgain();
  void centreOverMainWindow();
  // The word the end of this window's task shows, given the panel's text;
  // none when the panel keeps its text. Forgets the running task.
  std::optional<QString> endWord(const TaskOutcome& outcome, const QString& shown);

  // Rules that follow the operator's choices (frm_para_rules.cpp).
  void connectRules();
  void applyEnableRules();
  void rb_StaticIPClick();
  void RadioGroup1Click();
  void rb_InfraredClick();
  void Chb_CloseWifiChange();
  void distanceBoxEnter(QLineEdit* box);
  void addressBoxLeft(QLineEdit* box);
  bool leftBoxHoldsAnAddress();

  // Set buttons (frm_para_actions.cpp).
  void connectActions();
  void act(const WindowAction& action, const std::string& savePath = {});
  // Whether the click started its task.
  bool started(const WindowAction& action, const std::string& savePath);
  void undoClick(std::string_view checkBox);
  // A click while a task runs does nothing but say so.
  bool refusedWhileBusy();
  // Starts the task of the action captioned `caption`; false when refused.
  bool startTask(TaskStart&& task, const QString& caption);
  // The second panel shows the text whole, or elided with the whole text as its hint.
  void showInPanel1(const QString& text);

  // The provisioning log of device writes (frm_para_provisioning.cpp).
  void showProvisioningLogPath();
  void addProductionLineButton();
  // The device write of this window's Set or Rework button, read before its
  // task starts.
  DeviceWrite deviceWrite(bool rework) const;
  // The end of the device write whose task was running, if one was.
  void deviceWriteEnded(const TaskOutcome& outcome);
  // The Set button's number from the running station's allocator, put into
  // DeviceSerialNo; true without one when no station runs, false after
  // saying why when none can be had.
  bool holdSerialNumber();
  // Records the typed number as rework on the line's server; says why not
  // and returns false when it is refused.
  bool reworkRecorded();
  // The Set button's own numbers from the line's server while no station
  // runs; none without Database=, or after saying why it cannot be used.
  std::shared_ptr<SerialAllocator> lineServerNumbers();
  // The held number's end, if one is held.
  void endSerialNumber(NumberEnd end);
  // What the row sender could not do, as a warning once (frm_para_row_sending.cpp).
  void showRowSendProblem();
  void btn_OpenPrgClick();
  void btn_OpenFontClick();

  // The NV logo list and its preview (frm_para_logos.cpp).
  void connectLogos();
  void btn_OpenLogoClick();
  void btn_DeleteLogoClick();
  void showLogoPreview();
  void btn_ZoomLogoClick();
  int language() const;

  TFrmMain& mainWindow_;
  ParaWidgetControls controls_;
  // The address box the operator has just left, until its check has run.
  QLineEdit* leftAddressBox_ = nullptr;
  std::vector<QWidget*> captionControls_;
  QTabWidget* tabs_ = nullptr;
  QStatusBar* statusBar_ = nullptr;
  LogoZoomWindow* logoZoom_ = nullptr;  // made on the first enlargement
  std::unique_ptr<NoticePanel> statusPanel0_;
  QLabel* statusPanel1_ = nullptr;
  ProvisioningLog provisioningLog_;
  TFrmLine* lineWindow_ = nullptr;  // a child of this window
  // The device write whose task is running.
  std::optional<DeviceWrite> runningDeviceWrite_;
  // The number of this window's device write and the allocator it came from,
  // kept alive until the write has ended.
  std::shared_ptr<SerialAllocator> numbers_;
  bool lineServerRefused_ = false;  // the last lineServerNumbers() said why it gave none
  std::optional<std::uint32_t> heldNumber_;
  std::unique_ptr<RowSender> rowSender_;  // while the settings name a line's server
  RowsSource rowsSentTo_;                 // what rowSender_ sends
  QTimer rowProblemCheck_;                // runs while rowSender_ does
  std::string shownRowProblem_;
  // The check box whose click started the running task: it goes back when
  // the task fails, as when the click sent nothing.
  std::string runningBox_;
  QProgressBar* progressBar_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  bool updateRunning_ = false;    // a program update task of this window has not ended yet
  bool transferRunning_ = false;  // a transfer reports progress and has not ended
  // The status shown while this window's task runs, and the key of the text
  // it ends with when the task reports none of its own.
  QString runningText_;
  std::string endKey_;
};

}  // namespace ombrel::app
