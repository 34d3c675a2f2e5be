#pragma once

// The task handlers: one function over the task run for each form of task
// (task_table.h), in the file of its form.

#include "engine/task_run.h"
#include "engine/task_table.h"

namespace ombrel {

// Runs the handler of `task`'s form.
void runHandler(TaskRun& run, const TaskInfo& task);

// Task 1 (link_test.cpp).
void linkTest(TaskRun& run);
// One acknowledged command, raw bytes on the link as it is, and raw bytes on
// the opened link (framed_tasks.cpp).
void acknowledgedTask(TaskRun& run, const TaskInfo& task);
void rawTask(TaskRun& run);
void hardwareSetting(TaskRun& run);
void printLogo(TaskRun& run);
// Task 28 (boot_handshake.cpp).
void bootHandshake(TaskRun& run);
// Tasks 4 and 25 (program_update.cpp).
void programUpdate(TaskRun& run);
void rawProgramTransfer(TaskRun& run);
// Tasks 3 and 7, and 2 and 16 (memory_transfer.cpp).
void listDownload(TaskRun& run);
void memoryReadBack(TaskRun& run, const TaskInfo& task);

}  // namespace ombrel
