// The parameters window's Set buttons and check boxes: each asks its action
// for the task to start and starts it, or tells the operator why nothing
// starts. Buttons with no action yet stay disabled.

#include <QAbstractButton>
#include <QCheckBox>
#include <QPushButton>
#include <QScopeGuard>
#include <set>
#include <variant>

#include "app/app_texts.h"
#include "app/frm_main.h"
#include "app/frm_para.h"
#include "app/status_panel.h"
#include "commands/font_transfer.h"
#include "commands/program_update.h"
#include "commands/window_actions.h"
#include "protocol/codes.h"
#include "texts/message_texts.h"

namespace ombrel::app {

void TFrmPara::connectActions() {
  std::set<const QPushButton*> acting;
  for (const WindowAction& action : windowActions()) {
    const auto run = [this, &action] { act(action); };
    switch (action.kind) {
      case WindowAction::Kind::SetButton:
      case WindowAction::Kind::ProgramFileButton: {
        auto* button = controls_.widget<QPushButton>(action.control);
        connect(button, &QPushButton::clicked, this, run);
        acting.insert(button);
        break;
      }
      case WindowAction::Kind::SaveButton: {
        auto* button = controls_.widget<QPushButton>(action.control);
        connect(button, &QPushButton::clicked, this, [this, &action] {
          // No file is asked for that no task would take.
          if (!leftBoxHoldsAnAddress() || refusedWhileBusy()) return;
          const auto path = mainWindow_.messageBoxes().saveFile(action.saveFilter);
          if (path) act(action, *path);
        });
        acting.insert(button);
        break;
      }
      case WindowAction::Kind::CheckBox:
        // Only the operator's own click acts: loading the settings ticks the
        // box without sending anything.
        connect(controls_.widget<QCheckBox>(action.control), &QCheckBox::clicked, this, run);
        break;
    }
  }
  auto* openPrg = controls_.widget<QPushButton>("btn_OpenPrg");
  connect(openPrg, &QPushButton::clicked, this, [this] { btn_OpenPrgClick(); });
  acting.insert(openPrg);
  auto* openFont = controls_.widget<QPushButton>("btn_OpenFont");
  connect(openFont, &QPushButton::clicked, this, [this] { btn_OpenFontClick(); });
  acting.insert(openFont);
  // The logo list's own buttons (frm_para_logos.cpp).
  acting.insert(controls_.widget<QPushButton>("btn_OpenLogo"));
  acting.insert(controls_.widget<QPushButton>("btn_DeleteLogo"));
  connect(cancelButton_, &QPushButton::clicked, this, [this] { mainWindow_.engine().requestCancel(); });
  for (QPushButton* button : findChildren<QPushButton*>()) {
    if (!acting.contains(button)) button->setEnabled(false);
  }
}

void TFrmPara::act(const WindowAction& action, const std::string& savePath) {
  const bool checkBox = action.kind == WindowAction::Kind::CheckBox;
  if (started(action, savePath)) {
    if (checkBox) runningBox_ = action.control;
    return;
  }
  if (checkBox) undoClick(action.control);
}

void TFrmPara::undoClick(std::string_view checkBox) {
  // A check box shows what the printer has: a click that sent nothing is
  // undone, and the controls it enables follow.
  auto* box = controls_.widget<QCheckBox>(checkBox);
  box->setChecked(!box->isChecked());
}

bool TFrmPara::refusedWhileBusy() {
  if (!mainWindow_.engine().isBusy()) return false;
  statusPanel0_->showNotice(QString::fromStdString(taskRunningText(language())));
  return true;
}

bool TFrmPara::started(const WindowAction& action, const std::string& savePath) {
  // A click that leaves an address box holding no address is lost, and so
  // is one while a task runs: it asks nothing, reads nothing and shows no
  // file of its own.
  if (!leftBoxHoldsAnAddress() || refusedWhileBusy()) return false;
  const bool reworks = std::string_view(action.control) == kReworkControl;
  const bool writesDevice = reworks || std::string_view(action.control) == kDeviceWriteControl;
  // While a station runs, the write's number comes from its allocator; a
  // click that starts no task gives it back. A rework writes the typed number
  // once the line's server has recorded it.
  if (reworks ? !reworkRecorded() : writesDevice && !holdSerialNumber()) return false;
  auto giveBack = qScopeGuard([this] { endSerialNumber(NumberEnd::GivenBack); });
  ActionOutcome outcome = pressAction(action, controls_, savePath, mainWindow_.appDir());
  if (const auto* refusal = std::get_if<Refusal>(&outcome)) {
    if (writesDevice) {
      DeviceWrite write = deviceWrite(reworks);
      write.refuse(refusal->text);
      keepDeviceWrite(write);
    }
    switch (refusal->kind) {
      case Refusal::Kind::NoChoice:
      case Refusal::Kind::NothingToSend:
        // Nothing is said, and no earlier task's word stands beside the click.
        statusPanel0_->clearNow();
        break;
      case Refusal::Kind::Warning:
        mainWindow_.messageBoxes().warning(refusal->text);
        break;
      case Refusal::Kind::InvalidNumber:
        mainWindow_.messageBoxes().error(refusal->text);
        break;
    }
    return false;
  }
  if (action.refreshesLink && !mainWindow_.ReadLinkSettings()) return false;
  // Restoring the printer's defaults undoes its settings: one stray click
  // must not send it.
  if (std::string_view(action.control) == "btn_SetReset" &&
      !mainWindow_.messageBoxes().question(restoreDefaultsQuestion(language()))) {
    return false;
  }
  std::optional<DeviceWrite> write;
  if (writesDevice) write = deviceWrite(reworks);
  const auto* control = controls_.widget<QAbstractButton>(action.control);
  if (!startTask(std::get<TaskStart>(std::move(outcome)), control->text())) return false;
  giveBack.dismiss();
  runningDeviceWrite_ = std::move(write);
  return true;
}

bool TFrmPara::startTask(TaskStart&& task, const QString& caption) {
  const QString transferLine = QString::fromStdString(task.transferLine);
  // Moved, not copied: a file of many megabytes is held once.
  if (!mainWindow_.engine().StartTask(task.code, task.a, task.b, std::move(task.payload), std::move(task.transfer))) {
    statusPanel0_->showNotice(QString::fromStdString(taskRunningText(language())));
    return false;
  }
  // Its reports reach this thread only after this returns.
  mainWindow_.transferStarting(task.code);
  // The second panel belongs to this task now: its file, or nothing. The
  // engine's own line for it is posted, so it comes after this one.
  if (transferLine.isEmpty()) {
    clearStatus(statusPanel1_);
  } else {
    showInPanel1(transferLine);
  }
  updateRunning_ = task.code == kTaskProgramUpdate || task.code == kTaskRawProgramTransfer;
  // No earlier text may stand beside this task's outcome.
  runningText_ = QString::fromStdString(runningText(caption.toStdString()));
  statusPanel0_->showNow(runningText_);
  const bool download = task.code == kTaskFontDownload || task.code == kTaskLogoDownload;
  endKey_ = download ? "sDownloadDoneMsg" : "sSentMsg";
  return true;
}

void TFrmPara::showInPanel1(const QString& text) { showElided(statusPanel1_, text); }

void TFrmPara::btn_OpenPrgClick() {
  const auto path = mainWindow_.messageBoxes().openFile(messageTexts().text(kProgramFileTitleKey), kProgramFileFilter);
  if (path) controls_.widget<QLineEdit>("edt_Prgfile")->setText(QString::fromStdString(*path));
}

void TFrmPara::btn_OpenFontClick() {
  const auto path = mainWindow_.messageBoxes().openFile(messageTexts().text(kFontFileTitleKey), kFontFileFilter);
  if (path) controls_.widget<QLineEdit>("edt_FontFile")->setText(QString::fromStdString(*path));
}

}  // namespace ombrel::app
