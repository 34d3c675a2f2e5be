// The raw actions on the network and on a pseudo-terminal (raw_actions.h);
// tests/usb runs the same rows on USB.

#include "e2e/raw_actions.h"

namespace ombrel::test_support {
namespace {

class UdpRawActions : public RawActionRun, public ::testing::WithParamInterface<RawActionRow> {};

TEST_P(UdpRawActions, SentOnceThePrinterAnswered) {
  VirtualPrinter printer;
  check(GetParam(), printer, printer.link(), false, true);
}

TEST_P(UdpRawActions, FailWithoutAnAnswer) {
  VirtualPrinter printer({"--silent"});
  check(GetParam(), printer, printer.link(), false, false);
}

class PtyRawActions : public RawActionRun, public ::testing::WithParamInterface<RawActionRow> {};

TEST_P(PtyRawActions, SentOnceThePrinterAnswered) {
  VirtualPrinter printer(OnPty{});
  check(GetParam(), printer, printer.link(), true, true);
}

TEST_P(PtyRawActions, FailWithoutAnAnswer) {
  VirtualPrinter printer(OnPty{}, {"--silent"});
  check(GetParam(), printer, printer.link(), true, false);
}

INSTANTIATE_TEST_SUITE_P(RawActions, UdpRawActions, ::testing::ValuesIn(rawActionRows()), rawRowName);
INSTANTIATE_TEST_SUITE_P(RawActions, PtyRawActions, ::testing::ValuesIn(rawActionRows()), rawRowName);

}  // namespace
}  // namespace ombrel::test_support
