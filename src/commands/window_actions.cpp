#include "commands/window_actions.h"

#include "commands/basic_settings.h"
#include "commands/black_mark.h"
#include "commands/bluetooth_wifi_settings.h"
#include "commands/device_settings.h"
#include "commands/font_transfer.h"
#include "commands/logo_transfer.h"
#include "commands/network_settings.h"
#include "commands/program_update.h"
#include "commands/wifi_switch.h"

namespace ombrel {

const std::vector<WindowAction>& windowActions() {
  using enum WindowAction::Kind;
  static const std::vector<WindowAction> actions = {
      {"btn_SetBauRate", SetButton, btn_SetBauRateClick, true},
      {"btn_flowcontrol", SetButton, btn_flowcontrolClick, false},
      {"btn_SetCodepage", SetButton, btn_SetCodepageClick, true},
      {"btn_SetForcepaper", SetButton, btn_SetForcepaperClick, true},
      {"btn_SetpoweroffTime", SetButton, btn_SetpoweroffTimeClick, true},
      {"btn_SetAllPara", SetButton, btn_SetAllParaClick, true},
      {"btn_SetReset", SetButton, btn_SetResetClick, true},
      {"btn_SetUsbDeviceType", SetButton, btn_SetUsbDeviceTypeClick, false},
      {"btn_SetPaperType", SetButton, btn_SetPaperTypeClick, false},
      {"btn_SetPrinterOrder", SetButton, btn_SetPrinterOrderClick, false},
      {"btn_SetRptTime", SetButton, btn_SetRptTimeClick, true},
      {"btn_SetlyPara", SetButton, btn_SetlyParaClick, false},
      {"btn_SendLYTxt", SetButton, btn_SendLYTxtClick, false},
      {"btn_lyWorkMode", SetButton, btn_lyWorkModeClick, false},
      {"btn_bluetooth", SetButton, btn_bluetoothClick, false},
      {"btn_SetWifiPara", SetButton, btn_SetWifiParaClick, false},
      {"btn_SetIpPara", SetButton, btn_SetIpParaClick, false},
      {"btn_NetWorkSetIP", SetButton, btn_NetWorkSetIPClick, false},
      {"btn_Subnetmask", SetButton, btn_SubnetmaskClick, false},
      {"btn_gatewayt", SetButton, btn_gatewaytClick, false},
      {"btn_netgatewayt", SetButton, btn_netgatewaytClick, false},
      {"btn_Netport", SetButton, btn_NetportClick, false},
      {"btn_SetDevicePara", SetButton, btn_SetDeviceParaClick, false},
      // The same frame; the front ends first record it as rework on the
      // line's server and leave the serial number as it is.
      {"btn_Rework", SetButton, btn_SetDeviceParaClick, false},
      {"btn_SetInfraredPara", SetButton, btn_SetInfraredParaClick, false},
      {"bt_Set_black_mode", SetButton, bt_Set_black_modeClick, false},
      {"bt_Cance_black_mark", SetButton, bt_Cance_black_markClick, false},
      {"But_Black_look_dis_set", SetButton, But_Black_look_dis_setClick, true},
      {"bt_Black_width_set", SetButton, bt_Black_width_setClick, true},
      {"bt_printer_opto_set", SetButton, bt_printer_opto_setClick, true},
      {"bt_Lookup_black_mark", SetButton, bt_Lookup_black_markClick, false},
      {"btn_UpdatePrg", SetButton, btn_UpdatePrgClick, false},
      {"bt_firmware", SetButton, bt_firmwareClick, false},
      {"btn_UpdateFont", SetButton, btn_UpdateFontClick, true},
      {"btn_ReadFont", SaveButton, nullptr, true, btn_ReadFontClick, kReadBackFilter},
      {"btn_DownLogo", ProgramFileButton, nullptr, false, btn_DownLogoClick, nullptr, kLogoImageFile},
      {"btn_PrintLogo", SetButton, btn_PrintLogoClick, true},
      // Only the operator's own click switches WiFi: loading the settings
      // ticks the box without sending anything.
      {"Chb_CloseWifi", CheckBox, Chb_CloseWifiClick, false},
  };
  return actions;
}

ActionOutcome pressAction(const WindowAction& action, const ParaControls& controls, const std::string& savePath,
                          const std::string& programDir) {
  switch (action.kind) {
    case WindowAction::Kind::SaveButton:
      return action.fileClick(controls, savePath);
    case WindowAction::Kind::ProgramFileButton:
      return action.fileClick(controls, programDir + action.programFile);
    case WindowAction::Kind::SetButton:
    case WindowAction::Kind::CheckBox:
      break;
  }
  return action.click(controls);
}

const WindowAction* findWindowAction(std::string_view control) {
  for (const WindowAction& action : windowActions()) {
    if (control == action.control) return &action;
  }
  return nullptr;
}

}  // namespace ombrel
