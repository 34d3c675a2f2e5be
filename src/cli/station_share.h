#pragma once

// What the slots of ombrelctl's station share: the settings as loaded, the
// serial numbers of their device writes and the saving of both. Every slot
// works on a copy of the settings of its own; only the serial number goes
// back, as the allocator's next number, and one slot at a time saves.

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "cli/settings_session.h"
#include "commands/serial_allocator.h"

namespace ombrel::cli {

class StationShare {
 public:
  // `allocator` may be null: the station's actions write no serial number.
  StationShare(SettingsSession& settings, SerialAllocator* allocator) : settings_(settings), allocator_(allocator) {}

  // A slot's own copy of the settings as they are now.
  SettingsSession settingsCopy();
  bool numbersAllocated() const { return allocator_ != nullptr; }
  // Null when numbersAllocated() is not.
  SerialAllocator* allocator() const { return allocator_; }
  // A number for one device write, held from now on; nothing when the range
  // is used up. Raises std::runtime_error when the journal cannot be written.
  std::optional<std::uint32_t> takeNumber();
  void endNumber(std::uint32_t number, NumberEnd end);
  // Saves the settings with DeviceSerialNo showing the next number; raises
  // the settings file's error when it cannot.
  void save();

 private:
  void mirrorNextNumber();  // with mutex_ held

  std::mutex mutex_;  // guards settings_ and its file
  SettingsSession& settings_;
  SerialAllocator* const allocator_;
};

}  // namespace ombrel::cli
