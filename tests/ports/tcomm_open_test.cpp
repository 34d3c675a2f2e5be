#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/errors.h"
#include "pty_line.h"
#include "tcomm_fixture.h"

namespace ombrel::test {
namespace {

using std::chrono::milliseconds;

void expectOpenFails(TComm& comm, const std::string& text) {
  try {
    comm.openPort();
    ADD_FAILURE() << comm.commName() << " opened";
  } catch (const ECommsError& error) {
    EXPECT_EQ(error.what(), text) << comm.commName();
  }
}

TEST_F(TCommTest, OpenFailuresRaiseTheirTextsAndLeaveThePortClosed) {
  comm.setCommName("/dev/no-such-serial-port");
  expectOpenFails(comm, "Error opening serial port");
  EXPECT_FALSE(comm.isOpen());

  char path[] = "/tmp/tcomm-plain-file-XXXXXX";
  const int fd = ::mkstemp(path);
  ASSERT_GE(fd, 0);
  ::close(fd);
  comm.setCommName(path);
  expectOpenFails(comm, "File handle is not a comm handle ");
  EXPECT_FALSE(comm.isOpen());
  std::remove(path);

  // A character device that is no terminal.
  comm.setCommName("/dev/null");
  expectOpenFails(comm, "File handle is not a comm handle ");
  EXPECT_FALSE(comm.isOpen());
}

TEST_F(TCommTest, APortInUseCannotBeOpenedAgain) {
  comm.openPort();
  expectOpenFails(comm, "This serial port already opened");
  EXPECT_TRUE(comm.isOpen());

  TComm other(loop);
  other.setCommName(pty.slavePath());
  expectOpenFails(other, "Error opening serial port");
  EXPECT_FALSE(other.isOpen());
  EXPECT_TRUE(isExclusive(pty.slavePath())) << "the refused opening lifted the holder's mark";

  // The first opening is untouched by both attempts.
  const Bytes bytes = pattern(100, 1);
  ASSERT_TRUE(send(bytes));
  EXPECT_EQ(pty.read(bytes.size(), milliseconds(5000)), bytes);

  comm.closePort();
  other.openPort();
  EXPECT_TRUE(other.isOpen());
}

TEST_F(TCommTest, TheExclusiveMarkIsLiftedOnClose) {
  comm.openPort();
  EXPECT_TRUE(isExclusive(pty.slavePath()));
  comm.closePort();
  EXPECT_FALSE(isExclusive(pty.slavePath()));
}

TEST_F(TCommTest, CloseAndReopenKeepTheProperties) {
  comm.closePort();  // closed already: no effect
  EXPECT_FALSE(comm.isOpen());
  comm.setBaudRate(14400);
  comm.openPort();
  ASSERT_TRUE(log.waitFor([](const PortEvents& events) { return events.sendEmpty == 1; }));
  comm.closePort();
  comm.closePort();
  EXPECT_FALSE(comm.isOpen());
  EXPECT_TRUE(comm.sendQueueEmpty());

  comm.openPort();
  EXPECT_EQ(readPtyLine(pty.masterFd()).outputRate, 14400u);
  // The writer announces its empty queue again after the reopening.
  ASSERT_TRUE(log.waitFor([](const PortEvents& events) { return events.sendEmpty == 2; }));
  const Bytes bytes = pattern(300, 2);
  ASSERT_TRUE(send(bytes));
  EXPECT_EQ(pty.read(bytes.size(), milliseconds(5000)), bytes);
  pty.write(bytes);
  EXPECT_TRUE(log.waitFor([&](const PortEvents& events) { return events.received() == bytes; }));
}

TEST_F(TCommTest, DestroyingAnOpenComponentStopsItsThreads) {
  {
    TComm doomed(loop);
    doomed.setCommName(pty.slavePath());
    doomed.openPort();
    const Bytes bytes = pattern(4000, 3);
    ASSERT_TRUE(doomed.sendData(bytes.data(), static_cast<std::uint16_t>(bytes.size())));
    pty.write(bytes);
  }
  // The device was released with it.
  comm.openPort();
  EXPECT_TRUE(comm.isOpen());
}

}  // namespace
}  // namespace ombrel::test
