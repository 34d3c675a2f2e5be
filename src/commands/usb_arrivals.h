#pragma once

// The USB printers that arrive, from one list of present printers to the
// next, for a station that sets up every printer plugged in.

#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace ombrel {

// Every USB notice closes a USB port opened on an identity alone, also the
// late notice of a printer unplugged just before: a station on such a link
// sets an arrived printer up once no notice has come for this long, so that
// no notice cuts its first task short. A link bound to a port (a station's
// slot) stays open through other devices' notices and needs no such wait:
// it tries opening again until the new printer's node is there.
inline constexpr std::chrono::milliseconds kArrivalSettleTime{300};

class UsbArrivals {
 public:
  // The printers present at the start are left alone.
  explicit UsbArrivals(std::vector<std::string> present = {});

  struct Arrival {
    std::string identity;
    // Another present printer shares its identity: the port could not tell
    // the new one from the old, so it must not be set up.
    bool indistinct = false;
  };
  // The identities `now` holds more often than the list before, each once,
  // in the order of `now`; `now` is the list before from then on.
  std::vector<Arrival> take(const std::vector<std::string>& now);

 private:
  std::vector<std::string> present_;
};

// The printers that arrived at a station and wait for their turn, in the
// order they came. Both front ends run it: they report every list of present
// printers and serve the waiting ones whenever the station is free.
class ArrivalQueue {
 public:
  explicit ArrivalQueue(std::vector<std::string> present = {});

  // Another list of present printers: those that arrived join the queue.
  void report(const std::vector<std::string>& now);
  void clear() { waiting_.clear(); }

  // What a turn does with its printer. `setUp` may only start it (the window
  // runs it through its task ends).
  struct Turns {
    std::function<void(const std::string& identity)> setUp;
    // The printer was not set up because another present one shares its
    // identity; `text` says so.
    std::function<void(const std::string& identity, const std::string& text)> refuse;
  };
  // Gives the waiting printers their turns, first come first, as long as
  // `free` says the station can take the next one; a refusal's text in `language`.
  void serve(const std::function<bool()>& free, const Turns& turns, int language);

 private:
  UsbArrivals arrivals_;
  std::deque<UsbArrivals::Arrival> waiting_;
};

// Why an indistinct printer was not set up, in `language` (1 English, else Chinese).
std::string indistinctPrinterText(const std::string& identity, int language);

}  // namespace ombrel
