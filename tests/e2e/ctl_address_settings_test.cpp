// The WiFi address and wired network actions from ombrelctl, against the
// virtual printer: the close-and-reopen on a serial line and the address
// checks that send nothing; their bytes are rows of the Set buttons' table.

#include "e2e/ctl_fixture.h"
#include "e2e/serial_line_log.h"

namespace ombrel::test_support {
namespace {

class AddressSettings : public SettingsActionTest {};

TEST_F(AddressSettings, ChecksSendNothing) {
  struct Case {
    std::vector<std::string> arguments;
    std::string error;
  };
  // A box the system's parser cannot read, as when leaving it (the clicks'
  // own refusals are rows of the Set buttons' table).
  const std::vector<Case> cases = {
      {{"--set", "Maskaddress=255.255.255.255", "btn_SetIpPara"}, "子网掩码不正确"},
      {{"--set", "edt_NetIPAddress=300.1.1.1", "btn_NetWorkSetIP"}, "IP 地址不正确"},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(sent(c.arguments, 2).empty()) << c.arguments.back();
    EXPECT_EQ(last.err, c.error + "\n");
  }
}

TEST_F(AddressSettings, OnASerialLineEachWiredSettingReopensThePort) {
  VirtualPrinter printer(OnPty{});
  const auto run = ctl({"--link", printer.link(), "--set", "NetIPAddress=10.0.0.5", "btn_NetWorkSetIP", "btn_Netport"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(lineLog(printer),
            (Lines{"open", "rx raw: 1F 49 0A 00 00 05", "close", "open", "rx raw: 1F 50 23 8C", "close"}));
}

}  // namespace
}  // namespace ombrel::test_support
