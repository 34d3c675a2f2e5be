// The parameters window's Set buttons: each asks its action for the task to
// start and starts it, or tells the operator why nothing starts. Buttons
// whose actions are not built yet stay disabled.

#include <QCheckBox>
#include <QPushButton>
#include <set>
#include <variant>

#include "app/app_texts.h"
#include "app/frm_main.h"
#include "app/frm_para.h"
#include "protocol/codes.h"
#include "texts/message_texts.h"
#include "commands/basic_settings.h"
#include "commands/program_update.h"
#include "commands/wifi_switch.h"

namespace ombrel::app {

namespace {

struct SetButton {
  const char* name;
  ActionOutcome (*click)(const ParaControls&);
  // The main window's link choice is read again first.
  bool refreshesLink;
};

constexpr SetButton kSetButtons[] = {
    {"btn_SetBauRate", btn_SetBauRateClick, true},
    {"btn_flowcontrol", btn_flowcontrolClick, false},
    {"btn_SetCodepage", btn_SetCodepageClick, true},
    {"btn_SetForcepaper", btn_SetForcepaperClick, true},
    {"btn_SetpoweroffTime", btn_SetpoweroffTimeClick, true},
    {"btn_SetAllPara", btn_SetAllParaClick, true},
    {"btn_SetReset", btn_SetResetClick, true},
    {"btn_SetUsbDeviceType", btn_SetUsbDeviceTypeClick, false},
    {"btn_SetPaperType", btn_SetPaperTypeClick, false},
    {"btn_SetPrinterOrder", btn_SetPrinterOrderClick, false},
    {"btn_SetRptTime", btn_SetRptTimeClick, true},
    {"btn_UpdatePrg", btn_UpdatePrgClick, true},
    {"bt_firmware", bt_firmwareClick, true},
};

}  // namespace

void TFrmPara::connectActions() {
  std::set<const QPushButton*> acting;
  for (const SetButton& button : kSetButtons) {
    auto* widget = controls_.widget<QPushButton>(button.name);
    connect(widget, &QPushButton::clicked, this, [this, button] { act(button.click(controls_), button.refreshesLink); });
    acting.insert(widget);
  }
  auto* openPrg = controls_.widget<QPushButton>("btn_OpenPrg");
  connect(openPrg, &QPushButton::clicked, this, [this] { btn_OpenPrgClick(); });
  acting.insert(openPrg);
  connect(cancelButton_, &QPushButton::clicked, this, [this] { mainWindow_.engine().requestCancel(); });
  for (QPushButton* widget : findChildren<QPushButton*>()) {
    if (!acting.contains(widget)) widget->setEnabled(false);
  }
  // Only the operator's own click switches WiFi: loading the settings ticks
  // the box without sending anything.
  connect(controls_.widget<QCheckBox>("Chb_CloseWifi"), &QCheckBox::clicked, this,
          [this] { act(Chb_CloseWifiClick(controls_), false); });
}

void TFrmPara::act(const ActionOutcome& outcome, bool refreshLink) {
  if (const auto* refusal = std::get_if<Refusal>(&outcome)) {
    switch (refusal->kind) {
      case Refusal::Kind::NoChoice:
        return;
      case Refusal::Kind::Warning:
        mainWindow_.messageBoxes().warning(refusal->text);
        return;
      case Refusal::Kind::InvalidNumber:
        mainWindow_.messageBoxes().error(refusal->text);
        return;
    }
  }
  if (refreshLink && !mainWindow_.ReadLinkSettings()) return;
  startTask(std::get<TaskStart>(outcome));
}

void TFrmPara::startTask(const TaskStart& task) {
  if (!task.transferLine.empty()) statusPanels_[1]->setText(QString::fromStdString(task.transferLine));
  if (!mainWindow_.engine().StartTask(task.code, task.a, task.b, task.payload, task.transfer)) {
    statusPanels_[0]->setText(QString::fromStdString(taskRunningText(language())));
    return;
  }
  updateRunning_ = task.code == kTaskProgramUpdate || task.code == kTaskRawProgramTransfer;
}

void TFrmPara::btn_OpenPrgClick() {
  const auto path = mainWindow_.messageBoxes().openFile(messageTexts().text(kProgramFileTitleKey), kProgramFileFilter);
  if (path) controls_.widget<QLineEdit>("edt_Prgfile")->setText(QString::fromStdString(*path));
}

}  // namespace ombrel::app
