#include "commands/serial_allocator.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "commands/line_store.h"
#include "commands/recipe_texts.h"
#include "commands/serial_journal.h"
#include "linedb/line_numbers.h"
#include "platform/file_replace.h"

namespace ombrel {

namespace {

constexpr const char* kJournalName = "serialnumbers.journal";
constexpr const char* kLockName = "serialnumbers.lock";
constexpr const char* kLineJournalName = "linenumbers.journal";

// As steppedSerialNumber reads the pair: "-" wins when both are checked.
int stepOf(const ParaControls& controls) {
  if (controls.checked("rb_Minus")) return -1;
  return controls.checked("rb_Plus") ? 1 : 0;
}

bool inRange(std::int64_t number) { return number >= 0 && number <= kLastSerialNumber; }

// The journal of an earlier station, or nothing when there is none.
std::optional<SerialJournal> readJournal(const std::string& path) {
  const auto text = journalFileText(path, "serial number journal");
  if (!text) return std::nullopt;
  auto journal = parseJournal(*text);
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

namespace {

// The station's own numbers, in the journal beside sysconfig.ini.
class JournalStore : public NumberStore {
 public:
  // Goes on from the journal of an earlier station when it knows `shown`
  // in the same direction; what that one held goes to `abandoned`.
  JournalStore(std::string journalPath, std::uint32_t shown, int step, std::vector<std::uint32_t>& abandoned)
      : journalPath_(std::move(journalPath)) {
    journal_ = {shown, step, {}, {}};
    if (auto earlier = readJournal(journalPath_)) {
      // What an earlier station held when it was killed may have reached its
      // printer: never handed out again.
      abandoned.assign(earlier->held.begin(), earlier->held.end());
      earlier->held.clear();
      // The settings may not have been saved after the journal was written:
      // any number the journal knows means it goes on.
      const bool known = earlier->next == shown || earlier->givenBack.contains(shown) ||
                         std::find(abandoned.begin(), abandoned.end(), shown) != abandoned.end();
      if (known && earlier->step == step) journal_ = std::move(*earlier);
    }
    writeJournal();
  }

  std::optional<std::uint32_t> take(const std::string&) override {
    const SerialJournal before = journal_;
    std::uint32_t number = 0;
    if (const auto givenBack = firstGivenBack()) {
      number = *givenBack;
      journal_.givenBack.erase(number);
    } else if (inRange(journal_.next + journal_.step)) {
      // The last number is not handed out: the device write refuses a number
      // whose step leaves the range.
      number = static_cast<std::uint32_t>(journal_.next);
      journal_.next += journal_.step;
    } else {
      return std::nullopt;
    }
    journal_.held.insert(number);
    try {
      writeJournal();
    } catch (...) {
      journal_ = before;
      throw;
    }
    return number;
  }

  void end(std::uint32_t number, NumberEnd end) override {
    if (journal_.held.erase(number) == 0) return;
    if (end == NumberEnd::GivenBack) journal_.givenBack.insert(number);
    try {
      writeJournal();
    } catch (const std::runtime_error&) {
      // The journal still holds the number, which a restart takes as
      // abandoned: never handed out twice. The next take() writes it whole.
    }
  }

  std::string nextText() const override {
    if (const auto givenBack = firstGivenBack()) return std::to_string(*givenBack);
    return std::to_string(journal_.next);
  }

 private:
  // The given-back number first in the direction of the steps, so that the
  // numbers stay in order.
  std::optional<std::uint32_t> firstGivenBack() const {
    if (journal_.givenBack.empty()) return std::nullopt;
    return journal_.step < 0 ? *journal_.givenBack.rbegin() : *journal_.givenBack.begin();
  }

  void writeJournal() const {
    try {
      replaceFileWith(journalPath_, journalText(journal_));
    } catch (const std::exception& error) {
      throw std::runtime_error("Cannot write the serial number journal " + journalPath_ + ": " + error.what());
    }
  }

  std::string journalPath_;
  SerialJournal journal_;
};

}  // namespace

template <typename MakeStore>
void SerialAllocator::start(const std::string& appDir, const ParaControls& controls, int language,
                            MakeStore makeStore) {
  if (const auto refused = serialNumberRefusal(controls, language)) throw std::runtime_error(*refused);
  const std::uint32_t shown = *parseSerialNumber(controls.text("edt_DeviceSerialNo"));
  lockFd_ = lockDirectory(appDir, language);
  try {
    std::lock_guard lock(mutex_);
    store_ = makeStore(shown, stepOf(controls));
    shown_ = store_->nextText();
  } catch (...) {
    ::close(lockFd_);
    throw;
  }
}

SerialAllocator::SerialAllocator(const std::string& appDir, const ParaControls& controls, int language) {
  start(appDir, controls, language, [&](std::uint32_t shown, int step) {
    return std::make_unique<JournalStore>(appDir + kJournalName, shown, step, abandoned_);
  });
}

SerialAllocator::SerialAllocator(const std::string& appDir, const ParaControls& controls, int language,
                                 const LineServer& server) {
  static_assert(kLineLastNumber == kLastSerialNumber);
  start(appDir, controls, language, [&](std::uint32_t shown, int step) {
    return std::make_unique<LineStore>(appDir + kLineJournalName, server, shown, step, language, abandoned_);
  });
}

SerialAllocator::~SerialAllocator() { ::close(lockFd_); }

std::vector<std::uint32_t> SerialAllocator::abandoned() const {
  std::lock_guard lock(mutex_);
  return abandoned_;
}

std::optional<std::uint32_t> SerialAllocator::take(const std::string& slot) {
  std::lock_guard lock(mutex_);
  try {
    auto number = store_->take(slot);
    showNext();
    return number;
  } catch (...) {
    showNext();
    throw;
  }
}

void SerialAllocator::end(std::uint32_t number, NumberEnd end) {
  std::lock_guard lock(mutex_);
  store_->end(number, end);
  showNext();
}

std::string SerialAllocator::nextText() const {
  std::lock_guard lock(shownMutex_);
  return shown_;
}

void SerialAllocator::showNext() {
  std::string next = store_->nextText();
  std::lock_guard lock(shownMutex_);
  shown_ = std::move(next);
}

}  // namespace ombrel
