// One settings file, one set of bytes: each settings file is loaded into the
// parameters window and into ombrelctl, every Set button of the window's
// action table is pressed in both, and the virtual printer must receive the
// same bytes from both. Set buttons added to the table join by themselves.
// The production line's Next printer sends what ombrelctl --recipe sends.

#include <QPushButton>
#include <functional>
#include <ostream>

#include "app/frm_line.h"
#include "commands/window_actions.h"
#include "gui/para_window_fixture.h"
#include "linedb/pg_cluster.h"
#include "support/run_program.h"
#include "texts/text_codec.h"

namespace ombrel::gui_test {
namespace {

using test_support::VirtualPrinter;

struct SettingsCase {
  const char* name;     // also the test's name
  std::string content;  // empty: there is no settings file
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const SettingsCase& settings, std::ostream* out) { *out << settings.name; }

std::vector<SettingsCase> settingsCases() {
  return {
      {"Defaults", ""},
      {"TimesOutOfRange", "[ParaDefault]\r\nsleepTime=1000000000\r\npoweroffTime=-5\r\nRptTime=300\r\n"},
      {"TextsThatAreNotNumbers", "[ParaDefault]\r\nsleepTime=abc\r\npoweroffTime=\r\nRptTime=12.5\r\n"},
      {"UnmatchedListTexts",
       "[ParaDefault]\r\nBaudRate=14400\r\nCodePage=CP999\r\nFontValue=8x8\r\nDark=normal\r\nForcePaper=0x0a\r\n"
       "UsbDeviceTpe=USB\r\nPrinterOrder=reverse\r\nPaperType=label\r\nFlowcontrol=none\r\n"},
      {"OtherChoicesInGbk",
       TextCodec::utf8ToGbk("[ParaDefault]\r\nBaudRate=38400\r\nCodePage=CP874:Thai\r\nFontValue=9x17\r\n"
                            "Dark=高浓度\r\nForcePaper=0X0D\r\nbuzzer=0\r\nCutPaper=0\r\nsleepTime=60\r\n"
                            "poweroffTime=0x10\r\nUsbDeviceTpe=USB虚拟串口\r\nPrinterOrder=倒序\r\n"
                            "PaperType=热敏票据纸\r\nFlowcontrol=软件流控\r\nRptTime=7\r\n")},
      {"WirelessNetworkDeviceAndBlackMarkChoicesInGbk",
       TextCodec::utf8ToGbk("[ParaDefault]\r\nBlueToolthName=打印机\r\nBlueToolthPsw=1234\r\nBlueToolthMode=2\r\n"
                            "BlueToolthType=300\r\nBlueToolthCmd=AT+NAME\r\nBlueToolthWorkMode=高速模式\r\n"
                            "BluetoothSEEK=开启蓝牙隐身\r\nWifiSEEK=0\r\nNetworkName=店铺\r\nWifiCheckMode=3\r\n"
                            "Jiami3=1\r\nNetworkPsw=12345678\r\nIpType=0\r\nPort=9101\r\n"
                            "NetIPAddress=10.0.0.5\r\nDeviceName=收银台\r\nDeviceSerialNo=0099\r\ncalculate=1\r\n"
                            "InfraredType=0\r\nInfraredBaurate=38400\r\nirdaProtecl=IRDA\r\n"
                            "Blacklookdistance=40\r\nBlackwidth=\r\nPrinteropto=256\r\n")},
  };
}

class SameBytes : public ParaWindowTest {
 protected:
  // What the printer received once it has been quiet for a moment.
  static std::vector<std::string> settled(const VirtualPrinter& printer) {
    std::vector<std::string> units = received(printer);
    for (int quietChecks = 0; quietChecks < 3;) {
      settle(std::chrono::milliseconds(20));
      std::vector<std::string> now = received(printer);
      quietChecks = now == units ? quietChecks + 1 : 0;
      units = std::move(now);
    }
    return units;
  }

  // What the printer receives while `press` runs.
  static std::vector<std::string> sentBy(const VirtualPrinter& printer, const std::function<void()>& press) {
    const std::size_t before = settled(printer).size();
    press();
    std::vector<std::string> units = settled(printer);
    units.erase(units.begin(), units.begin() + static_cast<std::ptrdiff_t>(before));
    return units;
  }

  static void putSettings(const std::filesystem::path& file, const SettingsCase& settings) {
    std::filesystem::remove(file);
    if (!settings.content.empty()) testing::writeFile(file, settings.content);
  }

  // Each press starts from the printer rate of a first start, as ombrelctl
  // does: the rate button changes the window's.
  void pressInWindow(const VirtualPrinter& printer, const SettingsCase& settings, const char* button) {
    putSettings(dir_ / "sysconfig.ini", settings);
    ui().cbb_DevBauRate->setCurrentText(QStringLiteral("9600"));
    linkTo(printer);
    showPara();
    control<QPushButton>(button)->click();
    EXPECT_TRUE(waitUntilIdle());
    closePara();
  }

  static void pressInOmbrelctl(const VirtualPrinter& printer, const SettingsCase& settings, const char* button) {
    testing::TempDir programDir;
    putSettings(programDir / "sysconfig.ini", settings);
    const auto run = test_support::runProgram(test_support::builtProgram("ombrelctl"),
                                              {"--dir", programDir.path().string(), "--link", printer.link(), button},
                                              {{"OMBREL_TIME_SCALE", "20"}});
    EXPECT_NE(run.exitCode, -1) << "ombrelctl did not end";
  }
};

// One test per settings file, so that CTest runs them side by side.
class SameBytesFromFile : public SameBytes, public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(SameBytesFromFile, EverySetButtonSendsWhatOmbrelctlSends) {
  const SettingsCase& settings = GetParam();
  start();
  const VirtualPrinter printer;
  std::size_t buttonsThatSent = 0;
  for (const WindowAction& action : windowActions()) {
    if (action.kind != WindowAction::Kind::SetButton) continue;
    // The logo list is never stored: printing sends the same from every file.
    if (!settings.content.empty() && std::string_view(action.control) == "btn_PrintLogo") continue;
    SCOPED_TRACE(action.control);
    const auto window = sentBy(printer, [&] { pressInWindow(printer, settings, action.control); });
    EXPECT_EQ(window, sentBy(printer, [&] { pressInOmbrelctl(printer, settings, action.control); }));
    if (!window.empty()) ++buttonsThatSent;
  }
  // The basic settings' buttons, at least, send something from the defaults.
  if (settings.content.empty()) {
    EXPECT_GE(buttonsThatSent, 11u);
  }
}

TEST_F(SameBytes, NextPrinterSendsWhatOmbrelctlsRecipeSends) {
  start();
  const VirtualPrinter printer;
  // Without a name the device write refuses, so the whole recipe sends nothing.
  for (const bool named : {true, false}) {
    SettingsCase settings{
        "Recipe",
        settingsCases().back().content +
            "[ProductionLine]\r\nActions=btn_SetCodepage,btn_SetlyPara,btn_SetDevicePara,bt_Set_black_mode\r\n"};
    const std::string name = TextCodec::utf8ToGbk("DeviceName=收银台");
    if (!named) settings.content.replace(settings.content.find(name), name.size(), "DeviceName=");
    const auto window = sentBy(printer, [&] {
      putSettings(dir_ / "sysconfig.ini", settings);
      linkTo(printer);
      showPara();
      control<QPushButton>("btn_ProductionLine")->click();
      para_->lineWindow().findChild<QPushButton*>("btn_LineNext")->click();
      QTableWidget* rows = para_->lineWindow().table();
      const int row = named ? 0 : 1;  // below the day's row of the first
      EXPECT_TRUE(waitFor([&] {
        return rows->rowCount() == row + 1 && rows->item(row, rows->columnCount() - 1) != nullptr &&
               !rows->item(row, rows->columnCount() - 1)->text().isEmpty();
      }));
      EXPECT_EQ(rows->item(row, rows->columnCount() - 1)->text().toStdString(),
                named ? "合格" : "不合格: 设备名称不能为空");
      para_->lineWindow().close();
      closePara();
    });
    testing::TempDir programDir;
    putSettings(programDir / "sysconfig.ini", settings);
    const auto ctl = sentBy(printer, [&] {
      test_support::runProgram(test_support::builtProgram("ombrelctl"),
                               {"--dir", programDir.path().string(), "--link", printer.link(), "--recipe"},
                               {{"OMBREL_TIME_SCALE", "20"}});
    });
    EXPECT_EQ(window.size(), named ? 4u : 0u);  // one unit per action, beside the identifications
    EXPECT_EQ(window, ctl);
  }
}

// Without a server both refuse a rework above; with one, both write it.
TEST_F(SameBytes, ReworkSendsWhatOmbrelctlSends) {
  const test_support::PgCluster cluster;
  start();
  const VirtualPrinter printer;
  const std::string line = "[ProductionLine]\r\nDatabase=" + cluster.conninfo() + "\r\n";
  const SettingsCase settings{"Rework", "[ParaDefault]\r\nDeviceName=P\r\nDeviceSerialNo=700\r\n" + line};
  pressInOmbrelctl(printer, settings, "btn_SetDevicePara");  // the line hands out 700
  const auto window = sentBy(printer, [&] { pressInWindow(printer, settings, "btn_Rework"); });
  EXPECT_FALSE(window.empty());
  EXPECT_EQ(window, sentBy(printer, [&] { pressInOmbrelctl(printer, settings, "btn_Rework"); }));
}

INSTANTIATE_TEST_SUITE_P(SettingsFiles, SameBytesFromFile, ::testing::ValuesIn(settingsCases()),
                         [](const ::testing::TestParamInfo<SettingsCase>& test) { return test.param.name; });

}  // namespace
}  // namespace ombrel::gui_test
