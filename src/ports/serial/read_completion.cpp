#include "ports/serial/read_completion.h"

#include <algorithm>

namespace ombrel {

std::optional<ReadTimePoint> readCompletionTime(const CommTimeouts& timeouts, ReadTimePoint readStart,
                                                ReadTimePoint lastByte, std::size_t gathered) {
  using std::chrono::milliseconds;
  std::optional<ReadTimePoint> completion;
  if (timeouts.hasReadTotal()) {
    const auto total = std::uint64_t{timeouts.readTotalMultiplier} * kReadChunkSize + timeouts.readTotalConstant;
    completion = readStart + milliseconds(total);
  }
  if (gathered > 0 && (timeouts.readInterval != 0 || !timeouts.hasReadTotal())) {
    const ReadTimePoint silenceEnd = lastByte + milliseconds(timeouts.readInterval);
    completion = completion ? std::min(*completion, silenceEnd) : silenceEnd;
  }
  return completion;
}

}  // namespace ombrel
