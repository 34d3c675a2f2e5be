#include "texts/text_codec.h"

#include <gtest/gtest.h>

namespace ombrel {
namespace {

TEST(TextCodec, RecognisesWellFormedUtf8Only) {
  EXPECT_TRUE(TextCodec::isValidUtf8(""));
  EXPECT_TRUE(TextCodec::isValidUtf8("plain ASCII"));
  EXPECT_TRUE(TextCodec::isValidUtf8("通讯失败≥€"));
  EXPECT_TRUE(TextCodec::isValidUtf8("\xF0\x9F\x98\x80"));   // U+1F600
  EXPECT_TRUE(TextCodec::isValidUtf8("\xF4\x8F\xBF\xBF"));   // U+10FFFF
  EXPECT_FALSE(TextCodec::isValidUtf8("\xC0\xAF"));          // overlong '/'
  EXPECT_FALSE(TextCodec::isValidUtf8("\xE0\x80\xAF"));      // overlong
  EXPECT_FALSE(TextCodec::isValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(TextCodec::isValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
  EXPECT_FALSE(TextCodec::isValidUtf8("\xE4\xB8"));          // cut short
  EXPECT_FALSE(TextCodec::isValidUtf8("a\x80z"));            // stray continuation
  EXPECT_FALSE(TextCodec::isValidUtf8("\xB2\xE2\xCA\xD4"));  // "测试" in GBK
}

TEST(TextCodec, ConvertsBetweenGbkAndUtf8) {
  EXPECT_EQ(TextCodec::utf8ToGbk("测试中文≥€ ok"), "\xB2\xE2\xCA\xD4\xD6\xD0\xCE\xC4\xA1\xDD\x80 ok");
  EXPECT_EQ(TextCodec::gbkToUtf8("\xB2\xE2\xCA\xD4\xD6\xD0\xCE\xC4\xA1\xDD\x80 ok"), "测试中文≥€ ok");
  EXPECT_EQ(TextCodec::utf8ToGbk(""), "");
  const std::string everyMessage =
      "通讯失败，请选择正确的端口和波特率 AES和TPIK的密码要≥8位 设置休眠时间，关机时间成功";
  EXPECT_EQ(TextCodec::gbkToUtf8(TextCodec::utf8ToGbk(everyMessage)), everyMessage);
}

TEST(TextCodec, WhatGbkCannotHoldBecomesAQuestionMark) {
  EXPECT_EQ(TextCodec::utf8ToGbk("a한b"), "a?b");
  EXPECT_EQ(TextCodec::utf8ToGbk("a\xF0\x9F\x98\x80z"), "a?z");
  EXPECT_EQ(TextCodec::utf8ToGbk("a\xFFz"), "a?z");
  EXPECT_EQ(TextCodec::utf8ToGbk("end\xE4\xB8"), "end??");
}

TEST(TextCodec, BytesThatAreNotGbkBecomeReplacementCharacters) {
  EXPECT_EQ(TextCodec::gbkToUtf8("a\xFFz"), "a\xEF\xBF\xBDz");
  EXPECT_EQ(TextCodec::gbkToUtf8("cut\x81"), "cut\xEF\xBF\xBD");
  EXPECT_EQ(TextCodec::gbkToUtf8("\x81\nnext"), "\xEF\xBF\xBD\nnext");
}

TEST(TextCodec, PrinterBytesAreGbk) {
  EXPECT_EQ(TextCodec::toPrinterBytes("打印机 1"), (Bytes{0xB4, 0xF2, 0xD3, 0xA1, 0xBB, 0xFA, 0x20, 0x31}));
  EXPECT_EQ(TextCodec::toPrinterBytes("한"), (Bytes{'?'}));
  EXPECT_EQ(TextCodec::fromPrinterBytes(Bytes{0xB4, 0xF2, 0xD3, 0xA1, 0xBB, 0xFA}), "打印机");
}

}  // namespace
}  // namespace ombrel
