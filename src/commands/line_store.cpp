#include "commands/line_store.h"

#include <algorithm>
#include <utility>

#include "commands/recipe_texts.h"
#include "commands/serial_journal.h"
#include "linedb/line_numbers.h"
#include "linedb/line_schema.h"
#include "platform/file_replace.h"

namespace ombrel {

namespace {

LineNumberEnd lineEndOf(NumberEnd end) {
  switch (end) {
    case NumberEnd::Committed:
      return LineNumberEnd::Committed;
    case NumberEnd::GivenBack:
      return LineNumberEnd::GivenBack;
    case NumberEnd::Unknown:
      break;
  }
  return LineNumberEnd::Unknown;
}

// The journal an earlier station process left, or nothing when there is none.
std::optional<LineJournal> readLineJournal(const std::string& path) {
  const auto text = journalFileText(path, "line's number journal");
  if (!text) return std::nullopt;
  auto journal = parseLineJournal(*text);
  if (!journal) throw std::runtime_error("The line's number journal " + path + " is damaged");
  return journal;
}

}  // namespace

LineStore::LineStore(std::string journalPath, LineServer server, std::int64_t first, int step, int language,
                     std::vector<std::uint32_t>& abandoned)
    : journalPath_(std::move(journalPath)), server_(std::move(server)), language_(language) {
  auto earlier = readLineJournal(journalPath_);
  try {
    db_ = std::make_unique<LineDb>(server_.conninfo);
    ensureLineSchema(*db_, language_);
    openLineCounter(*db_, server_.line, first, step, language_);
    if (earlier) {
      journal_ = std::move(*earlier);
      // What a killed station held may have reached its printer: never again.
      for (const auto& [holding, number] : journal_.held) {
        journal_.ended.emplace(holding, LineJournal::Ended{number, NumberEnd::Unknown});
        abandoned.push_back(number);
      }
      journal_.held.clear();
      std::sort(abandoned.begin(), abandoned.end());
      tellEnded();
    }
    shown_ = lineNextShown(*db_, server_.line);
  } catch (const LineDbUnreachable& lost) {
    throw unreachable(lost);
  }
  // Told all: from here on the journal is this line's.
  journal_.line = server_.line;
  writeJournal();
}

std::optional<std::uint32_t> LineStore::take(const std::string& slot) {
  LineTake taken;
  const auto attempt = [&] {
    reconnectIfLost();
    tellEnded();
    taken = takeLineNumber(*db_, server_.line, server_.station, slot);
  };
  try {
    const bool seemedUp = db_->good();
    try {
      attempt();
    } catch (const LineDbUnreachable&) {
      // A connection that was lost while idle is only found out now: one
      // more attempt on a new one, for a server that is back.
      if (!seemedUp) throw;
      db_->reconnect();
      attempt();
    }
  } catch (const LineDbUnreachable& lost) {
    throw unreachable(lost);
  }
  shown_ = taken.nextShown;
  if (!taken.number) return std::nullopt;
  journal_.held.emplace(taken.holding, *taken.number);
  try {
    writeJournal();
  } catch (...) {
    // Not journalled, not written: the server has it back.
    journal_.held.erase(taken.holding);
    try {
      shown_ = settleLineNumber(*db_, server_.line, taken.holding, LineNumberEnd::GivenBack);
    } catch (const std::exception&) {
      // Left held on the server, the lease marks it unknown: never handed out twice.
    }
    throw;
  }
  return taken.number;
}

void LineStore::end(std::uint32_t number, NumberEnd end) {
  auto held = journal_.held.begin();
  while (held != journal_.held.end() && held->second != number) ++held;
  if (held == journal_.held.end()) return;
  journal_.ended.emplace(held->first, LineJournal::Ended{number, end});
  journal_.held.erase(held);
  try {
    writeJournal();
  } catch (const std::runtime_error&) {
    // Told the server below all the same; the next write of the journal is whole.
  }
  try {
    if (db_->good()) tellEnded();
  } catch (const std::exception&) {
    // Kept journalled: told once the server is back.
  }
}

LineDatabaseUnreachable LineStore::unreachable(const LineDbUnreachable& lost) const {
  return LineDatabaseUnreachable(lineDatabaseUnreachableText(language_), lost.what());
}

void LineStore::reconnectIfLost() {
  if (!db_->good()) db_->reconnect();
}

void LineStore::tellEnded() {
  if (journal_.ended.empty()) return;
  while (!journal_.ended.empty()) {
    const auto [holding, ended] = *journal_.ended.begin();
    shown_ = settleLineNumber(*db_, journal_.line, holding, lineEndOf(ended.end));
    journal_.ended.erase(journal_.ended.begin());
  }
  try {
    writeJournal();
  } catch (const std::runtime_error&) {
    // A later write holds it whole; told again, a settled holding stays as it is.
  }
}

void LineStore::writeJournal() const {
  try {
    replaceFileWith(journalPath_, lineJournalText(journal_));
  } catch (const std::exception& error) {
    throw std::runtime_error("Cannot write the line's number journal " + journalPath_ + ": " + error.what());
  }
}

}  // namespace ombrel
