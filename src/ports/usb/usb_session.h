#pragma once

// One opened USB printer node and its two threads: what OpenPort builds and
// ClosePort takes down. Unlike the serial port there are no line settings,
// no time-outs and no hang-up notice: a reader or writer that fails ends
// silently and the port stays open until it is closed.

#include <atomic>
#include <memory>
#include <thread>

#include "ports/serial/notice_sink.h"
#include "ports/serial/stop_signal.h"
#include "ports/serial/write_queue.h"
#include "ports/usb/usb_printer_node.h"

namespace ombrel {

class UsbSession {
 public:
  // Starts the reader, then the writer. Raises ECommsError ("Unable to create
  // event", "Unable to create read thread", "Unable to create write thread")
  // with nothing left running.
  UsbSession(UsbPrinterNode node, std::shared_ptr<NoticeSink> sink, std::atomic<bool>& sendQueueEmpty);
  // Raises the stop signal, discards pending input and waits for the reader,
  // then discards pending output and waits for the writer.
  ~UsbSession();
  UsbSession(const UsbSession&) = delete;
  UsbSession& operator=(const UsbSession&) = delete;

  const UsbPrinterNode node;
  WriteQueue queue;

 private:
  void stopThreads();
  void runReader();
  void runWriter();

  const std::shared_ptr<NoticeSink> sink_;
  std::atomic<bool>& sendQueueEmpty_;
  StopSignal stop_;
  std::thread reader_;
  std::thread writer_;
};

}  // namespace ombrel
