#include "app/main_defaults.h"

namespace ombrel::app {

namespace {
constexpr const char* kSection = "MainDefault";
constexpr const char* kIpAddress = "IP Address";
constexpr const char* kLanguage = "Language";
constexpr const char* kTranMode = "TranMode";
}  // namespace

MainDefaults loadMainDefaults(const IniFile& file) {
  const MainDefaults builtIn;
  MainDefaults loaded;
  loaded.ipAddress = file.readString(kSection, kIpAddress, builtIn.ipAddress);
  loaded.language = file.readInteger(kSection, kLanguage, builtIn.language);
  loaded.tranMode = file.readInteger(kSection, kTranMode, builtIn.tranMode);
  return loaded;
}

void storeMainDefaults(IniFile& file, const MainDefaults& defaults) {
  file.writeString(kSection, kIpAddress, defaults.ipAddress);
  file.writeInteger(kSection, kLanguage, defaults.language);
  file.writeInteger(kSection, kTranMode, defaults.tranMode);
}

}  // namespace ombrel::app
