#include "e2e/raw_actions.h"

namespace ombrel::test_support {

std::vector<RawActionRow> rawActionRows() {
  const std::string flowHead = "frame: 02 00 8D 00 00 00 00 00 00 00 00 00 01 00 8E 00 ";
  return {
      {"WifiOff", {"Chb_CloseWifi=1"}, "raw: 8D 00", ""},
      {"WifiOn", {"Chb_CloseWifi=0"}, "raw: 8D 01", ""},
      {"BluetoothHidden", {"--set", "BluetoothSEEK=开启蓝牙隐身", "btn_bluetooth"}, "raw: 8E 01", ""},
      {"BluetoothVisible", {"--set", "BluetoothSEEK=取消蓝牙隐身", "btn_bluetooth"}, "raw: 8E 00", ""},
      {"BlackMarkOn", {"bt_Set_black_mode"}, "raw: 1F 1B 1F 80 04 05 06 44", ""},
      {"BlackMarkOff", {"bt_Cance_black_mark"}, "raw: 1F 1B 1F 80 04 05 06 66", ""},
      {"BlackMarkLookDistance",
       {"--set", "Blacklookdistance=40", "But_Black_look_dis_set"},
       "raw: 1F 1B 1F 81 04 05 06 28 00",
       ""},
      {"BlackMarkWidth", {"--set", "Blackwidth=", "bt_Black_width_set"}, "raw: 1F 1B 1F 82 04 05 06 1E 00", ""},
      {"OptoSensor", {"--set", "Printeropto=12", "bt_printer_opto_set"}, "raw: 1B 28 46 04 00 01 00 0C 00", ""},
      {"LookUpBlackMark", {"bt_Lookup_black_mark"}, "raw: 48 65 6C 6C 6F 20 77 6F 72 6C 64 20 30 78 30 43", ""},
      {"SubnetMask", {"--set", "edt_Subnetmask=255.255.0.0", "btn_Subnetmask"}, "raw: 1F 53 FF FF 00 00", ""},
      {"Gateway", {"--set", "edt_gatewayt=10.0.0.1", "btn_gatewayt"}, "raw: 1F 4E 0A 00 00 01", ""},
      {"NetworkPort", {"--set", "edt_Netport=2", "btn_Netport"}, "raw: 1F 50 00 02", ""},
      {"NetworkMac", {"--set", "edt_macaddt=1FF", "btn_netgatewayt"}, "raw: 1F 4D 65 FF 67 68", ""},
      {"NetworkIpAddress", {"--set", "NetIPAddress=10.0.0.5", "btn_NetWorkSetIP"}, "raw: 1F 49 0A 00 00 05", ""},
      {"SoftwareFlowControl",
       {"--set", "Flowcontrol=软件流控", "btn_flowcontrol"},
       flowHead + "00 00",
       "设置流控成功\n"},
      {"HardwareFlowControl",
       {"--set", "Flowcontrol=硬件流控", "btn_flowcontrol"},
       flowHead + "01 01",
       "设置流控成功\n"},
  };
}

}  // namespace ombrel::test_support
