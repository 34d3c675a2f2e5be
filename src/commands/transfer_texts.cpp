#include "commands/transfer_texts.h"

namespace ombrel {

namespace {
constexpr int kEnglish = 1;
}

std::string transferPhaseText(const TransferProgress& progress, int language) {
  const bool english = language == kEnglish;
  const std::string left = std::to_string(progress.secondsLeft());
  switch (progress.phase) {
    case TransferPhase::Connecting:
      return english ? "Connecting" : "连接";
    case TransferPhase::WaitingForPort:
      return english ? "Waiting for the port, " + left + " s left" : "等待端口 " + left + " 秒";
    case TransferPhase::Sending:
      return english ? "Sending" : "发送";
    case TransferPhase::Receiving:
      return english ? "Receiving" : "接收";
    case TransferPhase::Verifying:
      return english ? "Verifying" : "校验";
    case TransferPhase::PrinterRestarting:
      return english ? "Printer restarting, " + left + " s left" : "打印机重启 " + left + " 秒";
    case TransferPhase::Ended:
      break;
  }
  return "";
}

std::string partialProgramWarning(int language) {
  if (language == kEnglish) {
    return "The update was cancelled. The printer may now hold a partial program: update it again before use.";
  }
  return "更新已取消。打印机中的程序可能不完整，请重新更新后再使用。";
}

std::string repliesNotCheckedText(int language) {
  if (language == kEnglish) {
    return "Boot loader mode: the next program update does not check the printer's replies";
  }
  return "引导模式：下一次程序更新不检查打印机的应答";
}

}  // namespace ombrel
