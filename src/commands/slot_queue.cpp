#include "commands/slot_queue.h"

#include <algorithm>

namespace ombrel {
namespace {

// A printer without a port cannot be told from a twin or bound to a link of
// its own: a station passes it over.
std::vector<UsbDeviceName> withPorts(const std::vector<UsbDeviceName>& printers) {
  std::vector<UsbDeviceName> kept;
  for (const UsbDeviceName& printer : printers) {
    const bool seen =
        std::any_of(kept.begin(), kept.end(), [&](const auto& other) { return other.port == printer.port; });
    if (!printer.port.empty() && !seen) kept.push_back(printer);
  }
  return kept;
}

bool holds(const std::vector<UsbDeviceName>& printers, const UsbDeviceName& printer) {
  return std::find(printers.begin(), printers.end(), printer) != printers.end();
}

}  // namespace

SlotQueue::SlotQueue(const std::vector<UsbDeviceName>& present, int slots)
    : slots_(static_cast<std::size_t>(std::clamp(slots, kMinSlots, kMaxSlots))), present_(withPorts(present)) {}

SlotQueue::Changes SlotQueue::report(const std::vector<UsbDeviceName>& now) {
  const std::vector<UsbDeviceName> printers = withPorts(now);
  Changes changes;
  // A port that holds another identity than before holds another printer:
  // the one before left.
  for (const UsbDeviceName& before : present_) {
    if (!holds(printers, before)) changes.left.push_back(before.port);
  }
  for (const UsbDeviceName& printer : printers) {
    if (!holds(present_, printer)) changes.arrived.push_back(printer);
  }
  for (const std::string& port : changes.left) {
    std::erase_if(waiting_, [&](const UsbDeviceName& printer) { return printer.port == port; });
    std::erase_if(running_, [&](const std::string& running) { return running == port; });
  }
  waiting_.insert(waiting_.end(), changes.arrived.begin(), changes.arrived.end());
  present_ = printers;
  return changes;
}

std::optional<UsbDeviceName> SlotQueue::start() {
  if (waiting_.empty() || running_.size() >= slots_) return std::nullopt;
  UsbDeviceName next = waiting_.front();
  waiting_.erase(waiting_.begin());
  running_.push_back(next.port);
  return next;
}

void SlotQueue::finished(const std::string& port) {
  std::erase_if(running_, [&](const std::string& running) { return running == port; });
}

bool SlotQueue::retry(const std::string& port) {
  const auto printer = std::find_if(present_.begin(), present_.end(),
                                    [&](const UsbDeviceName& present) { return present.port == port; });
  if (printer == present_.end()) return false;
  const bool queued = std::find(running_.begin(), running_.end(), port) != running_.end() || holds(waiting_, *printer);
  if (!queued) waiting_.push_back(*printer);
  return true;
}

void SlotQueue::clearWaiting() { waiting_.clear(); }

}  // namespace ombrel
