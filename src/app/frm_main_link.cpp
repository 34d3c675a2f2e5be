// The main window's link test and the way into the parameters window.

#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <utility>

#include "app/app_texts.h"
#include "app/frm_main.h"
#include "app/frm_para.h"
#include "app/link_text.h"
#include "app/status_panel.h"
#include "texts/message_texts.h"

namespace ombrel::app {

namespace {
constexpr int kLinkTestTask = 1;
// The parameters button waits for its link test in steps of 50 ms while the
// counter, starting at 1, stays at most 20: about one second.
constexpr std::int64_t kWaitStepMs = 50;
constexpr int kWaitCounterLimit = 20;
}  // namespace

bool TFrmMain::ReadLinkSettings() {
  switch (checkedTransport()) {
    case 0: {
      comName_ = ui_.cbb_Comname->currentText().toStdString();
      const int language = ui_.cbb_Language->currentIndex();
      for (const auto& [box, name] : {std::pair{ui_.cbb_DevBauRate, devRateName(language)},
                                      std::pair{ui_.cbb_TranBauRate, tranRateName(language)}}) {
        const std::string text = box->currentText().toStdString();
        if (!parseWholeNumber(text)) {
          services_.messageBoxes.warning(notWholeNumberText(language, name, text));
          return false;
        }
      }
      return true;
    }
    case 1:
      hostAddress_ = ui_.edt_Ipaddress->text().toStdString();
      hostPort_ = hostPortFromText(ui_.edt_Port->text().toStdString());
      return true;
    case 2:
      selUsbDevice_ = usbPortChoiceOfList();
      return true;
    default:
      return true;
  }
}

bool TFrmMain::startTask(int code) {
  if (!engine_->StartTask(code, 0, 0)) {
    showStatus(ui_.statusPanels[0], QString::fromStdString(taskRunningText(ui_.cbb_Language->currentIndex())));
    return false;
  }
  if (code == kLinkTestTask) linkTestRunning_ = true;
  // No earlier text may stand beside this task's outcome.
  runningText_ = QString::fromStdString(runningText(ui_.btn_Test->text().toStdString()));
  showStatus(ui_.statusPanels[0], runningText_);
  return true;
}

void TFrmMain::dropRunningText() {
  if (ui_.statusPanels[0]->text() == std::exchange(runningText_, QString())) clearStatus(ui_.statusPanels[0]);
}

void TFrmMain::btn_TestClick() {
  waitCounter_ = -1;
  connected_ = false;
  if (!ReadLinkSettings()) return;
  // A link test that already holds the link is left to finish.
  if (engine_->linkOpen()) return;
  startTask(kLinkTestTask);
}

void TFrmMain::btn_SetParaClick() {
  waitCounter_ = 1;
  if (!connected_) {
    if (!ReadLinkSettings()) return;
    // Refused while another task runs; a link test already running may
    // still find the printer in time.
    startTask(kLinkTestTask);
    while (!connected_) {
      ++waitCounter_;
      if (waitCounter_ > kWaitCounterLimit) break;
      pause(kWaitStepMs);
    }
  }
  if (!connected_ || paraWindow_ == nullptr) return;
  SaveMainDefaults();
  hide();
  paraWindow_->exec();
}

// Lets the engine's messages through for a while; the operator's input waits.
void TFrmMain::pause(std::int64_t protocolMs) {
  const auto real = std::chrono::duration_cast<std::chrono::milliseconds>(services_.clock.realDuration(protocolMs));
  QEventLoop loop;
  QTimer::singleShot(real, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void TFrmMain::linkTestSucceeded() {
  linkTestRunning_ = false;
  connected_ = true;
  if (waitCounter_ < 0) services_.messageBoxes.information(messageTexts().text("sConnectOKstr"));
}

void TFrmMain::linkTestFailed() {
  linkTestRunning_ = false;
  connected_ = false;
  services_.messageBoxes.error(messageTexts().text("sConnectErrorstr"));
}

}  // namespace ombrel::app
