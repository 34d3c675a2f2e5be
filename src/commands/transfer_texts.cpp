#include "commands/transfer_texts.h"

#include <algorithm>
#include <cstdio>

namespace ombrel {

namespace {
constexpr int kEnglish = 1;

std::string clockText(std::int64_t ms) {
  const std::int64_t seconds = (std::max<std::int64_t>(ms, 0) + 999) / 1000;
  const long long hours = seconds / 3600;
  const long long minutes = seconds / 60 % 60;
  const long long rest = seconds % 60;
  char text[32];
  if (hours > 0) {
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", hours, minutes, rest);
  } else {
    std::snprintf(text, sizeof text, "%lld:%02lld", minutes, rest);
  }
  return text;
}
}  // namespace

std::string transferPhaseText(const TransferProgress& progress, std::optional<std::int64_t> msLeft, int language) {
  const bool english = language == kEnglish;
  std::string name;
  switch (progress.phase) {
    case TransferPhase::Connecting:
      name = english ? "Connecting" : "连接";
      break;
    case TransferPhase::WaitingForPort:
      name = english ? "Waiting for the port" : "等待端口";
      break;
    case TransferPhase::Sending:
      name = english ? "Sending" : "发送";
      break;
    case TransferPhase::Receiving:
      name = english ? "Receiving" : "接收";
      break;
    case TransferPhase::Verifying:
      name = english ? "Verifying" : "校验";
      break;
    case TransferPhase::PrinterRestarting:
      name = english ? "Printer restarting" : "打印机重启";
      break;
    case TransferPhase::Ended:
      return "";
  }
  // The time left of the whole transfer also says what a wait's own seconds would.
  if (msLeft) return name + "  " + timeLeftText(*msLeft, language);
  const bool wait =
      progress.phase == TransferPhase::WaitingForPort || progress.phase == TransferPhase::PrinterRestarting;
  if (!wait) return name;
  const std::string left = std::to_string(progress.secondsLeft());
  return english ? name + ", " + left + " s left" : name + " " + left + " 秒";
}

std::string timeLeftText(std::int64_t ms, int language) {
  return language == kEnglish ? clockText(ms) + " left" : "剩余 " + clockText(ms);
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
