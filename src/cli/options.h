#pragma once

// The command line of ombrelctl, parsed with one table of options.

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "engine/engine_host.h"
#include "platform/bytes.h"

namespace ombrel::cli {

// A wrong command line: the text says what is wrong (exit status 2).
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One action: a control name with its words (a check box's new state), or
// "task" with its code, arguments and command data.
struct Action {
  std::string name;
  std::vector<std::string> words;
  std::optional<Bytes> data;
};

struct Options {
  LinkSettings link;
  std::string dir;
  std::string settingsFile;  // empty: DIR/sysconfig.ini
  std::vector<std::pair<std::string, std::string>> sets;
  int language = 0;  // 0 Chinese, 1 English
  // Without --language, ombrelctl speaks the main window's saved language.
  bool languageGiven = false;
  std::optional<std::string> saveAs;  // the answer to the save dialog; none: no file chosen
  bool verify = false;                // downloads are verified, whatever the settings say
  std::string logFile;                // the provisioning log; empty: none
  std::vector<std::string> logos;     // the NV logo list, in order; never stored
  std::optional<int> logoSelect;      // its selected position, from 0; none: no selection
  std::optional<int> logoThreshold;
  bool logoDither = false;
  std::string logoPreview;   // where the selected logo's dots go as a PNG; empty: nowhere
  bool eachArrival = false;  // run the actions on every USB printer that arrives
  bool recipe = false;       // the actions are the production line's saved recipe
  std::optional<int> slots;  // how many arriving printers are set up at once; none: as stored
  bool json = false;         // standard output is one JSON event a line
  // The line's server, station and line; none: as stored in [ProductionLine].
  std::optional<std::string> lineDb;
  std::optional<std::string> station;
  std::optional<std::string> line;
  // The device writes write this number again, recorded as rework.
  std::optional<std::uint32_t> rework;
  bool help = false;
  bool version = false;
  bool listActions = false;  // the manual page's and the completion's list of actions
  bool list = false;         // print the links --link can name, and nothing else
  std::vector<Action> actions;
  // --rows: the day's printers as CSV; rowsDay "YYYY-MM-DD", empty: today.
  bool rows = false;
  std::string rowsDay;
};

Options parseCommandLine(const std::vector<std::string>& args);

extern const char* const kUsage;

}  // namespace ombrel::cli
