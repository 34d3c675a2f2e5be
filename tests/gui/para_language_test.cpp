// The language files and the parameters window: both files name every
// captioned control of the window by its control name, and the chosen
// language reaches captions, option texts and the stored list texts.

#include <QGroupBox>
#include <set>

#include "app/app_identity.h"
#include "gui/para_window_fixture.h"
#include "texts/ini_file.h"
#include "settings/para_settings.h"

namespace ombrel::gui_test {
namespace {

using ParaLanguage = ParaWindowTest;

TEST_F(ParaLanguage, BothFilesNameEveryCaptionedControl) {
  start();
  std::set<std::string> captioned;
  std::set<std::string> offered;
  for (const CaptionControl& control : para_->controls()) {
    offered.insert(control.name);
    const QWidget* widget = para_->findChild<QWidget*>(QString::fromStdString(control.name));
    ASSERT_NE(widget, nullptr) << control.name;
    const bool hasCaption = qobject_cast<const QLabel*>(widget) || qobject_cast<const QAbstractButton*>(widget) ||
                            qobject_cast<const QGroupBox*>(widget) || tabs()->indexOf(widget) >= 0;
    if (hasCaption) captioned.insert(control.name);
  }
  ASSERT_GE(captioned.size(), 120u);

  for (const char* file : {"Chinese.lng", "English.lng"}) {
    SCOPED_TRACE(file);
    const IniFile language(shippedLanguageDir() / file);
    std::set<std::string> named;
    for (const std::string& key : language.keys("FrmPara")) {
      if (key == "Caption") continue;
      const std::string control = key.substr(0, key.find('.'));
      EXPECT_TRUE(offered.count(control)) << key << " names no control of the window";
      named.insert(control);
    }
    for (const std::string& control : captioned) EXPECT_TRUE(named.count(control)) << control << " has no caption";
  }
}

TEST_F(ParaLanguage, EnglishReachesCaptionsOptionsAndStoredListTexts) {
  installLanguageFiles();
  writeSettings("[MainDefault]\nLanguage=1\n");
  start();
  EXPECT_EQ(tabs()->tabText(0).toStdString(), "Basic");
  EXPECT_EQ(control<QPushButton>("btn_SetAllPara")->text().toStdString(), "Set all parameters");
  EXPECT_EQ(control<QGroupBox>("rg_lyMode")->title().toStdString(), "Bluetooth mode");

  showPara();
  EXPECT_EQ(controls().text("cbb_Dark"), "Normal");
  EXPECT_EQ(controls().items("rg_lyMode"), (std::vector<std::string>{"No Bluetooth", "Single mode", "Dual mode"}));
  EXPECT_EQ(controls().text("cbb_Flowcontrol"), "Hardware flow control");
  closePara();
  EXPECT_EQ(IniFile(dir_ / "sysconfig.ini").readString(kParaSection, "Dark", ""), "Normal");

  // Back in Chinese the stored English text names the same item, and the
  // close stores it in Chinese.
  QTest::keyClick(ui().cbb_Language, Qt::Key_Up);
  EXPECT_EQ(tabs()->tabText(0).toStdString(), "基础设置");
  showPara();
  EXPECT_EQ(controls().text("cbb_Dark"), "正常");
  EXPECT_EQ(controls().items("RadioGroup1"), (std::vector<std::string>{"开放系统", "共享系统", "WPA-PSK", "WAP2-PSK"}));
  closePara();
  EXPECT_EQ(IniFile(dir_ / "sysconfig.ini").readString(kParaSection, "Dark", ""), "正常");
}

// Edits take their texts from the language files as the other controls do,
// and each window's title is its caption and nothing more.
TEST_F(ParaLanguage, EditsTakeTheirTextsAndTitlesAreTheCaptions) {
  app::identifyApplication();
  std::filesystem::copy_file(shippedLanguageDir() / "Chinese.lng", dir_ / "Chinese.lng");
  testing::writeFile(dir_ / "English.lng",
                     "[FrmMain]\r\nCaption=Printer tool\r\n"
                     "[FrmPara]\r\nCaption=Printer parameters\r\nedt_Port.Caption=8000\r\n");
  writeSettings("[MainDefault]\r\nLanguage=1\r\n");
  start();
  EXPECT_EQ(control<QLineEdit>("edt_Port")->text().toStdString(), "8000");
  EXPECT_EQ(window_->windowTitle().toStdString(), "Printer tool");
  EXPECT_EQ(para_->windowTitle().toStdString(), "Printer parameters");
  // The desktop appends the application's display name to every title when
  // one is set; the program sets none.
  EXPECT_EQ(QGuiApplication::applicationDisplayName(), QGuiApplication::applicationName());

  QTest::keyClick(ui().cbb_Language, Qt::Key_Up);
  EXPECT_EQ(window_->windowTitle().toStdString(), "Ombrel Setting Tool V1.0");
  EXPECT_EQ(para_->windowTitle().toStdString(), "Ombrel Setting Tool");
}

}  // namespace
}  // namespace ombrel::gui_test
