#include "linedb/line_db.h"

#include <libpq-fe.h>

#include <array>
#include <utility>

namespace ombrel {

namespace {

struct ResultFree {
  void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultFree>;

struct ConninfoFree {
  void operator()(PQconninfoOption* options) const { PQconninfoFree(options); }
};

// The server's notices ("relation already exists, skipping") are not the
// operator's business.
void dropNotice(void*, const char*) {}

std::string trimmed(const char* message) {
  std::string text = message ? message : "";
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

// Connection errors and an administrator's shutdown mean the server went
// away, not that the statement was wrong.
bool meansServerGone(const std::string& sqlState) {
  return sqlState.starts_with("08") || sqlState == "57P01" || sqlState == "57P02" || sqlState == "57P03";
}

}  // namespace

bool conninfoHoldsPassword(const std::string& conninfo) {
  char* error = nullptr;
  std::unique_ptr<PQconninfoOption, ConninfoFree> options(PQconninfoParse(conninfo.c_str(), &error));
  PQfreemem(error);
  if (!options) return false;
  for (const PQconninfoOption* option = options.get(); option->keyword; ++option) {
    if (std::string(option->keyword) == "password" && option->val && *option->val) return true;
  }
  return false;
}

LineDb::LineDb(std::string conninfo) : conninfo_(std::move(conninfo)) { connect(); }

LineDb::~LineDb() { PQfinish(conn_); }

void LineDb::connect() {
  PQfinish(conn_);
  // A server that does not answer is given up after a few seconds, unless
  // the connection string says otherwise: its own values come later and win.
  // Over TCP, a server whose host vanished during a statement is given up
  // too (data unacknowledged for 10 s, or no answer to keepalives for 20 s),
  // rather than after the system's quarter of an hour.
  const std::array<const char*, 8> keywords{
      "connect_timeout",  "tcp_user_timeout",          "keepalives_idle", "keepalives_interval",
      "keepalives_count", "fallback_application_name", "dbname",          nullptr};
  const std::array<const char*, 8> values{"5",    "10000", "10", "5", "2", "ombrel-setting-tool", conninfo_.c_str(),
                                          nullptr};
  conn_ = PQconnectdbParams(keywords.data(), values.data(), 1);
  if (!conn_) throw LineDbUnreachable("out of memory connecting to the line database");
  if (PQstatus(conn_) != CONNECTION_OK) {
    const std::string message = trimmed(PQerrorMessage(conn_));
    PQfinish(conn_);
    conn_ = nullptr;
    throw LineDbUnreachable(message);
  }
  PQsetNoticeProcessor(conn_, dropNotice, nullptr);
}

std::vector<LineRow> LineDb::exec(const std::string& sql, const std::vector<LineValue>& params) {
  if (!conn_) throw LineDbUnreachable("not connected to the line database");
  std::vector<const char*> values;
  values.reserve(params.size());
  for (const auto& param : params) values.push_back(param ? param->c_str() : nullptr);
  Result result(
      PQexecParams(conn_, sql.c_str(), static_cast<int>(values.size()), nullptr, values.data(), nullptr, nullptr, 0));
  const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
    const char* state = result ? PQresultErrorField(result.get(), PG_DIAG_SQLSTATE) : nullptr;
    const std::string sqlState = state ? state : "";
    const std::string message = trimmed(result ? PQresultErrorMessage(result.get()) : PQerrorMessage(conn_));
    if (PQstatus(conn_) != CONNECTION_OK || meansServerGone(sqlState)) {
      throw LineDbUnreachable(message.empty() ? trimmed(PQerrorMessage(conn_)) : message);
    }
    throw LineDbError(message, sqlState);
  }
  std::vector<LineRow> rows(static_cast<std::size_t>(PQntuples(result.get())));
  const int columns = PQnfields(result.get());
  for (std::size_t row = 0; row < rows.size(); ++row) {
    const int r = static_cast<int>(row);
    rows[row].reserve(static_cast<std::size_t>(columns));
    for (int column = 0; column < columns; ++column) {
      if (PQgetisnull(result.get(), r, column)) {
        rows[row].emplace_back();
      } else {
        rows[row].emplace_back(std::string(PQgetvalue(result.get(), r, column),
                                           static_cast<std::size_t>(PQgetlength(result.get(), r, column))));
      }
    }
  }
  return rows;
}

void LineDb::transaction(const std::function<void()>& body) {
  exec("BEGIN");
  try {
    body();
    exec("COMMIT");
  } catch (...) {
    // A lost connection has rolled back on the server by itself.
    if (good()) {
      try {
        exec("ROLLBACK");
      } catch (const std::exception&) {
      }
    }
    throw;
  }
}

bool LineDb::good() const { return conn_ && PQstatus(conn_) == CONNECTION_OK; }

void LineDb::reconnect() { connect(); }

}  // namespace ombrel
