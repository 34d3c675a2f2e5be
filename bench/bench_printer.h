#pragma once

// The virtual printer of a benchmark: starting it, and a raw UDP socket to
// it for the reference ping-pongs.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdint>
#include <regex>
#include <stdexcept>
#include <string>

#include "support/child_process.h"

namespace ombrel::bench {

// Its first line names where it listens; `pattern`'s first group is returned.
inline std::string startPrinter(test_support::ChildProcess& printer, const std::string& pattern) {
  const auto ready = printer.readLine(std::chrono::seconds(10));
  std::smatch match;
  if (!ready || !std::regex_match(*ready, match, std::regex(pattern))) {
    throw std::runtime_error("the virtual printer did not start");
  }
  return match[1];
}

// A UDP socket connected to the printer on 127.0.0.1:port.
inline int connectedUdpSocket(int port) {
  const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  ::inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
  ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  return fd;
}

}  // namespace ombrel::bench
