// The link test from the command line (btn_Test) over UDP.

#include "e2e/ctl_fixture.h"

namespace ombrel::test_support {
namespace {

using LinkTest = CtlTest;

TEST_F(LinkTest, FindsThePrinter) {
  VirtualPrinter printer;
  const auto run = ctl({"--link", printer.link(), "btn_Test"});
  const std::string address = "127.0.0.1:" + std::to_string(printer.port());
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "Checking" + address + "\n" + address + " Found\n");
  EXPECT_EQ(run.err, "连接成功\n");
  EXPECT_EQ(wire(printer), (std::vector<std::string>{kIdentify}));
}

TEST_F(LinkTest, NoPrinterAfterAboutThreeSeconds) {
  VirtualPrinter printer({"--silent"});
  const auto run = ctl({"--link", printer.link(), "btn_Test"}, "1");
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_EQ(run.out, "Checking127.0.0.1:" + std::to_string(printer.port()) + "\n");
  EXPECT_EQ(run.err, "通讯失败，请选择正确的端口和波特率\n");
  EXPECT_GE(run.took.count(), 2900);
  EXPECT_LT(run.took.count(), 6000);
}

}  // namespace
}  // namespace ombrel::test_support
