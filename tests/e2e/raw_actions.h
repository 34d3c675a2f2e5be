#pragma once

// The raw actions, each run through ombrelctl against a printer that answers
// and one that does not: the printer is asked to identify itself first, and
// only an answer lets the action's bytes out. Shared by the network and
// pseudo-terminal runs here and the USB runs of tests/usb.

#include <string>
#include <vector>

#include "e2e/ctl_fixture.h"
#include "e2e/serial_line_log.h"

namespace ombrel::test_support {

struct RawActionRow {
  std::string name;  // the test's name: letters, digits and underscores
  std::vector<std::string> arguments;
  std::string unit;  // what reaches the printer after the identification, as "kind: bytes"
  std::string out;   // standard output once the bytes went out
};

std::vector<RawActionRow> rawActionRows();

inline void PrintTo(const RawActionRow& row, std::ostream* out) { *out << row.name; }
inline std::string rawRowName(const ::testing::TestParamInfo<RawActionRow>& row) { return row.param.name; }

class RawActionRun : public CtlTest {
 protected:
  // Runs the row's action against `printer`, reached by `link`; a byte
  // stream (pseudo-terminal, USB) is checked on the printer's line log.
  void check(const RawActionRow& row, VirtualPrinter& printer, const std::string& link, bool byteStream,
             bool answering) {
    std::vector<std::string> arguments{"--link", link};
    arguments.insert(arguments.end(), row.arguments.begin(), row.arguments.end());
    // A byte stream's reply wait of 600 ms needs a slower scale (ctl_fixture.h).
    const auto run = ctl(arguments, byteStream ? "5" : "");
    EXPECT_EQ(run.exitCode, answering ? 0 : 1) << run.err;
    EXPECT_EQ(run.out, answering ? row.out : "");
    EXPECT_EQ(run.err, answering ? "" : "Received Failed\n");
    if (!byteStream) {
      std::vector<std::string> expected{kIdentify};
      if (answering) expected.push_back(row.unit);
      EXPECT_EQ(wire(printer), expected);
      return;
    }
    // The printer's answers are its own (a flow-control sequence happens to
    // be a whole frame, which it answers); what it received is the tool's.
    auto log = lineLog(printer);
    std::erase_if(log, [](const std::string& line) { return line.starts_with("tx "); });
    Lines expected{"open", "rx frame: " + kSerialIdentify};
    if (answering) expected.push_back("rx " + row.unit);
    expected.push_back("close");
    EXPECT_EQ(log, expected);
  }
};

}  // namespace ombrel::test_support
