#include "pty_line.h"
#include "tcomm_fixture.h"

namespace ombrel::test {
namespace {

TEST(TCommDefaults, ConstructionAssignsThePublishedDefaults) {
  EventLoopThread loop;
  const TComm comm(loop);
  EXPECT_EQ(comm.commName(), "COM2");
  EXPECT_EQ(comm.baudRate(), 9600u);
  EXPECT_FALSE(comm.parityCheck());
  EXPECT_FALSE(comm.outx_CtsFlow());
  EXPECT_FALSE(comm.outx_DsrFlow());
  EXPECT_EQ(comm.dtrControl(), TDtrControl::DtrEnable);
  EXPECT_FALSE(comm.dsrSensitivity());
  EXPECT_TRUE(comm.txContinueOnXoff());
  EXPECT_TRUE(comm.outx_XonXoffFlow());
  EXPECT_TRUE(comm.inx_XonXoffFlow());
  EXPECT_FALSE(comm.replaceWhenParityError());
  EXPECT_FALSE(comm.ignoreNullChar());
  EXPECT_EQ(comm.rtsControl(), TRtsControl::RtsEnable);
  EXPECT_EQ(comm.xonLimit(), 500);
  EXPECT_EQ(comm.xoffLimit(), 500);
  EXPECT_EQ(comm.byteSize(), TByteSize::_8);
  EXPECT_EQ(comm.parity(), TParity::None);
  EXPECT_EQ(comm.stopBits(), TStopBits::_1);
  EXPECT_EQ(comm.xonChar(), 17);
  EXPECT_EQ(comm.xoffChar(), 19);
  EXPECT_EQ(comm.replacedChar(), 0);
  EXPECT_EQ(comm.readIntervalTimeout(), 100u);
  EXPECT_EQ(comm.readTotalTimeoutMultiplier(), 0u);
  EXPECT_EQ(comm.readTotalTimeoutConstant(), 0u);
  EXPECT_EQ(comm.writeTotalTimeoutMultiplier(), 0u);
  EXPECT_EQ(comm.writeTotalTimeoutConstant(), 0u);
  EXPECT_TRUE(comm.sendQueueEmpty());
  EXPECT_FALSE(comm.isOpen());
}

TEST_F(TCommTest, OpeningConfiguresARawLineFromTheProperties) {
  comm.setInx_XonXoffFlow(true);
  comm.setXoffChar(0x93);
  comm.openPort();
  const PtyLine line = readPtyLine(pty.masterFd());
  EXPECT_EQ(line.outputRate, 9600u);
  EXPECT_EQ(line.inputRate, 9600u);
  EXPECT_TRUE(line.raw);
  EXPECT_FALSE(line.twoStopBits);
  EXPECT_FALSE(line.rtsCtsHandshake);
  EXPECT_FALSE(line.xonXoffOutput);
  EXPECT_TRUE(line.xonXoffInput);
  EXPECT_EQ(line.xonChar, 17);
  EXPECT_EQ(line.xoffChar, 0x93);
}

TEST_F(TCommTest, LinePropertiesAreReappliedAtOnceWhileOpen) {
  comm.openPort();
  for (const std::uint32_t rate : {14400u, 115200u, 250000u}) {
    comm.setBaudRate(rate);
    EXPECT_EQ(readPtyLine(pty.masterFd()).outputRate, rate);
    EXPECT_EQ(readPtyLine(pty.masterFd()).inputRate, rate);
  }
  comm.setStopBits(TStopBits::_2);
  comm.setOutx_CtsFlow(true);
  comm.setOutx_XonXoffFlow(true);
  comm.setXonChar(0x01);
  const PtyLine line = readPtyLine(pty.masterFd());
  EXPECT_TRUE(line.twoStopBits);
  EXPECT_TRUE(line.rtsCtsHandshake);
  EXPECT_TRUE(line.xonXoffOutput);
  EXPECT_EQ(line.xonChar, 0x01);
  EXPECT_EQ(line.outputRate, 250000u);
}

TEST_F(TCommTest, ParityWaitsForTheNextReapplication) {
  comm.openPort();
  comm.setParity(TParity::Odd);
  EXPECT_FALSE(readPtyLine(pty.masterFd()).oddParity);
  comm.setStopBits(TStopBits::_2);
  EXPECT_TRUE(readPtyLine(pty.masterFd()).oddParity);
}

TEST_F(TCommTest, SettingAPropertyToItsCurrentValueLeavesThePortAlone) {
  comm.openPort();
  setPtyRate(pty.masterFd(), 300);
  comm.setBaudRate(9600);
  comm.setStopBits(TStopBits::_1);
  EXPECT_EQ(readPtyLine(pty.masterFd()).outputRate, 300u);
  comm.setBaudRate(19200);
  EXPECT_EQ(readPtyLine(pty.masterFd()).outputRate, 19200u);
}

TEST_F(TCommTest, PropertiesSetWhileClosedCountFromTheNextOpen) {
  comm.setBaudRate(14400);
  comm.setParity(TParity::Odd);
  comm.openPort();
  const PtyLine line = readPtyLine(pty.masterFd());
  EXPECT_EQ(line.outputRate, 14400u);
  EXPECT_TRUE(line.oddParity);
}

}  // namespace
}  // namespace ombrel::test
