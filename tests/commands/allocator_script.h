#pragma once

// The serial number allocator's rules as scripts of words, run alike on a
// station's own journal and on the line's server.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "commands/recipe_texts.h"
#include "commands/serial_allocator.h"
#include "settings/para_control_state.h"
#include "settings/temp_dir.h"

namespace ombrel::testing {

inline constexpr int kScriptLanguage = 1;

// DeviceSerialNo and its direction ("+", "-", or "" for neither checked).
inline ParaControlState serialControls(const std::string& serial, const std::string& direction) {
  ParaControlState controls;
  controls.setText("edt_DeviceSerialNo", serial);
  if (direction == "+") controls.setChecked("rb_Plus", true);
  if (direction == "-") controls.setChecked("rb_Minus", true);
  return controls;
}

// A station's allocator on `appDir`: on its own journal, or on the line's server.
inline std::unique_ptr<SerialAllocator> stationAllocator(const std::string& appDir, const std::string& serial,
                                                         const std::string& direction,
                                                         const std::optional<LineServer>& server) {
  const ParaControlState controls = serialControls(serial, direction);
  return server ? std::make_unique<SerialAllocator>(appDir, controls, kScriptLanguage, *server)
                : std::make_unique<SerialAllocator>(appDir, controls, kScriptLanguage);
}

// Runs a script of words on an allocator of a fresh directory (holding
// `journal` as its serialnumbers.journal unless that is null) and gives what
// they show, one word each: "t" takes (the number, or "none"), "c=N", "g=N"
// and "u=N" end N committed, given back or unknown, "next" is nextText(),
// "restart=S" kills the allocator (destroyed without ending what it holds)
// and starts another with DeviceSerialNo S, "abandoned" lists what that one
// found held ("abandoned:N,"), "second" starts another beside it ("locked").
// A start or step that raises ends the script with "error-naming-journal"
// when the text names the journal, else "error".
inline std::string runAllocatorScript(const std::optional<LineServer>& server, const char* journal,
                                      const std::string& serial, const std::string& direction,
                                      const std::string& script) {
  TempDir dir;
  const std::string appDir = dir.path().string() + "/";
  if (journal != nullptr) writeFile(dir / "serialnumbers.journal", journal);
  const std::map<std::string, NumberEnd> ends{
      {"c", NumberEnd::Committed}, {"g", NumberEnd::GivenBack}, {"u", NumberEnd::Unknown}};
  std::ostringstream shown;
  try {
    auto numbers = stationAllocator(appDir, serial, direction, server);
    std::istringstream words(script);
    for (std::string word; words >> word;) {
      const std::string argument = word.substr(word.find('=') + 1);
      if (const auto end = ends.find(word.substr(0, word.find('='))); end != ends.end()) {
        numbers->end(static_cast<std::uint32_t>(std::stoul(argument)), end->second);
      } else if (word == "t") {
        const auto taken = numbers->take("1-1");
        shown << (taken ? std::to_string(*taken) : "none") << ' ';
      } else if (word == "next") {
        shown << numbers->nextText() << ' ';
      } else if (word.starts_with("restart=")) {
        numbers.reset();
        numbers = stationAllocator(appDir, argument, direction, server);
      } else if (word == "abandoned") {
        shown << "abandoned:";
        for (const std::uint32_t lost : numbers->abandoned()) shown << lost << ',';
        shown << ' ';
      } else if (word == "second") {
        try {
          stationAllocator(appDir, serial, direction, server);
          shown << "not-locked ";
        } catch (const StationLocked& locked) {
          shown << (locked.what() == stationLockedText(appDir, kScriptLanguage) ? "locked " : "locked-wrong-text ");
        }
      }
    }
  } catch (const std::runtime_error& error) {
    const bool named = std::string(error.what()).find(appDir + "serialnumbers.journal") != std::string::npos;
    shown << (named ? "error-naming-journal " : "error ");
  }
  std::string text = shown.str();
  if (!text.empty()) text.pop_back();
  return text;
}

}  // namespace ombrel::testing
