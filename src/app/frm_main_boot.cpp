// Boot mode: the main window's timer ticks boot mode once a second until the
// printer's boot loader answers, then the link controls come back.

#include "app/frm_main.h"
#include "commands/boot_mode.h"

namespace ombrel::app {

void TFrmMain::setLinkControlsEnabled(bool enabled) {
  // The parallel radio stays disabled: nothing here drives a parallel port.
  QWidget* const controls[] = {ui_.GroupBox1,          ui_.transportRadios[0], ui_.transportRadios[1],
                               ui_.transportRadios[2], ui_.cbb_Comname,        ui_.cbb_DevBauRate,
                               ui_.cbb_Check,          ui_.cbb_TranBauRate,    ui_.edt_Ipaddress,
                               ui_.edt_Port,           ui_.cbb_UsbDeviceList,  ui_.cbb_Lpt,
                               ui_.cbb_Language,       ui_.btn_Test,           ui_.btn_SetPara};
  for (QWidget* control : controls) control->setEnabled(enabled);
}

void TFrmMain::but_bootInClick() {
  if (!ReadLinkSettings()) return;
  const Transport transport = checkedTransport() == 0 ? Transport::Serial : Transport::Network;
  if (const auto refusal = bootModeRefusal(transport, ui_.cbb_Language->currentIndex())) {
    services_.messageBoxes.warning(*refusal);
    return;
  }
  setLinkControlsEnabled(false);
  ui_.Timer1->start();
}

void TFrmMain::but_bootOutClick() {
  setLinkControlsEnabled(true);
  ui_.Timer1->stop();
  leaveBootMode(*engine_);
}

void TFrmMain::Timer1Timer() {
  if (bootModeTick(*engine_) == BootTick::LoaderAnswered) but_bootOutClick();
}

}  // namespace ombrel::app
