#pragma once

// The line's tables and their version. Version 1 holds the serial numbers:
//   line_counters (line, next_number, step)
//   line_numbers  (id, line, number, station, slot, state, taken_at, settled_at)
//     state: held, committed, given-back, unknown or rework; a number is in
//     the line once, its rework writes beside it
// version 2 the printers' rows:
//   line_rows (row_id primary key, station, line, port, link, identity,
//              serial_number, result, started_at, ended_at, row_json)
// version 3 a name of the database that no other shares:
//   line_schema (version, database_id) says which version the tables are.

#include <stdexcept>
#include <string>

#include "linedb/line_db.h"

namespace ombrel {

inline constexpr int kLineSchemaVersion = 3;

// The tables cannot be used as they are: a newer version than this program
// knows, or a role that may not create them (its text names the statements
// to run). The text is in the station's language.
class LineSchemaRefused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Creates the tables when absent, or brings an older version up to date,
// in one transaction under an advisory lock, so that two stations starting
// together do not race; does nothing when they are current. `language`: 1
// English, else Chinese. Raises LineSchemaRefused, LineDbUnreachable, LineDbError.
void ensureLineSchema(LineDb& db, int language, int version = kLineSchemaVersion);

// The tables' version; 0 when there are none.
int lineSchemaVersion(LineDb& db);

// The name this line database was given when its tables were made (or
// brought to version 3); another database, or this one made again, has
// another. Raises LineDbUnreachable, LineDbError.
std::string lineDatabaseId(LineDb& db);

}  // namespace ombrel
