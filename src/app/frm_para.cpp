#include "app/frm_para.h"

#include <QScopeGuard>
#include <QShowEvent>
#include <QVBoxLayout>
#include <utility>

#include "app/app_texts.h"
#include "app/control_hints.h"
#include "app/frm_line.h"
#include "app/frm_main.h"
#include "app/para_tabs.h"
#include "app/status_panel.h"
#include "app/widget_captions.h"
#include "commands/transfer_texts.h"
#include "platform/errors.h"
#include "settings/para_settings.h"
#include "texts/message_texts.h"

namespace ombrel::app {

namespace {
constexpr int kStatusPanel0Width = 250;
constexpr int kStatusPanel1Width = 50;
constexpr int kStatusBarEndMargin = 4;
constexpr int kProgressBarWidth = 220;
constexpr int kProgressRange = 1000;  // per mille, as the engine counts
constexpr const char* kSettingsFile = "sysconfig.ini";
// How long a refused click's notice stands in status panel 0, in protocol time.
constexpr std::int64_t kNoticeMs = 3000;

std::chrono::milliseconds realMs(const Clock& clock, std::int64_t protocolMs) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(clock.realDuration(protocolMs));
}
}  // namespace

TFrmPara::TFrmPara(TFrmMain& mainWindow)
    : mainWindow_(mainWindow), provisioningLog_(provisioningLogPath(mainWindow.appDir())) {
  setWindowTitle(QStringLiteral("Ombrel Setting Tool"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setModal(true);

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("PageControl1"));
  ParaPageBuilder build(*tabs_, controls_, captionControls_);
  buildBasicTab(build);
  buildBluetoothTab(build);
  buildWifiTab(build);
  buildNetworkTab(build);
  buildInfraredTab(build);
  buildDownloadTab(build);
  buildProductTab(build);
  showProvisioningLogPath();
  createStatusBar();

  auto* column = new QVBoxLayout(this);
  column->addWidget(tabs_, 1);
  column->addWidget(statusBar_);
  // The window takes the size its largest tab needs in either language.
  column->setSizeConstraint(QLayout::SetFixedSize);

  connectRules();
  connectActions();
  connectLogos();
  // After the actions: its button and the line window's are not disabled with the idle ones.
  addProductionLineButton();
  giveHints(captionControls_, paraWindowHints());
  connect(&rowProblemCheck_, &QTimer::timeout, this, [this] { showRowSendProblem(); });
}

TFrmPara::~TFrmPara() {
  mainWindow_.setParaWindow(nullptr);
  mainWindow_.engine().setNotifyWindow(mainWindow_);
}

void TFrmPara::createStatusBar() {
  statusBar_ = named(new QStatusBar(this), "StatusBar1", captionControls_);
  statusBar_->setSizeGripEnabled(false);
  // Without a size grip the last panel would touch the window's edge.
  statusBar_->setContentsMargins(0, 0, kStatusBarEndMargin, 0);
  statusPanel0_ = std::make_unique<NoticePanel>(makeStatusPanel(statusBar_, kStatusPanel0Width, false),
                                                realMs(mainWindow_.clock(), kNoticeMs));
  statusPanel1_ = makeStatusPanel(statusBar_, kStatusPanel1Width, true);
  statusBar_->addWidget(statusPanel0_->label(), 1);
  statusBar_->addWidget(statusPanel1_);

  progressBar_ = new QProgressBar(statusBar_);
  progressBar_->setObjectName(QStringLiteral("pb_Transfer"));
  progressBar_->setRange(0, kProgressRange);
  progressBar_->setValue(0);
  progressBar_->setTextVisible(true);
  progressBar_->setFormat(QString());
  progressBar_->setFixedWidth(kProgressBarWidth);
  cancelButton_ = named(new QPushButton(QStringLiteral("取消"), statusBar_), "btn_CancelTransfer", captionControls_);
  statusBar_->addPermanentWidget(progressBar_);
  statusBar_->addPermanentWidget(cancelButton_);
}

int TFrmPara::language() const { return mainWindow_.ui().cbb_Language->currentIndex(); }

void TFrmPara::transferProgress(const TransferProgress& progress) {
  const bool running = progress.phase != TransferPhase::Ended;
  const auto msLeft = mainWindow_.transferTimeLeft(progress);
  transferRunning_ = running;
  cancelButton_->setEnabled(running);
  if (!running) {
    progressBar_->setValue(0);
    progressBar_->setFormat(QString());
    return;
  }
  const int permille = progress.permille();
  progressBar_->setValue(permille);
  progressBar_->setFormat(QString::fromStdString(transferPhaseText(progress, msLeft, language())) +
                          QStringLiteral("  %1.%2%").arg(permille / 10).arg(permille % 10));
}

void TFrmPara::showTransferText(const std::string& text) { showInPanel1(QString::fromStdString(text)); }

void TFrmPara::taskEnded(const TaskOutcome& outcome) {
  // The production line's task ends reach it once this window has shown them.
  const auto passOn = qScopeGuard([&] { lineWindow_->taskEnded(outcome); });
  const bool update = updateRunning_;
  const std::string box = std::exchange(runningBox_, std::string());
  deviceWriteEnded(outcome);
  if (outcome.result != kTaskOk && !box.empty()) undoClick(box);
  if (const auto word = endWord(outcome, statusPanel0_->text())) statusPanel0_->show(*word);
  if (update && outcome.result != kTaskOk && outcome.kind == FailureKind::Cancelled) {
    mainWindow_.messageBoxes().warning(partialProgramWarning(language()));
  }
}

std::optional<QString> TFrmPara::endedAfterClose(const TaskOutcome& outcome, const QString& shown) {
  if (runningText_.isEmpty()) return std::nullopt;
  // Its progress went to the main window: nothing of it runs here any more.
  transferRunning_ = false;
  return endWord(outcome, shown);
}

std::optional<QString> TFrmPara::endWord(const TaskOutcome& outcome, const QString& shown) {
  const QString running = std::exchange(runningText_, QString());
  updateRunning_ = false;
  if (outcome.result != kTaskOk) return QString::fromStdString(outcome.text);
  // Every action ends with a word: a download says it is complete, and a
  // task that reported nothing says its bytes have left.
  if (!running.isEmpty() && (endKey_ == "sDownloadDoneMsg" || shown == running)) {
    return QString::fromStdString(messageTexts().text(endKey_));
  }
  return std::nullopt;
}

void TFrmPara::engineMessage(EngineMessage message, int, const std::string& text) {
  if (message == kStatusChanged) statusPanel0_->show(QString::fromStdString(text));
}

std::string TFrmPara::caption() const { return windowTitle().toStdString(); }

void TFrmPara::setCaption(const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); }

std::vector<CaptionControl> TFrmPara::controls() {
  std::vector<CaptionControl> result;
  for (QWidget* widget : captionControls_) {
    CaptionControl control = captionControlFor(*widget);
    if (tabs_->indexOf(widget) >= 0) {
      // A tab page's caption is the text of its tab.
      control.text = [this, widget] { return tabs_->tabText(tabs_->indexOf(widget)).toStdString(); };
      control.setText = [this, widget](const std::string& text) {
        tabs_->setTabText(tabs_->indexOf(widget), QString::fromStdString(text));
      };
    }
    result.push_back(std::move(control));
  }
  return result;
}

void TFrmPara::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Restoring a minimised window is no new showing.
  if (!event->spontaneous()) FormShow();
}

void TFrmPara::done(int result) {
  // Closing does not stop a transfer: the operator is asked first.
  if (isVisible() && transferRunning_ && mainWindow_.engine().isBusy() &&
      !mainWindow_.messageBoxes().question(closeDuringTransferQuestion(language()))) {
    return;
  }
  if (isVisible()) FormClose();
  QDialog::done(result);
}

std::string TFrmPara::settingsPath() const { return mainWindow_.appDir() + kSettingsFile; }

void TFrmPara::FormShow() {
  putItemTexts(controls_);
  LoadParaSettings(IniFile(settingsPath()), controls_);
  statusPanel0_->clearNow();
  // Nothing of an earlier showing's transfer stays.
  clearStatus(statusPanel1_);
  progressBar_->setValue(0);
  progressBar_->setFormat(QString());
  // Cancel only while a transfer runs: one that ended while the window was
  // closed reported its end to the main window.
  cancelButton_->setEnabled(transferRunning_);
  mainWindow_.engine().setNotifyWindow(*this);
  applyEnableRules();
  tabs_->setCurrentIndex(0);
  measureAgain();
  centreOverMainWindow();
}

// A tab never shown keeps its layouts' measures from the texts it was made
// with; captions and items changed since must be measured again, or the
// window would take the size of the old texts.
void TFrmPara::measureAgain() {
  for (QWidget* widget : findChildren<QWidget*>()) widget->updateGeometry();
  for (QLayout* layout : findChildren<QLayout*>()) layout->invalidate();
  layout()->activate();
}

void TFrmPara::writeSettings() {
  IniFile file(settingsPath());
  SaveParaSettings(file, controls_);
  file.save();
}

void TFrmPara::saveSettings() {
  try {
    writeSettings();
  } catch (const std::exception& error) {
    mainWindow_.messageBoxes().warning(error.what());
  }
}

void TFrmPara::FormClose() {
  // The end of a device write still running reaches the main window, not
  // this one: its line says so rather than waiting for another task's end.
  if (runningDeviceWrite_) {
    runningDeviceWrite_->abandon("The parameters window closed before the device write ended");
    endSerialNumber(NumberEnd::Unknown);
    keepDeviceWrite(*runningDeviceWrite_);
    runningDeviceWrite_.reset();
  }
  // The window closes even when the save fails: only this session's choices
  // are lost.
  saveSettings();
  runningBox_.clear();  // its task's end no longer reaches this window
  // A task of this window still running goes on reporting in the main window.
  if (!runningText_.isEmpty()) mainWindow_.showStatusText(statusPanel0_->text());
  mainWindow_.engine().setNotifyWindow(mainWindow_);
  mainWindow_.paraWindowClosed();
}

void TFrmPara::centreOverMainWindow() {
  QRect frame = frameGeometry();
  frame.moveCenter(mainWindow_.frameGeometry().center());
  move(frame.topLeft());
}

}  // namespace ombrel::app
