// ombrelctl against the virtual printer over UDP on loopback: the exact bytes
// that reached the printer, the texts and the exit status.

#include <regex>

#include "e2e/ctl_fixture.h"

namespace ombrel::test_support {
namespace {

using NetworkTask = CtlTest;

TEST_F(NetworkTask, FramedTaskWithoutDataIdentifiesThenSends) {
  VirtualPrinter printer;
  const auto run = ctl({"--link", printer.link(), "task", "10"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "设置默认参数成功\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(wire(printer),
            (std::vector<std::string>{kIdentify, "frame: 02 00 79 00 00 00 00 00 00 00 00 00 00 00 7B 00"}));
  const std::string log = debugLog();
  EXPECT_TRUE(
      std::regex_search(log, std::regex("^Send 24 Bytes \\d\\d-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d \\d{3} \r\n")))
      << log;
  EXPECT_NE(log.find("Receive 25 Bytes"), std::string::npos);
  EXPECT_NE(log.find("Send 16 Bytes"), std::string::npos);
  EXPECT_NE(log.find("    02 00 79 00 00 00 00 00    00 00 00 00 00 00 7B 00        ; "), std::string::npos);
}

TEST_F(NetworkTask, FramedTaskWithDataCarriesNoCheckByteOnTheNetwork) {
  VirtualPrinter printer;
  const auto run = ctl({"--link", printer.link(), "task", "19", "--data", "FF 04 E4 00 58020000 201C0000"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "设置所有参数成功\n");
  const auto units = wire(printer);
  ASSERT_EQ(units.size(), 2u);
  EXPECT_EQ(units[1], "frame: 02 00 88 00 00 00 00 00 00 00 00 00 0C 00 86 00 FF 04 E4 00 58 02 00 00 20 1C 00 00");
}

TEST_F(NetworkTask, ArgumentByteTasksSendTheArgumentAsData) {
  VirtualPrinter printer;
  const auto run = ctl({"--link", printer.link(), "task", "6", "47"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(wire(printer).back(), "frame: 02 00 80 00 00 00 00 00 00 00 00 00 01 00 83 00 2F");
}

TEST_F(NetworkTask, RawTaskReachesThePrinterWithoutAnEarlierTask) {
  VirtualPrinter printer;
  const auto run = ctl({"--link", printer.link(), "task", "41", "--data", "0A000005", "task", "43"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "设置流控成功\n");
  EXPECT_EQ(wire(printer), (std::vector<std::string>{kIdentify, "raw: 1F 49 0A 00 00 05", kIdentify,
                                                     "frame: 02 00 8D 00 00 00 00 00 00 00 00 00 01 00 8E 00 01 01"}));
}

TEST_F(NetworkTask, SilentPrinterFailsWithReceivedFailedAfterThreeSeconds) {
  VirtualPrinter printer({"--silent"});
  const auto run = ctl({"--link", printer.link(), "task", "6", "0"}, "1");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Received Failed\n");
  EXPECT_EQ(run.out, "");
  EXPECT_GE(run.took.count(), 2900);
  EXPECT_LT(run.took.count(), 6000);
  EXPECT_EQ(wire(printer), (std::vector<std::string>{kIdentify}));
  EXPECT_NE(debugLog().find("Send 24 Bytes"), std::string::npos);
}

TEST_F(NetworkTask, UnacknowledgedCommandIsTriedThreeTimes) {
  VirtualPrinter printer({"--ignore", "128"});
  const auto run = ctl({"--link", printer.link(), "task", "6", "0"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Download Data Failed\n");
  const std::string codePage = "frame: 02 00 80 00 00 00 00 00 00 00 00 00 01 00 83 00 00";
  EXPECT_EQ(wire(printer), (std::vector<std::string>{kIdentify, codePage, codePage, codePage}));
}

TEST_F(NetworkTask, RepliesThatAreNotFramesAreNotAccepted) {
  for (const char* fault : {"--short-reply", "--bad-head"}) {
    VirtualPrinter printer({fault});
    const auto run = ctl({"--link", printer.link(), "task", "6", "0"});
    EXPECT_EQ(run.exitCode, 1) << fault;
    EXPECT_EQ(run.err, "Received Failed\n") << fault;
  }
}

TEST_F(NetworkTask, NetworkRepliesAreTakenWithoutExaminingCheckBytes) {
  VirtualPrinter printer({"--corrupt-check"});
  const auto run = ctl({"--link", printer.link(), "task", "6", "0"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
}

TEST_F(NetworkTask, LostRepliesAreMadeUpByTheNextAttempt) {
  VirtualPrinter printer({"--drop-every", "2"});
  const auto run = ctl({"--link", printer.link(), "task", "10"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(printer.received().size(), 3u);  // identify, then the command twice
}

TEST_F(NetworkTask, TraceFileHoldsOnlyTheLatestTask) {
  VirtualPrinter printer;
  const auto run = ctl({"--link", printer.link(), "task", "6", "0", "task", "10"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const std::string log = debugLog();
  EXPECT_NE(log.find(" 79 00 "), std::string::npos);
  EXPECT_EQ(log.find(" 80 00 "), std::string::npos);
}

TEST_F(NetworkTask, CodesWithoutAHandlerSucceed) {
  VirtualPrinter printer;
  auto run = ctl({"--link", printer.link(), "task", "0", "task", "44"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(printer.received().empty());
}

// Tasks 2 and 16 read printer memory into the file of --save-as, as
// btn_ReadFont does; without one they are refused before anything is sent.
TEST_F(NetworkTask, ReadBackTasksSaveWhatTheyRead) {
  for (const std::string code : {"2", "16"}) {
    VirtualPrinter printer({"--read-block", "2"});
    auto run = ctl({"--link", printer.link(), "task", code, "0x1FE", "4"});
    EXPECT_EQ(run.exitCode, 2) << code;
    EXPECT_TRUE(printer.received().empty());
    run = ctl({"--link", printer.link(), "--save-as", dir() + "/back.bin", "task", code, "0x1FE", "4"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    // The printer's memory before anything is written: byte i holds i & 0xFF.
    EXPECT_EQ(fileContent(dir() + "/back.bin"), std::string("\xFE\xFF\x00\x01", 4)) << code;
  }
}

TEST_F(NetworkTask, BootModeIsRefusedWithNothingSent) {
  VirtualPrinter printer;
  const auto run = ctl({"--language", "1", "--link", printer.link(), "but_bootIn", "task", "10"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, "Boot mode works on a serial link only: choose the serial port and try again.\n");
  EXPECT_TRUE(printer.received().empty());
}

using CommandLine = CtlTest;

TEST_F(CommandLine, WrongCommandLinesExitWithTwoAndSendNothing) {
  VirtualPrinter printer;
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--link", printer.link()},
        {"--link", "tcp:1.2.3.4", "task", "6"},
        {"--link", printer.link(), "task"},
        {"--link", printer.link(), "task", "6", "--data", "XYZ"},
        {"--link", printer.link(), "btn_Nothing"},
        {"--bogus"},
        {"--dev-baud", "fast", "task", "6"},
        // The whole list is checked before its first action runs.
        {"--link", printer.link(), "task", "6", "0", "btn_Test", "btn_SetCodepag"},
        {"--link", printer.link(), "btn_SetReset", "task", "10", "Chb_CloseWifi=2"},
        {"--link", printer.link(), "Chb_CloseWifi=1", "btn_SetReset=1"},
        {"--link", printer.link(), "btn_Test", "task", "6", "0", "0", "5"}}) {
    const auto run = ctl(arguments);
    EXPECT_EQ(run.exitCode, 2) << arguments.back();
    EXPECT_FALSE(run.err.empty());
  }
  EXPECT_TRUE(printer.received().empty());
  EXPECT_FALSE(std::filesystem::exists(dir() + "/sysconfig.ini"));
}

}  // namespace
}  // namespace ombrel::test_support
