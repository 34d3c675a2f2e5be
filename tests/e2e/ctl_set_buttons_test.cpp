// The Set buttons' table from ombrelctl, against the virtual printer over UDP:
// the exact unit that reached it, the status text, or the refusal.

#include "e2e/ctl_fixture.h"
#include "e2e/set_button_rows.h"

namespace ombrel::test_support {
namespace {

class CtlSetButton : public SettingsActionTest, public ::testing::WithParamInterface<SetButtonRow> {};

TEST_P(CtlSetButton, SendsItsBytesOrRefuses) {
  const SetButtonRow& row = GetParam();
  std::vector<std::string> arguments;
  for (const auto& value : row.values) arguments.insert(arguments.end(), {"--set", value});
  arguments.push_back(row.action);
  const auto units = sent(arguments, row.refusal.empty() ? 0 : 2);
  EXPECT_EQ(units, row.wire.empty() ? std::vector<std::string>{} : std::vector<std::string>{row.wire});
  EXPECT_EQ(last.out, row.status.empty() ? "" : row.status + "\n");
  if (!row.refusal.empty()) {
    EXPECT_EQ(last.err, row.refusal.substr(row.refusal.find(": ") + 2) + "\n");
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, CtlSetButton, ::testing::ValuesIn(setButtonRows()), setButtonRowName);

}  // namespace
}  // namespace ombrel::test_support
