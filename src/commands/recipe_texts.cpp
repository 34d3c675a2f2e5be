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

std::string serialNumbersUsedUpText(int language) {
  return language == kEnglish ? "No serial number is left in the 32-bit range" : "序列号已超出 32 位范围";
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

}  // namespace ombrel
