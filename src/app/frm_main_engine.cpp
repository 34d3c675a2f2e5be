// The main window's side of the engine: the link snapshot of every task,
// what the printer and the ports report, and the engine's messages.

#include <algorithm>
#include <utility>

#include "app/app_texts.h"
#include "app/frm_main.h"
#include "app/frm_para.h"
#include "app/idle_lines.h"
#include "app/link_text.h"
#include "app/status_panel.h"
#include "app/usb_choice.h"
#include "commands/transfer_texts.h"
#include "platform/errors.h"

namespace ombrel::app {

LinkSettings TFrmMain::linkSettings() {
  LinkSettings link;
  switch (checkedTransport()) {
    case 0:
      link.transport = Transport::Serial;
      break;
    case 1:
      link.transport = Transport::Network;
      break;
    case 2:
      link.transport = Transport::Usb;
      break;
    default:
      // Nothing here drives a parallel port; no printer can answer there.
      throw ECommonError(error_text::kConnectingFailed, FailureKind::ConnectRefused);
  }
  link.comName = comName_;
  link.devBaud = rateFromBox(ui_.cbb_DevBauRate, devRateName(ui_.cbb_Language->currentIndex()));
  link.tranBaud = rateFromBox(ui_.cbb_TranBauRate, tranRateName(ui_.cbb_Language->currentIndex()));
  link.hostAddress = hostAddress_;
  link.hostPort = hostPort_;
  link.usbDevice = selUsbDevice_;
  return link;
}

int TFrmMain::rateFromBox(const QComboBox* box, const std::string& name) const {
  const std::string text = box->currentText().toStdString();
  if (const auto rate = parseWholeNumber(text)) return *rate;
  throw ECommonError(notWholeNumberText(ui_.cbb_Language->currentIndex(), name, text), FailureKind::InputRefused);
}

void TFrmMain::devBaudChanged(int rate) {
  const QString text = QString::number(rate);
  const int index = ui_.cbb_DevBauRate->findText(text);
  if (index >= 0) {
    ui_.cbb_DevBauRate->setCurrentIndex(index);
  } else {
    ui_.cbb_DevBauRate->setEditText(text);
  }
}

void TFrmMain::showIdleData(const Bytes& bytes) {
  for (const auto& line : idleDataLines(bytes)) ui_.Memo1->appendPlainText(QString::fromStdString(line));
}

void TFrmMain::usbDevicesChanged(const std::vector<UsbDeviceName>& printers) {
  UsbPrinterList* list = ui_.cbb_UsbDeviceList;
  const std::optional<UsbDeviceName> selected = list->currentPrinter();
  const bool offeredBefore = list->count() > 0;
  list->setPrinters(printers);
  // The operator's choice stays while its printer is present at its port;
  // when it has left, nothing is chosen, also as other printers come and go,
  // so that no task goes to another printer unasked. With no choice yet (no
  // printer was listed), the first printer is chosen as at start-up.
  if (selected) {
    const auto kept = std::find(printers.begin(), printers.end(), *selected);
    if (kept != printers.end()) list->setCurrentIndex(static_cast<int>(kept - printers.begin()));
  } else if (!offeredBefore) {
    if (!printers.empty()) list->setCurrentIndex(0);
    chooseStoredUsbPrinter();
  }
  if (usbListener_) usbListener_(printers);
}

void TFrmMain::chooseStoredUsbPrinter() {
  // The engine's first list may come after the window has read the stored
  // choice: the choice waits for a list that holds printers.
  UsbPrinterList* list = ui_.cbb_UsbDeviceList;
  if (storedUsbChoice_.empty() || list->count() == 0) return;
  if (const auto index = storedUsbPrinter(list->printers(), std::exchange(storedUsbChoice_, {}))) {
    list->setCurrentIndex(static_cast<int>(*index));
  }
}

std::string TFrmMain::usbPortChoiceOfList() const {
  const auto printer = ui_.cbb_UsbDeviceList->currentPrinter();
  return printer ? usbPortChoice(ui_.cbb_UsbDeviceList->printers(), *printer) : std::string();
}

void TFrmMain::setUsbListener(std::function<void(const std::vector<UsbDeviceName>&)> listener) {
  usbListener_ = std::move(listener);
}

bool TFrmMain::useUsbPrinter(const std::string& choice) {
  const auto index = chosenUsbPrinter(ui_.cbb_UsbDeviceList->printers(), choice);
  if (!index) return false;
  ui_.cbb_UsbDeviceList->setCurrentIndex(static_cast<int>(*index));
  return ReadLinkSettings();
}

void TFrmMain::showTransferText(const std::string& text) {
  if (paraWindow_ != nullptr) paraWindow_->showTransferText(text);
}

void TFrmMain::replyCheckingChanged(bool checked) {
  const int language = ui_.cbb_Language->currentIndex();
  ui_.replyNotice->setText(QString::fromStdString(repliesUncheckedNotice(language)));
  ui_.replyNotice->setToolTip(QString::fromStdString(repliesNotCheckedText(language)));
  ui_.replyNotice->setVisible(!checked);
}

std::optional<std::int64_t> TFrmMain::transferTimeLeft(const TransferProgress& progress) {
  return transferTimeLeft_.take(progress, services_.clock.nowMs());
}

void TFrmMain::transferProgress(const TransferProgress& progress) {
  QLabel* panel = ui_.statusPanels[1];
  const auto msLeft = transferTimeLeft(progress);
  if (progress.phase == TransferPhase::Ended) {
    clearStatus(panel);
    return;
  }
  const int permille = progress.permille();
  const QString text = QString::fromStdString(transferPhaseText(progress, msLeft, ui_.cbb_Language->currentIndex())) +
                       QStringLiteral(" %1.%2%").arg(permille / 10).arg(permille % 10);
  showElided(panel, text);
}

void TFrmMain::taskEnded(const TaskOutcome& outcome) {
  openAdvice_ = outcome.openAdvice;
  QLabel* panel = ui_.statusPanels[0];
  if (paraWindow_ != nullptr) {
    if (const auto word = paraWindow_->endedAfterClose(outcome, panel->text())) {
      showStatus(panel, *word);
      return;
    }
  }
  dropRunningText();
}

void TFrmMain::engineMessage(EngineMessage message, int, const std::string& text) {
  switch (message) {
    case kLinkTestSucceeded:
      linkTestSucceeded();
      return;
    case kLinkTestFailed:
      // The status bar shows the failure before its message box does.
      showStatus(ui_.statusPanels[0], QString::fromStdString(text));
      linkTestFailed();
      return;
    case kStatusChanged:
      showStatus(ui_.statusPanels[0], QString::fromStdString(text));
      return;
    case kTaskSucceeded:
      linkTestRunning_ = false;
      return;
    case kTaskFailed:
      showStatus(ui_.statusPanels[0], QString::fromStdString(text));
      if (!openAdvice_.empty()) services_.messageBoxes.warning(openAdvice_);
      // A link test that could not even take the link ends without a verdict.
      if (linkTestRunning_) linkTestFailed();
      return;
  }
}

}  // namespace ombrel::app
