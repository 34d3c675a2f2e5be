// The program's one sender of the provisioning log's rows to the line's
// server. Every device write the windows keep and every printer's row of the
// production line window goes up through it, so that no two senders move the
// log's sent mark at once.

#include <tuple>

#include "app/frm_main.h"
#include "app/frm_para.h"
#include "commands/line_server_settings.h"

namespace ombrel::app {

namespace {
constexpr const char* kSettingsFile = "sysconfig.ini";
// The device writes between printers' rows go up at least this often.
constexpr std::chrono::seconds kRowSendPeriod{2};

bool sameSource(const RowsSource& one, const RowsSource& other) {
  return std::tie(one.conninfo, one.station, one.line, one.logPath) ==
         std::tie(other.conninfo, other.station, other.line, other.logPath);
}
}  // namespace

RowSender* TFrmPara::rowSender() {
  const RowsSource source = rowsSourceOf(mainWindow_.appDir() + kSettingsFile, provisioningLog_.path());
  // The sender of another server, line or station goes first: it sends its
  // last rows and stops before the new one starts from the same mark.
  if (rowSender_ && !sameSource(source, rowsSentTo_)) {
    rowProblemCheck_.stop();
    rowSender_.reset();
  }
  // A password in the connection string is refused where it is set.
  if (source.conninfo.empty() || conninfoHoldsPassword(source.conninfo)) return nullptr;
  if (!rowSender_) {
    rowSender_ = std::make_unique<RowSender>(source.logPath, LineServer{source.conninfo, source.line, source.station},
                                             language(), kRowSendPeriod);
    rowsSentTo_ = source;
    rowProblemCheck_.start(kRowSendPeriod);
  }
  return rowSender_.get();
}

void TFrmPara::showRowSendProblem() {
  const std::string problem = rowSender_ ? rowSender_->problem() : std::string();
  // Said once, not at every send, until sending works again.
  if (problem == shownRowProblem_) return;
  shownRowProblem_ = problem;
  if (!problem.empty()) mainWindow_.messageBoxes().warning(problem);
}

}  // namespace ombrel::app
