#pragma once

// Sends a station's provisioning log to the line's server. Every row is in
// the log first; what has gone up is kept as the length of the log sent and
// the database it went to, in a small file beside it
// (provisioning.jsonl.sent, replaced whole), so that after the server was
// away or the station restarted only the missing rows are sent, and a
// station pointed at another database sends it the whole log. Each row goes with its row id, so a row sent twice (the
// mark lost in a crash) is still in the table once.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>

#include "commands/number_store.h"
#include "linedb/line_db.h"

namespace ombrel {

// Sends the log's rows past the sent mark and moves the mark. Lines written
// before rows had ids are not sent. Raises LineDbUnreachable (the mark
// holds what did go up), LineDbError, ECommonError when the mark cannot be
// saved, and std::runtime_error naming the rows whose data the server
// refused (the mark has moved past them). Returns how many rows were sent.
std::size_t sendUnsentRows(LineDb& db, const std::string& logPath, const std::string& station, const std::string& line);

// A station's sending: connects when it must, and after a lost server tries
// again at the next send. Several slots may send at once.
class RowUpload {
 public:
  RowUpload(std::string logPath, LineServer server, int language);
  ~RowUpload();
  // Sends what is not on the server yet; false when the server cannot be
  // reached now (the rows wait in the log). Raises what sendUnsentRows does
  // otherwise, and LineSchemaRefused for tables it cannot use.
  bool send();

 private:
  std::string logPath_;
  LineServer server_;
  int language_;
  std::mutex mutex_;  // one send at a time: the connection and the mark
  std::unique_ptr<LineDb> db_;
};

// Sends a station's rows in the background, every `period` and once more
// when it ends, so that the front ends append to the log as before and a
// server that was away gets the rows once it is back.
class RowSender {
 public:
  RowSender(std::string logPath, LineServer server, int language, std::chrono::milliseconds period);
  ~RowSender();
  RowSender(const RowSender&) = delete;
  RowSender& operator=(const RowSender&) = delete;
  // Sends now rather than at the next period.
  void sendSoon();
  // Sends a last time and stops.
  void finish();
  // What the latest send raised beyond a lost server (the tables, the
  // mark); empty while sending works.
  std::string problem() const;

 private:
  void run(const std::stop_token& stop);
  RowUpload upload_;
  std::chrono::milliseconds period_;
  mutable std::mutex mutex_;  // guards soon_ and problem_
  std::condition_variable_any wake_;
  bool soon_ = false;
  std::string problem_;
  std::jthread thread_;  // last: started once the rest is made
};

}  // namespace ombrel
