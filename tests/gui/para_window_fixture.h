#pragma once

// The parameters window shown over its main window, as the parameters button
// shows it once the link test has found the printer.

#include <QCheckBox>
#include <QTabWidget>
#include <string>
#include <vector>

#include "e2e/virtual_printer.h"
#include "gui/main_window_fixture.h"

namespace ombrel::gui_test {

class ParaWindowTest : public MainWindowTest {
 protected:
  // Shows the window (its show handler loads the settings).
  void showPara() {
    window_->hide();
    para_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(para_.get()));
  }
  void closePara() { para_->close(); }

  // The main window's link choice is the printer, read as the link test
  // reads it before the window opens.
  void linkTo(const test_support::VirtualPrinter& printer) {
    chooseNetwork(printer.port());
    ASSERT_TRUE(window_->ReadLinkSettings());
  }

  // Both windows at `timeScale`, the parameters window shown.
  void openPara(double timeScale = 20) {
    start(timeScale);
    showPara();
  }
  // Both windows at `timeScale`, linked to `printer`, the parameters window shown.
  void openOn(const test_support::VirtualPrinter& printer, double timeScale = 20) {
    start(timeScale);
    linkTo(printer);
    showPara();
  }

  template <typename Widget>
  Widget* control(const char* name) const {
    auto* widget = para_->findChild<Widget*>(QString::fromLatin1(name));
    if (widget == nullptr) ADD_FAILURE() << "no control " << name;
    return widget;
  }
  QTabWidget* tabs() const { return control<QTabWidget>("PageControl1"); }
  ParaControls& controls() { return para_->paraControls(); }
  std::string paraStatus() const { return para_->statusPanel(0)->text().toStdString(); }

  // What the printer received, as "kind: bytes", without the identification
  // that opens every task.
  static std::vector<std::string> received(const test_support::VirtualPrinter& printer) {
    constexpr int kIdentifyCommand = 48;
    std::vector<std::string> units;
    for (const auto& unit : printer.received()) {
      if (unit.command != kIdentifyCommand) units.push_back(unit.kind + ": " + unit.bytes);
    }
    return units;
  }
};

}  // namespace ombrel::gui_test
