// The download tab's font library buttons in the parameters window,
// offscreen, against the virtual printer over UDP: the dialogs, the bytes
// that reached the printer (the same as ombrelctl sends from the same
// settings), the file name in the second status panel, the progress bar and
// the saved read-back.

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <fstream>

#include "gui/para_window_fixture.h"
#include "settings/para_settings.h"
#include "texts/ini_file.h"
#include "support/run_program.h"

namespace ombrel::gui_test {
namespace {

using test_support::VirtualPrinter;

class ParaFont : public ParaWindowTest {
 protected:
  void showDownloadTab(const VirtualPrinter& printer) {
    // Replies are waited for long enough that a busy machine causes no resend.
    openOn(printer, 2);
    QObject::connect(para_->progressBar(), &QProgressBar::valueChanged, para_.get(),
                     [this](int value) { highest_ = std::max(highest_, value); });
  }
  std::string path(const char* name) const { return dir_.path().string() + "/" + name; }

  int highest_ = 0;
};

TEST_F(ParaFont, ChosenFontGoesOutAsOmbrelctlSendsItWithItsNameInTheSecondPanel) {
  const VirtualPrinter printer;
  const std::string font = path("font.bin");
  std::ofstream(font, std::ios::binary) << std::string(300, '\x3C');
  showDownloadTab(printer);
  boxes_.answerOpen(font);
  control<QPushButton>("btn_OpenFont")->click();
  EXPECT_EQ(boxes_.shown().back(), "open: 选择字库文件 Binary File(*.HEX,*.BIN)|*.hex;*.bin");
  controls().setText("edt_FontAddress", "2000");
  control<QPushButton>("btn_UpdateFont")->click();
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_EQ(para_->statusPanel(1)->toolTip().toStdString(), "Downloading FONT" + font);
  EXPECT_EQ(paraStatus(), "下载完成");
  EXPECT_EQ(highest_, 1000);
  EXPECT_EQ(para_->progressBar()->value(), 0);
  closePara();  // saves the settings ombrelctl reads
  const auto fromWindow = received(printer);
  ASSERT_EQ(fromWindow.size(), 2u);
  EXPECT_EQ(fromWindow[0].substr(0, 54), "frame: 02 00 33 00 00 20 00 00 00 00 00 00 00 01 10 00");
  EXPECT_EQ(fromWindow[1].substr(0, 54), "frame: 02 00 33 00 00 21 00 00 00 00 00 00 2C 00 3C 00");

  const auto run = test_support::runProgram(test_support::builtProgram("ombrelctl"),
                                            {"--dir", dir_.path().string(), "--link", printer.link(), "btn_UpdateFont"},
                                            {{"OMBREL_TIME_SCALE", "2"}});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  auto both = received(printer);
  ASSERT_EQ(both.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(both.begin() + 2, both.end()), fromWindow);
}

TEST_F(ParaFont, ReadBackAsksWhereToSaveThenSavesTheRange) {
  const VirtualPrinter printer;
  showDownloadTab(printer);
  controls().setText("edt_StartAddress", "100");
  controls().setText("edt_ReadLength", "256");
  control<QPushButton>("btn_ReadFont")->click();  // the save dialog is cancelled
  EXPECT_EQ(boxes_.shown().back(), "save: HEX File(*.HEX)|*.hex");
  const std::string target = path("font");
  boxes_.answerOpen(target);
  control<QPushButton>("btn_ReadFont")->click();
  EXPECT_EQ(para_->statusPanel(1)->toolTip().toStdString(), "更新字库:" + target);
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_EQ(paraStatus(), "上传完成");
  EXPECT_EQ(highest_, 1000);
  EXPECT_EQ(received(printer), (std::vector<std::string>{"frame: 02 00 34 00 00 01 00 00 00 00 00 00 00 00 37 00"}));
  std::string expected(256, '\0');
  for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<char>(i);
  EXPECT_EQ(test_support::fileContent(target), expected);  // no extension added
  closePara();
}

// The box, clicked, makes the download read its range back: the progress bar
// names the verify, the byte the printer stored wrongly fails it, and the box
// is saved checked.
TEST_F(ParaFont, CheckedVerifyNamesTheByteStoredWronglyAndIsSaved) {
  // Slow enough replies of 16 bytes that the bar moves during the verify.
  const VirtualPrinter printer({"--corrupt-store", "0x2F05", "--read-block", "16", "--delay", "4"});
  const std::string font = path("font.bin");
  std::ofstream(font, std::ios::binary) << std::string(4096, '\x3C');
  showDownloadTab(printer);
  bool verifyShown = false;
  // The format follows the value: a change shows the previous report's phase.
  QObject::connect(para_->progressBar(), &QProgressBar::valueChanged, para_.get(), [&] {
    verifyShown = verifyShown || para_->progressBar()->format().startsWith(QStringLiteral("校验"));
  });
  controls().setText("edt_FontFile", font);
  controls().setText("edt_FontAddress", "2000");
  control<QCheckBox>("chk_VerifyDownload")->click();
  control<QPushButton>("btn_UpdateFont")->click();
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_EQ(paraStatus(), "校验失败：地址 0x2F05");
  EXPECT_TRUE(verifyShown);
  closePara();
  EXPECT_EQ(IniFile(dir_.path() / "sysconfig.ini").readString(kParaSection, "VerifyDownload", ""), "1");
}

}  // namespace
}  // namespace ombrel::gui_test
