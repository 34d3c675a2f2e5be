// Boot mode: the main window drives the boot handshake once a second until
// the printer's boot loader answers.

#include "app/frm_main.h"

namespace ombrel::app {

namespace {
constexpr int kBootHandshakeTask = 28;
constexpr const char* kBootAnswered = "151";
}  // namespace

void TFrmMain::setLinkControlsEnabled(bool enabled) {
  // The parallel radio stays disabled: nothing here drives a parallel port.
  QWidget* const controls[] = {ui_.GroupBox1,        ui_.transportRadios[0], ui_.transportRadios[1],
                               ui_.transportRadios[2], ui_.cbb_Comname,      ui_.cbb_DevBauRate,
                               ui_.cbb_Check,        ui_.cbb_TranBauRate,    ui_.edt_Ipaddress,
                               ui_.edt_Port,         ui_.cbb_UsbDeviceList,  ui_.cbb_Lpt,
                               ui_.cbb_Language,     ui_.btn_Test,           ui_.btn_SetPara};
  for (QWidget* control : controls) control->setEnabled(enabled);
}

void TFrmMain::but_bootInClick() {
  if (!ReadLinkSettings()) return;
  setLinkControlsEnabled(false);
  ui_.Timer1->start();
}

void TFrmMain::but_bootOutClick() {
  setLinkControlsEnabled(true);
  ui_.Timer1->stop();
  engine_->stopRawReceive();
}

void TFrmMain::Timer1Timer() {
  if (engine_->bootReply() != kBootAnswered) {
    // While the handshake still runs the request is refused, as it should be.
    engine_->StartTask(kBootHandshakeTask, 0, 0);
    return;
  }
  but_bootOutClick();
  engine_->finishBootMode();
}

}  // namespace ombrel::app
