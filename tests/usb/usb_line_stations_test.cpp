// Three stations on one line's server at once, each an ombrelctl
// --each-arrival process with two slots and a USB test bed of its own.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <tuple>

#include "linedb/pg_cluster.h"
#include "settings/temp_dir.h"
#include "support/run_program.h"
#include "usb/arrival_station.h"

namespace ombrel::test_support {
namespace {

// A printer's row: station, port, serial number, result.
using PrinterRow = std::tuple<std::string, std::string, std::string, std::string>;

// The day's printer rows of the line as ombrelctl --rows prints them from the server.
std::set<PrinterRow> serverRows(const std::string& conninfo) {
  const auto run = runProgram(builtProgram("ombrelctl"), {"--rows", "--line-db", conninfo});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  std::set<PrinterRow> rows;
  std::istringstream lines(run.out);
  std::string line;
  std::getline(lines, line);  // the column names
  while (std::getline(lines, line)) {
    std::vector<std::string> cells;
    std::istringstream fields(line);
    for (std::string cell; std::getline(fields, cell, ',');) cells.push_back(cell);
    if (cells.size() > 7) rows.emplace(cells[1], cells[3], cells[6], cells[7]);
  }
  return rows;
}

TEST(UsbLineStations, ThreeStationsWithTwoSlotsEachNumberTheirPrintersFromTheLine) {
  // Started before the test beds, which its server has no use for.
  PgCluster cluster;
  constexpr int kStations = 3;
  constexpr int kPrinters = 3;
  testing::TempDir dirs[kStations];
  std::vector<std::unique_ptr<ArrivalStation>> stations;
  for (const auto& dir : dirs) stations.push_back(std::make_unique<ArrivalStation>(dir.path().string()));
  for (int i = 0; i < kStations; ++i) {
    stations[i]->start({"--slots", "2", "--line-db", cluster.conninfo(), "--station", "s" + std::to_string(i)});
  }
  // Each reply comes late, so that the stations' writes overlap.
  for (auto& station : stations) {
    for (int p = 0; p < kPrinters; ++p) station->plug({"--delay", "10"});
  }
  std::set<PrinterRow> expected;
  for (int i = 0; i < kStations; ++i) {
    ArrivalStation& station = *stations[i];
    ASSERT_NO_FATAL_FAILURE(station.readUntil([&] { return station.rows().size() == kPrinters; }));
    for (const auto& row : station.rows()) {
      EXPECT_EQ(row["result"], "passed") << row;
      expected.emplace("s" + std::to_string(i), row["port"], row["serial_number"], row["result"]);
    }
  }
  // Every station's printers reach the server while the stations run, once each.
  std::set<PrinterRow> onServer;
  waitUntil([&] { return (onServer = serverRows(cluster.conninfo())) == expected; });
  EXPECT_EQ(onServer, expected);
  // The numbers that reached the printers are the rows' own, distinct and
  // consecutive from the line's first.
  std::vector<std::uint32_t> numbers;
  for (int i = 0; i < kStations; ++i) {
    ArrivalStation& station = *stations[i];
    EXPECT_EQ(station.stop(), 0);
    for (const auto& row : station.rows()) {
      const auto atWire = numbersAtWire(station.printer(row["port"]));
      ASSERT_EQ(atWire.size(), 1u) << row;
      EXPECT_EQ(row["serial_number"], std::to_string(atWire[0])) << row;
      numbers.push_back(atWire[0]);
    }
  }
  std::sort(numbers.begin(), numbers.end());
  for (std::size_t i = 0; i < numbers.size(); ++i) EXPECT_EQ(numbers[i], kFirstNumber + i);
}

}  // namespace
}  // namespace ombrel::test_support
