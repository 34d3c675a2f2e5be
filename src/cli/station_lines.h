#pragma once

// What ombrelctl's station shows, from every slot at once: one whole line
// at a time, so that the lines of two slots never run into each other. As
// plain lines, each slot's prefixed with its port (and label) when several
// may run; with --json, standard output is one JSON object a line:
//   {"event":"arrived","port":P,"identity":I}
//   {"event":"action","port":P,"action":A,"state":"started"|"ended","ok":B,"text":T}
//   {"event":"progress","port":P,"done":N,"total":N}
//   {"event":"row","port":P,...the provisioning row's fields}
//   {"event":"left","port":P}
// with "label" beside "port" when the port has one. Message texts go to
// standard error in both forms.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

#include "cli/cli_front_end.h"
#include "commands/port_names.h"

namespace ombrel::cli {

class StationLines {
 public:
  // `prefixed`: plain lines name their slot's port.
  StationLines(std::FILE* out, std::FILE* err, bool json, bool prefixed, PortNames names, int language);

  bool json() const { return json_; }
  // A line of the station's own, of no slot (on standard error with --json).
  void notice(const std::string& text);
  void arrived(const std::string& port, const std::string& identity);
  void left(const std::string& port);
  void status(const std::string& port, const std::string& text);
  void message(const std::string& port, const std::string& text);
  void action(const std::string& port, const std::string& name, bool started, bool ok, const std::string& text);
  void progress(const std::string& port, std::int64_t done, std::int64_t total);
  // The printer's row (printerRowLine) and whether it passed.
  void row(const std::string& port, const std::string& identity, const std::string& rowLine, bool passed);

 private:
  void line(std::FILE* stream, const std::string& port, const std::string& text);
  void event(const std::string& port, const char* name, const std::string& fields);

  std::mutex mutex_;  // one line at a time
  std::FILE* out_;
  std::FILE* err_;
  const bool json_;
  const bool prefixed_;
  const PortNames names_;
  const int language_;
};

// One slot's view: its front end's texts as the station's lines of its port,
// its progress at most five times a second.
class SlotLines final : public SlotView {
 public:
  SlotLines(StationLines& lines, std::string port) : lines_(lines), port_(std::move(port)) {}

  void status(const std::string& text) override { lines_.status(port_, text); }
  void message(const std::string& text) override { lines_.message(port_, text); }
  void progress(const TransferProgress& progress) override;
  void action(const std::string& name, bool started, bool ok, const std::string& text) override {
    lines_.action(port_, name, started, ok, text);
  }

 private:
  StationLines& lines_;
  const std::string port_;
  std::mutex mutex_;
  std::chrono::steady_clock::time_point lastProgress_{};
};

}  // namespace ombrel::cli
