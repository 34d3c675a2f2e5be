#include <future>
#include <mutex>
#include <thread>

#include "tcomm_fixture.h"

namespace ombrel::test {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

TEST_F(TCommTest, SendDataRefusesAClosedPortAndAnEmptyBlock) {
  const Bytes bytes = pattern(10, 0);
  EXPECT_FALSE(send(bytes));
  comm.openPort();
  EXPECT_FALSE(comm.sendData(bytes.data(), 0));
  EXPECT_TRUE(comm.sendQueueEmpty());
  EXPECT_TRUE(pty.read(1, milliseconds(100)).empty());
}

TEST_F(TCommTest, SentBlocksArriveWholeAndInOrder) {
  comm.openPort();
  Bytes all;
  for (std::uint8_t block = 0; block < 4; ++block) {
    const Bytes bytes = pattern(3000, block);
    ASSERT_TRUE(send(bytes));
    all.insert(all.end(), bytes.begin(), bytes.end());
  }
  EXPECT_EQ(pty.read(all.size(), milliseconds(10000)), all);
  EXPECT_TRUE(log.waitFor([&](const PortEvents&) { return comm.sendQueueEmpty(); }));
}

TEST_F(TCommTest, TheEmptyQueueIsAnnouncedOnceAfterOpenAndOnceAfterEachBurst) {
  comm.openPort();
  ASSERT_TRUE(log.waitFor([](const PortEvents& events) { return events.sendEmpty == 1; }));
  const Bytes bytes = pattern(500, 4);
  ASSERT_TRUE(send(bytes));
  EXPECT_EQ(pty.read(bytes.size(), milliseconds(5000)), bytes);
  ASSERT_TRUE(log.waitFor([](const PortEvents& events) { return events.sendEmpty == 2; }));
  std::this_thread::sleep_for(milliseconds(100));
  EXPECT_EQ(log.snapshot().sendEmpty, 2);
  EXPECT_TRUE(comm.sendQueueEmpty());
}

TEST_F(TCommTest, ABurstArrivesInOrderInChunksOfAtMost2048Bytes) {
  comm.openPort();
  const Bytes burst = pattern(7000, 5);
  pty.write(burst);
  ASSERT_TRUE(log.waitFor([&](const PortEvents& events) { return events.received().size() >= burst.size(); }));
  const PortEvents events = log.snapshot();
  EXPECT_EQ(events.received(), burst);
  EXPECT_GE(events.chunks.size(), 4u);
  for (const auto& chunk : events.chunks) {
    EXPECT_GT(chunk.bytes.size(), 0u);
    EXPECT_LE(chunk.bytes.size(), 2048u);
  }
}

TEST_F(TCommTest, AShortReplyIsDeliveredWholeOnceTheLineFallsSilent) {
  constexpr auto kInterval = milliseconds(150);
  comm.setReadIntervalTimeout(static_cast<std::uint32_t>(kInterval.count()));
  comm.openPort();
  // Gaps well below the silence interval keep the reply in one read.
  pty.write({'a', 'b'});
  std::this_thread::sleep_for(milliseconds(10));
  pty.write({'c', 'd'});
  std::this_thread::sleep_for(milliseconds(10));
  const auto lastWrite = steady_clock::now();
  pty.write({'e', 'f'});

  ASSERT_TRUE(log.waitFor([](const PortEvents& events) { return !events.chunks.empty(); }));
  std::this_thread::sleep_for(kInterval);
  const PortEvents events = log.snapshot();
  ASSERT_EQ(events.chunks.size(), 1u);
  EXPECT_EQ(events.chunks[0].bytes, (Bytes{'a', 'b', 'c', 'd', 'e', 'f'}));
  EXPECT_GE(events.chunks[0].at - lastWrite, kInterval);
}

TEST_F(TCommTest, WithoutAnyReadTimeOutEachArrivalIsDeliveredAtOnce) {
  comm.openPort();
  comm.setReadTimeouts(0, 0, 0);
  pty.write({'x'});
  ASSERT_TRUE(log.waitFor([](const PortEvents& events) { return events.chunks.size() == 1; }));
  pty.write({'y'});
  ASSERT_TRUE(log.waitFor([](const PortEvents& events) { return events.chunks.size() == 2; }));
  EXPECT_EQ(log.snapshot().received(), (Bytes{'x', 'y'}));
}

TEST_F(TCommTest, TheTotalTimeOutCompletesAReadThatNeverFallsSilent) {
  comm.openPort();
  // A silence interval longer than the whole test: only the total time-out
  // can complete a read while bytes keep trickling in.
  comm.setReadTimeouts(10000, 0, 100);
  // Reads that time out empty meanwhile must not end the reader.
  std::this_thread::sleep_for(milliseconds(250));
  Bytes sent;
  for (std::uint8_t i = 0; i < 30; ++i) {
    pty.write({i});
    sent.push_back(i);
    std::this_thread::sleep_for(milliseconds(20));
  }
  EXPECT_FALSE(log.snapshot().chunks.empty()) << "nothing delivered while the line was busy";
  EXPECT_TRUE(log.waitFor([&](const PortEvents& events) { return events.received() == sent; }));
}

TEST_F(TCommTest, TheDirectReceiverTakesChunksOnTheReaderThreadAndDeclinedOnesArePosted) {
  std::mutex mutex;
  Bytes taken;
  bool onOwnerThread = false;
  comm.setDirectReceive([&](const std::uint8_t* bytes, std::size_t count) {
    std::lock_guard lock(mutex);
    onOwnerThread = onOwnerThread || loop.isOwnerThread();
    if (bytes[0] != 't') return false;
    taken.insert(taken.end(), bytes, bytes + count);
    return true;
  });
  comm.openPort();
  pty.write({'t', '1'});
  ASSERT_TRUE(log.waitFor([&](const PortEvents&) {
    std::lock_guard lock(mutex);
    return taken.size() == 2;
  }));
  pty.write({'i', '1'});
  ASSERT_TRUE(log.waitFor([](const PortEvents& events) { return events.received() == Bytes{'i', '1'}; }));
  comm.setDirectReceive(nullptr);
  pty.write({'t', '2'});
  ASSERT_TRUE(log.waitFor([](const PortEvents& events) { return events.received().size() == 4; }));
  std::lock_guard lock(mutex);
  EXPECT_EQ(taken, (Bytes{'t', '1'}));
  EXPECT_FALSE(onOwnerThread) << "taken on the reader thread, not posted";
}

TEST_F(TCommTest, DrainingAStalledLineEndsAtItsLimitAndLeavesThePortUsable) {
  comm.openPort();
  // Nobody reads the far end: the writer stalls once the terminal's buffer is full.
  for (std::uint8_t block = 0; block < 8; ++block) ASSERT_TRUE(send(pattern(60000, block)));
  auto drained = std::async(std::launch::async, [&] { comm.drainOutput(milliseconds(300)); });
  comm.setBaudRate(19200);  // other calls go on meanwhile
  EXPECT_TRUE(comm.isOpen());
  EXPECT_EQ(drained.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  EXPECT_FALSE(comm.sendQueueEmpty());
  comm.closePort();
}

TEST_F(TCommTest, AVanishedDeviceRequestsAHangup) {
  comm.openPort();
  pty.closeMaster();
  ASSERT_TRUE(log.waitFor([](const PortEvents& events) { return events.hangups == 1; }));
  // The writer finds out at its next write, ends and refuses further blocks.
  const Bytes bytes = pattern(10, 6);
  EXPECT_TRUE(send(bytes));
  ASSERT_TRUE(log.waitFor([](const PortEvents& events) { return events.hangups == 2; }));
  EXPECT_FALSE(send(bytes));
  EXPECT_TRUE(comm.isOpen());
  comm.closePort();
  EXPECT_FALSE(comm.isOpen());
}

}  // namespace
}  // namespace ombrel::test
