#include "stream_splitter.h"

#include <gtest/gtest.h>

#include "protocol/frame.h"

namespace ombrel::vprinter {
namespace {

Split split(const Bytes& bytes) { return splitStream(bytes.data(), bytes.size()); }

// Feeds `whole` byte by byte: every shorter prefix needs more, the whole is
// one frame.
void expectFrameByteByByte(const Bytes& whole) {
  for (std::size_t count = 0; count < whole.size(); ++count) {
    EXPECT_EQ(splitStream(whole.data(), count).piece, Piece::NeedMore) << count << " of " << toHex(whole);
  }
  const Split done = split(whole);
  EXPECT_EQ(done.piece, Piece::Frame) << toHex(whole);
  EXPECT_EQ(done.length, whole.size());
}

TEST(StreamSplitter, FramesAreWholeOnlyWithTheirLastByte) {
  expectFrameByteByByte(frame::build(121, 0, 0, {}, true));
  expectFrameByteByByte(frame::build(48, 0, 0, {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}, true));
  // The data check is the printer's business: a frame with a wrong one is
  // still a frame.
  Bytes badDataCheck = frame::build(128, 0, 0, {0x2F}, true);
  badDataCheck.back() ^= 0xFF;
  expectFrameByteByByte(badDataCheck);
}

TEST(StreamSplitter, ByteAfterAFrameIsLeftForTheNextSplit) {
  Bytes stream = frame::build(121, 0, 0, {}, true);
  const std::size_t frameSize = stream.size();
  stream.push_back(0x8D);
  EXPECT_EQ(split(stream).piece, Piece::Frame);
  EXPECT_EQ(split(stream).length, frameSize);
}

TEST(StreamSplitter, BytesThatCannotStartAFrameAreRawUpToTheNextFrameStart) {
  struct Case {
    const char* hex;
    Piece piece;
    std::size_t length;
  };
  const Case cases[] = {
      {"", Piece::NeedMore, 0},    {"8D 00", Piece::Raw, 2},    {"1F 49 0A 02 00", Piece::Raw, 3},
      {"02", Piece::NeedMore, 0},  {"02 01 02", Piece::Raw, 2}, {"02 00 30", Piece::NeedMore, 0},
      {"61 61 61", Piece::Raw, 3},
  };
  for (const Case& c : cases) {
    Bytes bytes;
    ASSERT_TRUE(parseHex(c.hex, bytes));
    const Split got = split(bytes);
    EXPECT_EQ(got.piece, c.piece) << c.hex;
    EXPECT_EQ(got.length, c.length) << c.hex;
  }
}

TEST(StreamSplitter, HeadWithAWrongCheckIsRawSoAFrameBehindItIsFound) {
  Bytes stream = frame::build(50, 0, 0, {}, true);
  stream[14] ^= 0x01;
  const Bytes good = frame::build(121, 0, 0, {}, true);
  stream.insert(stream.end(), good.begin(), good.end());
  // Only the leading 0x02 is given up; the scan goes on from the next 0x02.
  const Split first = split(stream);
  EXPECT_EQ(first.piece, Piece::Raw);
  EXPECT_EQ(first.length, frame::kHeadSize);
  const Split second = splitStream(stream.data() + first.length, stream.size() - first.length);
  EXPECT_EQ(second.piece, Piece::Frame);
  EXPECT_EQ(second.length, good.size());
}

}  // namespace
}  // namespace ombrel::vprinter
