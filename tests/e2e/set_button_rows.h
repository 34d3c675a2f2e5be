#pragma once

// The parameters window's Set buttons, one row per case, run by ombrelctl and
// by the window: the values given (as --set takes them; the window applies
// them as loading does), the button, the one unit the virtual printer
// receives after the identification, and the status text, or the message
// that refuses the click and sends nothing.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace ombrel::test_support {

struct SetButtonRow {
  std::vector<std::string> values;  // KEY=VALUE, or CONTROL=VALUE for a control no key stores
  const char* action;
  std::string wire;     // empty: nothing is sent
  std::string status;   // empty: no status text
  std::string refusal;  // as the window's message box shows it: "warning: ..." or "error: ..."
};

inline void PrintTo(const SetButtonRow& row, std::ostream* out) { *out << row.action; }

const std::vector<SetButtonRow>& setButtonRows();

// The row's test name: its button and its position.
std::string setButtonRowName(const ::testing::TestParamInfo<SetButtonRow>& row);

}  // namespace ombrel::test_support
