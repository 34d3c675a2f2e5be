#pragma once

// A main window and its parameters window on a program directory of their
// own, with message boxes answered by the test and protocol time scaled.

#include <gtest/gtest.h>

#include <QApplication>
#include <QThread>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/frm_main.h"
#include "app/frm_para.h"
#include "gui/scripted_message_boxes.h"
#include "platform/clock.h"
#include "settings/temp_dir.h"
#include "support/run_program.h"
#include "texts/language_file.h"

namespace ombrel::gui_test {

inline std::filesystem::path shippedLanguageDir() { return test_support::sourceDirectory() / "lang"; }

// Runs the event loop until `condition` holds; false after `timeout`.
inline bool waitFor(const std::function<bool()>& condition,
                    std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(2);
  }
  return true;
}

// Runs the event loop for a while, for messages that may still come.
inline void settle(std::chrono::milliseconds time = std::chrono::milliseconds(100)) {
  waitFor([] { return false; }, time);
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The shared text tables start Chinese whatever an earlier test chose.
    applyLanguageFile(shippedLanguageDir() / "Chinese.lng", {});
  }

  void TearDown() override {
    if (window_) {
      EXPECT_TRUE(waitFor([&] { return !window_->engine().isBusy(); })) << "a task was still running";
      settle(std::chrono::milliseconds(20));
    }
    para_.reset();
    window_.reset();
  }

  // The language files, as shipped, in the program directory.
  void installLanguageFiles() {
    for (const char* name : {"Chinese.lng", "English.lng"}) {
      std::filesystem::copy_file(shippedLanguageDir() / name, dir_ / name);
    }
  }

  void writeSettings(const std::string& content) { testing::writeFile(dir_ / "sysconfig.ini", content); }
  std::string settings() const { return testing::readFile(dir_ / "sysconfig.ini"); }
  bool settingsExist() const { return std::filesystem::exists(dir_ / "sysconfig.ini"); }

  // Creates both windows as the program does: the parameters window joins
  // once the main window is shown.
  app::TFrmMain& start(
      double timeScale = 20,
      std::function<std::vector<std::string>()> ports = [] { return std::vector<std::string>{"/dev/ttyUSB0"}; }) {
    clock_ = std::make_unique<ScaledClock>(timeScale);
    window_ = std::make_unique<app::TFrmMain>(
        app::MainWindowServices{dir_.path().string() + "/", {dir_.path()}, *clock_, boxes_, std::move(ports)});
    window_->show();
    para_ = std::make_unique<app::TFrmPara>(*window_);
    window_->setParaWindow(para_.get());
    return *window_;
  }

  // Runs `check` once the parameters window is shown, then closes it.
  void whileParaShown(std::function<void()> check) {
    auto* poll = new QTimer(para_.get());
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, para_.get(), [this, poll, check = std::move(check)] {
      if (!para_->isVisible()) return;
      poll->stop();
      poll->deleteLater();
      check();
      para_->close();
    });
    poll->start();
  }

  // Stops and removes both windows, as the end of the program does.
  void stop() { TearDown(); }

  const app::MainControls& ui() const { return window_->ui(); }
  std::string status() const { return ui().statusPanels[0]->text().toStdString(); }

  void chooseNetwork(int port, const std::string& host = "127.0.0.1") {
    ui().transportRadios[1]->click();
    ui().edt_Ipaddress->setText(QString::fromStdString(host));
    ui().edt_Port->setText(QString::number(port));
  }

  // Waits for the running task (if any) to end and its messages to arrive.
  bool waitUntilIdle() {
    const bool idle = waitFor([&] { return !window_->engine().isBusy(); });
    settle(std::chrono::milliseconds(30));
    return idle;
  }

  testing::TempDir dir_;
  ScriptedMessageBoxes boxes_;
  std::unique_ptr<ScaledClock> clock_;
  std::unique_ptr<app::TFrmMain> window_;
  std::unique_ptr<app::TFrmPara> para_;
};

}  // namespace ombrel::gui_test
