#include "printer_model.h"

#include <gtest/gtest.h>

#include "protocol/frame.h"

namespace ombrel::vprinter {
namespace {

Bytes request(std::uint16_t command, std::uint32_t first, const Bytes& data = {}) {
  return frame::build(command, first, 0, data, false);
}

PrinterConfig smallConfig(std::size_t memorySize = 1024, std::size_t readBlock = 256) {
  PrinterConfig config;
  config.readBlock = readBlock;
  config.memory = patternMemory(memorySize);
  return config;
}

PrinterModel smallPrinter(std::size_t memorySize = 1024, std::size_t readBlock = 256) {
  return PrinterModel(smallConfig(memorySize, readBlock));
}

TEST(PrinterModel, IdentifyAnswersTheZeroPaddedIdentityWithItsCheckByte) {
  PrinterModel printer = smallPrinter();
  const Handling handling = printer.receive(request(48, 0, {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}));
  Bytes expected;
  ASSERT_TRUE(parseHex("02 00 30 00 00 00 00 00 00 00 00 00 08 00 3A 00 4F 4D 42 38 30 00 00 00 48", expected));
  ASSERT_TRUE(handling.reply);
  EXPECT_EQ(toHex(*handling.reply), toHex(expected));
  EXPECT_NE(handling.decoded.find("identify"), std::string::npos);
}

TEST(PrinterModel, CommandOneHundredTwentyNineMovesTheConfiguredRate) {
  PrinterModel printer = smallPrinter();
  ASSERT_TRUE(printer.receive(request(129, 0, {0x02})).reply);
  EXPECT_EQ(printer.lineRate(), 38400u);
  printer.receive(request(129, 0, {0x09}));
  EXPECT_EQ(printer.lineRate(), 38400u);  // no rate has code 9
}

TEST(PrinterModel, AnIdentityOfEightBytesHasNoTerminator) {
  PrinterConfig config = smallConfig(16);
  config.identity = "ABCDEFGH";
  PrinterModel printer(std::move(config));
  const Handling handling = printer.receive(request(48, 0));
  ASSERT_TRUE(handling.reply);
  EXPECT_EQ(Bytes(handling.reply->begin() + 16, handling.reply->begin() + 24), bytesOf("ABCDEFGH"));
}

TEST(PrinterModel, RepliesEchoCommandAndArguments) {
  PrinterModel printer = smallPrinter();
  const Handling handling = printer.receive(frame::build(133, 0x01020304, 0xA0B0C0D0, bytesOf("name"), false));
  ASSERT_TRUE(handling.reply);
  EXPECT_EQ(*handling.reply, frame::build(133, 0x01020304, 0xA0B0C0D0, {}, true));
}

TEST(PrinterModel, LineRateFollowsCommand49) {
  struct Step {
    std::uint32_t code;
    std::uint32_t rateAfter;
  };
  // Codes past 8 name no rate: the printer keeps its current one.
  const Step steps[] = {{4, 115200}, {8, 230400}, {9, 230400}, {0, 9600}, {5, 1200}, {0xFFFFFFFF, 1200}};
  PrinterConfig config = smallConfig();
  config.lineRate = 19200;
  PrinterModel printer(std::move(config));
  EXPECT_EQ(printer.lineRate(), 19200u);
  for (const Step& step : steps) {
    const Handling handling = printer.receive(request(49, step.code));
    ASSERT_TRUE(handling.reply) << step.code;
    EXPECT_EQ(*handling.reply, frame::build(49, step.code, 0, {}, true));
    EXPECT_EQ(printer.lineRate(), step.rateAfter) << step.code;
  }
}

TEST(PrinterModel, BootLoaderAnswersTheHandshakeByteFromTheNthOn) {
  PrinterConfig config = smallConfig();
  config.bootAfter = 3;
  PrinterModel printer(std::move(config));
  EXPECT_FALSE(printer.answersAtOnce({0x61, 0x61}));
  EXPECT_TRUE(printer.answersAtOnce({0x61, 0x61, 0x61}));
  EXPECT_FALSE(printer.answersAtOnce({0x61, 0x61, 0x61, 0x62})) << "the answer follows a handshake byte only";

  EXPECT_FALSE(printer.receive({0x61}).reply);
  const Handling second = printer.receive({0x61});
  EXPECT_FALSE(second.reply);
  EXPECT_NE(second.decoded.find("2 of 3"), std::string::npos) << second.decoded;
  EXPECT_TRUE(printer.answersAtOnce({0x61}));
  for (int more = 0; more < 3; ++more) {
    const Handling answered = printer.receive({0x61});
    ASSERT_TRUE(answered.reply);
    EXPECT_EQ(*answered.reply, Bytes{0x61});
    EXPECT_FALSE(answered.frame);
  }
}

TEST(PrinterModel, WithoutABootLoaderTheHandshakeByteIsOnlyLogged) {
  PrinterModel printer = smallPrinter();
  const Bytes manyHandshakeBytes(50, 0x61);
  EXPECT_FALSE(printer.answersAtOnce(manyHandshakeBytes));
  const Handling handling = printer.receive(manyHandshakeBytes);
  EXPECT_FALSE(handling.reply);
  EXPECT_EQ(handling.decoded, "boot handshake byte 0x61");
}

TEST(PrinterModel, WrittenMemoryIsReadBack) {
  PrinterModel printer = smallPrinter(1024, 8);
  const Handling write = printer.receive(request(51, 0x100, {0xAA, 0xBB, 0xCC}));
  ASSERT_TRUE(write.reply);
  EXPECT_EQ(*write.reply, frame::build(51, 0x100, 0, {}, true));

  const Handling read = printer.receive(request(52, 0xFE));
  ASSERT_TRUE(read.reply);
  EXPECT_EQ(*read.reply, frame::build(52, 0xFE, 0, {0xFE, 0xFF, 0xAA, 0xBB, 0xCC, 0x03, 0x04, 0x05}, true));
}

TEST(PrinterModel, ReadsStopAtTheEndOfMemory) {
  struct Case {
    std::uint32_t address;
    std::size_t replyData;
  };
  const Case cases[] = {{0, 256}, {1024 - 256, 256}, {1000, 24}, {1023, 1}, {1024, 0}, {0xFFFFFFFF, 0}};
  PrinterModel printer = smallPrinter(1024, 256);
  for (const Case& c : cases) {
    const Handling handling = printer.receive(request(52, c.address));
    ASSERT_TRUE(handling.reply) << c.address;
    const frame::Head head = frame::readHead(handling.reply->data());
    EXPECT_EQ(head.length, c.replyData) << c.address;
    EXPECT_EQ(handling.reply->size(), frame::kHeadSize + c.replyData + (c.replyData > 0 ? 1 : 0)) << c.address;
    if (c.replyData > 0) {
      EXPECT_EQ((*handling.reply)[frame::kHeadSize], c.address & 0xFF);
    }
  }
}

TEST(PrinterModel, WritesPastTheEndKeepWhatFitsAndAreStillAcknowledged) {
  PrinterModel printer = smallPrinter(16);
  const Handling handling = printer.receive(request(51, 14, {0x01, 0x02, 0x03, 0x04}));
  EXPECT_TRUE(handling.reply);
  EXPECT_EQ(printer.memory()[14], 0x01);
  EXPECT_EQ(printer.memory()[15], 0x02);
  EXPECT_EQ(printer.memory().size(), 16u);
  EXPECT_NE(handling.decoded.find("2 bytes beyond the end of memory dropped"), std::string::npos);
  EXPECT_TRUE(printer.receive(request(51, 0xFFFFFFF0, {0x01})).reply);
}

TEST(PrinterModel, FramesThatFailTheirChecksAreNotAnswered) {
  Bytes badHead = request(48, 0);
  badHead[14] ^= 0x01;
  Bytes nonZeroLastHeadByte = request(121, 0);
  nonZeroLastHeadByte[15] = 0x01;
  Bytes shortData = request(51, 0, {1, 2, 3, 4});
  shortData.pop_back();
  Bytes badDataCheck = frame::build(141, 0, 0, {0x01}, true);
  badDataCheck.back() = 0x00;

  const Bytes refused[] = {badHead, nonZeroLastHeadByte, shortData, badDataCheck};
  PrinterModel printer = smallPrinter();
  for (const Bytes& unit : refused) {
    const Handling handling = printer.receive(unit);
    EXPECT_TRUE(handling.frame) << toHex(unit);
    EXPECT_FALSE(handling.reply) << toHex(unit);
    EXPECT_NE(handling.decoded.find("not answered"), std::string::npos) << handling.decoded;
  }
  EXPECT_EQ(printer.memory()[0], 0x00) << "a short write stores nothing";
}

TEST(PrinterModel, FlowControlFrameWithItsCheckByteIsAnswered) {
  Bytes flowControl;
  ASSERT_TRUE(parseHex("02 00 8D 00 00 00 00 00 00 00 00 00 01 00 8E 00 01 01", flowControl));
  PrinterModel printer = smallPrinter();
  const Handling handling = printer.receive(flowControl);
  ASSERT_TRUE(handling.frame);
  EXPECT_EQ(handling.frame->dataCheck, DataCheck::Ok);
  ASSERT_TRUE(handling.reply);
  EXPECT_EQ(*handling.reply, frame::build(141, 0, 0, {}, true));
  EXPECT_NE(handling.decoded.find("hardware"), std::string::npos);
}

TEST(PrinterModel, UnitsThatAreNotCommandFramesAreRawAndUnanswered) {
  const Bytes notFrames[] = {{0x8D, 0x00}, {0x02, 0x00, 0x30}, Bytes(20, 0x02), {0x61}};
  PrinterModel printer = smallPrinter();
  for (const Bytes& unit : notFrames) {
    const Handling handling = printer.receive(unit);
    EXPECT_FALSE(handling.frame) << toHex(unit);
    EXPECT_FALSE(handling.reply) << toHex(unit);
  }
}

}  // namespace
}  // namespace ombrel::vprinter
