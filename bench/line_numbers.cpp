// Three stations taking serial numbers at once from one line's server (a
// throwaway PostgreSQL cluster with fsync on, as a real server runs): the
// numbers handed out per second, and how long a device write waits for its
// number (the take, up to its number being held on the server and in the
// station's journal). Each station commits each number at once, as a
// printer that acknowledges without delay.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "commands/serial_allocator.h"
#include "linedb/pg_cluster.h"
#include "settings/para_control_state.h"

namespace {

using namespace ombrel;
using Clock = std::chrono::steady_clock;

constexpr int kStations = 3;
constexpr int kNumbersEach = 500;
constexpr double kAimPerSecond = 200;
constexpr double kAimWaitMs = 5;

double percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1))];
}

}  // namespace

int main() {
  test_support::PgCluster cluster(true);
  ParaControlState controls;
  controls.setText("edt_DeviceSerialNo", "1000");
  controls.setChecked("rb_Plus", true);
  const auto root = std::filesystem::temp_directory_path() / ("ombrel-bench-line-" + std::to_string(::getpid()));
  std::vector<std::unique_ptr<SerialAllocator>> stations;
  for (int i = 0; i < kStations; ++i) {
    const auto dir = root / std::to_string(i);
    std::filesystem::create_directories(dir);
    stations.push_back(std::make_unique<SerialAllocator>(
        dir.string() + "/", controls, 1, LineServer{cluster.conninfo(), "bench", "s" + std::to_string(i)}));
  }
  std::vector<std::vector<double>> waits(kStations);
  std::vector<std::vector<std::uint32_t>> numbers(kStations);
  const auto start = Clock::now();
  {
    std::vector<std::jthread> threads;
    for (int i = 0; i < kStations; ++i) {
      threads.emplace_back([&, i] {
        for (int n = 0; n < kNumbersEach; ++n) {
          const auto asked = Clock::now();
          const auto number = stations[i]->take("slot");
          waits[i].push_back(std::chrono::duration<double, std::milli>(Clock::now() - asked).count());
          if (!number) return;
          numbers[i].push_back(*number);
          stations[i]->end(*number, NumberEnd::Committed);
        }
      });
    }
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  stations.clear();
  std::filesystem::remove_all(root);

  std::vector<double> allWaits;
  std::set<std::uint32_t> distinct;
  std::size_t taken = 0;
  for (int i = 0; i < kStations; ++i) {
    allWaits.insert(allWaits.end(), waits[i].begin(), waits[i].end());
    distinct.insert(numbers[i].begin(), numbers[i].end());
    taken += numbers[i].size();
  }
  if (taken != static_cast<std::size_t>(kStations * kNumbersEach) || distinct.size() != taken) {
    std::fprintf(stderr, "stations took %zu numbers, %zu distinct: expected %d distinct\n", taken, distinct.size(),
                 kStations * kNumbersEach);
    return 1;
  }
  std::printf("%d stations, %zu numbers: %.0f numbers per second (aim: at least %.0f)\n", kStations, taken,
              static_cast<double>(taken) / seconds, kAimPerSecond);
  std::printf("wait for a number: median %.2f ms, 95th percentile %.2f ms, longest %.2f ms (aim: under %.0f ms)\n",
              percentile(allWaits, 0.5), percentile(allWaits, 0.95), percentile(allWaits, 1.0), kAimWaitMs);
  return 0;
}
