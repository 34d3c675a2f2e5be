// bench_line_numbers: three stations taking serial numbers at once from one
// line's server, as a line with several stations does. Each station is a
// SerialAllocator on a program directory of its own (its lock and journal)
// with its own connection to a throwaway PostgreSQL cluster that keeps
// fsync on, as a real server does. Each station takes a number and commits
// it, as a device write that was acknowledged; the figures are the numbers
// handed out per second over all stations and the time a take waits for its
// number (median, 99th percentile, longest). The numbers are checked to be
// distinct and consecutive, so that a fast but wrong allocator shows.
// `--numbers N`: numbers each station takes (default 500).

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
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
constexpr std::uint32_t kFirstNumber = 100000;

struct StationRun {
  std::vector<std::uint32_t> numbers;
  std::vector<double> waitsMs;
  std::string failure;
};

void runStation(const std::string& appDir, const LineServer& server, int count, StationRun& run) {
  try {
    ParaControlState controls;
    controls.setText("edt_DeviceSerialNo", std::to_string(kFirstNumber));
    controls.setChecked("rb_Plus", true);
    SerialAllocator numbers(appDir, controls, 1, server);
    for (int i = 0; i < count; ++i) {
      const auto asked = Clock::now();
      const auto number = numbers.take("1-1");
      run.waitsMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - asked).count());
      if (!number) throw std::runtime_error("the numbers ran out");
      run.numbers.push_back(*number);
      numbers.end(*number, NumberEnd::Committed);
    }
  } catch (const std::exception& error) {
    run.failure = error.what();
  }
}

double percentile(std::vector<double> values, double share) {
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1));
  return values[index];
}

}  // namespace

int main(int argc, char** argv) {
  int count = 500;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--numbers") == 0) count = std::max(1, std::atoi(argv[i + 1]));
  }
  test_support::PgCluster cluster(true);
  const auto root = std::filesystem::temp_directory_path() / ("bench-line-numbers-" + std::to_string(::getpid()));
  std::vector<std::string> dirs;
  for (int station = 0; station < kStations; ++station) {
    dirs.push_back((root / ("station" + std::to_string(station))).string() + "/");
    std::filesystem::create_directories(dirs.back());
  }
  // The first station makes the tables and the line's counter before the clock starts.
  {
    StationRun warmUp;
    runStation(dirs[0], {cluster.conninfo(), "bench", "warm-up"}, 1, warmUp);
    if (!warmUp.failure.empty()) {
      std::fprintf(stderr, "bench_line_numbers: %s\n", warmUp.failure.c_str());
      return 1;
    }
  }
  std::vector<StationRun> runs(kStations);
  std::vector<std::thread> stations;
  const auto started = Clock::now();
  for (int station = 0; station < kStations; ++station) {
    const LineServer server{cluster.conninfo(), "bench", "station" + std::to_string(station)};
    stations.emplace_back(
        [&, station, server] { runStation(dirs[static_cast<std::size_t>(station)], server, count, runs[station]); });
  }
  for (auto& station : stations) station.join();
  const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
  std::filesystem::remove_all(root);

  std::vector<std::uint32_t> all;
  std::vector<double> waits;
  for (const auto& run : runs) {
    if (!run.failure.empty()) {
      std::fprintf(stderr, "bench_line_numbers: %s\n", run.failure.c_str());
      return 1;
    }
    all.insert(all.end(), run.numbers.begin(), run.numbers.end());
    waits.insert(waits.end(), run.waitsMs.begin(), run.waitsMs.end());
  }
  std::sort(all.begin(), all.end());
  // The warm-up took the first number; every other one follows without a gap or a twin.
  bool consecutive = true;
  for (std::size_t i = 0; i < all.size(); ++i) consecutive = consecutive && all[i] == kFirstNumber + 1 + i;
  std::printf("%d stations, %zu numbers in %.2f s: %.0f numbers/s (aim >= 200)\n", kStations, all.size(), seconds,
              static_cast<double>(all.size()) / seconds);
  std::printf("wait for a number: median %.2f ms, 99th percentile %.2f ms, longest %.2f ms (aim < 5 ms)\n",
              percentile(waits, 0.5), percentile(waits, 0.99), percentile(waits, 1.0));
  std::printf("numbers distinct and consecutive: %s\n", consecutive ? "yes" : "NO");
  return consecutive ? 0 : 1;
}
