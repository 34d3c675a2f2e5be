#include "commands/program_update.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "commands/number_text.h"
#include "protocol/codes.h"
#include "texts/message_texts.h"

namespace ombrel {

namespace {
constexpr std::size_t kIdentityOffset = 0x3000;
constexpr std::size_t kIdentitySize = 8;
constexpr std::int32_t kDefaultWaitSeconds = 5;

Refusal warning(std::string text) { return {Refusal::Kind::Warning, std::move(text)}; }

// The 8 bytes at 0x3000 up to the first zero byte, upper case.
std::string imageIdentity(const Bytes& file) {
  std::string identity;
  for (std::size_t i = kIdentityOffset; i < kIdentityOffset + kIdentitySize && file[i] != 0; ++i) {
    identity += static_cast<char>(std::toupper(file[i]));
  }
  return identity;
}

ActionOutcome prepareUpdate(const ParaControls& controls, int task, bool withIdentity) {
  TaskStart start{task, 0, 0, {}};
  const std::int64_t seconds = wholeNumberOr(controls.text("edt_WaitTime"), kDefaultWaitSeconds);
  start.transfer.waitTimeMs = std::max<std::int64_t>(seconds, 0) * 1000;

  const std::filesystem::path path(controls.text("edt_Prgfile"));
  std::error_code error;
  if (path.empty() || !std::filesystem::is_regular_file(path, error)) return warning(messageTexts().text("sMsg24"));
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  std::ifstream in(path, std::ios::binary);
  Bytes file(error ? 0 : size);
  in.read(reinterpret_cast<char*>(file.data()), static_cast<std::streamsize>(file.size()));
  if (error || !in || static_cast<std::size_t>(in.gcount()) != file.size())
    return warning("Cannot read " + path.string());

  if (withIdentity && file.size() > kIdentityOffset) {
    if (file.size() < kIdentityOffset + kIdentitySize) {
      return warning(messageTexts().text("sMsg23") + ": " + path.string() + " (" + std::to_string(file.size()) +
                     " bytes) ends inside the 8-byte identity at 0x3000");
    }
    start.transfer.imageIdentity = imageIdentity(file);
  }
  start.transferLine =
      messageTexts().text("sUpdatePrgFile") + ":" + path.filename().string() + " Size:" + std::to_string(file.size());
  start.transfer.stream = std::move(file);
  return start;
}
}  // namespace

ActionOutcome btn_UpdatePrgClick(const ParaControls& controls) {
  return prepareUpdate(controls, kTaskProgramUpdate, true);
}

ActionOutcome bt_firmwareClick(const ParaControls& controls) {
  return prepareUpdate(controls, kTaskRawProgramTransfer, false);
}

}  // namespace ombrel
