// Task 1: does a printer answer on the link the operator chose?

#include "engine/comm_thread.h"
#include "platform/errors.h"

namespace ombrel {

void TCommThread::linkTest() {
  bool found = false;
  const std::string address = link_.hostAddress + ":" + std::to_string(link_.hostPort);
  try {
    switch (link_.transport) {
      case Transport::Network:
        ReportStatus("Checking" + address);
        OpenLink(link_.comName, link_.tranBaud);
        ReportStatus(address + " Found");
        break;
      case Transport::Usb:
        OpenLink(link_.comName, link_.tranBaud);
        break;
      case Transport::Serial:
        ReportStatus("Checking" + link_.comName);
        OpenLink(link_.comName, link_.tranBaud);
        SwitchBaudRate(link_.devBaud);
        ReportStatus(link_.comName + "Found");
        break;
    }
    found = true;
  } catch (const std::exception&) {
    // Any failure only means that no printer answered.
  }
  closeLinkQuietly();
  if (found) {
    notify(kLinkTestSucceeded, 0, {}, true);
  } else {
    SetErrorText(error_text::kConnectingFailed);
    taskResult_ = kTaskFailedWithText;
    notify(kLinkTestFailed, 0, error_text::kConnectingFailed, true);
  }
}

}  // namespace ombrel
