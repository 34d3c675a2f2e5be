#include "commands/provisioning_log.h"

#include <gtest/gtest.h>

#include "settings/temp_dir.h"
#include "support/run_program.h"

namespace ombrel {
namespace {

TEST(ProvisioningLog, OneEscapedJsonLinePerRecord) {
  testing::TempDir dir;
  const ProvisioningLog log((dir / "log.jsonl").string());
  DeviceWriteRecord record{"2026-01-02T03:04:05.006+0100",
                           "net:10.0.0.7:5100",
                           "OMB80",
                           "Kasse \"Süd\"\\1\n",
                           "42",
                           DeviceWriteRecord::Outcome::Written,
                           "",
                           "7f3a",
                           "2026-01-02T03:04:06.100+0100"};
  log.append(record);
  record.deviceName = "\xB4\xF2";  // GBK bytes that are no UTF-8
  record.outcome = DeviceWriteRecord::Outcome::Failed;
  record.errorText = "Download Data Failed";
  log.append(record);
  EXPECT_EQ(test_support::fileContent(log.path()),
            "{\"time\":\"2026-01-02T03:04:05.006+0100\",\"link\":\"net:10.0.0.7:5100\",\"printer\":\"OMB80\","
            "\"device_name\":\"Kasse \\\"Süd\\\"\\\\1\\n\",\"serial_number\":\"42\",\"outcome\":\"written\","
            "\"error\":\"\",\"row_id\":\"7f3a\",\"ended\":\"2026-01-02T03:04:06.100+0100\"}\n"
            "{\"time\":\"2026-01-02T03:04:05.006+0100\",\"link\":\"net:10.0.0.7:5100\",\"printer\":\"OMB80\","
            "\"device_name\":\"\xEF\xBF\xBD\xEF\xBF\xBD\",\"serial_number\":\"42\",\"outcome\":\"failed\","
            "\"error\":\"Download Data Failed\",\"row_id\":\"7f3a\",\"ended\":\"2026-01-02T03:04:06.100+0100\"}\n");
}

TEST(ProvisioningLog, UnwritableLogIsAnErrorNamingIt) {
  const ProvisioningLog log("/nonexistent-dir/log.jsonl");
  try {
    log.append({});
    FAIL() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find("/nonexistent-dir/log.jsonl"), std::string::npos) << error.what();
  }
}

}  // namespace
}  // namespace ombrel
