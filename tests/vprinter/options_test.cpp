#include "options.h"

#include <gtest/gtest.h>

#include "memory_image.h"
#include "printer_model.h"

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace ombrel::vprinter {
namespace {

TEST(Options, ReadsEveryOption) {
  const ParsedOptions parsed = parseOptions({"--udp",
                                             "127.0.0.1:9100",
                                             "--identity=TP80",
                                             "--memory-size",
                                             "0x200000",
                                             "--memory-file",
                                             "m.bin",
                                             "--read-block",
                                             "1000",
                                             "--log",
                                             "-",
                                             "--log-json",
                                             "log.json",
                                             "--silent",
                                             "--ignore",
                                             "48",
                                             "--ignore=52",
                                             "--drop-every",
                                             "3",
                                             "--corrupt-check",
                                             "--delay",
                                             "250",
                                             "--short-reply",
                                             "--bad-head",
                                             "--duplicate",
                                             "--reply-from-other-port",
                                             "--silent-after",
                                             "4",
                                             "--hang-up-after=7"});
  const Options* options = std::get_if<Options>(&parsed);
  ASSERT_NE(options, nullptr) << std::get<OptionError>(parsed).message;
  EXPECT_EQ(options->udpHost, "127.0.0.1");
  EXPECT_EQ(options->udpPort, 9100);
  EXPECT_EQ(options->identity, "TP80");
  EXPECT_EQ(options->memorySize, 0x200000u);
  EXPECT_EQ(options->memoryFile, "m.bin");
  EXPECT_EQ(options->readBlock, 1000u);
  EXPECT_EQ(options->textLog, "-");
  EXPECT_EQ(options->jsonLog, "log.json");
  const FaultOptions& faults = options->faults;
  EXPECT_TRUE(faults.silent && faults.corruptCheck && faults.shortReply && faults.badHead);
  EXPECT_EQ(faults.ignored, (std::set<std::uint16_t>{48, 52}));
  EXPECT_EQ(faults.dropEvery, 3u);
  EXPECT_EQ(faults.delayMs, 250);
  EXPECT_TRUE(faults.duplicate && faults.replyFromOtherPort);
  EXPECT_EQ(faults.silentAfter, 4u);
  EXPECT_EQ(faults.hangUpAfter, 7u);
}

TEST(Options, ReadsTheSerialLineOptions) {
  const ParsedOptions parsed = parseOptions({"--pty", "--pace", "--baud", "14400", "--boot-after=5"});
  const Options* options = std::get_if<Options>(&parsed);
  ASSERT_NE(options, nullptr) << std::get<OptionError>(parsed).message;
  EXPECT_TRUE(options->pty && options->pace);
  EXPECT_TRUE(options->udpHost.empty());
  EXPECT_EQ(options->baud, 14400u);
  EXPECT_EQ(options->bootAfter, 5u);

  const auto defaults = std::get<Options>(parseOptions({"--pty"}));
  EXPECT_FALSE(defaults.pace);
  EXPECT_EQ(defaults.baud, 9600u);
  EXPECT_FALSE(defaults.bootAfter);
}

TEST(Options, RefusesWhatItCannotUse) {
  const std::vector<std::vector<std::string>> refused = {
      {},
      {"--identity", "OMB80"},
      {"--udp", "127.0.0.1"},
      {"--udp", "127.0.0.1:65536"},
      {"--udp", ":9100"},
      {"--udp", "127.0.0.1:0", "--identity", "NINEBYTES"},
      {"--udp", "127.0.0.1:0", "--read-block", "2033"},
      {"--udp", "127.0.0.1:0", "--read-block", "-1"},
      {"--udp", "127.0.0.1:0", "--drop-every", "0"},
      {"--udp", "127.0.0.1:0", "--delay", "soon"},
      {"--udp", "127.0.0.1:0", "--ignore"},
      {"--udp", "127.0.0.1:0", "--memory-size", "0x"},
      {"--udp", "127.0.0.1:0", "--colour"},
      {"--udp", "127.0.0.1:0", "--silent=yes"},
      {"--udp", "127.0.0.1:0", "--pty"},
      {"--udp", "127.0.0.1:0", "--pace"},
      {"--pty", "--baud", "0"},
      {"--pty", "--baud", "4000001"},
      {"--pty", "--boot-after", "0"},
      {"--pty", "--pace=yes"},
      {"--pty", "--reply-from-other-port"},
      {"--pty", "--hang-up-after", "many"},
  };
  for (const auto& arguments : refused) {
    const ParsedOptions parsed = parseOptions(arguments);
    std::string shown;
    for (const auto& argument : arguments) shown += argument + " ";
    EXPECT_TRUE(std::holds_alternative<OptionError>(parsed)) << shown;
  }
  EXPECT_TRUE(std::holds_alternative<HelpRequested>(parseOptions({"--udp", "x:1", "--help"})));
}

TEST(MemoryImage, FileContentLiesOverThePattern) {
  const auto path = std::filesystem::temp_directory_path() / ("vprinter-memory-" + std::to_string(::getpid()));
  std::ofstream(path, std::ios::binary) << "xyz";
  const Bytes memory = initialMemory(std::nullopt, path.string());
  ASSERT_EQ(memory.size(), kDefaultMemorySize);
  EXPECT_EQ(Bytes(memory.begin(), memory.begin() + 5), (Bytes{'x', 'y', 'z', 0x03, 0x04}));
  EXPECT_EQ(memory[0x1FF], 0xFF);
  EXPECT_EQ(initialMemory(3, path.string()), bytesOf("xyz"));
  EXPECT_THROW(initialMemory(2, path.string()), std::runtime_error);
  std::filesystem::remove(path);
  EXPECT_THROW(initialMemory(std::nullopt, path.string()), std::runtime_error);
  EXPECT_EQ(initialMemory(4, ""), (Bytes{0, 1, 2, 3}));
}

}  // namespace
}  // namespace ombrel::vprinter
