#include "cli/station_lines.h"

#include <nlohmann/json.hpp>

#include "commands/recipe_texts.h"

namespace ombrel::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr std::chrono::milliseconds kProgressInterval{200};

std::string jsonLine(const Json& object) { return object.dump(-1, ' ', false, Json::error_handler_t::replace); }

}  // namespace

StationLines::StationLines(std::FILE* out, std::FILE* err, bool json, bool prefixed, PortNames names, int language)
    : out_(out), err_(err), json_(json), prefixed_(prefixed), names_(std::move(names)), language_(language) {}

void StationLines::line(std::FILE* stream, const std::string& port, const std::string& text) {
  const std::string whole = prefixed_ && !port.empty() ? portWithLabel(names_, port) + ": " + text : text;
  std::lock_guard lock(mutex_);
  std::fprintf(stream, "%s\n", whole.c_str());
  std::fflush(stream);
}

// `fields`: the event's own fields as a JSON object's text.
void StationLines::event(const std::string& port, const char* name, const std::string& fields) {
  Json object{{"event", name}, {"port", port}};
  if (const auto label = names_.find(port); label != names_.end()) object["label"] = label->second;
  const Json own = Json::parse(fields);
  for (const auto& [key, value] : own.items()) object[key] = value;
  const std::string text = jsonLine(object);
  std::lock_guard lock(mutex_);
  std::fprintf(out_, "%s\n", text.c_str());
  std::fflush(out_);
}

void StationLines::notice(const std::string& text) { line(json_ ? err_ : out_, {}, text); }

void StationLines::arrived(const std::string& port, const std::string& identity) {
  if (!json_) return line(out_, port, printerArrivedText(identity, language_));
  event(port, "arrived", jsonLine(Json{{"identity", identity}}));
}

void StationLines::left(const std::string& port) {
  if (json_) event(port, "left", "{}");
}

// With --json a status text is carried by its action's end.
void StationLines::status(const std::string& port, const std::string& text) {
  if (!json_) line(out_, port, text);
}

void StationLines::message(const std::string& port, const std::string& text) { line(err_, port, text); }

void StationLines::action(const std::string& port, const std::string& name, bool started, bool ok,
                          const std::string& text) {
  if (!json_) return;
  Json fields{{"action", name}, {"state", started ? "started" : "ended"}};
  if (!started) {
    fields["ok"] = ok;
    fields["text"] = text;
  }
  event(port, "action", jsonLine(fields));
}

void StationLines::progress(const std::string& port, std::int64_t done, std::int64_t total) {
  if (json_) event(port, "progress", jsonLine(Json{{"done", done}, {"total", total}}));
}

void StationLines::row(const std::string& port, const std::string& identity, const std::string& rowLine, bool passed) {
  if (!json_) return line(out_, port, printerSetUpText(identity, passed, language_));
  if (!rowLine.empty()) event(port, "row", rowLine);
}

void SlotLines::progress(const TransferProgress& progress) {
  if (progress.phase == TransferPhase::Ended) return;
  {
    const auto now = std::chrono::steady_clock::now();
    std::lock_guard lock(mutex_);
    if (now - lastProgress_ < kProgressInterval) return;
    lastProgress_ = now;
  }
  lines_.progress(port_, progress.done, progress.total);
}

}  // namespace ombrel::cli
