// The download tab's program update in the parameters window, offscreen,
// against the virtual printer over UDP: the file dialog, the bytes that
// reached the printer (the same as ombrelctl sends), the progress bar that
// reaches 100% and resets, the time left in its text, and Cancel.

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <fstream>
#include <regex>

#include "gui/para_window_fixture.h"

namespace ombrel::gui_test {
namespace {

using test_support::VirtualPrinter;

class ParaUpdate : public ParaWindowTest {
 protected:
  std::string updateFile(std::size_t size) {
    const std::string path = dir_.path().string() + "/app.bin";
    std::ofstream(path, std::ios::binary) << std::string(size, '\x5A');
    return path;
  }
  // Highest value the progress bar showed, and whether Cancel was enabled then.
  void watchProgress() {
    QObject::connect(para_->progressBar(), &QProgressBar::valueChanged, para_.get(), [this](int value) {
      highest_ = std::max(highest_, value);
      cancelEnabledWhileRunning_ = cancelEnabledWhileRunning_ || para_->cancelButton()->isEnabled();
    });
  }
  // Shows the window on the download tab with the update button visible.
  void showUpdateTab(const VirtualPrinter& printer) {
    writeSettings("[ParaDefault]\r\nUpdatafirmware=0\r\nWaitTime=0\r\n");
    // Replies are waited for long enough that a busy machine causes no resend.
    openOn(printer, 2);
    watchProgress();
  }

  int highest_ = 0;
  bool cancelEnabledWhileRunning_ = false;
};

TEST_F(ParaUpdate, ChosenFileGoesOutAsOmbrelctlSendsItAndTheBarReachesTheEndThenResets) {
  VirtualPrinter printer({"--identity", ""});
  showUpdateTab(printer);
  EXPECT_FALSE(para_->cancelButton()->isEnabled());
  boxes_.answerOpen(updateFile(300));
  control<QPushButton>("btn_OpenPrg")->click();
  EXPECT_EQ(boxes_.shown().back(), "open: 选择程序文件 Binary File(*.HEX,*.BIN)|*.hex;*.bin|BMP FILE(*.BMP)|*bmp");
  control<QPushButton>("btn_UpdatePrg")->click();
  EXPECT_EQ(para_->statusPanel(1)->toolTip().toStdString(), "更新程序:app.bin Size:300");
  ASSERT_TRUE(waitUntilIdle());
  const std::string head0 = "frame: 02 00 33 00 00 00 00 00 00 00 00 00 00 01 30 00 ";
  const std::string head1 = "frame: 02 00 33 00 00 01 00 00 00 00 00 00 00 01 31 00 ";
  std::string block0;
  std::string block1;
  for (int i = 0; i < 256; ++i) block0 += i == 0 ? "5A" : " 5A";
  for (int i = 0; i < 256; ++i) block1 += std::string(i == 0 ? "" : " ") + (i < 44 ? "5A" : "FF");
  EXPECT_EQ(received(printer),
            (std::vector<std::string>{"frame: 02 00 32 00 00 00 00 00 00 00 00 00 00 00 30 00", head0 + block0,
                                      head1 + block1, "frame: 02 00 2E 00 00 00 00 00 00 00 00 00 00 00 2C 00"}));
  EXPECT_EQ(paraStatus(), "更新程序完成");
  EXPECT_EQ(highest_, 1000);
  EXPECT_TRUE(cancelEnabledWhileRunning_);
  EXPECT_EQ(para_->progressBar()->value(), 0);
  EXPECT_FALSE(para_->cancelButton()->isEnabled());
  closePara();
}

TEST_F(ParaUpdate, CancelStopsTheUpdateAndWarnsOfAPartialProgram) {
  VirtualPrinter printer({"--identity", "", "--delay", "20"});
  showUpdateTab(printer);
  controls().setText("edt_Prgfile", updateFile(0x3000));
  control<QPushButton>("btn_UpdatePrg")->click();
  ASSERT_TRUE(waitFor([&] { return highest_ > 0; }));
  para_->cancelButton()->click();
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_EQ(paraStatus(), "Operaton Cancelled");
  EXPECT_EQ(boxes_.shown().back(), "warning: 更新已取消。打印机中的程序可能不完整，请重新更新后再使用。");
  const auto units = received(printer);
  EXPECT_LT(units.size(), 2u + 0x30);
  EXPECT_EQ(units.back().rfind("frame: 02 00 33 00", 0), 0u);
  EXPECT_FALSE(para_->cancelButton()->isEnabled());
  closePara();
}

TEST_F(ParaUpdate, ARawStreamShowsItsTimeLeftInProtocolTimeWithTheRestartWaitToTheEnd) {
  VirtualPrinter printer;
  writeSettings("[ParaDefault]\r\nWaitTime=0\r\n");
  openOn(printer);
  controls().setText("edt_Prgfile", updateFile(0x3000));
  control<QPushButton>("bt_firmware")->click();
  // 48 blocks 400 ms apart, then the 26 s restart: the first estimate, after
  // 2 s of measuring, is some 42 s, though the scaled clock runs it all in a
  // twentieth of that (measured in real time it would show only in the wait).
  const QProgressBar& bar = *para_->progressBar();
  std::string shown;
  std::smatch left;
  ASSERT_TRUE(waitFor(
      [&] { return std::regex_search(shown = bar.format().toStdString(), left, std::regex("剩余 (\\d+):(\\d\\d)")); }));
  const int seconds = std::stoi(left[1]) * 60 + std::stoi(left[2]);
  EXPECT_TRUE(seconds >= 35 && seconds <= 180) << shown;
  EXPECT_TRUE(waitFor([&] { return bar.format().startsWith(QStringLiteral("打印机重启  剩余 0:")); }));
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_EQ(bar.format(), QString());
  closePara();
}

}  // namespace
}  // namespace ombrel::gui_test
