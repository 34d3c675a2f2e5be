#include "linedb/line_numbers.h"

namespace ombrel {

namespace {

constexpr int kEnglish = 1;

std::string directionText(int step) { return step < 0 ? "-" : "+"; }

std::string directionRefusedText(const std::string& line, int lineStep, int language) {
  if (language == kEnglish) {
    return "The line " + line + " counts its serial numbers " + (lineStep < 0 ? "down" : "up") +
           ": choose the same direction (" + directionText(lineStep) + ") on this station";
  }
  return "生产线 " + line + " 的序列号" + (lineStep < 0 ? "递减" : "递增") + "：请在本工位选择相同的方向（" +
         directionText(lineStep) + "）";
}

const char* stateOf(LineNumberEnd end) {
  switch (end) {
    case LineNumberEnd::Committed:
      return "committed";
    case LineNumberEnd::GivenBack:
      return "given-back";
    case LineNumberEnd::Unknown:
      break;
  }
  return "unknown";
}

// The first given-back number in the steps' direction, else the counter's.
const char* kNextShown =
    "SELECT COALESCE((SELECT n.number FROM line_numbers n WHERE n.line = c.line AND n.state = 'given-back'"
    " ORDER BY n.number * c.step LIMIT 1), c.next_number) FROM line_counters c WHERE c.line = $1";

}  // namespace

std::int64_t lineNextShown(LineDb& db, const std::string& line) {
  const auto rows = db.exec(kNextShown, {line});
  return rows.empty() || !rows[0][0] ? 0 : std::stoll(*rows[0][0]);
}

void openLineCounter(LineDb& db, const std::string& line, std::int64_t first, int step, int language) {
  db.exec("INSERT INTO line_counters (line, next_number, step) VALUES ($1, $2, $3) ON CONFLICT (line) DO NOTHING",
          {line, std::to_string(first), std::to_string(step)});
  const auto rows = db.exec("SELECT step FROM line_counters WHERE line = $1", {line});
  if (rows.empty() || !rows[0][0]) throw LineDbError("the line " + line + " has no counter", "");
  const int lineStep = std::stoi(*rows[0][0]);
  if (lineStep != step) throw LineDirectionRefused(directionRefusedText(line, lineStep, language));
}

LineTake takeLineNumber(LineDb& db, const std::string& line, const std::string& station, const std::string& slot) {
  LineTake taken;
  db.transaction([&] {
    const auto counter = db.exec("SELECT next_number, step FROM line_counters WHERE line = $1 FOR UPDATE", {line});
    if (counter.empty() || !counter[0][0] || !counter[0][1]) {
      throw LineDbError("the line " + line + " has no counter", "");
    }
    const std::int64_t next = std::stoll(*counter[0][0]);
    const int step = std::stoi(*counter[0][1]);
    db.exec(
        "UPDATE line_numbers SET state = 'unknown', settled_at = now() WHERE line = $1 AND state = 'held'"
        " AND taken_at < now() - make_interval(secs => $2)",
        {line, std::to_string(kLineNumberLease.count())});
    const auto givenBack = db.exec(
        "UPDATE line_numbers SET id = nextval('line_numbers_id_seq'), state = 'held', station = $2, slot = $3,"
        " taken_at = now(), settled_at = NULL WHERE id = (SELECT id FROM line_numbers WHERE line = $1"
        " AND state = 'given-back' ORDER BY number * $4 LIMIT 1) RETURNING number, id",
        {line, station, slot, std::to_string(step)});
    if (!givenBack.empty() && givenBack[0][0]) {
      taken.number = static_cast<std::uint32_t>(std::stoll(*givenBack[0][0]));
      taken.holding = std::stoll(givenBack[0][1].value_or("0"));
    } else if (next + step >= 0 && next + step <= kLineLastNumber) {
      // The last number is not handed out: the device write refuses a
      // number whose step leaves the range.
      const auto inserted = db.exec(
          "INSERT INTO line_numbers (line, number, station, slot, state) VALUES ($1, $2, $3, $4, 'held')"
          " RETURNING id",
          {line, std::to_string(next), station, slot});
      taken.holding = std::stoll(inserted.at(0).at(0).value_or("0"));
      db.exec("UPDATE line_counters SET next_number = $2 WHERE line = $1", {line, std::to_string(next + step)});
      taken.number = static_cast<std::uint32_t>(next);
    }
    taken.nextShown = lineNextShown(db, line);
  });
  return taken;
}

std::int64_t settleLineNumber(LineDb& db, const std::string& line, std::int64_t holding, LineNumberEnd end) {
  db.exec("UPDATE line_numbers SET state = $2, settled_at = now() WHERE id = $1 AND state IN ('held', 'unknown')",
          {std::to_string(holding), stateOf(end)});
  return lineNextShown(db, line);
}

bool recordLineRework(LineDb& db, const std::string& line, const std::string& station, const std::string& slot,
                      std::uint32_t number) {
  return !db.exec(
                "INSERT INTO line_numbers (line, number, station, slot, state, settled_at)"
                " SELECT $1, $2, $3, $4, 'rework', now() WHERE EXISTS (SELECT FROM line_numbers"
                " WHERE line = $1 AND number = $2 AND state IN ('committed', 'unknown')) RETURNING id",
                {line, std::to_string(number), station, slot})
              .empty();
}

}  // namespace ombrel
