#include "app/app_texts.h"

namespace ombrel::app {

namespace {
constexpr int kEnglish = 1;
}

std::string notWholeNumberText(int language, const std::string& box, const std::string& text) {
  if (language == kEnglish) return box + " \"" + text + "\" is not a whole number. Enter a rate such as 9600.";
  return box + "“" + text + "”不是整数，请输入整数，例如 9600。";
}

std::string taskRunningText(int language) {
  return language == kEnglish ? "Busy: wait until the running task ends" : "正在执行任务，请稍候再试";
}

std::string devRateName(int language) { return language == kEnglish ? "Baud rate" : "波特率"; }

std::string tranRateName(int language) { return language == kEnglish ? "Transfer baud rate" : "传输波特率"; }

std::string runningText(const std::string& caption) { return caption + "…"; }

std::string closeDuringTransferQuestion(int language) {
  if (language == kEnglish) return "A transfer is still running. Close the window anyway? The transfer goes on.";
  return "传输仍在进行。仍要关闭窗口吗？传输会继续进行。";
}

std::string restoreDefaultsQuestion(int language) {
  if (language == kEnglish) return "Restore the printer's factory settings now?";
  return "现在恢复打印机的默认设置吗？";
}

std::string repliesUncheckedNotice(int language) { return language == kEnglish ? "Replies not checked" : "不检查应答"; }

std::string emptyRecipeText(int language) {
  return language == kEnglish ? "Tick the actions of the recipe first" : "请先勾选配方中的动作";
}

std::string waitingForPrintersText(int language) {
  if (language == kEnglish) return "Waiting for USB printers: unplug each one once it is done";
  return "等待 USB 打印机：每台设置完成后请拔下";
}

std::string settingUpText(int language, const std::string& link) {
  return (language == kEnglish ? "Setting up " : "正在设置 ") + link;
}

std::string removedDuringRecipeText(int language) {
  return language == kEnglish ? "unplugged during its recipe" : "设置过程中被拔下";
}

std::string waitingForSlotText(int language) {
  return language == kEnglish ? "Waiting for a free slot" : "等待空闲插槽";
}

std::string retryText(int language) { return language == kEnglish ? "Retry" : "重试"; }

std::string stoppedText(int language) { return language == kEnglish ? "stopped" : "已停止"; }

std::string notMatchedText(int language) {
  return language == kEnglish ? "its identity does not contain the recipe's text: not set up"
                              : "打印机标识不包含配方中的文字：未设置";
}

}  // namespace ombrel::app
