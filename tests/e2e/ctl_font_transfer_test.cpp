// ombrelctl btn_UpdateFont (task 3) and btn_ReadFont (task 16) against the
// virtual printer's memory: the addressed blocks that reached it, what a
// read-back saves, and that a read-back that does not end well leaves the
// old file as it was.

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <regex>
#include <thread>

#include "e2e/ctl_fixture.h"

namespace ombrel::test_support {
namespace {

Bytes pattern(std::size_t size) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 13 + 5);
  return bytes;
}

// The printer's memory before anything is written: byte i holds i & 0xFF.
Bytes untouchedMemory(std::size_t from, std::size_t size) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>((from + i) & 0xFF);
  return bytes;
}

const std::string kOldContent = "the file saved last time";
const std::string kFirstRequest = "02 00 34 00 00 00 00 00 00 00 00 00 00 00 36 00";  // address 0

class FontTransfer : public CtlTest {
 protected:
  Bytes saved(const std::string& path) {
    const std::string text = fileContent(path);
    return Bytes(text.begin(), text.end());
  }
  // A read-back target that already holds an earlier read-back.
  std::string oldTarget() { return file("font.hex", Bytes(kOldContent.begin(), kOldContent.end())); }
  // Nothing but the target is left beside it (no temporary file).
  std::vector<std::string> hexFilesInDir() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir())) {
      const std::string name = entry.path().filename().string();
      if (name != "debug.log" && name != "sysconfig.ini" && name != "stderr.txt") names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  ProgramRun readBack(const VirtualPrinter& printer, const std::string& start, const std::string& length,
                      const std::string& target, const std::string& timeScale = "20") {
    return ctl({"--link", printer.link(), "--dev-baud", "9600", "--tran-baud", "9600", "--set", "StartAddress=" + start,
                "--set", "ReadLength=" + length, "--save-as", target, "btn_ReadFont"},
               timeScale);
  }
  // Units of command `code`, heads only (data and data check vary by link).
  static std::vector<std::string> heads(const VirtualPrinter& printer, const std::string& code) {
    std::vector<std::string> out;
    for (const std::string& unit : wire(printer)) {
      if (unit.rfind("frame: 02 00 " + code, 0) == 0) out.push_back(unit.substr(7, 47));
    }
    return out;
  }
};

TEST_F(FontTransfer, SixHundredBytesGoToTheirAddressesAndReadBackExactlyOnBothLinks) {
  const Bytes content = pattern(600);
  const std::string font = file("font.bin", content);
  for (const bool pty : {false, true}) {
    SCOPED_TRACE(pty ? "pseudo-terminal" : "UDP");
    // Replies of 200 bytes: three of them are exactly the 600 bytes asked for.
    const std::vector<std::string> options{"--read-block", "200"};
    const auto started =
        pty ? std::make_unique<VirtualPrinter>(OnPty{}, options) : std::make_unique<VirtualPrinter>(options);
    VirtualPrinter& printer = *started;
    const auto down = ctl({"--link", printer.link(), "--dev-baud", "9600", "--tran-baud", "9600", "--set",
                           "FontFile=" + font, "--set", "FontAddress=10000", "btn_UpdateFont"});
    EXPECT_EQ(down.exitCode, 0) << down.err;
    EXPECT_EQ(down.err, "");
    EXPECT_TRUE(std::regex_match(
        down.out,
        std::regex("Downloading FONT" + font + "\n(Finish \\d+\\.\\d%\\(\\d/2\\)\n)*Finish 100\\.0%\\(2/2\\)\n")))
        << down.out;
    EXPECT_EQ(heads(printer, "33"), (std::vector<std::string>{"02 00 33 00 00 00 01 00 00 00 00 00 00 01 31 00",
                                                              "02 00 33 00 00 01 01 00 00 00 00 00 00 01 30 00",
                                                              "02 00 33 00 00 02 01 00 00 00 00 00 58 00 6A 00"}));
    const std::string target = dir() + "/back.hex";
    const auto up = readBack(printer, "10000", "600", target);
    EXPECT_EQ(up.exitCode, 0) << up.err;
    EXPECT_EQ(saved(target), content);
    EXPECT_EQ(heads(printer, "34"), (std::vector<std::string>{"02 00 34 00 00 00 01 00 00 00 00 00 00 00 37 00",
                                                              "02 00 34 00 C8 00 01 00 00 00 00 00 00 00 FF 00",
                                                              "02 00 34 00 90 01 01 00 00 00 00 00 00 00 A6 00"}));
    EXPECT_TRUE(std::regex_match(
        up.out,
        std::regex("更新字库:" + target + "\n(Finish \\d+\\.\\d%\\(\\d/2\\)\n)*Finish 100\\.0%\\(2/2\\)\n上传完成\n")))
        << up.out;
  }
}

TEST_F(FontTransfer, DownloadCases) {
  struct Case {
    const char* what;
    std::string fontFile;
    std::string address;
    int exitCode;
    std::vector<std::string> heads;  // of the command-51 frames
    std::string err;
  };
  const Case cases[] = {
      {"empty address: address 0",
       file("a.bin", pattern(10)),
       "",
       0,
       {"02 00 33 00 00 00 00 00 00 00 00 00 0A 00 3B 00"},
       ""},
      {"address with letters",
       file("b.bin", pattern(1)),
       "1f0a0",
       0,
       {"02 00 33 00 A0 F0 01 00 00 00 00 00 01 00 61 00"},
       ""},
      {"empty file: no block, still done", file("empty.bin", {}), "100", 0, {}, ""},
      {"invalid address: nothing sent",
       file("c.bin", pattern(10)),
       "G1",
       2,
       {},
       "'$G1' is not a valid integer value\n"},
      {"missing file: nothing sent", dir() + "/missing.bin", "100", 2, {}, "文件不存在\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    VirtualPrinter printer;
    const auto run = ctl({"--link", printer.link(), "--set", "FontFile=" + c.fontFile, "--set",
                          "FontAddress=" + c.address, "btn_UpdateFont"});
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(heads(printer, "33"), c.heads);
    if (c.exitCode == 2) {
      EXPECT_TRUE(printer.received().empty());
    }
    if (c.exitCode == 0) {
      EXPECT_EQ(run.out.rfind("Downloading FONT" + c.fontFile + "\n", 0), 0u) << run.out;
    }
  }
}

TEST_F(FontTransfer, ReadBackCases) {
  struct Case {
    const char* what;
    std::vector<std::string> printerOptions;
    std::string start;
    std::string length;
    int exitCode;
    std::vector<std::string> requests;  // heads of the command-52 frames
    std::optional<Bytes> file;          // none: the old file stays
    std::string err;
  };
  const Case cases[] = {
      {"length 0: no request, an empty file", {}, "0", "0", 0, {}, Bytes{}, ""},
      {"replies longer than asked are all kept",
       {"--read-block", "1000"},
       "0",
       "1024",
       0,
       {kFirstRequest, "02 00 34 00 E8 03 00 00 00 00 00 00 00 00 DD 00"},
       untouchedMemory(0, 2000),
       ""},
      {"start address with letters",
       {},
       "1F000",
       "16",
       0,
       {"02 00 34 00 00 F0 01 00 00 00 00 00 00 00 C7 00"},
       untouchedMemory(0x1F000, 256),
       ""},
      {"invalid start address: nothing sent",
       {},
       "G1",
       "16",
       2,
       {},
       std::nullopt,
       "'$G1' is not a valid integer value\n"},
      {"invalid length: nothing sent", {}, "0", "1k", 2, {}, std::nullopt, "'1k' is not a valid integer value\n"},
      {"reply without data: a failure, not an endless read",
       {"--memory-size", "4096"},
       "F00",
       "512",
       1,
       {"02 00 34 00 00 0F 00 00 00 00 00 00 00 00 39 00", "02 00 34 00 00 10 00 00 00 00 00 00 00 00 26 00"},
       std::nullopt,
       "Received no data from address 0x1000\n"},
      {"printer silent on reads",
       {"--ignore", "52"},
       "0",
       "16",
       1,
       std::vector<std::string>(3, kFirstRequest),
       std::nullopt,
       "Received Failed\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    VirtualPrinter printer(c.printerOptions);
    const std::string target = oldTarget();
    const auto run = readBack(printer, c.start, c.length, target);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(heads(printer, "34"), c.requests);
    if (c.exitCode == 2) {
      EXPECT_TRUE(printer.received().empty());
    }
    EXPECT_EQ(saved(target), c.file.value_or(Bytes(kOldContent.begin(), kOldContent.end())));
    EXPECT_EQ(hexFilesInDir(), (std::vector<std::string>{"font.hex"}));
    if (c.exitCode == 0) {
      EXPECT_TRUE(run.out.ends_with("上传完成\n")) << run.out;
    }
  }
}

TEST_F(FontTransfer, ReadBackNeedsTheFileToSaveTo) {
  VirtualPrinter printer;
  const auto run = ctl({"--link", printer.link(), "--set", "StartAddress=0", "--set", "ReadLength=16", "btn_ReadFont"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, "btn_ReadFont saves to a file: give it with --save-as FILE\n");
  EXPECT_TRUE(printer.received().empty());
}

TEST_F(FontTransfer, CtrlCDuringTheReadBackLeavesTheOldFile) {
  VirtualPrinter printer(OnPty{}, {"--delay", "20", "--read-block", "16"});
  const std::string target = oldTarget();
  const auto ctl = startCtl({"--link", printer.link(), "--dev-baud", "9600", "--tran-baud", "9600", "--set",
                             "StartAddress=0", "--set", "ReadLength=65536", "--save-as", target, "btn_ReadFont"},
                            "1");
  ASSERT_NO_FATAL_FAILURE(readUntilLine(*ctl, "Finish"));
  ASSERT_NO_FATAL_FAILURE(interruptAndExpectCancelled(*ctl));
  EXPECT_EQ(fileContent(errPath()), "Operation Cancelled\n");
  EXPECT_EQ(fileContent(target), kOldContent);
  EXPECT_EQ(hexFilesInDir(), (std::vector<std::string>{"font.hex"}));
}

// Ctrl-C once the verify has begun reading ends it there: the task fails as
// cancelled, and the reads stop short of the range.
TEST_F(FontTransfer, CtrlCDuringTheVerifyCancelsIt) {
  VirtualPrinter printer(OnPty{}, {"--delay", "20", "--read-block", "16"});
  const std::string font = file("font.bin", pattern(4096));
  const auto ctl = startCtl({"--link", printer.link(), "--dev-baud", "9600", "--tran-baud", "9600", "--verify", "--set",
                             "FontFile=" + font, "--set", "FontAddress=0", "btn_UpdateFont"},
                            "1");
  const auto reads = [&] {
    return std::ranges::count_if(printer.received(), [](const Received& unit) { return unit.command == 0x34; });
  };
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (reads() == 0 && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_GT(reads(), 0);
  ASSERT_NO_FATAL_FAILURE(interruptAndExpectCancelled(*ctl));
  EXPECT_EQ(fileContent(errPath()), "Operation Cancelled\n");
  EXPECT_LT(reads(), 4096 / 16);
}

}  // namespace
}  // namespace ombrel::test_support
