#pragma once

// The numbered tasks and what each one is made of.

#include <cstdint>

namespace ombrel {

enum class TaskForm {
  LinkTest,            // task 1
  Acknowledged,        // one framed command with acknowledgement, in the task frame
  Raw,                 // raw bytes on the link as it is, no reply
  BootHandshake,       // task 28: the boot loader's byte until it answers
  HardwareSetting,     // task 23: three raw bytes on the opened link
  PrintLogo,           // task 17: print a stored logo, four raw bytes on the opened link
  ProgramUpdate,       // task 4: the file in command-51 blocks through the printer's loader
  RawProgramTransfer,  // task 25: the file as a raw stream behind a six-byte head
  ListDownload,        // tasks 3 and 7: each file of the list in addressed command-51 blocks
  MemoryReadBack,      // tasks 2 and 16: a range of printer memory, read with command 52, into a file
};

// Where an acknowledged command takes its data from.
enum class CommandData {
  None,          // no data
  ArgumentByte,  // one byte: the task's first argument
  Payload,       // the command data the window prepared
};

struct TaskInfo {
  int code;
  TaskForm form;
  const char* name;           // what the task does, for messages
  std::uint16_t command = 0;  // acknowledged tasks: the command number
  CommandData data = CommandData::None;
  bool argumentsFromTask = false;    // send the task's a and b as the two arguments
  const char* successKey = nullptr;  // message text reported after success
  bool restoreRate = true;           // end by switching the printer back to DevBaud
};

// The task of `code`, or nullptr for a code outside 1..43 (no handler runs).
const TaskInfo* findTask(int code);

}  // namespace ombrel
