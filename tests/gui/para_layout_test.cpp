// The parameters window's layout, every tab in both languages, and the
// production line window's with the day's rows: every control shows its
// whole text and none covers another. With OMBREL_SCREENSHOT_DIR set, each
// tab is also saved there as para-<tab>-<zh|en>.png, the production line
// window as line-<zh|en>.png.

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QListWidget>

#include "app/frm_line.h"
#include "commands/printer_rows.h"
#include "commands/rows_report.h"
#include "gui/para_window_fixture.h"
#include "gui/window_checks.h"

namespace ombrel::gui_test {
namespace {

const char* const kTabFiles[] = {"basic", "bluetooth", "wifi", "network", "infrared", "download", "product"};

bool isPartOfABox(const QWidget* widget) {
  for (const QWidget* w = widget->parentWidget(); w != nullptr; w = w->parentWidget()) {
    if (qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSpinBox*>(w)) return true;
  }
  return false;
}

// The controls an operator sees on the current tab, named or not.
std::vector<QWidget*> visibleControls(QWidget* page) {
  std::vector<QWidget*> controls;
  for (QWidget* widget : page->findChildren<QWidget*>()) {
    const bool control = qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget) ||
                         qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget) ||
                         qobject_cast<QAbstractSpinBox*>(widget) || qobject_cast<QGroupBox*>(widget) ||
                         qobject_cast<QListWidget*>(widget);
    if (control && widget->isVisible() && !isPartOfABox(widget)) controls.push_back(widget);
  }
  return controls;
}

class ParaLayout : public ParaWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(ParaLayout, EveryTabShowsEveryControlWhole) {
  installLanguageFiles();
  writeSettings("[MainDefault]\nLanguage=" + std::to_string(GetParam()) + "\n");
  openPara();
  ASSERT_EQ(tabs()->count(), 7);
  const QSize size = para_->size();
  para_->engineMessage(kStatusChanged, 0, "Finish 99.9%(123456/123457) /dev/serial/by-id/usb-FTDI_FT232R_USB_UART\n2");
  para_->showTransferText("更新程序:app.bin Size:1000\r\n");
  settle(std::chrono::milliseconds(50));
  EXPECT_EQ(para_->size(), size) << "a long status text of two lines resizes the window";

  for (int tab = 0; tab < tabs()->count(); ++tab) {
    tabs()->setCurrentIndex(tab);
    settle(std::chrono::milliseconds(100));
    EXPECT_EQ(para_->size(), size) << "tab " << tab << " resizes the window";
    const std::vector<QWidget*> controls = visibleControls(tabs()->widget(tab));
    EXPECT_GE(controls.size(), 8u) << kTabFiles[tab];
    expectWhole(controls, para_.get(), true);
    saveScreenshot(*para_, std::string("para-") + kTabFiles[tab] + (GetParam() == 1 ? "-en.png" : "-zh.png"));
  }
  for (QLabel* panel : {para_->statusPanel(0), para_->statusPanel(1)}) {
    EXPECT_TRUE(para_->rect().contains(inWindow(panel, para_.get())));
  }
  EXPECT_GE(para_->statusPanel(0)->width(), 250);
  EXPECT_EQ(para_->statusPanel(1)->width(), 50);
}

TEST_P(ParaLayout, TheProductionLineWindowShowsTheDaysRowsWhole) {
  installLanguageFiles();
  writeSettings("[MainDefault]\nLanguage=" + std::to_string(GetParam()) +
                "\n[ProductionLine]\nStation=st1\nActions=btn_SetCodepage,btn_SetForcepaper,btn_SetDevicePara\n");
  const ProvisioningLog log(app::provisioningLogPath(dir_.path().string() + "/"));
  using Result = RecipeStep::Result;
  for (const auto& [serial, last, end] : {std::tuple{"1704269998", Result::Passed, PrinterRow::End::Passed},
                                          std::tuple{"1704269999", Result::Passed, PrinterRow::End::Passed},
                                          std::tuple{"", Result::Removed, PrinterRow::End::Removed}}) {
    appendPrinterRow(log, {localTimestamp(),
                           "usb:VID_0FE6&PID_811E",
                           "OMB80",
                           serial,
                           {{"btn_SetCodepage", Result::Passed, ""},
                            {"btn_SetForcepaper", Result::Passed, ""},
                            {"btn_SetDevicePara", last, ""}},
                           1.4,
                           end,
                           "",
                           "1-1",
                           newRowId(),
                           localTimestamp()});
  }
  start();
  ui().transportRadios[2]->click();
  showPara();
  control<QPushButton>("btn_ProductionLine")->click();
  app::TFrmLine& line = para_->lineWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&line));
  settle(std::chrono::milliseconds(100));
  EXPECT_EQ(line.table()->rowCount(), 3);
  const std::vector<QWidget*> controls = visibleControls(&line);
  EXPECT_GE(controls.size(), 12u);
  expectWhole(controls, &line, true);
  // Each action by its captions in the interface language, in the list and the headers.
  const QString codePage = GetParam() == 1 ? "Code page · Set" : "设置语言 · 设置";
  const auto* recipe = line.findChild<QListWidget*>("lst_Recipe");
  EXPECT_EQ(recipe->findItems(codePage, Qt::MatchExactly).size(), 1);
  for (int i = 0; i < recipe->count(); ++i) {
    EXPECT_NE(recipe->item(i)->text(), recipe->item(i)->data(Qt::UserRole).toString());
  }
  QStringList headers;
  for (int c = 0; c < line.table()->columnCount(); ++c) headers << line.table()->horizontalHeaderItem(c)->text();
  EXPECT_TRUE(headers.contains(codePage) && headers.contains(GetParam() == 1 ? "Link" : "连接"))
      << headers.join(", ").toStdString();
  saveScreenshot(line, GetParam() == 1 ? "line-en.png" : "line-zh.png");

  // The export writes the day's rows of the log, as ombrelctl --rows does.
  boxes_.answerOpen((dir_ / "rows.csv").string());
  line.findChild<QPushButton*>("btn_LineExport")->click();
  ASSERT_TRUE(waitFor([&] { return std::filesystem::exists(dir_ / "rows.csv"); }));
  const std::string csv = testing::readFile(dir_ / "rows.csv");
  EXPECT_EQ(csv, printerRowsCsv(logRowsOfDay(log.path(), dayOf(localTimestamp()), "st1", "default")));
  EXPECT_NE(csv.find(",1704269999,passed,"), std::string::npos) << csv;
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, ParaLayout, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& language) {
                           return language.param == 1 ? "English" : "Chinese";
                         });

}  // namespace
}  // namespace ombrel::gui_test
