#include "protocol/frame.h"

#include <gtest/gtest.h>

namespace ombrel {
namespace {

TEST(CommandFrame, RateSwitchWithoutDataIsSixteenBytes) {
  EXPECT_EQ(toHex(frame::build(49, 4, 0, {}, true)), "02 00 31 00 04 00 00 00 00 00 00 00 00 00 37 00");
}

TEST(CommandFrame, DataCheckOnlyOnByteStreamLinks) {
  const Bytes data{0x10, 0x20, 0x31};
  const Bytes serial = frame::build(49, 4, 0, data, true);
  const Bytes network = frame::build(49, 4, 0, data, false);
  ASSERT_EQ(serial.size(), 20u);
  ASSERT_EQ(network.size(), 19u);
  EXPECT_EQ(serial[19], 0x10 ^ 0x20 ^ 0x31);
  EXPECT_EQ(Bytes(serial.begin(), serial.begin() + 19), network);
  EXPECT_EQ(serial[12], 3);
  EXPECT_EQ(serial[14], 0x02 ^ 0x31 ^ 0x04 ^ 0x03);
}

TEST(CommandFrame, ArgumentsAndLengthAreLittleEndian) {
  const Bytes data(300, 0xAA);
  const Bytes out = frame::build(0x1234, 0x11223344, 0xA1B2C3D4, data, true);
  EXPECT_EQ(toHex(Bytes(out.begin(), out.begin() + 14)), "02 00 34 12 44 33 22 11 D4 C3 B2 A1 2C 01");
  EXPECT_TRUE(frame::headCheckOk(out.data()));
  const frame::Head head = frame::readHead(out.data());
  EXPECT_EQ(head.command, 0x1234);
  EXPECT_EQ(head.first, 0x11223344u);
  EXPECT_EQ(head.second, 0xA1B2C3D4u);
  EXPECT_EQ(head.length, 300);
}

TEST(CommandFrame, FlowControlFrameMatchesItsRawForm) {
  // A command-141 frame with one data byte 1 is what the flow-control sender writes.
  EXPECT_EQ(toHex(frame::build(141, 0, 0, {0x01}, true)), "02 00 8D 00 00 00 00 00 00 00 00 00 01 00 8E 00 01 01");
}

TEST(NetworkReply, NeedsSixteenBytesBeginningWithTheFrameStart) {
  Bytes reply = frame::build(128, 0, 0, {}, false);
  EXPECT_TRUE(frame::isAcceptedDatagram(reply.data(), reply.size()));
  EXPECT_FALSE(frame::isAcceptedDatagram(reply.data(), 15));
  reply[1] = 0x01;
  EXPECT_FALSE(frame::isAcceptedDatagram(reply.data(), reply.size()));
  reply[1] = 0x00;
  reply[14] ^= 0xFF;  // no check byte is examined on the network link
  EXPECT_TRUE(frame::isAcceptedDatagram(reply.data(), reply.size()));
}

// A serial reply is handed on once the bytes its head claims are there.
TEST(SerialReply, IsWholeOnceItsHeadAndClaimedBytesAreThere) {
  Bytes noiseAndAck{0xFF, 0x13};
  for (std::uint8_t byte : frame::build(51, 256, 0, {}, true)) noiseAndAck.push_back(byte);
  const Bytes withData = frame::build(52, 0, 0, {1, 2, 3}, true);
  EXPECT_TRUE(frame::holdsWholeFrame(noiseAndAck.data(), noiseAndAck.size()));
  EXPECT_FALSE(frame::holdsWholeFrame(noiseAndAck.data(), noiseAndAck.size() - 1));
  EXPECT_TRUE(frame::holdsWholeFrame(withData.data(), 20));
  EXPECT_FALSE(frame::holdsWholeFrame(withData.data(), 19));  // the check byte is still missing
  Bytes badHead = withData;
  badHead[14] ^= 1;
  EXPECT_FALSE(frame::holdsWholeFrame(badHead.data(), badHead.size()));
}

}  // namespace
}  // namespace ombrel
