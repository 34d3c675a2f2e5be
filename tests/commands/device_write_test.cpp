// One device write: what its record, the serial number and the settings file
// keep for each way its task can end, and what is reported when they cannot
// be written.

#include "commands/device_write.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "protocol/codes.h"
#include "settings/para_control_state.h"
#include "settings/temp_dir.h"
#include "support/run_program.h"

namespace ombrel {
namespace {

TEST(DeviceWrite, ThePrinterHoldsTheNumberOnceItAcknowledgedTheFrame) {
  struct Case {
    const char* name;
    TaskOutcome outcome;
    const char* logged;  // the line's end, from its outcome
    const char* serialAfter;
    int saves;
  };
  const Case cases[] = {
      {"written",
       {kTaskDeviceParameters, kTaskOk, FailureKind::None, "", "OMB80", true, true},
       R"("outcome":"written","error":""})",
       "43",
       1},
      {"the rate's restore failed after the write",
       {kTaskDeviceParameters, kTaskFailedWithText, FailureKind::RateChangeRefused, "Set Baudrate Failed", "OMB80",
        true, true},
       R"("outcome":"written","error":"Set Baudrate Failed"})",
       "43",
       1},
      {"sent, never answered",
       {kTaskDeviceParameters, kTaskFailedWithText, FailureKind::NoReply, "Download Data Failed", "OMB80", true, false},
       R"("outcome":"failed","error":"Download Data Failed"})",
       "42",
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TempDir dir;
    const ProvisioningLog log((dir / "log.jsonl").string());
    ParaControlState controls;
    controls.setText("edt_DeviceName", "Kasse");
    controls.setText("edt_DeviceSerialNo", "42");
    controls.setChecked("rb_Plus", true);
    DeviceWrite write(controls, "net:10.0.0.7:5100");
    write.end(c.outcome, controls);
    int saves = 0;
    EXPECT_TRUE(keepDeviceWrite(
                    write.record(), [&] { ++saves; }, &log)
                    .empty());
    EXPECT_EQ(controls.text("edt_DeviceSerialNo"), c.serialAfter);
    EXPECT_EQ(saves, c.saves);
    const std::string line = test_support::fileContent(log.path());
    EXPECT_NE(line.find(R"("printer":"OMB80","device_name":"Kasse","serial_number":"42",)" + std::string(c.logged)),
              std::string::npos)
        << line;
  }
}

TEST(DeviceWrite, WhatCannotBeKeptIsReportedAndTheLogIsStillWritten) {
  testing::TempDir dir;
  const ProvisioningLog log((dir / "log.jsonl").string());
  ParaControlState controls;
  controls.setText("edt_DeviceSerialNo", "99999999999");
  controls.setChecked("rb_Plus", true);
  DeviceWrite write(controls, "usb:VID_0FE6&PID_811E");
  write.end({kTaskDeviceParameters, kTaskOk, FailureKind::None, "", "OMB80", true, true}, controls);
  EXPECT_EQ(write.stepProblem(), "'99999999999' is not a valid integer value");
  EXPECT_EQ(controls.text("edt_DeviceSerialNo"), "99999999999");

  const auto lost = keepDeviceWrite(
      write.record(), [] { throw std::runtime_error("Unable to write to sysconfig.ini"); }, &log);
  EXPECT_EQ(lost, std::vector<std::string>{"Unable to write to sysconfig.ini"});
  EXPECT_NE(test_support::fileContent(log.path()).find(R"("outcome":"written")"), std::string::npos);

  write.refuse("sMsg1");
  const ProvisioningLog nowhere("/nonexistent-dir/log.jsonl");
  const auto refused = keepDeviceWrite(
      write.record(), [] { FAIL() << "a refused write saved the settings"; }, &nowhere);
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_NE(refused[0].find("/nonexistent-dir/log.jsonl"), std::string::npos) << refused[0];
}

}  // namespace
}  // namespace ombrel
