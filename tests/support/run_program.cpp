#include "support/run_program.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace ombrel::test_support {

namespace {
std::string temporaryPath(const char* what) {
  std::string pattern = std::string("/tmp/ombrel_") + what + "_XXXXXX";
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) throw std::runtime_error("cannot create a temporary file");
  ::close(fd);
  return pattern;
}
}  // namespace

std::string fileContent(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

std::string builtProgram(const std::string& name) {
  std::filesystem::path dir;
  if (const char* named = std::getenv("OMBREL_BIN_DIR")) {
    dir = named;
  } else {
    // The test programs are built beside the programs they run.
    dir = std::filesystem::read_symlink("/proc/self/exe").parent_path();
  }
  const std::filesystem::path program = dir / name;
  if (::access(program.c_str(), X_OK) != 0) {
    throw std::runtime_error("no program " + program.string() + ": build it first (ctest sets OMBREL_BIN_DIR)");
  }
  return program.string();
}

std::filesystem::path sourceDirectory() {
  const char* dir = std::getenv("OMBREL_SOURCE_DIR");
  if (dir == nullptr) throw std::runtime_error("OMBREL_SOURCE_DIR is not set: run the tests through ctest");
  return dir;
}

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::vector<std::pair<std::string, std::string>>& environment,
                      std::chrono::milliseconds timeout) {
  const std::string outPath = temporaryPath("out");
  const std::string errPath = temporaryPath("err");
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  const auto started = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    const int in = ::open("/dev/null", O_RDONLY);
    const int out = ::open(outPath.c_str(), O_WRONLY | O_TRUNC);
    const int err = ::open(errPath.c_str(), O_WRONLY | O_TRUNC);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    for (const auto& [name, value] : environment) ::setenv(name.c_str(), value.c_str(), 1);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }

  ProgramRun run;
  int status = 0;
  for (;;) {
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) {
      run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      break;
    }
    if (std::chrono::steady_clock::now() - started > timeout) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  run.took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
  run.out = fileContent(outPath);
  run.err = fileContent(errPath);
  ::unlink(outPath.c_str());
  ::unlink(errPath.c_str());
  return run;
}

}  // namespace ombrel::test_support
