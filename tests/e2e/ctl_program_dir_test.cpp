// Where an installed ombrelctl keeps its files: never in its bin directory.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "settings/temp_dir.h"
#include "support/run_program.h"

namespace ombrel::test_support {
namespace {

namespace fs = std::filesystem;

// A copy of ombrelctl outside the build folder stands for an installed one;
// its bin directory is writable, as /usr/bin is to root.
TEST(CtlProgramDirectory, InstalledProgramWritesIntoTheConfigDirectoryNotBesideItself) {
  struct Case {
    const char* xdgConfigHome;  // relative to the scratch directory; "" unset
    const char* expectedDir;
  };
  for (const Case& c : {Case{"xdg", "xdg/ombrel"}, Case{"", "home/.config/ombrel"}}) {
    testing::TempDir scratch;
    const fs::path bin = scratch / "bin";
    fs::create_directories(bin);
    fs::copy_file(builtProgram("ombrelctl"), bin / "ombrelctl");
    const std::string xdg = *c.xdgConfigHome == '\0' ? "" : (scratch / c.xdgConfigHome).string();
    const auto run = runProgram((bin / "ombrelctl").string(), {"--set", "BaudRate=38400"},
                                {{"XDG_CONFIG_HOME", xdg}, {"HOME", (scratch / "home").string()}});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(fs::exists(scratch / c.expectedDir / "sysconfig.ini")) << c.expectedDir;
    EXPECT_EQ(std::distance(fs::directory_iterator(bin), fs::directory_iterator()), 1) << c.expectedDir;
  }
}

}  // namespace
}  // namespace ombrel::test_support
