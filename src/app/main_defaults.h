#pragma once

// Section MainDefault of sysconfig.ini: the main window's link choice that
// survives a restart. Port, serial port name and rates are not kept.

#include <string>

#include "texts/ini_file.h"

namespace ombrel::app {

struct MainDefaults {
  std::string ipAddress = "192.168.1.87";
  int language = 0;  // 0 Chinese, 1 English
  int tranMode = 0;  // 0 serial, 1 network, 2 USB, 3 parallel
};

// Missing keys (or a missing file) give the defaults above; a TranMode
// outside 0..3 is returned as stored, for the window to ignore.
MainDefaults loadMainDefaults(const IniFile& file);
// Writes the three keys into `file`; the caller saves it.
void storeMainDefaults(IniFile& file, const MainDefaults& defaults);

}  // namespace ombrel::app
