#include "cli/options.h"

#include <charconv>
#include <functional>

#include "commands/slot_queue.h"
#include "settings/para_layout.h"

namespace ombrel::cli {

const char* const kUsage =
    "Usage: ombrelctl [options] ACTION...\n"
    "  --link serial:PORT | net:HOST[:PORT] | usb:IDENTITY[@PORT] | usb:@PORT\n"
    "                      the link to the printer (net port defaults to 5100; a USB\n"
    "                      port, e.g. 1-1.2, names the printer plugged in there)\n"
    "  --dev-baud N        the rate the printer is set to (default 9600)\n"
    "  --tran-baud N       the rate used during a task (default 115200)\n"
    "  --dir DIR           program directory: debug.log, sysconfig.ini, *.lng\n"
    "  --settings FILE     the parameters window's values (default DIR/sysconfig.ini),\n"
    "                      saved back after the actions\n"
    "  --set KEY=VALUE     one settings key, or a control that no key stores, by name\n"
    "  --language 0|1      0 Chinese, 1 English (default: the main window's language,\n"
    "                      MainDefault Language in DIR/sysconfig.ini)\n"
    "  --save-as FILE      the answer to the save dialog (btn_ReadFont's target file,\n"
    "                      and where task 2 and task 16 save what they read)\n"
    "  --verify            font and logo downloads read their range back and compare it,\n"
    "                      as the box \"Verify after download\" does (VerifyDownload)\n"
    "  --logo FILE         an NV logo picture (BMP); repeated, the list in order\n"
    "  --logo-select N     the selected logo list position, from 0 (none: no selection);\n"
    "                      btn_PrintLogo prints stored logo N+1\n"
    "  --logo-threshold N  logos: a pixel darker than N (0 to 255, default 128) is black\n"
    "  --logo-dither       logos: Floyd-Steinberg dithering instead, for photographs\n"
    "  --logo-preview FILE the selected logo's dots as a PNG, as the printer prints them\n"
    "  --log FILE          provisioning log: one JSON line appended per device write\n"
    "                      (btn_SetDevicePara), written, failed or refused\n"
    "  --each-arrival      run the actions on every USB printer that arrives, each in a\n"
    "                      slot of its own, several at once, until Ctrl-C\n"
    "  --slots N           with --each-arrival: at most N printers at once, 1 to 32\n"
    "                      (default: [ProductionLine] Slots=, else 8)\n"
    "  --json              with --each-arrival: standard output is one JSON object a\n"
    "                      line per event (arrived, action, progress, row, left)\n"
    "  --recipe            run the production line recipe saved by the window instead\n"
    "                      of actions (with --each-arrival: on every arriving printer);\n"
    "                      with --log, each printer's row is logged too\n"
    "  --line-db CONNINFO  the line's PostgreSQL server (a libpq connection string or\n"
    "                      URI, holding no password): device writes take their serial\n"
    "                      numbers from the line's counter (default: [ProductionLine]\n"
    "                      Database=; an empty one: numbers kept locally)\n"
    "  --station NAME      this station's name on the line (default: [ProductionLine]\n"
    "                      Station=, else the host name)\n"
    "  --line NAME         the line whose numbers are taken (default: [ProductionLine]\n"
    "                      Line=, else \"default\")\n"
    "  --rework N          btn_SetDevicePara writes serial number N again (a printer\n"
    "                      back from repair), recorded as rework on the line's server;\n"
    "                      refused for a number the line never handed out; the same as\n"
    "                      --set DeviceSerialNo=N btn_Rework\n"
    "  --rows              the day's printers as CSV (UTF-8 with a byte-order mark), from\n"
    "                      the line's server when one is given, else from the log\n"
    "                      (--log, else DIR/provisioning.jsonl)\n"
    "  --day YYYY-MM-DD    with --rows: the day (default today)\n"
    "  --list              the serial ports and USB printers --link can name, one a line\n"
    "  --help              this text\n"
    "  --version           the program's name and version\n"
    "Actions run in order, each after the task of the previous one has ended:\n"
    "  CONTROL                          the click of a window control, by its name:\n"
    "                                   btn_Test (link test), but_bootIn (boot mode),\n"
    "                                   btn_SetCodepage, btn_SetAllPara, ... (the Set buttons\n"
    "                                   of the parameters window, with its saved values);\n"
    "                                   a check box takes its new state: Chb_CloseWifi=1\n"
    "  task CODE [A [B]] [--data HEX]   a numbered task with raw arguments and command data\n"
    "Exit status: 0 all went well; 1 a task failed; 2 an action refused its input or the\n"
    "command line was wrong, or the line's server could not be reached at the start;\n"
    "3 the link test found no printer.\n";

namespace {

int wholeNumber(const std::string& text, const std::string& what) {
  int value = 0;
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    begin += 2;
    base = 16;
  }
  const auto [stop, error] = std::from_chars(begin, end, value, base);
  if (begin == end || error != std::errc() || stop != end) {
    throw UsageError(what + " must be a whole number, not \"" + text + "\"");
  }
  return value;
}

bool isWholeNumber(const std::string& text) {
  try {
    wholeNumber(text, "");
    return true;
  } catch (const UsageError&) {
    return false;
  }
}

void parseLink(const std::string& text, LinkSettings& link) {
  const auto colon = text.find(':');
  if (colon == std::string::npos || colon + 1 == text.size()) {
    throw UsageError("--link takes serial:PORT, net:HOST[:PORT], usb:IDENTITY[@PORT] or usb:@PORT, not \"" + text +
                     "\"");
  }
  const std::string kind = text.substr(0, colon);
  const std::string rest = text.substr(colon + 1);
  if (kind == "serial") {
    link.transport = Transport::Serial;
    link.comName = rest;
  } else if (kind == "net") {
    link.transport = Transport::Network;
    const auto portColon = rest.rfind(':');
    link.hostAddress = rest.substr(0, portColon);
    link.hostPort = 5100;
    if (portColon != std::string::npos) {
      link.hostPort = wholeNumber(rest.substr(portColon + 1), "The network port");
      if (link.hostPort < 1 || link.hostPort > 65535) throw UsageError("The network port must be 1 to 65535");
    }
  } else if (kind == "usb") {
    link.transport = Transport::Usb;
    link.usbDevice = rest;
  } else {
    throw UsageError("Unknown link kind \"" + kind + "\": use serial, net or usb");
  }
}

struct OptionRule {
  const char* name;
  bool takesValue;
  std::function<void(Options&, const std::string&)> apply;
};

const std::vector<OptionRule>& optionRules() {
  static const std::vector<OptionRule> rules = {
      {"--link", true, [](Options& o, const std::string& v) { parseLink(v, o.link); }},
      {"--dev-baud", true, [](Options& o, const std::string& v) { o.link.devBaud = wholeNumber(v, "--dev-baud"); }},
      {"--tran-baud", true, [](Options& o, const std::string& v) { o.link.tranBaud = wholeNumber(v, "--tran-baud"); }},
      {"--dir", true, [](Options& o, const std::string& v) { o.dir = v; }},
      {"--settings", true, [](Options& o, const std::string& v) { o.settingsFile = v; }},
      {"--set", true,
       [](Options& o, const std::string& v) {
         const auto equals = v.find('=');
         if (equals == std::string::npos || equals == 0) throw UsageError("--set takes KEY=VALUE, not \"" + v + "\"");
         o.sets.emplace_back(v.substr(0, equals), v.substr(equals + 1));
       }},
      {"--language", true,
       [](Options& o, const std::string& v) {
         o.language = wholeNumber(v, "--language");
         o.languageGiven = true;
         if (o.language != 0 && o.language != 1) throw UsageError("--language takes 0 or 1");
       }},
      {"--save-as", true, [](Options& o, const std::string& v) { o.saveAs = v; }},
      {"--verify", false, [](Options& o, const std::string&) { o.verify = true; }},
      {"--log", true, [](Options& o, const std::string& v) { o.logFile = v; }},
      {"--logo", true, [](Options& o, const std::string& v) { o.logos.push_back(v); }},
      {"--logo-select", true,
       [](Options& o, const std::string& v) {
         o.logoSelect = wholeNumber(v, "--logo-select");
         if (*o.logoSelect < 0) throw UsageError("--logo-select takes a list position from 0");
       }},
      {"--logo-threshold", true,
       [](Options& o, const std::string& v) {
         o.logoThreshold = wholeNumber(v, "--logo-threshold");
         // The window's slider range.
         const NumberRange levels = *controlSpec("trk_LogoThreshold").range;
         if (*o.logoThreshold < levels.minimum || *o.logoThreshold > levels.maximum) {
           throw UsageError("--logo-threshold takes " + std::to_string(levels.minimum) + " to " +
                            std::to_string(levels.maximum));
         }
       }},
      {"--logo-dither", false, [](Options& o, const std::string&) { o.logoDither = true; }},
      {"--logo-preview", true, [](Options& o, const std::string& v) { o.logoPreview = v; }},
      {"--each-arrival", false, [](Options& o, const std::string&) { o.eachArrival = true; }},
      {"--slots", true,
       [](Options& o, const std::string& v) {
         o.slots = wholeNumber(v, "--slots");
         if (*o.slots < kMinSlots || *o.slots > kMaxSlots) {
           throw UsageError("--slots takes " + std::to_string(kMinSlots) + " to " + std::to_string(kMaxSlots));
         }
       }},
      {"--json", false, [](Options& o, const std::string&) { o.json = true; }},
      {"--recipe", false, [](Options& o, const std::string&) { o.recipe = true; }},
      {"--line-db", true, [](Options& o, const std::string& v) { o.lineDb = v; }},
      {"--station", true, [](Options& o, const std::string& v) { o.station = v; }},
      {"--line", true, [](Options& o, const std::string& v) { o.line = v; }},
      {"--rework", true,
       [](Options& o, const std::string& v) {
         const int number = wholeNumber(v, "--rework");
         if (number < 0) throw UsageError("--rework takes 0 to 2147483647");
         o.rework = static_cast<std::uint32_t>(number);
       }},
      {"--list", false, [](Options& o, const std::string&) { o.list = true; }},
      {"--help", false, [](Options& o, const std::string&) { o.help = true; }},
      {"--version", false, [](Options& o, const std::string&) { o.version = true; }},
      {"--rows", false, [](Options& o, const std::string&) { o.rows = true; }},
      {"--day", true, [](Options& o, const std::string& v) { o.rowsDay = v; }},
      {"--list-actions", false, [](Options& o, const std::string&) { o.listActions = true; }},
  };
  return rules;
}

// "task CODE [A [B]] [--data HEX]" starting at args[i]; returns the next index.
std::size_t parseTask(const std::vector<std::string>& args, std::size_t i, Options& options) {
  Action action{"task", {}, std::nullopt};
  ++i;
  if (i >= args.size() || !isWholeNumber(args[i])) throw UsageError("task needs a task number");
  while (i < args.size() && action.words.size() < 3 && isWholeNumber(args[i])) {
    action.words.push_back(args[i++]);
  }
  if (i < args.size() && args[i] == "--data") {
    if (i + 1 >= args.size()) throw UsageError("--data needs hex bytes");
    Bytes data;
    if (!parseHex(args[i + 1], data)) throw UsageError("--data takes hex bytes, not \"" + args[i + 1] + "\"");
    action.data = std::move(data);
    i += 2;
  }
  options.actions.push_back(std::move(action));
  return i;
}

}  // namespace

Options parseCommandLine(const std::vector<std::string>& args) {
  Options options;
  std::size_t i = 0;
  while (i < args.size()) {
    const std::string& word = args[i];
    if (word == "task") {
      i = parseTask(args, i, options);
      continue;
    }
    if (word.rfind("--", 0) == 0) {
      std::string name = word;
      std::string value;
      const auto equals = word.find('=');
      const bool inlineValue = equals != std::string::npos;
      if (inlineValue) {
        name = word.substr(0, equals);
        value = word.substr(equals + 1);
      }
      const OptionRule* rule = nullptr;
      for (const auto& candidate : optionRules()) {
        if (name == candidate.name) rule = &candidate;
      }
      if (rule == nullptr) throw UsageError("Unknown option " + name);
      if (rule->takesValue && !inlineValue) {
        if (i + 1 >= args.size()) throw UsageError(name + " needs a value");
        value = args[++i];
      }
      rule->apply(options, value);
      ++i;
      continue;
    }
    // A control action, with its new state when written NAME=VALUE.
    Action action{word, {}, std::nullopt};
    const auto equals = word.find('=');
    if (equals != std::string::npos) {
      action.name = word.substr(0, equals);
      action.words.push_back(word.substr(equals + 1));
    }
    options.actions.push_back(std::move(action));
    ++i;
  }
  return options;
}

}  // namespace ombrel::cli
