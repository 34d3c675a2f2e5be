// The Bluetooth and WiFi actions from ombrelctl, against the virtual printer
// over UDP: the exact frames and raw bytes that reached it, and the refusals
// that send nothing.

#include "e2e/ctl_fixture.h"

namespace ombrel::test_support {
namespace {

class BluetoothWifi : public SettingsActionTest {};

TEST_F(BluetoothWifi, EachActionSendsItsCommand) {
  expectEachSends({
      {{"--set", "BlueToolthName=打印机", "--set", "BlueToolthPsw=1234", "--set", "BlueToolthMode=2", "--set",
        "BlueToolthType=300", "btn_SetlyPara"},
       "frame: 02 00 83 00 00 00 00 00 00 00 00 00 38 00 B9 00 03 B4 F2 D3 A1 BB FA 00 00 00 00 00 00 00 00 00 00 "
       "00 00 00 00 31 32 33 34 00 00 00 00 00 00 00 00 00 B4 F2 D3 A1 BB FA 00 00 00 00 00 00 00 00 00 00 00 00 "
       "00 00 01 2C",
       "设置蓝牙参数成功"},
      {{"--set", "BlueToolthCmd=AT+NAME", "btn_SendLYTxt"},
       "frame: 02 00 87 00 00 00 00 00 00 00 00 00 07 00 82 00 41 54 2B 4E 41 4D 45",
       "蓝牙控制指令发送成功"},
      {{"--set", "BlueToolthWorkMode=高速模式", "btn_lyWorkMode"},
       "frame: 02 00 87 00 00 00 00 00 00 00 00 00 08 00 8D 00 41 54 2B 48 53 4D 3D 32",
       "蓝牙控制指令发送成功"},
      {{"btn_lyWorkMode"},
       "frame: 02 00 87 00 00 00 00 00 00 00 00 00 08 00 8D 00 41 54 2B 48 53 4D 3D 30",
       "蓝牙控制指令发送成功"},
      // Hiding on Bluetooth is raw: the raw actions' table (raw_actions.cpp).
      {{"--set", "NetworkName=Shop", "--set", "WifiCheckMode=3", "--set", "Jiami3=1", "--set", "NetworkPsw=123456789",
        "btn_SetWifiPara"},
       "frame: 02 00 89 00 00 00 00 00 00 00 00 00 11 00 9A 00 04 53 68 6F 70 03 04 09 31 32 33 34 35 36 37 38 39",
       "设置WIFI 参数成功"},
      {{"btn_SetWifiPara"}, "frame: 02 00 89 00 00 00 00 00 00 00 00 00 04 00 8F 00 00 00 00 00", "设置WIFI 参数成功"},
  });
}

TEST_F(BluetoothWifi, RefusalsSendNothing) {
  expectEachRefused({
      {{"--set", "WifiCheckMode=2", "--set", "NetworkPsw=1234567", "btn_SetWifiPara"}, "AES和TPIK的密码要≥8位"},
      {{"--set", "BlueToolthName=P", "--set", "BlueToolthType=", "btn_SetlyPara"}, "'' is not a valid integer value"},
      {{"--set", "BlueToolthName=Printer-of-the-front-desk", "btn_SetlyPara"},
       "蓝牙名称 (edt_lyName) 超过 20 字节 (GBK)，未发送"},
  });
}

}  // namespace
}  // namespace ombrel::test_support
