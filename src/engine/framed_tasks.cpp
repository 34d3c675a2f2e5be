// The short tasks: one acknowledged command in the task frame, and raw byte
// sequences, on the link as it is or on the opened link.

#include <functional>

#include "engine/baud.h"
#include "engine/raw_sequences.h"
#include "engine/task_handlers.h"
#include "platform/errors.h"
#include "protocol/codes.h"
#include "texts/message_texts.h"

namespace ombrel {

namespace {

// Opens the link, writes the sequence raw, switches back to DevBaud and
// closes; a sequence that cannot be built fails the task before opening.
void writeOnOpenedLink(TaskRun& run, const std::function<Bytes()>& sequence) {
  // A link that cannot be opened ends the task with its text, as framed
  // tasks do.
  run.recordingFailures([&] {
    const Bytes bytes = sequence();
    run.OpenLink();
    if (!run.WriteLink(bytes)) run.link().refusedWrite();
    run.link().waitUntilWritten(bytes.size());
    run.SwitchBaudRate(run.settings().devBaud);
  });
  // Closed like every other task, so the link is not left open for the next
  // link test to find busy.
  run.closeLinkQuietly();
}

}  // namespace

void runHandler(TaskRun& run, const TaskInfo& task) {
  switch (task.form) {
    case TaskForm::LinkTest:
      linkTest(run);
      break;
    case TaskForm::Acknowledged:
      acknowledgedTask(run, task);
      break;
    case TaskForm::Raw:
      rawTask(run);
      break;
    case TaskForm::HardwareSetting:
      hardwareSetting(run);
      break;
    case TaskForm::PrintLogo:
      printLogo(run);
      break;
    case TaskForm::ProgramUpdate:
      programUpdate(run);
      break;
    case TaskForm::RawProgramTransfer:
      rawProgramTransfer(run);
      break;
    case TaskForm::ListDownload:
      listDownload(run);
      break;
    case TaskForm::MemoryReadBack:
      memoryReadBack(run, task);
      break;
    case TaskForm::BootHandshake:
      bootHandshake(run);
      break;
  }
}

void acknowledgedTask(TaskRun& run, const TaskInfo& task) {
  const TaskRequest& request = run.request();
  Bytes data;
  if (task.data == CommandData::ArgumentByte) data = {static_cast<std::uint8_t>(request.a)};
  if (task.data == CommandData::Payload) data = request.payload;
  const auto first = static_cast<std::uint32_t>(task.argumentsFromTask ? request.a : 0);
  const auto second = static_cast<std::uint32_t>(task.argumentsFromTask ? request.b : 0);

  run.reportCommand(task.command);
  run.inTaskFrame(task.restoreRate, [&] {
    run.SendCommand(task.command, first, second, data, 3);
    run.commandAcknowledged();
    run.ReportStatus(messageTexts().text(task.successKey));
    if (task.code == kTaskSetBaudRate) {
      // The printer now listens at the new rate: every later task starts there.
      run.settings().devBaud = rateOfBaudIndex(request.a);
      const int rate = run.settings().devBaud;
      run.parts().owner.post([&host = run.parts().host, rate] { host.devBaudChanged(rate); });
    }
  });
}

void hardwareSetting(TaskRun& run) {
  const TaskRequest& request = run.request();
  writeOnOpenedLink(run, [&] {
    Bytes bytes = raw::hardwareSettingBytes(request.a, request.b);
    if (bytes.empty()) throw ECommonError(Failure::UnknownHardwareSetting, std::to_string(request.a));
    return bytes;
  });
}

void printLogo(TaskRun& run) {
  writeOnOpenedLink(run, [&] { return raw::printLogoBytes(run.request().a); });
}

void rawTask(TaskRun& run) {
  const TaskRequest& request = run.request();
  const bool flowControl = request.code == kTaskSoftwareFlowControl || request.code == kTaskHardwareFlowControl;
  run.recordingFailures(
      [&] { run.SendRaw(raw::rawTaskBytes(request.code, request.payload), flowControl ? "sMsg25" : nullptr); });
}

}  // namespace ombrel
