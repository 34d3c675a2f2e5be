#pragma once

// Which line's server a station uses, kept in [ProductionLine] of the
// settings file: Database= (a libpq connection string or URI; empty: the
// station keeps its numbers and rows locally), Station= (default the host
// name) and Line= (default "default"). A connection string that names a
// password is refused wherever it is given, so that no password is stored
// in sysconfig.ini, shown in the process list or printed: libpq reads it
// from the password file or the service file instead.

#include <cstdint>
#include <optional>
#include <string>

#include "commands/number_store.h"
#include "texts/ini_file.h"

namespace ombrel {

struct LineServerSettings {
  std::string database;  // empty: no server
  std::string station;
  std::string line;
};

// This computer's host name, the station's name unless one is given.
std::string hostStationName();

LineServerSettings loadLineServerSettings(const IniFile& file);
// Writes the three keys into `file` (the caller saves it). Raises
// std::invalid_argument with lineDatabaseRefusal's text, writing nothing,
// for a connection string that names a password.
void saveLineServerSettings(IniFile& file, const LineServerSettings& settings, int language);

// Why `conninfo` may not be used, in `language`; nothing when it may.
std::optional<std::string> lineDatabaseRefusal(const std::string& conninfo, int language);

// Connects to `conninfo` once and runs a trivial statement: nothing when it
// worked, else libpq's or the server's message.
std::optional<std::string> lineDatabaseTestFailure(const std::string& conninfo);

// Records a rework write of `number` (a printer back from repair written its
// number again) on the line of `server`, as station `server.station`: nothing
// when recorded, else why the write may not go out, in `language`: the line
// never handed the number out to a printer, or its server cannot be reached
// (libpq's message after the station's text). Without a server a rework is
// refused: only the line knows which numbers it handed out.
std::optional<std::string> reworkRefusal(const std::optional<LineServer>& server, std::uint32_t number, int language);
// The same for the number typed in the serial number's box, refused when it
// is no serial number at all.
std::optional<std::string> reworkRefusal(const std::optional<LineServer>& server, const std::string& typed,
                                         int language);

// The server the station takes its numbers from; nothing without Database=.
std::optional<LineServer> lineServerOf(const LineServerSettings& settings);

}  // namespace ombrel
