#include "commands/serial_allocator.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "commands/recipe_texts.h"
#include "commands/serial_journal.h"
#include "platform/file_replace.h"

namespace ombrel {

namespace {

constexpr const char* kJournalName = "serialnumbers.journal";
constexpr const char* kLockName = "serialnumbers.lock";

// As steppedSerialNumber reads the pair: "-" wins when both are checked.
int stepOf(const ParaControls& controls) {
  if (controls.checked("rb_Minus")) return -1;
  return controls.checked("rb_Plus") ? 1 : 0;
}

bool inRange(std::int64_t number) { return number >= 0 && number <= kLastSerialNumber; }

// The journal of an earlier station, or nothing when there is none.
std::optional<SerialJournal> readJournal(const std::string& path) {
  std::error_code missing;
  if (!std::filesystem::exists(path, missing) && !missing) return std::nullopt;
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  if (!file) throw std::runtime_error("Cannot read the serial number journal " + path);
  auto journal = parseJournal(text.str());
  if (!journal) throw std::runtime_error("The serial number journal " + path + " is damaged");
  return journal;
}

// Held for the allocator's life; flock conflicts across open files, so a
// second allocator of this same process is kept off as well.
int lockDirectory(const std::string& appDir, int language) {
  const std::string path = appDir + kLockName;
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) throw std::runtime_error("Cannot open the station lock " + path + ": " + std::strerror(errno));
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return fd;
  const int error = errno;
  ::close(fd);
  if (error == EWOULDBLOCK) throw StationLocked(stationLockedText(appDir, language));
  throw std::runtime_error("Cannot lock the station lock " + path + ": " + std::strerror(error));
}

}  // namespace

std::optional<std::string> serialNumberRefusal(const ParaControls& controls, int language) {
  const std::string serial = controls.text("edt_DeviceSerialNo");
  if (serial.empty()) return serialNumberEmptyText(language);
  if (serial.find_first_not_of("0123456789") != std::string::npos) return serialNumberNotANumberText(serial, language);
  const int step = stepOf(controls);
  if (step == 0) return serialDirectionMissingText(language);
  const auto number = parseSerialNumber(serial);
  if (!number || !inRange(static_cast<std::int64_t>(*number) + step)) {
    return serialNumberLeavesRangeText(serial, language);
  }
  return std::nullopt;
}

NumberEnd numberEndOf(const TaskOutcome& outcome) {
  if (outcome.commandAcknowledged) return NumberEnd::Committed;
  return outcome.commandSent ? NumberEnd::Unknown : NumberEnd::GivenBack;
}

struct SerialAllocator::State {
  SerialJournal journal;
  std::vector<std::uint32_t> abandoned;

  // The given-back number first in the direction of the steps, so that the
  // numbers stay in order.
  std::optional<std::uint32_t> firstGivenBack() const {
    if (journal.givenBack.empty()) return std::nullopt;
    return journal.step < 0 ? *journal.givenBack.rbegin() : *journal.givenBack.begin();
  }
};

SerialAllocator::SerialAllocator(const std::string& appDir, const ParaControls& controls, int language)
    : journalPath_(appDir + kJournalName), state_(std::make_unique<State>()) {
  if (const auto refused = serialNumberRefusal(controls, language)) throw std::runtime_error(*refused);
  const std::uint32_t shown = *parseSerialNumber(controls.text("edt_DeviceSerialNo"));
  const int step = stepOf(controls);
  lockFd_ = lockDirectory(appDir, language);
  try {
    SerialJournal& journal = state_->journal;
    journal = {shown, step, {}, {}};
    if (auto earlier = readJournal(journalPath_)) {
      // What an earlier station held when it was killed may have reached its
      // printer: never handed out again.
      state_->abandoned.assign(earlier->held.begin(), earlier->held.end());
      earlier->held.clear();
      // The settings may not have been saved after the journal was written:
      // any number the journal knows means it goes on.
      const auto& abandoned = state_->abandoned;
      const bool known = earlier->next == shown || earlier->givenBack.contains(shown) ||
                         std::find(abandoned.begin(), abandoned.end(), shown) != abandoned.end();
      if (known && earlier->step == step) journal = std::move(*earlier);
    }
    std::lock_guard lock(mutex_);
    writeJournal();
  } catch (...) {
    ::close(lockFd_);
    throw;
  }
}

SerialAllocator::~SerialAllocator() { ::close(lockFd_); }

std::vector<std::uint32_t> SerialAllocator::abandoned() const {
  std::lock_guard lock(mutex_);
  return state_->abandoned;
}

std::optional<std::uint32_t> SerialAllocator::take() {
  std::lock_guard lock(mutex_);
  const SerialJournal before = state_->journal;
  SerialJournal& journal = state_->journal;
  std::uint32_t number = 0;
  if (const auto givenBack = state_->firstGivenBack()) {
    number = *givenBack;
    journal.givenBack.erase(number);
  } else if (inRange(journal.next + journal.step)) {
    // The last number is not handed out: the device write refuses a number
    // whose step leaves the range.
    number = static_cast<std::uint32_t>(journal.next);
    journal.next += journal.step;
  } else {
    return std::nullopt;
  }
  journal.held.insert(number);
  try {
    writeJournal();
  } catch (...) {
    journal = before;
    throw;
  }
  return number;
}

void SerialAllocator::end(std::uint32_t number, NumberEnd end) {
  std::lock_guard lock(mutex_);
  SerialJournal& journal = state_->journal;
  if (journal.held.erase(number) == 0) return;
  if (end == NumberEnd::GivenBack) journal.givenBack.insert(number);
  try {
    writeJournal();
  } catch (const std::runtime_error&) {
    // The journal still holds the number, which a restart takes as
    // abandoned: never handed out twice. The next take() writes it whole.
  }
}

std::string SerialAllocator::nextText() const {
  std::lock_guard lock(mutex_);
  if (const auto givenBack = state_->firstGivenBack()) return std::to_string(*givenBack);
  return std::to_string(state_->journal.next);
}

void SerialAllocator::writeJournal() const {
  try {
    replaceFileWith(journalPath_, journalText(state_->journal));
  } catch (const std::exception& error) {
    throw std::runtime_error("Cannot write the serial number journal " + journalPath_ + ": " + error.what());
  }
}

}  // namespace ombrel
