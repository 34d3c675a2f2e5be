#pragma once

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "e2e/virtual_printer.h"
#include "platform/bytes.h"
#include "settings/temp_dir.h"
#include "support/child_process.h"
#include "support/run_program.h"

namespace ombrel::test_support {

// ombrelctl runs with its own program directory and protocol time 20 times
// faster than real time, unless a test asks for another scale.
class CtlTest : public ::testing::Test {
 protected:
  ProgramRun ctl(std::vector<std::string> arguments, const std::string& timeScale = "") {
    arguments.insert(arguments.begin(), {"--dir", dir()});
    return runProgram(builtProgram("ombrelctl"), arguments,
                      {{"OMBREL_TIME_SCALE", timeScale.empty() ? defaultTimeScale_ : timeScale}});
  }

  // ombrelctl left running, standard error into errPath(), so that a test
  // can signal it while it sends.
  std::unique_ptr<ChildProcess> startCtl(const std::vector<std::string>& arguments, const std::string& timeScale) {
    std::vector<std::string> shell{"-c", "exec \"$0\" \"$@\" 2>\"" + errPath() + "\"", builtProgram("ombrelctl"),
                                   "--dir", dir()};
    shell.insert(shell.end(), arguments.begin(), arguments.end());
    return std::make_unique<ChildProcess>("/bin/sh", shell,
                                          ChildProcess::Environment{{"OMBREL_TIME_SCALE", timeScale}});
  }
  std::string errPath() const { return dir() + "/stderr.txt"; }
  static void readUntilLine(ChildProcess& ctl, const std::string& start) {
    while (auto line = ctl.readLine(std::chrono::seconds(20))) {
      if (line->starts_with(start)) return;
    }
    FAIL() << "no line starting with " << start;
  }
  // Ctrl-C to a started ombrelctl: it ends with status 1.
  static void interruptAndExpectCancelled(ChildProcess& ctl) {
    ctl.sendSignal(SIGINT);
    const auto status = ctl.waitForExit(std::chrono::seconds(10));
    ASSERT_TRUE(status && status->exited);
    EXPECT_EQ(status->code, 1);
  }

  // Writes `content` to `name` in the program directory; returns its path.
  std::string file(const std::string& name, const Bytes& content) const {
    const std::string path = dir() + "/" + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
    return path;
  }
  std::string debugLog() const { return fileContent((dir_ / "debug.log").string()); }
  std::string dir() const { return dir_.path().string(); }

  // The received units as "kind: bytes", for compact exact comparisons.
  static std::vector<std::string> wire(const VirtualPrinter& printer) {
    std::vector<std::string> out;
    for (const auto& unit : printer.received()) out.push_back(unit.kind + ": " + unit.bytes);
    return out;
  }

  // A serial reply wait of 600 ms is 30 ms at scale 20: too short for a
  // virtual printer on a busy two-core machine. Serial tests run at 5.
  void useSerialTimeScale() { defaultTimeScale_ = "5"; }

 private:
  std::string defaultTimeScale_ = "20";
  // A directory of its own: runs in parallel, from other checkouts too, never
  // share one.
  testing::TempDir dir_;
};

// ombrelctl on a serial link, at the serial time scale.
class SerialCtlTest : public CtlTest {
 protected:
  SerialCtlTest() { useSerialTimeScale(); }
};

// The identification frame that opens every task on the network link.
inline const std::string kIdentify = "frame: 02 00 30 00 00 00 00 00 00 00 00 00 08 00 3A 00 01 02 04 08 10 20 40 80";

// Set buttons pressed from ombrelctl against a fresh printer over UDP.
class SettingsActionTest : public CtlTest {
 protected:
  // Runs the actions against a fresh printer and fresh settings; returns the
  // units it received after each identification, as "kind: bytes".
  std::vector<std::string> sent(std::vector<std::string> arguments, int expectedExit = 0) {
    std::filesystem::remove(dir() + "/sysconfig.ini");
    VirtualPrinter printer;
    arguments.insert(arguments.begin(), {"--link", printer.link()});
    last = ctl(arguments);
    EXPECT_EQ(last.exitCode, expectedExit) << last.err;
    const std::vector<std::string> received = wire(printer);
    // Every task, raw ones too, asks the printer to identify itself first.
    if (!received.empty()) {
      EXPECT_EQ(received.front(), kIdentify) << arguments.back();
    }
    std::vector<std::string> units;
    for (const auto& unit : received) {
      if (unit != kIdentify) units.push_back(unit);
    }
    return units;
  }
  // Each runs its arguments against a fresh printer, which receives the one
  // unit `wire`; the status line printed is `status` (none when empty).
  struct SendCase {
    std::vector<std::string> arguments;
    std::string wire;
    std::string status;
  };
  void expectEachSends(const std::vector<SendCase>& cases) {
    for (const auto& c : cases) {
      EXPECT_EQ(sent(c.arguments), (std::vector<std::string>{c.wire})) << c.arguments.back();
      EXPECT_EQ(last.out, c.status.empty() ? "" : c.status + "\n") << c.arguments.back();
    }
  }
  // Each is refused (exit 2) with `error`, and nothing reaches the printer.
  struct RefusedCase {
    std::vector<std::string> arguments;
    std::string error;
  };
  void expectEachRefused(const std::vector<RefusedCase>& cases) {
    for (const auto& c : cases) {
      EXPECT_TRUE(sent(c.arguments, 2).empty()) << c.arguments.back();
      EXPECT_EQ(last.err, c.error + "\n") << c.arguments.back();
    }
  }
  ProgramRun last;
};

}  // namespace ombrel::test_support
