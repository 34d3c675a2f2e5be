#include "protocol/reply_assembler.h"

#include <gtest/gtest.h>

#include "protocol/frame.h"

namespace ombrel {
namespace {

bool feed(ReplyAssembler& assembler, const Bytes& bytes) { return assembler.assemble(bytes.data(), bytes.size()); }

const Bytes kAck = frame::build(128, 0, 0, {}, true);
const Bytes kWithData = frame::build(48, 0, 0, {'a', 'b', 0}, true);

TEST(AssembleReply, AcknowledgementCompletesOnItsSixteenthByte) {
  ReplyAssembler assembler;
  EXPECT_FALSE(feed(assembler, Bytes(kAck.begin(), kAck.begin() + 15)));
  EXPECT_TRUE(feed(assembler, Bytes(kAck.begin() + 15, kAck.end())));
  EXPECT_EQ(assembler.length(), 0u);
}

TEST(AssembleReply, ReplyWithDataWaitsForItsCheckByte) {
  ReplyAssembler assembler;
  ASSERT_EQ(kWithData.size(), 20u);
  EXPECT_FALSE(feed(assembler, Bytes(kWithData.begin(), kWithData.begin() + 19)));
  EXPECT_TRUE(feed(assembler, Bytes(kWithData.begin() + 19, kWithData.end())));
  EXPECT_EQ(assembler.length(), 3u);
  EXPECT_EQ(assembler.buffer()[16], 'a');
}

TEST(AssembleReply, NoiseBeforeTheFrameStartIsDropped) {
  ReplyAssembler assembler;
  Bytes noisy{0xFF, 0x13};
  noisy.insert(noisy.end(), kAck.begin(), kAck.end());
  EXPECT_TRUE(feed(assembler, noisy));
  EXPECT_EQ(assembler.position(), 16u);
}

TEST(AssembleReply, SplitDeliveriesAreJoined) {
  ReplyAssembler assembler;
  bool complete = false;
  for (std::uint8_t byte : kWithData) complete = assembler.assemble(&byte, 1);
  EXPECT_TRUE(complete);
  EXPECT_EQ(assembler.length(), 3u);
}

TEST(AssembleReply, TrailingBytesInTheSameChunkAreIgnored) {
  ReplyAssembler assembler;
  Bytes chunk = kAck;
  chunk.push_back(0x55);
  chunk.push_back(0x66);
  EXPECT_TRUE(feed(assembler, chunk));
}

TEST(AssembleReply, BadHeadCheckDiscardsAndRestartsAtTheNextFrameStart) {
  ReplyAssembler assembler;
  Bytes bad = kAck;
  bad[14] ^= 0x01;
  EXPECT_FALSE(feed(assembler, bad));
  EXPECT_EQ(assembler.position(), 0u);
  EXPECT_TRUE(feed(assembler, kAck));
}

TEST(AssembleReply, BadDataCheckDiscards) {
  ReplyAssembler assembler;
  Bytes bad = kWithData;
  bad.back() ^= 0x01;
  EXPECT_FALSE(feed(assembler, bad));
  EXPECT_EQ(assembler.position(), 0u);
}

TEST(AssembleReply, PositionWrapsAfterTheBufferWithoutAFrame) {
  ReplyAssembler assembler;
  // A frame start whose head claims more data than the buffer can hold.
  Bytes head = frame::build(52, 0, 0, Bytes(5000, 0), true);
  head.resize(16);
  EXPECT_FALSE(feed(assembler, head));
  EXPECT_FALSE(feed(assembler, Bytes(ReplyAssembler::kBufferSize - 16, 0x11)));
  EXPECT_EQ(assembler.position(), ReplyAssembler::kBufferSize);
  // The next byte restarts the search for 0x02 from the start of the buffer.
  EXPECT_FALSE(feed(assembler, Bytes{0x11}));
  EXPECT_EQ(assembler.position(), 0u);
  EXPECT_TRUE(feed(assembler, kAck));
}

TEST(AssembleReply, RawStoreNeverWritesPastTheBuffer) {
  ReplyAssembler assembler;
  const Bytes many(ReplyAssembler::kBufferSize + 10, 0x61);
  assembler.storeRaw(many.data(), many.size());
  EXPECT_EQ(assembler.position(), 10u);
  EXPECT_EQ(assembler.buffer()[0], 0x61);
}

}  // namespace
}  // namespace ombrel
