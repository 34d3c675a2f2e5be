#include "settings/main_defaults.h"

namespace ombrel {

namespace {
constexpr const char* kSection = "MainDefault";
constexpr const char* kIpAddress = "IP Address";
constexpr const char* kLanguage = "Language";
constexpr const char* kTranMode = "TranMode";
constexpr const char* kComName = "ComName";
constexpr const char* kDevBaud = "DevBaudRate";
constexpr const char* kTranBaud = "TranBaudRate";
constexpr const char* kUsbDevice = "UsbDevice";
}  // namespace

MainDefaults loadMainDefaults(const IniFile& file) {
  const MainDefaults builtIn;
  MainDefaults loaded;
  loaded.ipAddress = file.readString(kSection, kIpAddress, builtIn.ipAddress);
  loaded.language = file.readInteger(kSection, kLanguage, builtIn.language);
  loaded.tranMode = file.readInteger(kSection, kTranMode, builtIn.tranMode);
  loaded.comName = file.readString(kSection, kComName, "");
  loaded.devBaud = file.readString(kSection, kDevBaud, "");
  loaded.tranBaud = file.readString(kSection, kTranBaud, "");
  loaded.usbDevice = file.readString(kSection, kUsbDevice, "");
  return loaded;
}

void storeMainDefaults(IniFile& file, const MainDefaults& defaults) {
  file.writeString(kSection, kIpAddress, defaults.ipAddress);
  file.writeInteger(kSection, kLanguage, defaults.language);
  file.writeInteger(kSection, kTranMode, defaults.tranMode);
  file.writeString(kSection, kComName, defaults.comName);
  file.writeString(kSection, kDevBaud, defaults.devBaud);
  file.writeString(kSection, kTranBaud, defaults.tranBaud);
  file.writeString(kSection, kUsbDevice, defaults.usbDevice);
}

int startLanguage(const MainDefaults& defaults) { return defaults.language == 1 ? 1 : 0; }

}  // namespace ombrel
