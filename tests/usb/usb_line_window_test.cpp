// The production line window against fake USB printers that the real
// libudev sees: three identical printers plugged in together, two slots at
// once. The two that answer pass with consecutive numbers from the station's
// allocator, the one that never answers fails its own tile and keeps its
// trace, and Retry sets it up again once it answers, without replugging.
// A second station on the same program directory is refused; a line's server
// lost mid-run fails the next device write, nothing sent, until it is back.
// Each slot's copy of the controls gives every recipe action the task the window's give.

#include <filesystem>

#include "app/frm_line.h"
#include "commands/recipe.h"
#include "commands/serial_allocator.h"
#include "settings/para_layout.h"
#include "gui/para_window_fixture.h"
#include "linedb/pg_cluster.h"
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
  int endedRows() {
    int ended = 0;
    for (int row = 0; row < line().table()->rowCount(); ++row) ended += cell(row, "结果").empty() ? 0 : 1;
    return ended;
  }
  // "合格" or "不合格" once the tile's run has ended.
  std::string mark(const std::string& port) {
    app::SlotTile* tile = line().tile(port);
    return tile == nullptr || tile->mark()->isHidden() ? std::string() : tile->mark()->text().toStdString();
  }

  // The serial numbers the device write frames at this printer carried.
  static std::vector<std::string> serials(const VirtualPrinter& printer, const std::vector<std::string>& candidates) {
    std::vector<std::string> found;
    for (const std::string& serial : candidates) {
      std::string digits;
      for (const char digit : serial) digits += " 3" + std::string(1, digit);
      for (const auto& unit : printer.received()) {
        if (unit.command == 133 && unit.bytes.find(digits) != std::string::npos) found.push_back(serial);
      }
    }
    return found;
  }

  UsbTestbed bed_;
};

TEST_F(LineWindowTest, IdenticalPrintersTogetherOneSilentThenRetried) {
  VirtualPrinter first(OnPty{}, {"--baud", "38400"});
  VirtualPrinter second(OnPty{}, {"--baud", "38400"});
  VirtualPrinter silent(OnPty{}, {"--baud", "38400", "--silent"});
  VirtualPrinter answering(OnPty{}, {"--baud", "38400"});
  writeSettings(
      "[ParaDefault]\r\nDeviceName=Kasse\r\nDeviceSerialNo=1704269998\r\ncalculate=1\r\n"
      "[ProductionLine]\r\nActions=btn_SetCodepage,btn_SetDevicePara\r\nPortNames=1-1:A1\r\n");
  start(5);
  ui().transportRadios[2]->click();
  showPara();
  control<QPushButton>("btn_ProductionLine")->click();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&line()));
  // Two at once: the third printer waits for a free slot.
  line().findChild<QSpinBox*>("spn_LineSlots")->setValue(2);
  auto* startButton = line().findChild<QPushButton*>("btn_LineStart");
  {
    // Another station holds the program directory: this one does not start.
    const SerialAllocator other(window_->appDir(), controls(), 0);
    startButton->click();
    EXPECT_TRUE(startButton->isEnabled());
    EXPECT_FALSE(line().findChild<QLabel*>("lbl_LineState")->text().isEmpty());
  }
  startButton->click();
  ASSERT_FALSE(startButton->isEnabled());

  bed_.addDevice("1-1", "0fe6", "811e", 0, first.ptyPath());
  bed_.addDevice("1-2", "0fe6", "811e", 1, second.ptyPath());
  bed_.addDevice("1-3", "0fe6", "811e", 2, silent.ptyPath());
  ASSERT_TRUE(waitFor([&] { return endedRows() == 3; }, std::chrono::seconds(30)));

  EXPECT_EQ(mark("1-1"), "合格");
  EXPECT_EQ(mark("1-2"), "合格");
  EXPECT_EQ(mark("1-3"), "不合格");
  EXPECT_TRUE(line().tile("1-1")->retryButton()->isHidden());
  EXPECT_FALSE(line().tile("1-3")->retryButton()->isHidden());
  std::map<std::string, std::string> results;  // by the port column
  for (int row = 0; row < 3; ++row)
    results[cell(row, "端口")] = cell(row, "结果").substr(0, cell(row, "结果").find(':'));
  EXPECT_EQ(results, (std::map<std::string, std::string>{{"1-1 (A1)", "合格"}, {"1-2", "合格"}, {"1-3", "不合格"}}));
  // Distinct, consecutive numbers, each at one printer's wire; none for the silent one.
  std::vector<std::string> written = serials(first, {"1704269998", "1704269999"});
  const std::vector<std::string> atSecond = serials(second, {"1704269998", "1704269999"});
  written.insert(written.end(), atSecond.begin(), atSecond.end());
  std::sort(written.begin(), written.end());
  EXPECT_EQ(written, (std::vector<std::string>{"1704269998", "1704269999"}));
  EXPECT_EQ(control<QLineEdit>("edt_DeviceSerialNo")->text(), "1704270000");
  EXPECT_EQ(IniFile(dir_ / "sysconfig.ini").readString("ParaDefault", "DeviceSerialNo", ""), "1704270000");
  EXPECT_EQ(IniFile(dir_ / "sysconfig.ini").readInteger("ProductionLine", "Slots", 0), 2);
  int kept = 0;
  for (const auto& trace : std::filesystem::directory_iterator(dir_ / "traces")) {
    kept += trace.path().filename().string().ends_with("-1-3.log") ? 1 : 0;
  }
  EXPECT_EQ(kept, 1);

  // The printer at 1-3 answers now: Retry sets it up without replugging.
  std::filesystem::remove(bed_.nodeFile(2));
  std::filesystem::create_symlink(answering.ptyPath(), bed_.nodeFile(2));
  line().tile("1-3")->retryButton()->click();
  ASSERT_TRUE(waitFor([&] { return endedRows() == 4; }, std::chrono::seconds(20)));
  EXPECT_EQ(mark("1-3"), "合格");
  EXPECT_EQ(serials(answering, {"1704270000"}), std::vector<std::string>{"1704270000"});
  EXPECT_EQ(line().findChild<QLabel*>("lbl_LineDoneCount")->text(), "3");
  EXPECT_EQ(line().findChild<QLabel*>("lbl_LineFailedCount")->text(), "1");
  line().findChild<QPushButton*>("btn_LineStop")->click();
  line().close();
}

TEST_F(LineWindowTest, TheLinesServerLostMidRunFailsTheNextPrinterUntilItIsBack) {
  test_support::PgCluster cluster;
  VirtualPrinter before(OnPty{}, {"--baud", "38400"});
  VirtualPrinter during(OnPty{}, {"--baud", "38400"});
  VirtualPrinter after(OnPty{}, {"--baud", "38400"});
  writeSettings("[ProductionLine]\nDatabase=" + cluster.conninfo() +
                "\nActions=btn_SetDevicePara\n[ParaDefault]\nDeviceName=K\nDeviceSerialNo=500\ncalculate=1\n");
  start(5);
  ui().transportRadios[2]->click();
  showPara();
  control<QPushButton>("btn_ProductionLine")->click();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&line()));
  line().findChild<QPushButton*>("btn_LineStart")->click();
  bed_.addDevice("1-1", "0fe6", "811e", 0, before.ptyPath());
  ASSERT_TRUE(waitFor([&] { return endedRows() == 1; }, std::chrono::seconds(20)));
  cluster.stop();
  bed_.addDevice("1-2", "0fe6", "811e", 1, during.ptyPath());
  ASSERT_TRUE(waitFor([&] { return endedRows() == 2; }, std::chrono::seconds(20)));
  EXPECT_EQ(line().tile("1-2")->action()->text().section('\n', 0, 0).toStdString(), "无法连接生产线数据库");
  cluster.start();
  bed_.addDevice("1-3", "0fe6", "811e", 2, after.ptyPath());
  ASSERT_TRUE(waitFor([&] { return endedRows() == 3; }, std::chrono::seconds(20)));
  EXPECT_EQ(mark("1-1") + mark("1-2") + mark("1-3"), "合格不合格合格");
  const auto received = during.received();
  EXPECT_TRUE(std::none_of(received.begin(), received.end(), [](const auto& unit) { return unit.command == 133; }));
  EXPECT_EQ((std::vector<std::vector<std::string>>{serials(before, {"500", "501"}), serials(after, {"500", "501"})}),
            (std::vector<std::vector<std::string>>{{"500"}, {"501"}}));
}

TEST_F(LineWindowTest, ASlotsCopyOfTheControlsGivesEveryRecipeActionTheSameTask) {
  openPara();
  // Away from the values a fresh copy starts with.
  for (const ControlSpec& row : paraLayout()) {
    if (row.kind == ControlKind::List || row.kind == ControlKind::RadioGroup) {
      const auto items = controls().items(row.name);
      if (items.size() > 1) controls().setIndex(row.name, static_cast<int>(items.size()) - 1);
    } else if (row.kind == ControlKind::Check || row.kind == ControlKind::Radio) {
      controls().setChecked(row.name, !row.checked);
    }
  }
  controls().setText("edt_DeviceName", "Kasse 7");
  controls().setText("edt_DeviceSerialNo", "42");
  ParaControlState copy;
  app::copyControls(controls(), copy);
  for (const WindowAction* action : recipeActions()) {
    SCOPED_TRACE(action->control);
    const ActionOutcome fromWindow = pressAction(*action, controls(), {}, window_->appDir());
    const ActionOutcome fromCopy = pressAction(*action, copy, {}, window_->appDir());
    ASSERT_EQ(fromWindow.index(), fromCopy.index());
    if (const auto* task = std::get_if<TaskStart>(&fromWindow)) {
      const auto& copied = std::get<TaskStart>(fromCopy);
      EXPECT_EQ(std::tie(task->code, task->a, task->b, task->payload),
                std::tie(copied.code, copied.a, copied.b, copied.payload));
    } else {
      EXPECT_EQ(std::get<Refusal>(fromWindow).text, std::get<Refusal>(fromCopy).text);
    }
  }
}

}  // namespace
}  // namespace ombrel::gui_test
