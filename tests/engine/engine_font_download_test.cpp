// The font download on the engine's own threads, against a scripted serial
// printer: the file's name reaches the front end through the owner's thread,
// and a cancel from another thread stops the download at a block boundary.

#include <unistd.h>

#include <fstream>
#include <thread>

#include "engine_fixture.h"

namespace ombrel::testing_support {
namespace {

constexpr int kBlocks = 400;

class FontDownloadEngine : public EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    std::ofstream(font_, std::ios::binary) << std::string(kBlocks * 256, '\x33');
  }
  void TearDown() override {
    EngineFixture::TearDown();
    std::filesystem::remove(font_);
  }
  TransferJob fontJob() const {
    TransferJob job;
    job.downloads = {{font_.string(), "FONT", "$33", "$10000"}};
    return job;
  }

  const std::filesystem::path font_ =
      std::filesystem::temp_directory_path() / ("ombrel_font_" + std::to_string(::getpid()) + ".bin");
};

TEST_F(FontDownloadEngine, CancelFromAnotherThreadStopsAtABlockBoundary) {
  ASSERT_TRUE(engine->StartTask(3, 0, 0, {}, fontJob()));
  cancelAfterFrames(51, 3);
  EXPECT_EQ(lastMessage().text, "Operaton Cancelled");
  const auto commands = commandsSent();
  EXPECT_LT(framesSent(51), kBlocks);
  EXPECT_EQ(commands.back(), 51);
  EXPECT_EQ(host.transferTexts(), (std::vector<std::string>{"Downloading FONT" + font_.string()}));
  EXPECT_EQ(host.progress().back().phase, TransferPhase::Ended);
  EXPECT_FALSE(engine->linkOpen());
}

}  // namespace
}  // namespace ombrel::testing_support
