#pragma once

#include <string>

#include "engine/engine_host.h"
#include "engine/transfer_job.h"
#include "platform/bytes.h"
#include "platform/errors.h"

namespace ombrel {

// A task request with its own copy of the command data, so nothing a window
// does after StartTask can change what a running task sends.
struct TaskRequest {
  int code = 0;
  int a = 0;
  int b = 0;
  Bytes payload;
  LinkSettings link;        // the main window's link choice when the task was asked for
  std::string linkProblem;  // why that choice could not be read, if it could not
  FailureKind linkProblemKind = FailureKind::None;
  TransferJob transfer;  // file transfer tasks: the file and how to send it
};

}  // namespace ombrel
