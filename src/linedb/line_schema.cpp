#include "linedb/line_schema.h"

#include <vector>

namespace ombrel {

namespace {

constexpr int kEnglish = 1;

// Each version's statements, applied in order from the version found.
const std::vector<std::vector<std::string>>& versionSteps() {
  static const std::vector<std::vector<std::string>> steps{
      {
          "CREATE TABLE line_schema (version integer NOT NULL)",
          "INSERT INTO line_schema (version) VALUES (0)",
          "CREATE TABLE line_counters (line text PRIMARY KEY, next_number bigint NOT NULL,"
          " step integer NOT NULL CHECK (step IN (-1, 1)))",
          "CREATE TABLE line_numbers (id bigserial PRIMARY KEY,"
          " line text NOT NULL REFERENCES line_counters (line), number bigint NOT NULL,"
          " station text NOT NULL, slot text NOT NULL DEFAULT '',"
          " state text NOT NULL CHECK (state IN ('held', 'committed', 'given-back', 'unknown', 'rework')),"
          " taken_at timestamptz NOT NULL DEFAULT now(), settled_at timestamptz)",
          "CREATE UNIQUE INDEX line_numbers_once ON line_numbers (line, number) WHERE state <> 'rework'",
          "CREATE INDEX line_numbers_open ON line_numbers (line, state) WHERE state IN ('held', 'given-back')",
      },
      {
          "CREATE TABLE line_rows (row_id text PRIMARY KEY, station text NOT NULL, line text NOT NULL,"
          " port text NOT NULL DEFAULT '', link text NOT NULL DEFAULT '', identity text NOT NULL DEFAULT '',"
          " serial_number text NOT NULL DEFAULT '', result text NOT NULL,"
          " started_at timestamptz, ended_at timestamptz, row_json jsonb NOT NULL)",
          "CREATE INDEX line_rows_day ON line_rows (line, started_at)",
      },
      {
          // Names this database apart from any other, also from one made
          // again under the same name, for the stations' marks of rows sent.
          "ALTER TABLE line_schema ADD COLUMN database_id text NOT NULL DEFAULT gen_random_uuid()::text",
      },
  };
  return steps;
}

constexpr const char* kInsufficientPrivilege = "42501";

// The role may not create the tables of versions from `from` on.
struct NotPermitted {
  int from;
};

std::string tooNewText(int found, int language) {
  if (language == kEnglish) {
    return "The line database's tables are of version " + std::to_string(found) + ", newer than this program's " +
           std::to_string(kLineSchemaVersion) + ": update the program on this station";
  }
  return "生产线数据库的表为第 " + std::to_string(found) + " 版，比本程序的第 " + std::to_string(kLineSchemaVersion) +
         " 版新：请更新本工位的程序";
}

std::string notPermittedText(const std::string& statements, int language) {
  if (language == kEnglish) {
    return "This station's database role may not create the line database's tables. Have the database's owner run:\n" +
           statements;
  }
  return "本工位的数据库角色无权创建生产线数据库的表。请数据库所有者执行：\n" + statements;
}

// What the owner runs for this station's role: the missing versions and the
// rights on what they made.
std::string statementsToRun(LineDb& db, int from, int to) {
  std::string text;
  for (int version = from; version < to; ++version) {
    for (const std::string& statement : versionSteps()[static_cast<std::size_t>(version)]) text += statement + ";\n";
  }
  text += "UPDATE line_schema SET version = " + std::to_string(to) + ";\n";
  const auto role = db.exec("SELECT quote_ident(current_user)");
  const std::string name = role.empty() || !role[0][0] ? "CURRENT_USER" : *role[0][0];
  text += "GRANT SELECT, INSERT, UPDATE ON line_schema, line_counters, line_numbers" +
          std::string(to >= 2 ? ", line_rows" : "") + " TO " + name + ";\n";
  text += "GRANT USAGE ON SEQUENCE line_numbers_id_seq TO " + name + ";\n";
  return text;
}

}  // namespace

int lineSchemaVersion(LineDb& db) {
  // A query of the catalogue, not to_regclass: that one reads the session's
  // cache, which does not hear of tables another session made while this
  // one waited for the advisory lock.
  const auto exists = db.exec(
      "SELECT EXISTS (SELECT FROM pg_catalog.pg_tables WHERE schemaname = current_schema()"
      " AND tablename = 'line_schema')");
  if (exists.empty() || exists[0][0] != "t") return 0;
  const auto rows = db.exec("SELECT max(version) FROM line_schema");
  return rows.empty() || !rows[0][0] ? 0 : std::stoi(*rows[0][0]);
}

std::string lineDatabaseId(LineDb& db) {
  const auto rows = db.exec("SELECT database_id FROM line_schema LIMIT 1");
  if (rows.empty() || !rows[0][0]) throw LineDbError("The line database's line_schema table holds no row", "");
  return *rows[0][0];
}

void ensureLineSchema(LineDb& db, int language, int version) {
  const int found = lineSchemaVersion(db);
  if (found > kLineSchemaVersion) throw LineSchemaRefused(tooNewText(found, language));
  if (found >= version) return;
  try {
    db.transaction([&] {
      db.exec("SELECT pg_advisory_xact_lock(hashtext($1))", {"ombrel line schema"});
      // Another station may have made them while this one waited for the lock.
      const int now = lineSchemaVersion(db);
      if (now > kLineSchemaVersion) throw LineSchemaRefused(tooNewText(now, language));
      if (now >= version) return;
      try {
        for (int step = now; step < version; ++step) {
          for (const std::string& statement : versionSteps()[static_cast<std::size_t>(step)]) db.exec(statement);
        }
        db.exec("UPDATE line_schema SET version = $1", {std::to_string(version)});
      } catch (const LineDbError& error) {
        if (error.sqlState() != kInsufficientPrivilege) throw;
        throw NotPermitted{now};
      }
    });
  } catch (const NotPermitted& refused) {
    // Read once the spoilt transaction has been rolled back.
    throw LineSchemaRefused(notPermittedText(statementsToRun(db, refused.from, version), language));
  }
}

}  // namespace ombrel
