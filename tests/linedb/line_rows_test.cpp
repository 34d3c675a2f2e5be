// The line's rows: a station's provisioning log sent to the server, past a
// lost server and a restart, and read back by ombrelctl --rows.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "commands/printer_rows.h"
#include "commands/row_upload.h"
#include "commands/rows_report.h"
#include "linedb/line_db.h"
#include "linedb/pg_cluster.h"
#include "settings/temp_dir.h"
#include "support/run_program.h"

namespace ombrel {
namespace {

constexpr int kEnglish = 1;

PrinterRow printerRow(const std::string& serial, PrinterRow::End end) {
  PrinterRow row;
  row.time = localTimestamp();
  row.link = "usb:VID_0FE6&PID_811E";
  row.port = "1-1." + serial;
  row.printerIdentity = "OMB80";
  row.serialNumber = serial;
  row.steps = {{"btn_SetDevicePara",
                end == PrinterRow::End::Passed ? RecipeStep::Result::Passed : RecipeStep::Result::Failed,
                end == PrinterRow::End::Passed ? "" : "Received Failed"}};
  row.end = end;
  row.seconds = 1.5;
  row.ended = localTimestamp();
  return row;
}

std::string rowsOnServer(const std::string& conninfo) {
  LineDb db(conninfo);
  return db.exec("SELECT count(*) || '/' || count(DISTINCT row_id) FROM line_rows").at(0).at(0).value_or("");
}

TEST(LineRows, SentOnceWhenTheServerIsBackAndAfterARestart) {
  test_support::PgCluster cluster;
  testing::TempDir dir;
  const std::string logPath = (dir / "provisioning.jsonl").string();
  const ProvisioningLog log(logPath);
  const LineServer server{cluster.conninfo(), "A", "st1"};
  {
    RowUpload upload(logPath, server, kEnglish);
    appendPrinterRow(log, printerRow("41", PrinterRow::End::Passed));
    DeviceWriteRecord write;
    write.time = localTimestamp();
    write.serialNumber = "42";
    write.outcome = DeviceWriteRecord::Outcome::Failed;
    log.append(write);
    ASSERT_TRUE(upload.send());
    EXPECT_EQ(rowsOnServer(server.conninfo), "2/2");

    cluster.stop();
    appendPrinterRow(log, printerRow("42", PrinterRow::End::Failed));
    EXPECT_FALSE(upload.send());
    cluster.start();
    appendPrinterRow(log, printerRow("43", PrinterRow::End::Passed));
    ASSERT_TRUE(upload.send());
    EXPECT_EQ(rowsOnServer(server.conninfo), "4/4");
  }
  // A restarted station sends nothing again; one that lost its mark in a
  // crash sends everything again, and the row ids keep the table as it was.
  EXPECT_EQ(RowUpload(logPath, server, kEnglish).send(), true);
  EXPECT_EQ(rowsOnServer(server.conninfo), "4/4");
  std::filesystem::remove(logPath + ".sent");
  LineDb db(server.conninfo);
  EXPECT_EQ(sendUnsentRows(db, logPath, "st1", "A"), 4u);
  EXPECT_EQ(rowsOnServer(server.conninfo), "4/4");

  // A station's background sender sends what came last as it ends.
  appendPrinterRow(log, printerRow("44", PrinterRow::End::Passed));
  RowSender sender(logPath, server, kEnglish, std::chrono::minutes(1));
  sender.finish();
  EXPECT_EQ(sender.problem(), "");
  EXPECT_EQ(rowsOnServer(server.conninfo), "5/5");

  // A time the server cannot read goes up without its times; a row whose
  // data it refuses is named, and holds back no row after it.
  const std::string rest = R"(,"link":"","printer":"","serial_number":"","result":"passed","error":"","seconds":0,)";
  log.appendLine(R"({"time":"2026-13-45T99:00:00")" + rest + R"("actions":[],"row_id":"d1"})");
  log.appendLine(R"({"time":"","device_name":"\u0000")" + rest + R"("actions":[],"row_id":"d2"})");
  appendPrinterRow(log, printerRow("45", PrinterRow::End::Passed));
  EXPECT_THROW(sendUnsentRows(db, logPath, "st1", "A"), std::runtime_error);
  EXPECT_EQ(rowsOnServer(server.conninfo), "7/7");
  EXPECT_EQ(sendUnsentRows(db, logPath, "st1", "A"), 0u);
  // Pointed at another database, the station sends it the whole log.
  db.exec("CREATE DATABASE moved");
  const std::string moved = server.conninfo + " dbname=moved";
  EXPECT_THROW(RowUpload(logPath, {moved, "A", "st1"}, kEnglish).send(), std::runtime_error);
  EXPECT_EQ(rowsOnServer(moved), "7/7");

  // --rows gives the same CSV from the server and from the station's log.
  const std::string day = dayOf(localTimestamp());
  const std::string expected = printerRowsCsv(logRowsOfDay(logPath, day, "st1", "A"));
  EXPECT_NE(expected.find(",st1,A,1-1.43,"), std::string::npos) << expected;
  const std::string settings = (dir / "station.ini").string();
  std::ofstream(settings) << "[ProductionLine]\nStation=st1\nLine=A\n";
  const std::string ctl = test_support::builtProgram("ombrelctl");
  const auto fromServer = test_support::runProgram(
      ctl, {"--dir", dir.path().string(), "--rows", "--line", "A", "--line-db", server.conninfo, "--day", day});
  const auto fromLog = test_support::runProgram(ctl, {"--dir", dir.path().string(), "--settings", settings, "--rows"});
  EXPECT_EQ(fromServer.exitCode, 0) << fromServer.err;
  EXPECT_EQ(fromServer.out, expected);
  EXPECT_EQ(fromLog.exitCode, 0) << fromLog.err;
  EXPECT_EQ(fromLog.out, expected);
  const auto otherLine = test_support::runProgram(ctl, {"--rows", "--line", "B", "--line-db", server.conninfo});
  EXPECT_EQ(otherLine.out, printerRowsCsv({}));
}

}  // namespace
}  // namespace ombrel
