// One device write: the settings are saved only once the printer holds the
// number, and what cannot be kept is reported while the log is still
// written. (What each way a write can end logs and steps is asserted
// against the virtual printer in tests/e2e.)

#include "commands/device_write.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "protocol/codes.h"
#include "settings/para_control_state.h"
#include "settings/temp_dir.h"
#include "support/run_program.h"

namespace ombrel {
namespace {

TEST(DeviceWrite, SavedOnceThePrinterHoldsTheNumberAndWhatCannotBeKeptIsReported) {
  testing::TempDir dir;
  const ProvisioningLog log((dir / "log.jsonl").string());
  ParaControlState controls;
  controls.setText("edt_DeviceSerialNo", "99999999999");
  controls.setChecked("rb_Plus", true);
  DeviceWrite write(controls, "usb:VID_0FE6&PID_811E");
  // Acknowledged, then the rate's restore failed.
  write.end({kTaskDeviceParameters, kTaskFailedWithText, FailureKind::RateChangeRefused, "Set Baudrate Failed", "OMB80",
             true, true},
            controls);
  EXPECT_EQ(write.stepProblem(), "'99999999999' is not a valid integer value");
  EXPECT_EQ(controls.text("edt_DeviceSerialNo"), "99999999999");

  const auto lost = keepDeviceWrite(
      write.record(), [] { throw std::runtime_error("Unable to write to sysconfig.ini"); }, &log);
  EXPECT_EQ(lost, std::vector<std::string>{"Unable to write to sysconfig.ini"});
  EXPECT_NE(test_support::fileContent(log.path()).find(R"("outcome":"written")"), std::string::npos);

  DeviceWrite unanswered(controls, "usb:VID_0FE6&PID_811E");
  unanswered.end(
      {kTaskDeviceParameters, kTaskFailedWithText, FailureKind::NoReply, "Download Data Failed", "OMB80", true, false},
      controls);
  EXPECT_TRUE(keepDeviceWrite(
                  unanswered.record(), [] { FAIL() << "an unanswered write saved the settings"; }, nullptr)
                  .empty());

  write.refuse("sMsg1");
  const ProvisioningLog nowhere("/nonexistent-dir/log.jsonl");
  const auto refused = keepDeviceWrite(
      write.record(), [] { FAIL() << "a refused write saved the settings"; }, &nowhere);
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_NE(refused[0].find("/nonexistent-dir/log.jsonl"), std::string::npos) << refused[0];
}

}  // namespace
}  // namespace ombrel
