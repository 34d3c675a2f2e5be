// The WiFi address and wired network actions from ombrelctl, against the
// virtual printer: the exact frames and raw bytes that reached it over UDP,
// the close-and-reopen on a serial line, and the checks that send nothing.

#include "e2e/ctl_fixture.h"
#include "e2e/serial_line_log.h"

namespace ombrel::test_support {
namespace {

class AddressSettings : public SettingsActionTest {};

TEST_F(AddressSettings, EachActionSendsItsBytes) {
  expectEachSends({
      {{"btn_SetIpPara"},
       "frame: 02 00 8A 00 00 00 00 00 00 00 00 00 0F 00 87 00 C0 A8 01 57 8C 23 FF FF FF 00 C0 A8 01 01 00",
       "设置WIFI IP成功"},
      {{"--set", "IpType=0", "btn_SetIpPara"},
       "frame: 02 00 8A 00 00 00 00 00 00 00 00 00 0F 00 87 00 00 00 00 00 8C 23 00 00 00 00 00 00 00 00 01",
       "设置WIFI IP成功"},
      {{"--set", "IpType=2", "btn_SetIpPara"},
       "frame: 02 00 8B 00 00 00 00 00 00 00 00 00 00 00 89 00",
       "设置 WIFI IP AP 成功"},
      // The wired settings' raw bytes: the raw actions' table (raw_actions.cpp).
  });
}

TEST_F(AddressSettings, ChecksSendNothing) {
  expectEachRefused({
      // A box the system's parser cannot read, as when leaving it.
      {{"--set", "Maskaddress=255.255.255.255", "btn_SetIpPara"}, "子网掩码不正确"},
      {{"--set", "edt_NetIPAddress=300.1.1.1", "btn_NetWorkSetIP"}, "IP 地址不正确"},
      // The parser reads three parts; the printer would get 0.0.0.0.
      {{"--set", "IPaddress=192.168.1", "btn_SetIpPara"}, "IP 地址不正确"},
      {{"--set", "edt_gatewayt=192.168.1.300", "btn_gatewayt"}, "输入的IP有错!"},
      {{"--set", "edt_Netport=1", "btn_Netport"}, "端口必须在 2 到 65535 之间"},
  });
}

TEST_F(AddressSettings, OnASerialLineEachWiredSettingReopensThePort) {
  VirtualPrinter printer(OnPty{});
  const auto run = ctl({"--link", printer.link(), "--set", "NetIPAddress=10.0.0.5", "btn_NetWorkSetIP", "btn_Netport"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  // The port's own number (9100) when none is typed.
  EXPECT_EQ(lineLog(printer), concat({{"open"},
                                      answered(kSerialIdentify, kIdentity),
                                      {"rx raw: 1F 49 0A 00 00 05", "close", "open"},
                                      answered(kSerialIdentify, kIdentity),
                                      {"rx raw: 1F 50 23 8C", "close"}}));
}

}  // namespace
}  // namespace ombrel::test_support
