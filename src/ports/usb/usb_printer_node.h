#pragma once

// One opened USB printer node (/dev/usb/lpN of the usblp driver). The reader
// and writer threads use its descriptor concurrently; it stays valid until
// the node is destroyed after both have ended. A terminal behind the node
// (the virtual printer's pseudo-terminal in tests) is put in raw mode, so
// that the bytes pass unchanged either way.

#include <optional>
#include <string>

namespace ombrel {

class UsbPrinterNode {
 public:
  // Opens `path` for reading and writing, non-blocking, for this component
  // alone: usblp refuses a second opener itself, and a lock keeps out every
  // other user that locks. Nothing when it cannot be opened.
  static std::optional<UsbPrinterNode> open(const std::string& path);

  UsbPrinterNode(UsbPrinterNode&& other) noexcept;
  UsbPrinterNode& operator=(UsbPrinterNode&&) = delete;
  UsbPrinterNode(const UsbPrinterNode&) = delete;
  UsbPrinterNode& operator=(const UsbPrinterNode&) = delete;
  ~UsbPrinterNode();

  int fd() const { return fd_; }
  // Discards pending input and output where the driver keeps them (a
  // terminal does, usblp does not); nothing is reported.
  void purgeInput() const;
  void purgeOutput() const;
  // Outgoing XON/XOFF flow control on a terminal; usblp has none.
  void setOutXonXoff(bool on) const;

 private:
  explicit UsbPrinterNode(int fd) : fd_(fd) {}
  int fd_;
};

}  // namespace ombrel
