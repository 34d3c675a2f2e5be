#include "engine/raw_sequences.h"

#include <gtest/gtest.h>

namespace ombrel {
namespace {

struct RawCase {
  int task;
  Bytes payload;
  const char* wire;
};

class RawTaskBytes : public testing::TestWithParam<RawCase> {};

TEST_P(RawTaskBytes, AreExactlyWhatThePrinterExpects) {
  EXPECT_EQ(toHex(raw::rawTaskBytes(GetParam().task, GetParam().payload)), GetParam().wire);
}

INSTANTIATE_TEST_SUITE_P(
    AllRawTasks, RawTaskBytes,
    testing::Values(RawCase{26, {}, "8D 00"}, RawCase{29, {}, "8D 01"}, RawCase{27, {}, "8E 00"},
                    RawCase{30, {}, "8E 01"}, RawCase{31, {}, "1F 1B 1F 80 04 05 06 44"},
                    RawCase{32, {}, "1F 1B 1F 80 04 05 06 66"}, RawCase{33, {40}, "1F 1B 1F 81 04 05 06 28 00"},
                    RawCase{34, {0x1E}, "1F 1B 1F 82 04 05 06 1E 00"}, RawCase{35, {12}, "1B 28 46 04 00 01 00 0C 00"},
                    RawCase{36, bytesOf("Hello world 0x0C"), "48 65 6C 6C 6F 20 77 6F 72 6C 64 20 30 78 30 43"},
                    RawCase{41, {10, 0, 0, 5}, "1F 49 0A 00 00 05"},
                    RawCase{37, {255, 255, 255, 0}, "1F 53 FF FF FF 00"},
                    RawCase{38, {192, 168, 1, 1}, "1F 4E C0 A8 01 01"},
                    RawCase{40, {0x65, 0x66, 0x67, 0x68}, "1F 4D 65 66 67 68"},
                    RawCase{39, {0x23, 0x8C}, "1F 50 23 8C"}, RawCase{39, {}, "1F 50 00 00"},
                    RawCase{42, {}, "02 00 8D 00 00 00 00 00 00 00 00 00 01 00 8E 00 00 00"},
                    RawCase{43, {}, "02 00 8D 00 00 00 00 00 00 00 00 00 01 00 8E 00 01 01"}));

TEST(RawTasks, AreTheAsIsTasksOnly) {
  for (int code = 0; code <= 44; ++code) {
    const bool expected = code >= 26 && code <= 43 && code != 28;
    EXPECT_EQ(raw::isRawTask(code), expected) << code;
  }
}

}  // namespace
}  // namespace ombrel
