#include "commands/rows_csv.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <tuple>

#include "commands/rows_report.h"
#include "settings/temp_dir.h"

namespace ombrel {
namespace {

using Result = RecipeStep::Result;

// The rows as a spreadsheet gets them: fields quoted only when they must be,
// times moved into this computer's zone, the actions in one column; from a
// log, a device write outside a recipe as its printer's row.
TEST(RowsCsv, OnePrinterARowQuotedAsRfc4180) {
  const char* const zone = std::getenv("TZ");
  const std::string formerZone = zone != nullptr ? zone : "";
  ::setenv("TZ", "CST-8", 1);  // UTC+8 all year, without the zone database
  ::tzset();
  PrinterRow passed;
  passed.time = "2026-12-08T21:14:14.123+0100";
  passed.link = "usb:VID_0FE6&PID_811E";
  passed.port = "1-1.2";
  passed.printerIdentity = "OMB80";
  passed.serialNumber = "42";
  passed.end = PrinterRow::End::Passed;
  passed.seconds = 3.25;
  passed.steps = {{"btn_SetCodepage", Result::Passed, ""}, {"btn_SetDevicePara", Result::Passed, ""}};
  PrinterRow failed = passed;
  failed.time = "2026-12-08T23:59:59Z";
  failed.printerIdentity = "OMB \"80\", rev 2\nB";
  failed.end = PrinterRow::End::Failed;
  failed.steps = {{"btn_SetCodepage", Result::Passed, ""},
                  {"btn_SetDevicePara", Result::Failed, "超时"},
                  {"btn_SetAllPara", Result::NotRun, ""}};
  PrinterRow refused = passed;
  refused.time = "yesterday";
  refused.end = PrinterRow::End::Refused;
  refused.text = "Serial number out of range";
  refused.steps = {{"btn_SetDevicePara", Result::Refused, "out of range"}};
  refused.seconds = 0;

  testing::TempDir dir;
  const ProvisioningLog log((dir / "provisioning.jsonl").string());
  using Outcome = DeviceWriteRecord::Outcome;
  // Each write's outcome, error, end, own row and rework; the first is a recipe's.
  for (const auto& [outcome, error, ended, ownRow, rework] :
       {std::tuple{Outcome::Written, "", "2026-12-08T21:14:15.373+0100", false, false},
        {Outcome::Written, "", "2026-12-08T21:14:15.373+0100", true, false},
        {Outcome::Failed, "超时", "", true, false},
        {Outcome::Unknown, "Station stopped", "2026-12-08T20:14:16Z", true, false},
        {Outcome::Refused, "out of range", "2026-12-08T21:14:14.123+0100", true, false},
        {Outcome::Written, "", "2026-12-08T21:14:14.623+0100", true, true}}) {
    log.append({passed.time, passed.link, "OMB80", "P", "43", outcome, error, newRowId(), ended, rework, ownRow});
  }
  std::vector<StationRow> rows{{"Station 1", "A", passed}, {"s2", "A", failed}, {"s,3", "A", refused}};
  for (StationRow& row : logRowsOfDay(log.path(), "2026-12-08", "st1", "A")) rows.push_back(std::move(row));
  const std::string lone = "2026-12-09T04:14:14+08:00,st1,A,,usb:VID_0FE6&PID_811E,OMB80,43,";
  EXPECT_EQ(printerRowsCsv(rows),
            "\xEF\xBB\xBF"
            "time,station,line,port,link,printer,serial_number,result,failed_action,reason,seconds,actions\r\n"
            "2026-12-09T04:14:14+08:00,Station 1,A,1-1.2,usb:VID_0FE6&PID_811E,OMB80,42,passed,,,3.25,"
            "btn_SetCodepage:ok;btn_SetDevicePara:ok\r\n"
            "2026-12-09T07:59:59+08:00,s2,A,1-1.2,usb:VID_0FE6&PID_811E,\"OMB \"\"80\"\", rev 2\nB\",42,failed,"
            "btn_SetDevicePara,超时,3.25,btn_SetCodepage:ok;btn_SetDevicePara:failed;btn_SetAllPara:not run\r\n"
            "yesterday,\"s,3\",A,1-1.2,usb:VID_0FE6&PID_811E,OMB80,42,refused,btn_SetDevicePara,"
            "Serial number out of range,0,btn_SetDevicePara:refused\r\n" +
                lone + "passed,,,1.25,btn_SetDevicePara:ok\r\n" + lone +
                "failed,btn_SetDevicePara,超时,0,btn_SetDevicePara:failed\r\n" + lone +
                "failed,btn_SetDevicePara,Station stopped,1.877,btn_SetDevicePara:failed\r\n" + lone +
                "refused,btn_SetDevicePara,out of range,0,btn_SetDevicePara:refused\r\n" + lone +
                "passed,,,0.5,btn_Rework:ok\r\n");
  EXPECT_EQ(localTimeText("2026-07-01T00:30:00-05:30"), "2026-07-01T14:00:00+08:00");
  EXPECT_EQ(localTimeText("2026-07-01T00:30:00+1"), "2026-07-01T00:30:00+1");
  zone != nullptr ? ::setenv("TZ", formerZone.c_str(), 1) : ::unsetenv("TZ");
  ::tzset();
}

}  // namespace
}  // namespace ombrel
