// The production line window against fake USB printers that the real
// libudev sees: two printers in a row get consecutive numbers, a second
// printer identical to one still plugged in is refused, one unplugged during
// its recipe fails at the action it was at; each shows as a row, each device
// write and printer as a line of the provisioning log, and the day's rows
// come back after a restart.

#include <regex>
#include <sstream>

#include "app/frm_line.h"
#include "gui/para_window_fixture.h"
#include "texts/ini_file.h"
#include "usb/usb_testbed.h"

namespace ombrel::gui_test {
namespace {

using test_support::OnPty;
using test_support::UsbTestbed;
using test_support::VirtualPrinter;

class LineWindowTest : public ParaWindowTest {
 protected:
  app::TFrmLine& line() { return para_->lineWindow(); }
  void press(const char* button) { line().findChild<QPushButton*>(QString::fromLatin1(button))->click(); }

  // The text of a row's cell under the column of this caption.
  std::string cell(int row, const std::string& column) {
    QTableWidget* table = line().table();
    for (int c = 0; c < table->columnCount(); ++c) {
      if (table->horizontalHeaderItem(c)->text().toStdString() != column) continue;
      const QTableWidgetItem* item = table->item(row, c);
      return item == nullptr ? std::string() : item->text().toStdString();
    }
    ADD_FAILURE() << "no column " << column;
    return {};
  }
  bool rowEnded(int row) { return line().table()->rowCount() > row && !cell(row, "结果").empty(); }

  // "written", "passed", ...: the outcome of each device write and the result of each printer, in order.
  std::vector<std::string> logged() const {
    std::vector<std::string> ends;
    std::istringstream log(testing::readFile(dir_ / "provisioning.jsonl"));
    const std::regex end(R"re("(outcome|result)":"([a-z ]+)")re");
    for (std::string text; std::getline(log, text);) {
      std::smatch match;
      ends.push_back(std::regex_search(text, match, end) ? match[2].str() : text);
    }
    return ends;
  }

  // The device write's frame carries the serial number's digits.
  static bool received(const VirtualPrinter& printer, const std::string& serial) {
    std::string digits;
    for (const char digit : serial) digits += " 3" + std::string(1, digit);
    for (const auto& unit : printer.received()) {
      if (unit.command == 133 && unit.bytes.find(digits) != std::string::npos) return true;
    }
    return false;
  }

  UsbTestbed bed_;
};

TEST_F(LineWindowTest, TwoInARowAnIdenticalOneAndOneUnpluggedMidRecipe) {
  // Each listens at the rate the tool leaves on the terminal behind the node;
  // the last answers identification and the code page, then nothing.
  VirtualPrinter first(OnPty{}, {"--baud", "38400"});
  VirtualPrinter second(OnPty{}, {"--baud", "38400"});
  VirtualPrinter third(OnPty{}, {"--baud", "38400", "--silent-after", "3"});
  writeSettings(
      "[ParaDefault]\r\nDeviceName=Kasse\r\nDeviceSerialNo=1704269998\r\ncalculate=1\r\n"
      "[ProductionLine]\r\nActions=btn_SetCodepage,btn_SetDevicePara\r\n");
  // Reply waits of 600 ms: time to unplug the last printer while one runs.
  start(5);
  ui().transportRadios[2]->click();
  showPara();
  control<QPushButton>("btn_ProductionLine")->click();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&line()));
  press("btn_LineStart");

  const std::string one = bed_.addDevice("1-1", "0fe6", "811e", 0, first.ptyPath());
  ASSERT_TRUE(waitFor([&] { return rowEnded(0); }));
  bed_.removeDevice(one);
  const std::string two = bed_.addDevice("1-2", "0483", "811e", 1, second.ptyPath());
  ASSERT_TRUE(waitFor([&] { return rowEnded(1); }));
  // Plugged in while the one before it is still there: refused, nothing sent.
  const std::string twin = bed_.addDevice("1-3", "0483", "811e", 2, third.ptyPath());
  ASSERT_TRUE(waitFor([&] { return rowEnded(2); }));
  bed_.removeDevice(twin);
  bed_.removeDevice(two);
  const std::string last = bed_.addDevice("1-4", "1a86", "811e", 3, third.ptyPath());
  ASSERT_TRUE(waitFor([&] { return line().table()->rowCount() == 4 && cell(3, "设置语言 · 设置") == "✓"; }));
  bed_.removeDevice(last);
  ASSERT_TRUE(waitFor([&] { return rowEnded(3); }, std::chrono::seconds(20)));

  const std::vector<std::vector<std::string>> rows = {
      {"VID_0FE6&PID_811E", "OMB80", "1704269998", "✓", "✓", "合格"},
      {"VID_0483&PID_811E", "OMB80", "1704269999", "✓", "✓", "合格"},
      {"VID_0483&PID_811E", "", "", "", "", "不合格: " + indistinctPrinterText("VID_0483&PID_811E", 0)},
      {"VID_1A86&PID_811E", "OMB80", "", "✓", "✗ 设置过程中被拔下", "不合格: 设置过程中被拔下"},
  };
  for (int row = 0; row < 4; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ((std::vector<std::string>{cell(row, "连接"), cell(row, "打印机标识"), cell(row, "写入的序列号"),
                                        cell(row, "设置语言 · 设置"), cell(row, "设备名称 · 设置"), cell(row, "结果")}),
              rows[static_cast<std::size_t>(row)]);
  }
  EXPECT_TRUE(line().findChild<QLabel*>("lbl_LineFail")->isVisible());
  EXPECT_EQ(line().findChild<QLabel*>("lbl_LineDoneCount")->text(), "2");
  EXPECT_EQ(line().findChild<QLabel*>("lbl_LineFailedCount")->text(), "2");
  EXPECT_TRUE(received(first, "1704269998"));
  EXPECT_TRUE(received(second, "1704269999"));
  EXPECT_EQ(IniFile(dir_ / "sysconfig.ini").readString("ParaDefault", "DeviceSerialNo", ""), "1704270000");
  EXPECT_EQ(logged(),
            (std::vector<std::string>{"written", "passed", "written", "passed", "refused", "failed", "removed"}));

  // A restart shows the day's rows again.
  press("btn_LineStop");
  line().close();
  closePara();
  stop();
  start(5);
  showPara();
  control<QPushButton>("btn_ProductionLine")->click();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&line()));
  ASSERT_EQ(line().table()->rowCount(), 4);
  EXPECT_EQ(cell(1, "写入的序列号"), "1704269999");
  EXPECT_EQ(cell(3, "设备名称 · 设置"), "✗ 设置过程中被拔下");
  EXPECT_EQ(line().findChild<QLabel*>("lbl_LineFailedCount")->text(), "2");
}

}  // namespace
}  // namespace ombrel::gui_test
