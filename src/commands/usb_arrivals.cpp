#include "commands/usb_arrivals.h"

#include <algorithm>

namespace ombrel {

UsbArrivals::UsbArrivals(std::vector<std::string> present) : present_(std::move(present)) {}

std::vector<UsbArrivals::Arrival> UsbArrivals::take(const std::vector<std::string>& now) {
  std::vector<Arrival> arrived;
  for (const std::string& identity : now) {
    const bool counted = std::any_of(arrived.begin(), arrived.end(),
                                     [&](const Arrival& arrival) { return arrival.identity == identity; });
    const auto count = std::count(now.begin(), now.end(), identity);
    if (!counted && count > std::count(present_.begin(), present_.end(), identity)) {
      arrived.push_back({identity, count > 1});
    }
  }
  present_ = now;
  return arrived;
}

ArrivalQueue::ArrivalQueue(std::vector<std::string> present) : arrivals_(std::move(present)) {}

void ArrivalQueue::report(const std::vector<std::string>& now) {
  for (UsbArrivals::Arrival& arrival : arrivals_.take(now)) waiting_.push_back(std::move(arrival));
}

void ArrivalQueue::serve(const std::function<bool()>& free, const Turns& turns, int language) {
  while (!waiting_.empty() && free()) {
    const UsbArrivals::Arrival arrival = waiting_.front();
    waiting_.pop_front();
    if (arrival.indistinct) {
      turns.refuse(arrival.identity, indistinctPrinterText(arrival.identity, language));
    } else {
      turns.setUp(arrival.identity);
    }
  }
}

std::string indistinctPrinterText(const std::string& identity, int language) {
  constexpr int kEnglish = 1;
  if (language != kEnglish) {
    return "另一台 USB 打印机 " + identity +
           " 仍然插着，无法把新插入的打印机与它区分开，因此未设置。"
           "请拔下已设置完成的打印机，再重新插入新的打印机。";
  }
  return "Another USB printer " + identity +
         " is still plugged in, so the new one cannot be told from it and was not set up. "
         "Unplug the printers that are done, then plug the new one in again.";
}

}  // namespace ombrel
