#include "protocol/stale_replies.h"

#include <gtest/gtest.h>

#include "protocol/frame.h"

namespace ombrel {
namespace {

Bytes head(std::uint16_t command, std::uint32_t first) { return frame::build(command, first, 0, {}, true); }

TEST(StaleReplies, AHeadIsJudgedOnlyOnceThePrinterEchoedANonZeroFirstArgument) {
  struct Case {
    const char* what;
    std::vector<std::pair<Bytes, Bytes>> taken;  // requests and replies before
    Bytes request;
    Bytes reply;
    bool isTaken;
  };
  const std::pair<Bytes, Bytes> echoed{head(51, 256), head(51, 256)};
  const Case cases[] = {
      {"echoing printer: the previous block's late reply", {echoed}, head(51, 512), head(51, 256), false},
      {"echoing printer: the latest block's reply", {echoed}, head(51, 512), head(51, 512), true},
      {"echoing printer: a request sent again names itself", {echoed}, head(51, 256), head(51, 256), true},
      {"a zero first argument proves nothing", {{head(48, 0), head(48, 0)}}, head(52, 0), head(48, 0), true},
      {"fixed-head printer", {{head(51, 0), head(48, 0)}}, head(51, 256), head(48, 0), true},
      {"raw bytes are no request", {echoed, {Bytes{0x1B}, head(51, 256)}}, head(51, 512), head(51, 256), false},
  };
  for (const Case& c : cases) {
    StaleReplies stale;
    for (const auto& [request, reply] : c.taken) {
      stale.written(request);
      stale.takes(reply.data());
    }
    stale.written(c.request);
    EXPECT_EQ(stale.takes(c.reply.data()), c.isTaken) << c.what;
  }
}

}  // namespace
}  // namespace ombrel
