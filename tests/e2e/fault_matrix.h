#pragma once

// One fault of the virtual printer against one kind of task, run through
// ombrelctl: the exit status and text it ends with, within a bound derived
// from the protocol's waits, with the trace written and the port closed.
// ombrelctl exiting at all shows that no thread was left running: a joinable
// thread at exit aborts, a hung one runs into the hard time-out.

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "e2e/ctl_fixture.h"
#include "e2e/serial_line_log.h"
#include "platform/bytes.h"

namespace ombrel::test_support {

enum class TaskKind { Framed, Download, Update, ReadBack, VerifiedDownload };
enum class Wire { Udp, Pty, Usb };

struct FaultRow {
  std::string name;  // the test's name: letters, digits and underscores
  TaskKind task;
  std::vector<std::string> fault;  // the virtual printer's options
  int exitCode;
  std::string err;  // exactly
  // The longest the run may wait on the printer by the protocol's rules, in
  // protocol milliseconds: the bound on its duration is derived from it.
  std::int64_t worstWaitMs;
  // No frame reached the printer twice: no reply was missed or refused.
  bool eachFrameOnce = false;
};

inline const std::string kReceivedFailed = "Received Failed\n";
inline const std::string kDownloadFailed = "Download Data Failed\n";

// A download of 600 bytes is three command-51 blocks; a read-back of 64 bytes
// from a printer that answers 16 at a time is four command-52 requests.
inline constexpr std::size_t kDownloadSize = 600;
inline constexpr std::size_t kReadBackSize = 64;

// The protocol's waits that a failing row runs into.
inline constexpr std::int64_t kCommandWaitMs = 3000;       // each of 3 attempts of a command
inline constexpr std::int64_t kDatagramReadWaitMs = 3000;  // a read on the network
inline constexpr std::int64_t kStreamReadWaitMs = 600;     // a read on a serial or USB line

// Success texts on standard output, one per task kind.
inline std::string successTail(TaskKind task) {
  switch (task) {
    case TaskKind::Framed:
      return "设置默认参数成功\n";
    case TaskKind::Download:
    case TaskKind::VerifiedDownload:
      return "Finish 100.0%(2/2)\n";
    case TaskKind::Update:
      return "更新程序完成\n";
    case TaskKind::ReadBack:
      return "上传完成\n";
  }
  return {};
}

// The faults of a byte stream, each run on a pseudo-terminal and on USB.
std::vector<FaultRow> byteStreamRows();

// Rows show by name in test listings.
inline void PrintTo(const FaultRow& row, std::ostream* out) { *out << row.name; }

// Each row is a test of its own, named after it.
inline std::string rowName(const ::testing::TestParamInfo<FaultRow>& row) { return row.param.name; }

// The same task kinds against printers that fill their reply heads each in
// their own way: every reply acknowledges, so each frame goes out once.
inline std::vector<FaultRow> replyHeadRows() {
  const std::pair<const char*, TaskKind> kinds[] = {{"Framed", TaskKind::Framed},
                                                    {"Download", TaskKind::Download},
                                                    {"Update", TaskKind::Update},
                                                    {"ReadBack", TaskKind::ReadBack}};
  std::vector<FaultRow> rows;
  for (const auto& [kind, task] : kinds) {
    for (const std::string style : {"echo", "zero", "fixed"}) {
      rows.push_back({std::string(kind) + "_Head_" + style, task, {"--reply-head", style, "--identity", ""}, 0, "", 0});
      rows.back().eachFrameOnce = true;
    }
  }
  return rows;
}

// A verified font download of 600 bytes to 0x10000 against a printer that
// stores what it gets, and against one that stores the byte at 0x1012C
// wrongly: the read-back runs up to that byte and names it.
inline constexpr std::int64_t kVerifiedReads = 38;     // 600 bytes, 16 a reply
inline constexpr std::int64_t kReadsToWrongByte = 19;  // 0x12C = 300 lies in the 19th
inline std::vector<FaultRow> verifyRows() {
  return {{"Verify_StoredAsSent", TaskKind::VerifiedDownload, {}, 0, "", 0, true},
          {"Verify_OneByteStoredWrongly",
           TaskKind::VerifiedDownload,
           {"--corrupt-store", "0x1012C"},
           1,
           "校验失败：地址 0x1012C\n",
           0,
           true}};
}

// The virtual printer's options for a row on a wire.
inline std::vector<std::string> printerOptions(const FaultRow& row, Wire wire) {
  std::vector<std::string> options{"--read-block", "16"};
  // Behind a USB node the tool leaves the pseudo-terminal at the kernel's
  // 38400 bit/s: the printer listens there.
  if (wire == Wire::Usb) options.insert(options.end(), {"--baud", "38400"});
  options.insert(options.end(), row.fault.begin(), row.fault.end());
  return options;
}

// With OMBREL_TRACE_DIGEST_DIR set, each row leaves its trace there, named
// after its wire and itself, so that scripts/trace-digest.sh can compare the
// traces of two builds.
inline void keepTrace(Wire wire, const std::string& row, const std::string& trace) {
  const char* keep = std::getenv("OMBREL_TRACE_DIGEST_DIR");
  if (keep == nullptr || *keep == '\0') return;
  static constexpr const char* kWireNames[] = {"Udp", "Pty", "Usb"};
  const std::string name = std::string(kWireNames[static_cast<int>(wire)]) + "_" + row + ".log";
  std::ofstream(std::filesystem::path(keep) / name, std::ios::binary) << trace;
}

class FaultMatrixRun : public CtlTest {
 protected:
  // Runs the row's task against `printer`, reached by `link`, and checks
  // what every row must show.
  void check(const FaultRow& row, VirtualPrinter& printer, const std::string& link, Wire wire,
             const std::string& timeScale) {
    const std::string font = dir() + "/font.bin";
    const std::string target = dir() + "/back.bin";
    std::vector<std::string> arguments{"--link", link, "--dev-baud", "9600", "--tran-baud", "9600"};
    switch (row.task) {
      case TaskKind::Framed:
        arguments.insert(arguments.end(), {"task", "10"});
        break;
      case TaskKind::Download:
        std::ofstream(font, std::ios::binary) << std::string(kDownloadSize, 'F');
        arguments.insert(arguments.end(), {"--set", "FontFile=" + font, "--set", "FontAddress=0", "btn_UpdateFont"});
        break;
      case TaskKind::Update:
        // Too short to hold an identity: the printer must report none.
        std::ofstream(font, std::ios::binary) << std::string(kDownloadSize, 'P');
        arguments.insert(arguments.end(), {"--set", "PrgFile=" + font, "--set", "WaitTime=0", "btn_UpdatePrg"});
        break;
      case TaskKind::VerifiedDownload:
        std::ofstream(font, std::ios::binary) << std::string(kDownloadSize, 'V');
        arguments.insert(arguments.end(),
                         {"--verify", "--set", "FontFile=" + font, "--set", "FontAddress=10000", "btn_UpdateFont"});
        break;
      case TaskKind::ReadBack:
        arguments.insert(arguments.end(),
                         {"--set", "StartAddress=0", "--set", "ReadLength=" + std::to_string(kReadBackSize),
                          "--save-as", target, "btn_ReadFont"});
        break;
    }
    const auto run = ctl(arguments, timeScale);
    EXPECT_EQ(run.exitCode, row.exitCode) << run.err;
    EXPECT_EQ(run.err, row.err);
    const std::string success = successTail(row.task);
    // A verify that fails has sent the whole file: its last progress line
    // depends on how far the read-back came.
    if (row.task != TaskKind::VerifiedDownload || row.exitCode == 0) {
      EXPECT_EQ(run.out.ends_with(success), row.exitCode == 0) << run.out;
    }
    // Twice the waits, and as much again for starting a program under the
    // sanitizers on a busy machine.
    const auto bound = std::chrono::milliseconds(2 * row.worstWaitMs / std::stoi(timeScale) + 5000);
    EXPECT_LT(run.took, bound);

    const std::string trace = debugLog();
    keepTrace(wire, row.name, trace);
    EXPECT_NE(trace.find("Send "), std::string::npos) << trace;
    if (row.exitCode == 0) {
      EXPECT_NE(trace.find("Receive "), std::string::npos) << trace;
    }

    if (row.exitCode == 0 && row.task == TaskKind::ReadBack) {
      // The printer's memory before anything is written: byte i holds i.
      Bytes expected(kReadBackSize);
      for (std::size_t i = 0; i < kReadBackSize; ++i) expected[i] = static_cast<std::uint8_t>(i);
      const std::string saved = fileContent(target);
      EXPECT_EQ(toHex(Bytes(saved.begin(), saved.end())), toHex(expected));
    }
    auto units = wire == Wire::Udp ? CtlTest::wire(printer) : lineLog(printer);
    std::erase_if(units, [](const std::string& unit) { return unit.find("frame: ") == std::string::npos; });
    if (row.eachFrameOnce) {
      auto distinct = units;
      std::sort(distinct.begin(), distinct.end());
      EXPECT_EQ(std::unique(distinct.begin(), distinct.end()) - distinct.begin(), std::ssize(units));
    }
    if (row.task == TaskKind::VerifiedDownload) {
      // The read-back is in the trace and reached the printer.
      EXPECT_TRUE(std::regex_search(trace, std::regex("Send 16 Bytes[^\n]*\n +02 00 34 00"))) << trace;
      const auto reads = std::count_if(units.begin(), units.end(), [](const std::string& unit) {
        return unit.find("frame: 02 00 34 00") != std::string::npos;
      });
      EXPECT_EQ(reads, row.exitCode == 0 ? kVerifiedReads : kReadsToWrongByte);
    }
    if (row.exitCode == 0 &&
        (row.task == TaskKind::Download || row.task == TaskKind::Update || row.task == TaskKind::VerifiedDownload)) {
      // All three blocks reached the printer.
      std::erase_if(units,
                    [](const std::string& unit) { return unit.find("frame: 02 00 33 00") == std::string::npos; });
      std::sort(units.begin(), units.end());
      EXPECT_EQ(std::unique(units.begin(), units.end()) - units.begin(), 3);
    }
    if (wire != Wire::Udp) {
      // The port was closed at the end, or the printer had hung up the line.
      const auto log = lineLog(printer);
      ASSERT_FALSE(log.empty());
      EXPECT_TRUE(log.back() == "close" || log.back() == "hangup") << log.back();
    }
  }
};

}  // namespace ombrel::test_support
