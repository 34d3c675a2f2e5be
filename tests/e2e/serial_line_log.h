#pragma once

// What the virtual printer saw on a pseudo-terminal, as short lines that
// tests compare exactly, and the frames every serial task exchanges.

#include <initializer_list>
#include <regex>
#include <string>
#include <vector>

#include "e2e/virtual_printer.h"

namespace ombrel::test_support {

// What happened on the line, in order: "open", "close", "rate 115200",
// "rx frame: 02 00 ...", "tx reply: 02 00 ...", "rx noise: ...".
inline std::vector<std::string> lineLog(VirtualPrinter& printer) {
  // Stopping makes the printer log what it still holds.
  printer.stop();
  std::vector<std::string> out;
  for (const auto& record : printer.records()) {
    if (record.kind == "rate") {
      std::smatch rate;
      const bool named = std::regex_search(record.decoded, rate, std::regex("\\d+(?= bit/s)"));
      out.push_back("rate " + (named ? rate.str() : record.decoded));
    } else if (record.dir == "line") {
      out.push_back(record.kind);
    } else {
      out.push_back(record.dir + " " + record.kind + ": " + record.bytes);
    }
  }
  return out;
}

using Lines = std::vector<std::string>;

inline const std::string kToRate115200 = "02 00 31 00 04 00 00 00 00 00 00 00 00 00 37 00";
inline const std::string kToRate9600 = "02 00 31 00 00 00 00 00 00 00 00 00 00 00 33 00";
// On a serial line the identification carries its data check byte (0xFF).
inline const std::string kSerialIdentify = "02 00 30 00 00 00 00 00 00 00 00 00 08 00 3A 00 01 02 04 08 10 20 40 80 FF";
inline const std::string kIdentity = "02 00 30 00 00 00 00 00 00 00 00 00 08 00 3A 00 4F 4D 42 38 30 00 00 00 48";
inline const std::string kRestoreDefaults = "02 00 79 00 00 00 00 00 00 00 00 00 00 00 7B 00";

inline Lines answered(const std::string& request, const std::string& reply) {
  return {"rx frame: " + request, "tx reply: " + reply};
}

inline Lines concat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

}  // namespace ombrel::test_support
