#include "engine/stale_replies.h"

#include <gtest/gtest.h>

#include "protocol/frame.h"

namespace ombrel {
namespace {

Bytes head(std::uint16_t command, std::uint32_t first) { return frame::build(command, first, 0, {}, true); }

TEST(StaleReplies, OnlyAReplyNamingThePreviousRequestAndNotTheLatestIsStale) {
  struct Case {
    const char* what;
    std::vector<Bytes> written;
    Bytes reply;
    bool stale;
  };
  const Case cases[] = {
      {"the latest request's reply", {head(48, 0), head(52, 16)}, head(52, 16), false},
      {"the previous request's reply", {head(48, 0), head(52, 16)}, head(48, 0), true},
      {"the previous block of a read-back", {head(52, 0), head(52, 16)}, head(52, 0), true},
      {"a request sent again names itself", {head(51, 0), head(51, 0)}, head(51, 0), false},
      {"a head that names neither is taken", {head(48, 0), head(52, 16)}, head(0, 0), false},
      {"nothing before the first request", {head(48, 0)}, head(48, 0), false},
      {"raw bytes are no request", {head(48, 0), Bytes{0x1B, 0x40}}, head(48, 0), false},
  };
  for (const Case& c : cases) {
    StaleReplies stale;
    for (const Bytes& bytes : c.written) stale.written(bytes);
    EXPECT_EQ(stale.isPreviousReply(c.reply.data()), c.stale) << c.what;
  }
}

}  // namespace
}  // namespace ombrel
