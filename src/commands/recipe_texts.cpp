#include "commands/recipe_texts.h"

namespace ombrel {

namespace {
constexpr int kEnglish = 1;
}

std::string recipeRefusalText(const Refusal& refusal, int language) {
  if (refusal.kind != Refusal::Kind::NoChoice) return refusal.text;
  return language == kEnglish ? "No item is chosen in " + refusal.text : refusal.text + " 中未选择项目";
}

std::string unknownRecipeActionText(const std::string& action, int language) {
  if (language == kEnglish) return "The production line recipe names no action " + action;
  return "生产线配方中的 " + action + " 不是动作";
}

std::string emptyStoredRecipeText(const std::string& where, int language) {
  if (language == kEnglish) return "--recipe: the production line recipe in " + where + " holds no action";
  return "--recipe：" + where + " 中的生产线配方没有动作";
}

std::string notMatchedPrinterText(const std::string& identity, const std::string& filter, int language) {
  if (language == kEnglish) {
    return "The printer " + identity + " is not set up: its identity does not contain " + filter;
  }
  return "打印机 " + identity + " 未设置：其标识不包含 " + filter;
}

std::string printerLeftText(int language) {
  return language == kEnglish ? "The printer left during its recipe" : "打印机在设置过程中被拔下";
}

std::string waitingForUsbPrintersText(int language) {
  return language == kEnglish ? "Waiting for USB printers; Ctrl-C ends" : "等待 USB 打印机；按 Ctrl-C 结束";
}

std::string printerArrivedText(const std::string& identity, int language) {
  return language == kEnglish ? "USB printer " + identity + " arrived" : "USB 打印机 " + identity + " 已插入";
}

std::string printerSetUpText(const std::string& identity, bool setUp, int language) {
  if (language == kEnglish) return "USB printer " + identity + (setUp ? " is set up" : " was not set up");
  return "USB 打印机 " + identity + (setUp ? " 已设置" : " 未设置");
}

std::string serialNumberEmptyText(int language) {
  return language == kEnglish ? "The serial number is empty: enter the first number to write"
                              : "产品序列号为空：请输入要写入的第一个序列号";
}

std::string serialNumberNotANumberText(const std::string& serial, int language) {
  if (language == kEnglish) return "The serial number " + serial + " is not a number";
  return "产品序列号 " + serial + " 不是数字";
}

std::string serialNumberLeavesRangeText(const std::string& serial, int language) {
  if (language == kEnglish) {
    return "The serial number " + serial + " leaves the range 0 to 2147483647 at its next step";
  }
  return "产品序列号 " + serial + " 的下一步超出 0 至 2147483647 的范围";
}

std::string serialDirectionMissingText(int language) {
  return language == kEnglish ? "Choose the direction the serial number steps in: - or +"
                              : "请选择产品序列号的递增方向：- 或 +";
}

std::string stationLockedText(const std::string& dir, int language) {
  if (language == kEnglish) return "Another station is running on " + dir + "; only one station may use it at a time";
  return "另一个生产线工位正在使用 " + dir + "；同一时间只能有一个工位使用它";
}

std::string lineDatabaseUnreachableText(int language) {
  return language == kEnglish ? "Line database unreachable" : "无法连接生产线数据库";
}

std::string noSerialNumberLeftText(int language) {
  return language == kEnglish ? "No serial number is left: the range 0 to 2147483647 is used up"
                              : "没有可用的产品序列号：0 至 2147483647 的范围已用完";
}

std::string stationStoppedBeforeAnswerText(int language) {
  return language == kEnglish ? "The station stopped before the printer answered" : "工位在打印机应答之前停止";
}

}  // namespace ombrel
