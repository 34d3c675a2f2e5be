#include "commands/logo_transfer.h"

#include <cstdio>

#include "commands/font_transfer.h"
#include "commands/number_text.h"
#include "imaging/logo_image.h"
#include "platform/errors.h"
#include "platform/file_replace.h"
#include "protocol/codes.h"
#include "texts/message_texts.h"

namespace ombrel {

namespace {
constexpr const char* kLogoList = "ListBox1";
constexpr const char* kLogoLabel = "LOGO";
constexpr const char* kWriteBlockCode = "$33";  // command 51

Refusal warning(const std::string& text) { return {Refusal::Kind::Warning, text}; }

std::string dollarAddress(std::uint32_t address) {
  char text[16];
  std::snprintf(text, sizeof text, "$%X", address);
  return text;
}
}  // namespace

std::string logoImageTooLargeText() {
  std::string text = messageTexts().text("sDnLogFileMsg");
  const auto at = text.find("%d");
  if (at != std::string::npos) text.replace(at, 2, std::to_string(kLogoImageLimit / 1024));
  return text;
}

LogoReduction logoReductionOf(const ParaControls& controls) {
  LogoReduction reduction;
  reduction.dither = controls.checked("chk_LogoDither");
  if (const auto level = wholeNumber(controls.text("trk_LogoThreshold"))) reduction.threshold = *level;
  return reduction;
}

ActionOutcome btn_DownLogoClick(const ParaControls& controls, const std::string& imagePath) {
  const LogoReduction reduction = logoReductionOf(controls);
  const auto paths = controls.items(kLogoList);
  if (paths.empty()) return Refusal{Refusal::Kind::NothingToSend, "ListBox1 is empty: nothing is sent"};
  LogoImage image;
  try {
    // Every picture is read before anything is written: a missing or
    // unreadable one must not shift the logos after it to other numbers.
    for (const std::string& path : paths) BuildLogoImage(path, image, reduction);
    replaceFileWith(imagePath, image.bytes());
  } catch (const ECommonError& error) {
    return warning(error.what());
  }
  if (image.bytes().size() > kLogoImageLimit) return warning(logoImageTooLargeText());
  TaskStart start{kTaskLogoDownload, 0, 0, {}};
  start.transfer.downloads = {{imagePath, kLogoLabel, kWriteBlockCode, dollarAddress(kLogoDownloadAddress)}};
  start.transfer.verify = controls.checked(kVerifyDownloadBox);
  return start;
}

ActionOutcome btn_PrintLogoClick(const ParaControls& controls) {
  // One byte on the wire, as the printer numbers its logos.
  const int number = (controls.index(kLogoList) + 1) & 0xFF;
  return TaskStart{kTaskPrintLogo, number, 0, {}};
}

}  // namespace ombrel
