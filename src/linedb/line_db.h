#pragma once

// One connection to the line's PostgreSQL server. Every statement is sent
// with its values as parameters, never spliced into its text. A server that
// cannot be reached, or a connection lost under a statement, raises
// LineDbUnreachable; a statement the server refuses raises LineDbError with
// its SQLSTATE. One LineDb is used by one thread at a time.

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

struct pg_conn;

namespace ombrel {

class LineDbUnreachable : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class LineDbError : public std::runtime_error {
 public:
  LineDbError(const std::string& text, std::string sqlState)
      : std::runtime_error(text), sqlState_(std::move(sqlState)) {}
  // The server's five-character code, e.g. "42501" for a missing privilege.
  const std::string& sqlState() const { return sqlState_; }

 private:
  std::string sqlState_;
};

// A value or SQL NULL, as sent and as received.
using LineValue = std::optional<std::string>;
using LineRow = std::vector<LineValue>;

// Whether a libpq connection string or URI names a password. A text libpq
// cannot parse counts as holding none; connecting reports what is wrong with it.
bool conninfoHoldsPassword(const std::string& conninfo);

class LineDb {
 public:
  // Connects; raises LineDbUnreachable with libpq's message when it cannot.
  explicit LineDb(std::string conninfo);
  ~LineDb();
  LineDb(const LineDb&) = delete;
  LineDb& operator=(const LineDb&) = delete;

  // Runs one statement with `params` as $1, $2, ... and returns its rows.
  std::vector<LineRow> exec(const std::string& sql, const std::vector<LineValue>& params = {});
  // Runs `body` between BEGIN and COMMIT; rolls back and raises again when
  // it raises. Keep it short: no device write happens inside one.
  void transaction(const std::function<void()>& body);

  // Whether the connection is still up as far as libpq knows.
  bool good() const;
  // Connects again with the same connection string; raises LineDbUnreachable.
  void reconnect();

 private:
  void connect();
  std::string conninfo_;
  pg_conn* conn_ = nullptr;
};

}  // namespace ombrel
