#include "engine/stale_replies.h"

#include <gtest/gtest.h>

#include "protocol/frame.h"

namespace ombrel {
namespace {

Bytes head(std::uint16_t command, std::uint32_t first) { return frame::build(command, first, 0, {}, true); }

// Requests with the replies they got, then one more request and a reply.
struct Exchange {
  Bytes request;
  Bytes reply;
};

TEST(StaleReplies, AHeadIsJudgedOnlyOnceThePrinterEchoedANonZeroFirstArgument) {
  struct Case {
    const char* what;
    std::vector<Exchange> before;
    Bytes request;
    Bytes reply;
    bool taken;
  };
  const Exchange echoed{head(51, 256), head(51, 256)};
  const Case cases[] = {
      {"echoing printer: the previous block's late reply", {echoed}, head(51, 512), head(51, 256), false},
      {"echoing printer: the latest block's reply", {echoed}, head(51, 512), head(51, 512), true},
      {"echoing printer: a request sent again names itself", {echoed}, head(51, 256), head(51, 256), true},
      {"echoing printer: a head that names neither", {echoed}, head(51, 512), head(0, 0), true},
      {"a zero first argument proves nothing", {{head(48, 0), head(48, 0)}}, head(52, 0), head(48, 0), true},
      {"zero-argument printer", {{head(51, 0), head(51, 0)}}, head(51, 256), head(51, 0), true},
      {"fixed-head printer",
       {{head(48, 0), head(48, 0)}, {head(51, 0), head(48, 0)}},
       head(51, 256),
       head(48, 0),
       true},
      {"raw bytes are no request", {echoed, {Bytes{0x1B, 0x40}, {}}}, head(51, 512), head(51, 256), false},
  };
  for (const Case& c : cases) {
    StaleReplies stale;
    for (const Exchange& exchange : c.before) {
      stale.written(exchange.request);
      if (!exchange.reply.empty()) {
        EXPECT_TRUE(stale.takes(exchange.reply.data())) << c.what;
      }
    }
    stale.written(c.request);
    EXPECT_EQ(stale.takes(c.reply.data()), c.taken) << c.what;
  }
}

}  // namespace
}  // namespace ombrel
