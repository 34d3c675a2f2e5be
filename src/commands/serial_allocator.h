#pragma once

// The serial numbers of a station's device writes, from one allocator: a
// number is held by one printer at a time, committed once the printer
// acknowledged it, given back (to be the next handed out) when its frame
// never went out, and never handed out again when its fate is unknown (the
// frame went out unacknowledged, the printer left mid-write, the station was
// killed). Its state lives in a journal beside sysconfig.ini, written before
// a number is handed out; a lock beside it keeps a second station process off
// the same program directory. DeviceSerialNo mirrors the next number.
// A station of a line with a server takes its numbers from the line's
// counter instead (LineStore), journalling locally what it holds.
// Every member may be called from any thread.

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "commands/number_store.h"
#include "engine/engine_host.h"
#include "settings/para_controls.h"

namespace ombrel {

// Another station process holds the program directory; its text says so.
class StationLocked : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Why a station cannot start with the serial number fields as they are
// (DeviceSerialNo empty or not a number, no direction chosen, the next step
// would leave the 32-bit range), in `language`; nothing when it can.
std::optional<std::string> serialNumberRefusal(const ParaControls& controls, int language);

// A device write's end: acknowledged, committed; its frame never sent, given
// back; otherwise (sent unanswered, the printer gone) unknown.
NumberEnd numberEndOf(const TaskOutcome& outcome);

class SerialAllocator {
 public:
  // Takes the lock and reads the journal of the program directory `appDir`
  // (ending in '/'); starts from DeviceSerialNo and its direction unless the
  // journal continues it (DeviceSerialNo shows a number the journal knows, in
  // the same direction). Raises StationLocked, std::runtime_error naming the
  // journal when it cannot be read or written, or with serialNumberRefusal's
  // text when the fields refuse.
  SerialAllocator(const std::string& appDir, const ParaControls& controls, int language);
  // The same station's numbers from the line's server: DeviceSerialNo and its
  // direction start a line that has no counter yet; a line that counts the
  // other way refuses. Raises StationLocked, LineDatabaseUnreachable, and
  // std::runtime_error for the fields, the tables, the direction or the journal.
  SerialAllocator(const std::string& appDir, const ParaControls& controls, int language, const LineServer& server);
  ~SerialAllocator();  // the lock is let go; the journal stays
  SerialAllocator(const SerialAllocator&) = delete;
  SerialAllocator& operator=(const SerialAllocator&) = delete;

  // The numbers a killed station held: never handed out again, each to be
  // logged once as unknown.
  std::vector<std::uint32_t> abandoned() const;
  // A number for a device write, held from now on by `slot` (its port, or
  // empty): a given-back one first, else the next. Nothing when the numbers
  // are used up (the next one's step would leave 0 to 2147483647, which the
  // device write refuses). The journal has been written when it returns;
  // raises std::runtime_error when it cannot be, LineDatabaseUnreachable when
  // the line's server is away.
  std::optional<std::uint32_t> take(const std::string& slot = {});
  // Never raises: a journal that cannot be written still holds the number,
  // which the next start takes as abandoned, never to be handed out again.
  void end(std::uint32_t number, NumberEnd end);
  // What DeviceSerialNo shows: the number take() would give next, as last
  // seen; never waits for the server.
  std::string nextText() const;

 private:
  template <typename MakeStore>
  void start(const std::string& appDir, const ParaControls& controls, int language, MakeStore makeStore);
  void showNext();            // with mutex_ held
  mutable std::mutex mutex_;  // guards store_ and abandoned_
  int lockFd_ = -1;
  std::unique_ptr<NumberStore> store_;
  std::vector<std::uint32_t> abandoned_;
  mutable std::mutex shownMutex_;
  std::string shown_;
};

}  // namespace ombrel
