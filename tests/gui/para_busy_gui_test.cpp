// The parameters window's clicks while a task runs, the texts its panels
// keep after a task, and a transfer that ends while the window is closed,
// offscreen against the virtual printer over UDP.

#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <fstream>

#include "app/app_texts.h"
#include "gui/para_window_fixture.h"

namespace ombrel::gui_test {
namespace {

using test_support::VirtualPrinter;

class ParaBusy : public ParaWindowTest {
 protected:
  // The window shown with a font library of `size` bytes chosen; replies are
  // waited for long enough that a busy machine causes no resend.
  void showWithFont(const VirtualPrinter& printer, std::size_t size) {
    openOn(printer, 2);
    const std::string font = dir_.path().string() + "/font.bin";
    std::ofstream(font, std::ios::binary) << std::string(size, '\x3C');
    controls().setText("edt_FontFile", font);
    controls().setText("edt_FontAddress", "2000");
  }
  void startDownload() {
    control<QPushButton>("btn_UpdateFont")->click();
    ASSERT_TRUE(waitFor([&] { return para_->progressBar()->value() > 0; }));
  }
  std::string panel1() const { return para_->statusPanel(1)->toolTip().toStdString(); }
};

TEST_F(ParaBusy, AClickDuringADownloadChangesNothingAndItsNoticeOutlastsTheProgress) {
  const VirtualPrinter printer({"--delay", "20"});
  showWithFont(printer, 0x8000);
  auto* wifiOff = control<QCheckBox>("Chb_CloseWifi");
  const bool wifiWasOff = wifiOff->isChecked();
  controls().setText("edt_StartAddress", "100");
  controls().setText("edt_ReadLength", "256");
  startDownload();
  const std::string fileLine = panel1();
  const auto shownBefore = boxes_.shown().size();

  boxes_.answerOpen(dir_.path().string() + "/back2.hex");
  control<QPushButton>("btn_ReadFont")->click();
  const auto refused = std::chrono::steady_clock::now();
  wifiOff->click();
  EXPECT_EQ(boxes_.shown().size(), shownBefore) << "no save dialog";
  EXPECT_EQ(wifiOff->isChecked(), wifiWasOff);
  EXPECT_EQ(panel1(), fileLine);
  EXPECT_EQ(paraStatus(), app::taskRunningText(0));

  const int progressAtClick = para_->progressBar()->value();
  ASSERT_TRUE(waitFor([&] { return para_->progressBar()->value() > progressAtClick; }));
  EXPECT_EQ(paraStatus(), app::taskRunningText(0)) << "progress came in";
  ASSERT_TRUE(waitFor([&] { return paraStatus() != app::taskRunningText(0); }, std::chrono::seconds(5)));
  EXPECT_GE(std::chrono::steady_clock::now() - refused, clock_->realDuration(3000));
  EXPECT_FALSE(paraStatus().empty()) << "the latest status replaces the notice";
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_TRUE(waitFor([&] { return paraStatus() == "下载完成"; }));
  EXPECT_EQ(panel1(), fileLine) << "nothing was read";
  closePara();
  EXPECT_EQ(settings().find("back2"), std::string::npos);
}

// Panel 1 holds the file of the task it belongs to only; an action that
// says nothing leaves no earlier word in panel 0 and shows no box.
TEST_F(ParaBusy, NoTextOutlivesTheTaskItBelongsTo) {
  const VirtualPrinter printer;
  showWithFont(printer, 300);
  control<QPushButton>("btn_UpdateFont")->click();
  ASSERT_TRUE(waitUntilIdle());
  ASSERT_NE(panel1().find("font.bin"), std::string::npos);
  control<QPushButton>("btn_SetCodepage")->click();
  EXPECT_EQ(panel1(), "");
  ASSERT_TRUE(waitUntilIdle());
  ASSERT_FALSE(paraStatus().empty());
  controls().setText("edt_lyName", "");
  controls().setText("edt_smlyName", "");
  control<QPushButton>("btn_SetlyPara")->click();
  EXPECT_EQ(paraStatus(), "");
  EXPECT_TRUE(boxes_.shown().empty());
  closePara();
}

TEST_F(ParaBusy, ATransferThatEndsAfterTheWindowClosedEndsInTheMainWindow) {
  const VirtualPrinter printer({"--delay", "20"});
  showWithFont(printer, 0x2000);
  startDownload();
  closePara();  // the question is answered yes
  ASSERT_FALSE(para_->isVisible());
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_EQ(status(), "下载完成");
  showPara();
  EXPECT_FALSE(para_->cancelButton()->isEnabled());
  closePara();
}

}  // namespace
}  // namespace ombrel::gui_test
