#pragma once

// Section MainDefault of sysconfig.ini: the main window's link choice that
// survives a restart. Besides the three keys the other system reads, the
// serial port, both rates and the USB printer are kept under keys of their
// own, which that system ignores. The network port is not kept.

#include <string>

#include "texts/ini_file.h"

namespace ombrel {

struct MainDefaults {
  std::string ipAddress = "192.168.1.87";
  int language = 0;  // 0 Chinese, 1 English
  int tranMode = 0;  // 0 serial, 1 network, 2 USB, 3 parallel
  // Empty: not stored, the window keeps its own choice.
  std::string comName;
  std::string devBaud;
  std::string tranBaud;
  std::string usbDevice;
};

// Missing keys (or a missing file) give the defaults above; a TranMode
// outside 0..3 is returned as stored, for the window to ignore.
MainDefaults loadMainDefaults(const IniFile& file);
// Writes the keys into `file`; the caller saves it.
void storeMainDefaults(IniFile& file, const MainDefaults& defaults);

// The language the main window starts in: 1 English for a stored 1; any other
// value chooses no item of its language list, which reads as Chinese (0).
int startLanguage(const MainDefaults& defaults);

}  // namespace ombrel
