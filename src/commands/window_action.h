#pragma once

// What a Set button of the parameters window does, as a plain value: either
// the task to start with its command data, or why nothing starts. The desktop
// window and the command line both act on it.

#include <string>
#include <variant>

#include "engine/transfer_job.h"
#include "platform/bytes.h"

namespace ombrel {

struct TaskStart {
  int code = 0;
  int a = 0;
  int b = 0;
  Bytes payload;               // the command data the task sends (PayloadBuffer, PayloadLength)
  TransferJob transfer{};      // file transfers: the file and how to send it
  std::string transferLine{};  // file transfers: the line naming the file (status panel 1)
};

struct Refusal {
  enum class Kind {
    NoChoice,       // a needed list has no item chosen: the window returns silently
    NothingToSend,  // the boxes to send are empty: the window returns silently
    Warning,        // an input rule is broken: the window shows `text` in a message box
    InvalidNumber,  // a text is not a number: the window shows the conversion error
  };
  Kind kind;
  std::string text;  // the list's name, what is empty, the warning, or the conversion error
};

using ActionOutcome = std::variant<TaskStart, Refusal>;

inline Refusal noChoiceIn(const std::string& list) { return {Refusal::Kind::NoChoice, list}; }

}  // namespace ombrel
