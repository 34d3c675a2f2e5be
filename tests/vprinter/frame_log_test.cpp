#include <gtest/gtest.h>

#include <sstream>

#include "json_log.h"
#include "printer_session.h"
#include "text_log.h"

namespace ombrel::vprinter {
namespace {

// A session whose logs are written to strings.
struct LoggedSession {
  explicit LoggedSession(FaultOptions options = {}) : faults(std::move(options)) {
    log.attach(std::make_unique<JsonLogWriter>(json));
    log.attach(std::make_unique<TextLogWriter>(text));
  }
  std::vector<std::string> jsonLines() const { return lines(json); }
  std::vector<std::string> textLines() const { return lines(text); }
  static std::vector<std::string> lines(const std::ostringstream& out) {
    std::vector<std::string> result;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
  }

  static PrinterConfig smallConfig() {
    PrinterConfig config;
    config.memory = patternMemory(64);
    return config;
  }

  PrinterModel model{smallConfig()};
  FaultInjector faults;
  FrameLog log;
  std::ostringstream json;
  std::ostringstream text;
  PrinterSession session{model, faults, log};
};

TEST(FrameLog, ReceivedFrameAndSentReplyAreLoggedInOrder) {
  LoggedSession logged;
  const auto reply = logged.session.receive(frame::build(49, 4, 0, {}, false));
  ASSERT_TRUE(reply);
  logged.session.sent(*reply);

  const auto json = logged.jsonLines();
  ASSERT_EQ(json.size(), 2u);
  EXPECT_EQ(
      json[0],
      R"({"seq":1,"dir":"rx","kind":"frame","bytes":"02 00 31 00 04 00 00 00 00 00 00 00 00 00 37 00",)"
      R"("command":49,"first":4,"second":0,"length":0,"data":"","head_ok":true,"data_check":"absent",)"
      R"("decoded":"set line rate: rate code 4 (115200 bit/s); now the current rate","reply":"sent","faults":[]})");
  EXPECT_EQ(json[1], R"({"seq":2,"dir":"tx","kind":"reply","bytes":"02 00 31 00 04 00 00 00 00 00 00 00 00 00 37 00",)"
                     R"("decoded":"reply to command 49","faults":[]})");
  const auto text = logged.textLines();
  ASSERT_EQ(text.size(), 2u);
  EXPECT_EQ(text[0],
            "#1 rx frame cmd=49 first=4 second=0 len=0 head=ok data=[] | set line rate: rate code 4 (115200 bit/s); "
            "now the current rate | reply: sent");
  EXPECT_EQ(text[1], "#2 tx reply bytes=[02 00 31 00 04 00 00 00 00 00 00 00 00 00 37 00] | reply to command 49");
}

TEST(FrameLog, WithheldRepliesAndRawSequencesAreLoggedWithTheirFate) {
  FaultOptions options;
  options.ignored = {48};
  LoggedSession logged(options);
  EXPECT_FALSE(logged.session.receive(frame::build(48, 0, 0, {}, false)));
  EXPECT_FALSE(logged.session.receive({0x8E, 0x01}));
  Bytes badHead = frame::build(50, 0, 0, {}, false);
  badHead[14] = 0;
  EXPECT_FALSE(logged.session.receive(badHead));

  const auto json = logged.jsonLines();
  ASSERT_EQ(json.size(), 3u);
  EXPECT_NE(json[0].find(R"("reply":"withheld","faults":["ignore"]})"), std::string::npos) << json[0];
  EXPECT_EQ(
      json[1],
      R"({"seq":2,"dir":"rx","kind":"raw","bytes":"8E 01","decoded":"Bluetooth hidden","reply":"none","faults":[]})");
  EXPECT_NE(json[2].find(R"("head_ok":false)"), std::string::npos) << json[2];
  EXPECT_NE(json[2].find(R"("reply":"none")"), std::string::npos) << json[2];
  const auto text = logged.textLines();
  ASSERT_EQ(text.size(), 3u);
  EXPECT_NE(text[0].find("| reply: withheld (ignore)"), std::string::npos) << text[0];
  EXPECT_EQ(text[1], "#2 rx raw bytes=[8E 01] | Bluetooth hidden | reply: none");
  EXPECT_NE(text[2].find("head=BAD"), std::string::npos) << text[2];
}

TEST(FrameLog, SessionHandsOnTheDelayAndTheFaultsOfEachReply) {
  FaultOptions options;
  options.delayMs = 120;
  options.corruptCheck = true;
  LoggedSession logged(options);
  const auto reply = logged.session.receive(frame::build(121, 0, 0, {}, false));
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->delayMs, 120);
  EXPECT_EQ(reply->command, 121);
  logged.session.sent(*reply);
  const auto json = logged.jsonLines();
  ASSERT_EQ(json.size(), 2u);
  EXPECT_NE(json[1].find(R"("faults":["corrupt-check","delay"]})"), std::string::npos) << json[1];
}

TEST(FrameLog, NoiseAndLineEventsHaveKindsOfTheirOwn) {
  LoggedSession logged;
  logged.session.lineEvent("open", "the tool opened the port");
  logged.session.noise({0x02, 0x00, 0x31}, 9600, 19200);
  const std::string lost = "the tool closed the port; 2 bytes still on the line were lost";
  logged.session.lineEvent("close", lost, {0x01, 0x01});

  const auto json = logged.jsonLines();
  ASSERT_EQ(json.size(), 3u);
  EXPECT_EQ(json[0],
            R"({"seq":1,"dir":"line","kind":"open","bytes":"","decoded":"the tool opened the port","faults":[]})");
  EXPECT_EQ(json[1],
            R"({"seq":2,"dir":"rx","kind":"noise","bytes":"02 00 31","decoded":"line noise: sent at 9600 bit/s )"
            R"(while the printer listens at 19200 bit/s","reply":"none","faults":[]})");
  EXPECT_NE(json[2].find(R"("dir":"line","kind":"close","bytes":"01 01")"), std::string::npos) << json[2];
  const auto text = logged.textLines();
  ASSERT_EQ(text.size(), 3u);
  EXPECT_EQ(text[0], "#1 line open | the tool opened the port");
  EXPECT_EQ(text[1],
            "#2 rx noise bytes=[02 00 31] | line noise: sent at 9600 bit/s while the printer listens at 19200 bit/s "
            "| reply: none");
  EXPECT_EQ(text[2], "#3 line close bytes=[01 01] | " + lost);
}

TEST(FrameLog, BootLoaderAnswerIsLoggedAsSuch) {
  LoggedSession logged;
  PrinterConfig config;
  config.bootAfter = 1;
  PrinterModel bootLoader(std::move(config));
  PrinterSession session(bootLoader, logged.faults, logged.log);
  const auto reply = session.receive({0x61});
  ASSERT_TRUE(reply);
  EXPECT_FALSE(reply->command);
  session.sent(*reply);
  EXPECT_EQ(
      logged.textLines(),
      (std::vector<std::string>{"#1 rx raw bytes=[61] | boot handshake byte 0x61; boot loader answers | reply: sent",
                                "#2 tx reply bytes=[61] | boot loader answer"}));
}

TEST(JsonString, EscapesQuotesBackslashesAndNonAsciiBytes) {
  EXPECT_EQ(jsonString("plain"), R"("plain")");
  EXPECT_EQ(jsonString(R"(say "hi" \ bye)"), R"("say \"hi\" \\ bye")");
  EXPECT_EQ(jsonString(std::string("a\nb\x01\xC8", 5)), R"("a\u000Ab\u0001\u00C8")");
}

}  // namespace
}  // namespace ombrel::vprinter
