#include "options.h"

#include <charconv>
#include <functional>
#include <map>

#include "protocol/frame.h"
#include "printer_model.h"

namespace ombrel::vprinter {

const char* const kUsage =
    "Usage: ombrel-vprinter --udp HOST:PORT | --pty [options]\n"
    "A virtual printer that answers the printer's frame protocol.\n"
    "\n"
    "Transport (one of):\n"
    "  --udp HOST:PORT      answer datagrams on this IPv4 address (PORT 0 = any free port);\n"
    "                       prints \"udp HOST:PORT\" with the real port once ready\n"
    "  --pty                answer on a new pseudo-terminal, the serial port the tool opens;\n"
    "                       prints \"pty PATH\" with the path of its tool side once ready.\n"
    "                       Bytes sent while the tool's port runs at another rate than the\n"
    "                       printer's are line noise and go unanswered\n"
    "  --pace               (with --pty) the line runs at the printer's rate in both\n"
    "                       directions, ten bits a byte, in real time\n"
    "Printer:\n"
    "  --baud N             line rate in bit/s at start (default 9600); command 49 moves it\n"
    "                       once its acknowledgement is out\n"
    "  --boot-after N       boot loader: answer the handshake byte 0x61 with 0x61 once N of\n"
    "                       them have come (without it 0x61 is only logged)\n"
    "  --identity TEXT      answer to command 48, at most 8 bytes (default OMB80)\n"
    "  --memory-size N      memory size in bytes (default 4194304, or the memory file's size\n"
    "                       when larger)\n"
    "  --memory-file FILE   initial memory content from address 0; the rest holds the\n"
    "                       pattern byte(i) = i & 0xFF\n"
    "  --read-block N       most data bytes in a reply to command 52, 0 to 2032 (default 256)\n"
    "  --corrupt-store ADDRESS\n"
    "                       a command-51 write over ADDRESS stores that byte with every\n"
    "                       bit inverted; the rest is stored as sent\n"
    "  --reply-head STYLE   how reply heads are filled: echo (the request's command and\n"
    "                       arguments, default), zero (its command, arguments 0) or fixed\n"
    "                       (always the identify head: command 48, arguments 0)\n"
    "Logs (one line per received unit, per reply sent and, on a pseudo-terminal, per\n"
    "line event: port opened or closed, rate changed; flushed at once; FILE - is\n"
    "standard output, after the ready line):\n"
    "  --log FILE           human-readable\n"
    "  --log-json FILE      one JSON object per line\n"
    "Faults (replies only, combinable):\n"
    "  --silent             never answer\n"
    "  --ignore CMD         never answer command CMD (repeatable)\n"
    "  --drop-every N       drop every N-th reply\n"
    "  --corrupt-check      invert the head check byte of replies\n"
    "  --delay MS           delay every reply by MS protocol milliseconds (divided by\n"
    "                       OMBREL_TIME_SCALE in test builds)\n"
    "  --short-reply        send only the first 15 bytes of each reply\n"
    "  --bad-head           replies begin 0x02 0x01 (head check kept consistent)\n"
    "  --duplicate          send each reply twice, one right after the other\n"
    "  --duplicate-from N   the same from the N-th command on\n"
    "  --reply-from-other-port\n"
    "                       (with --udp) replies leave from a second socket, another\n"
    "                       source port\n"
    "  --reply-from-address HOST\n"
    "                       (with --udp) replies leave from a socket on another IPv4\n"
    "                       address of this machine, e.g. 127.0.0.2\n"
    "  --silent-after N     answer the first N commands, then never again\n"
    "  --hang-up-after N    answer the first N commands; at the next one the printer\n"
    "                       hangs up: on a pseudo-terminal the program closes the line\n"
    "                       and exits 0, on UDP it stays silent from then on\n"
    "  --help               this text\n"
    "  --version            the program's name and version\n"
    "\n"
    "Runs until SIGINT or SIGTERM, then exits 0. Exit 2: bad options or files;\n"
    "exit 1: the socket or pseudo-terminal cannot be set up.\n";

namespace {

constexpr std::uint64_t kMaxMemorySize = 256ull * 1024 * 1024;
constexpr std::uint64_t kMaxLineRate = 4'000'000;
constexpr std::uint64_t kMaxBootAfter = 1'000'000;

// Decimal, or hexadecimal with a 0x prefix.
std::optional<std::uint64_t> parseNumber(const std::string& text, std::uint64_t maximum) {
  int base = 10;
  std::size_t from = 0;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    from = 2;
  }
  std::uint64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data() + from, end, value, base);
  if (text.empty() || error != std::errc() || stop != end || value > maximum) return std::nullopt;
  return value;
}

class Parser {
 public:
  explicit Parser(const std::vector<std::string>& arguments) : arguments_(arguments) {}

  ParsedOptions run();

 private:
  using Handler = std::function<void(const std::string& value)>;

  void fail(std::string message) {
    if (error_.empty()) error_ = std::move(message);
  }
  std::uint64_t number(const std::string& option, const std::string& value, std::uint64_t maximum) {
    const auto parsed = parseNumber(value, maximum);
    if (!parsed) fail(option + ": not a number from 0 to " + std::to_string(maximum) + ": " + value);
    return parsed.value_or(0);
  }
  void udp(const std::string& value);
  void replyHead(const std::string& value);
  std::map<std::string, Handler> valued();
  std::map<std::string, bool*> flags();

  const std::vector<std::string>& arguments_;
  Options options_;
  std::string error_;
};

void Parser::udp(const std::string& value) {
  const std::size_t colon = value.rfind(':');
  if (colon == std::string::npos || colon == 0) {
    fail("--udp: expected HOST:PORT: " + value);
    return;
  }
  options_.udpHost = value.substr(0, colon);
  options_.udpPort = static_cast<std::uint16_t>(number("--udp", value.substr(colon + 1), 65535));
}

void Parser::replyHead(const std::string& value) {
  static const std::map<std::string, ReplyHead> kStyles{
      {"echo", ReplyHead::Echo}, {"zero", ReplyHead::Zero}, {"fixed", ReplyHead::Fixed}};
  const auto style = kStyles.find(value);
  if (style == kStyles.end()) {
    fail("--reply-head: expected echo, zero or fixed: " + value);
  } else {
    options_.replyHead = style->second;
  }
}

std::map<std::string, Parser::Handler> Parser::valued() {
  FaultOptions& faults = options_.faults;
  return {
      {"--udp", [this](const std::string& v) { udp(v); }},
      {"--baud",
       [this](const std::string& v) {
         options_.baud = static_cast<std::uint32_t>(number("--baud", v, kMaxLineRate));
         if (options_.baud == 0) fail("--baud: the rate must be at least 1");
       }},
      {"--boot-after",
       [this](const std::string& v) {
         options_.bootAfter = static_cast<std::uint32_t>(number("--boot-after", v, kMaxBootAfter));
         if (options_.bootAfter == 0u) fail("--boot-after: N must be at least 1");
       }},
      {"--identity",
       [this](const std::string& v) {
         if (v.size() > kIdentitySize) fail("--identity: at most 8 bytes: " + v);
         options_.identity = v;
       }},
      {"--memory-size",
       [this](const std::string& v) { options_.memorySize = number("--memory-size", v, kMaxMemorySize); }},
      {"--memory-file", [this](const std::string& v) { options_.memoryFile = v; }},
      {"--read-block",
       [this](const std::string& v) { options_.readBlock = number("--read-block", v, frame::kMaxReadBlockData); }},
      {"--reply-head", [this](const std::string& v) { replyHead(v); }},
      {"--corrupt-store",
       [this](const std::string& v) {
         options_.corruptStore = static_cast<std::uint32_t>(number("--corrupt-store", v, 0xFFFFFFFFu));
       }},
      {"--reply-from-address", [this](const std::string& v) { options_.replyFromAddress = v; }},
      {"--log", [this](const std::string& v) { options_.textLog = v; }},
      {"--log-json", [this](const std::string& v) { options_.jsonLog = v; }},
      {"--ignore",
       [this, &faults](const std::string& v) {
         faults.ignored.insert(static_cast<std::uint16_t>(number("--ignore", v, 65535)));
       }},
      {"--drop-every",
       [this, &faults](const std::string& v) {
         faults.dropEvery = static_cast<std::uint32_t>(number("--drop-every", v, 1000000));
         if (faults.dropEvery == 0) fail("--drop-every: N must be at least 1");
       }},
      {"--delay",
       [this, &faults](const std::string& v) {
         faults.delayMs = static_cast<std::int64_t>(number("--delay", v, 3600000));
       }},
      {"--duplicate-from",
       [this, &faults](const std::string& v) {
         faults.duplicateFrom = static_cast<std::uint32_t>(number("--duplicate-from", v, 1000000));
         if (faults.duplicateFrom == 0) fail("--duplicate-from: N must be at least 1");
       }},
      {"--silent-after",
       [this, &faults](const std::string& v) {
         faults.silentAfter = static_cast<std::uint32_t>(number("--silent-after", v, 1000000));
       }},
      {"--hang-up-after",
       [this, &faults](const std::string& v) {
         faults.hangUpAfter = static_cast<std::uint32_t>(number("--hang-up-after", v, 1000000));
       }},
  };
}

std::map<std::string, bool*> Parser::flags() {
  FaultOptions& faults = options_.faults;
  return {{"--silent", &faults.silent},
          {"--corrupt-check", &faults.corruptCheck},
          {"--short-reply", &faults.shortReply},
          {"--bad-head", &faults.badHead},
          {"--duplicate", &faults.duplicate},
          {"--reply-from-other-port", &faults.replyFromOtherPort},
          {"--pty", &options_.pty},
          {"--pace", &options_.pace}};
}

ParsedOptions Parser::run() {
  const auto withValue = valued();
  const auto switches = flags();
  for (std::size_t i = 0; i < arguments_.size() && error_.empty(); ++i) {
    std::string name = arguments_[i];
    std::optional<std::string> value;
    if (const std::size_t equals = name.find('='); name.rfind("--", 0) == 0 && equals != std::string::npos) {
      value = name.substr(equals + 1);
      name.resize(equals);
    }
    if (name == "--help") return HelpRequested{};
    if (name == "--version") return VersionRequested{};
    if (const auto flag = switches.find(name); flag != switches.end() && !value) {
      *flag->second = true;
    } else if (const auto handler = withValue.find(name); handler != withValue.end()) {
      if (!value && i + 1 < arguments_.size()) value = arguments_[++i];
      if (!value) {
        fail(name + ": value missing");
      } else {
        handler->second(*value);
      }
    } else {
      fail("unknown option: " + arguments_[i]);
    }
  }
  const bool udp = !options_.udpHost.empty();
  if (udp && options_.pty) fail("--udp and --pty: give one transport");
  if (!udp && !options_.pty) fail("no transport: give --udp HOST:PORT or --pty");
  if (options_.pace && !options_.pty) fail("--pace: only a pseudo-terminal has a line to pace");
  if (options_.faults.replyFromOtherPort && !udp) fail("--reply-from-other-port: only UDP replies have a port");
  if (!options_.replyFromAddress.empty() && !udp) fail("--reply-from-address: only UDP replies have an address");
  if (!options_.replyFromAddress.empty() && options_.faults.replyFromOtherPort) {
    fail("--reply-from-address and --reply-from-other-port: give one reply socket");
  }
  if (!error_.empty()) return OptionError{error_};
  return options_;
}

}  // namespace

ParsedOptions parseOptions(const std::vector<std::string>& arguments) { return Parser(arguments).run(); }

}  // namespace ombrel::vprinter
