#pragma once

// Sends a station's provisioning log to the line's server. Every row is in
// the log first; what has gone up is kept as the length of the log sent, in
// a small file beside it (provisioning.jsonl.sent, replaced whole), so that
// after the server was away or the station restarted only the missing rows
// are sent. Each row goes with its row id, so a row sent twice (the mark
// lost in a crash) is still in the table once.

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>

#include "commands/number_store.h"
#include "linedb/line_db.h"

namespace ombrel {

// Sends the log's rows past the sent mark and moves the mark. Lines written
// before rows had ids are not sent. Raises LineDbUnreachable (the mark
// holds what did go up), LineDbError, and ECommonError when the mark
// cannot be saved. Returns how many rows were sent.
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

}  // namespace ombrel
