// --help and --version on standard output with exit 0; a wrong command line
// gets one line naming the problem and where to look, with exit 2.

#include <gtest/gtest.h>

#include <string>

#include "support/run_program.h"

namespace ombrel::test_support {
namespace {

const char* const kPrograms[] = {"ombrelctl", "ombrel-vprinter", "ombrel-setting-tool"};

// The window program needs a display for anything past --help and --version.
ProgramRun runNamed(const std::string& name, const std::vector<std::string>& arguments) {
  return runProgram(builtProgram(name), arguments, {{"QT_QPA_PLATFORM", "offscreen"}});
}

TEST(ProgramConventions, HelpAndVersionGoToStandardOutput) {
  for (const std::string name : kPrograms) {
    const auto help = runNamed(name, {"--help"});
    EXPECT_EQ(help.exitCode, 0) << name;
    EXPECT_EQ(help.out.rfind("Usage: " + name, 0), 0u) << name << ": " << help.out;
    EXPECT_EQ(help.err, "") << name;

    const auto version = runNamed(name, {"--version"});
    EXPECT_EQ(version.exitCode, 0) << name;
    EXPECT_EQ(version.out, name + " (Ombrel Setting Tool) " OMBREL_VERSION "\n");
    EXPECT_EQ(version.err, "") << name;
  }
}

TEST(ProgramConventions, WrongCommandLineGetsOneLineAndAPointerToHelp) {
  for (const std::string name : kPrograms) {
    const auto run = runNamed(name, {"--no-such-option"});
    EXPECT_EQ(run.exitCode, 2) << name;
    EXPECT_EQ(run.out, "") << name;
    // The toolkit may warn first (no runtime directory); ours are the last two lines.
    const std::string hint = "Try '" + name + " --help'.\n";
    ASSERT_GE(run.err.size(), hint.size()) << name;
    EXPECT_EQ(run.err.substr(run.err.size() - hint.size()), hint) << run.err;
    const std::string rest = run.err.substr(0, run.err.size() - hint.size());
    const std::string problem = rest.substr(rest.rfind('\n', rest.size() - 2) + 1);
    EXPECT_EQ(problem.rfind(name + ": ", 0), 0u) << run.err;
    EXPECT_NE(problem.find("--no-such-option"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("Usage:"), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace ombrel::test_support
