#include "commands/font_transfer.h"

#include <cstdio>
#include <filesystem>

#include "commands/number_text.h"
#include "protocol/codes.h"
#include "texts/message_texts.h"

namespace ombrel {

namespace {
constexpr const char* kFontLabel = "FONT";
constexpr const char* kWriteBlockCode = "$33";  // command 51

Refusal notANumber(const std::string& text) { return {Refusal::Kind::InvalidNumber, notANumberMessage(text)}; }

// "$" and at least four upper-case hexadecimal digits.
std::string dollarAddress(std::uint32_t address) {
  char text[16];
  std::snprintf(text, sizeof text, "$%.4X", address);
  return text;
}
}  // namespace

ActionOutcome btn_UpdateFontClick(const ParaControls& controls) {
  const std::string path = controls.text("edt_FontFile");
  const std::string addressText = controls.text("edt_FontAddress");
  std::error_code error;
  if (path.empty() || !std::filesystem::is_regular_file(path, error)) {
    return Refusal{Refusal::Kind::Warning, messageTexts().text("sMsg24")};
  }
  std::uint32_t address = 0;
  if (!addressText.empty()) {
    // A mistyped address would put the font over whatever lies at 0.
    const auto typed = hexNumber(addressText);
    if (!typed) return notANumber("$" + addressText);
    address = *typed;
  }
  TaskStart start{kTaskFontDownload, 0, 0, {}};
  start.transfer.downloads = {{path, kFontLabel, kWriteBlockCode, dollarAddress(address)}};
  start.transfer.verify = controls.checked(kVerifyDownloadBox);
  return start;
}

ActionOutcome btn_ReadFontClick(const ParaControls& controls, const std::string& savePath) {
  const std::string startText = controls.text("edt_StartAddress");
  const auto address = hexNumber(startText);
  if (!address) return notANumber("$" + startText);
  const std::string lengthText = controls.text("edt_ReadLength");
  const auto length = wholeNumber(lengthText);
  if (!length) return notANumber(lengthText);
  TaskStart start{kTaskFontReadBack, static_cast<int>(*address), *length, {}};
  start.transfer.readBackPath = savePath;
  start.transferLine = messageTexts().text("sUpdateFontFile") + ":" + savePath;
  return start;
}

}  // namespace ombrel
