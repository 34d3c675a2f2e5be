#include "commands/row_upload.h"

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "linedb/line_rows.h"
#include "linedb/line_schema.h"
#include "platform/file_replace.h"

namespace ombrel {

namespace {

std::string markPath(const std::string& logPath) { return logPath + ".sent"; }

// How much of the log has gone up to the database `databaseId` names. A
// mark of another database (Database= moved elsewhere, or the database made
// anew) or of none counts for nothing: the log goes up from its start, and
// the row ids keep what that database already holds from being doubled.
std::size_t readMark(const std::string& logPath, const std::string& databaseId) {
  std::ifstream mark(markPath(logPath));
  unsigned long long sent = 0;
  std::string markedId;
  return mark >> sent >> markedId && markedId == databaseId ? static_cast<std::size_t>(sent) : 0;
}

void writeMark(const std::string& logPath, std::size_t sent, const std::string& databaseId) {
  replaceFileWith(markPath(logPath), std::to_string(sent) + " " + databaseId + "\n");
}

std::string textOf(const nlohmann::json& line, const char* key) {
  const auto found = line.find(key);
  return found != line.end() && found->is_string() ? found->get<std::string>() : std::string();
}

// The table's values of a log line; none for a line without a row id.
std::optional<LineRowValues> rowOfLine(const std::string& text, const std::string& station, const std::string& line) {
  const auto json = nlohmann::json::parse(text, nullptr, false);
  if (!json.is_object() || textOf(json, "row_id").empty()) return std::nullopt;
  const std::string result = json.contains("result") ? textOf(json, "result") : textOf(json, "outcome");
  return LineRowValues{textOf(json, "row_id"),
                       station,
                       line,
                       textOf(json, "port"),
                       textOf(json, "link"),
                       textOf(json, "printer"),
                       textOf(json, "serial_number"),
                       result,
                       textOf(json, "time"),
                       textOf(json, "ended"),
                       text};
}

// Inserts the row; a value the server cannot read (a damaged time) is sent
// again without its times, which the row's line still holds. False when the
// server refuses the row's data even so: a row that can never go up must not
// hold back those after it.
bool insertOrRefused(LineDb& db, LineRowValues& row) {
  const auto dataRefused = [](const LineDbError& error) { return error.sqlState().rfind("22", 0) == 0; };
  try {
    insertLineRow(db, row);
    return true;
  } catch (const LineDbError& error) {
    if (!dataRefused(error)) throw;
  }
  row.started.clear();
  row.ended.clear();
  try {
    insertLineRow(db, row);
    return true;
  } catch (const LineDbError& error) {
    if (!dataRefused(error)) throw;
  }
  return false;
}

}  // namespace

std::size_t sendUnsentRows(LineDb& db, const std::string& logPath, const std::string& station,
                           const std::string& line) {
  std::ifstream log(logPath, std::ios::binary);
  if (!log) return 0;
  std::error_code noSize;
  const auto size = std::filesystem::file_size(logPath, noSize);
  const std::string databaseId = lineDatabaseId(db);
  std::size_t marked = readMark(logPath, databaseId);
  // A log shorter than the mark is another log: it is sent from its start.
  if (noSize || marked > size) marked = 0;
  // Only what follows the mark is read: the log of a year stays on the disk.
  log.seekg(static_cast<std::streamoff>(marked));
  std::stringstream rest;
  rest << log.rdbuf();
  const std::string bytes = rest.str();
  std::size_t sent = 0;
  std::size_t count = 0;
  std::vector<std::string> refused;
  try {
    // Only whole lines: a line being appended waits for the next send.
    for (std::size_t end = bytes.find('\n', sent); end != std::string::npos; end = bytes.find('\n', sent)) {
      if (auto row = rowOfLine(bytes.substr(sent, end - sent), station, line)) {
        if (insertOrRefused(db, *row)) {
          ++count;
        } else {
          refused.push_back(row->rowId);
        }
      }
      sent = end + 1;
    }
  } catch (const LineDbUnreachable&) {
    if (sent != 0) writeMark(logPath, marked + sent, databaseId);
    throw;
  }
  if (sent != 0) writeMark(logPath, marked + sent, databaseId);
  if (!refused.empty()) {
    std::string ids;
    for (const std::string& id : refused) ids += (ids.empty() ? "" : ", ") + id;
    throw std::runtime_error("The line database refused the rows " + ids + " of " + logPath +
                             ": they are kept only there");
  }
  return count;
}

RowUpload::RowUpload(std::string logPath, LineServer server, int language)
    : logPath_(std::move(logPath)), server_(std::move(server)), language_(language) {}

RowUpload::~RowUpload() = default;

bool RowUpload::send() {
  const std::lock_guard lock(mutex_);
  try {
    if (!db_ || !db_->good()) {
      db_.reset();
      auto db = std::make_unique<LineDb>(server_.conninfo);
      ensureLineSchema(*db, language_);
      db_ = std::move(db);
    }
    sendUnsentRows(*db_, logPath_, server_.station, server_.line);
    return true;
  } catch (const LineDbUnreachable&) {
    db_.reset();
    return false;
  }
}

RowSender::RowSender(std::string logPath, LineServer server, int language, std::chrono::milliseconds period)
    : upload_(std::move(logPath), std::move(server), language),
      period_(period),
      thread_([this](const std::stop_token& stop) { run(stop); }) {}

RowSender::~RowSender() { finish(); }

void RowSender::finish() {
  if (!thread_.joinable()) return;
  thread_.request_stop();
  thread_.join();
}

void RowSender::sendSoon() {
  {
    const std::lock_guard lock(mutex_);
    soon_ = true;
  }
  wake_.notify_one();
}

std::string RowSender::problem() const {
  const std::lock_guard lock(mutex_);
  return problem_;
}

void RowSender::run(const std::stop_token& stop) {
  for (;;) {
    {
      std::unique_lock lock(mutex_);
      wake_.wait_for(lock, stop, period_, [this] { return soon_; });
      soon_ = false;
    }
    // The rows of the station's last moments go too.
    std::string problem;
    try {
      upload_.send();
    } catch (const std::exception& error) {
      problem = error.what();
    }
    {
      const std::lock_guard lock(mutex_);
      problem_ = std::move(problem);
    }
    if (stop.stop_requested()) return;
  }
}

}  // namespace ombrel
