#include "support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace ombrel::test_support {

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kReapPollInterval = std::chrono::milliseconds(5);

std::vector<std::string> mergedEnvironment(const ChildProcess::Environment& extra) {
  std::map<std::string, std::string> variables;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    const std::size_t equals = text.find('=');
    if (equals != std::string::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
  }
  for (const auto& [name, value] : extra) variables[name] = value;
  std::vector<std::string> merged;
  for (const auto& [name, value] : variables) merged.push_back(name + "=" + value);
  return merged;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
  std::vector<char*> out;
  for (std::string& text : texts) out.push_back(text.data());
  out.push_back(nullptr);
  return out;
}

// Closes the descriptors and spawn objects it was given, whatever happens.
struct SpawnResources {
  int pipe[2] = {-1, -1};
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  SpawnResources() {
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
  }
  ~SpawnResources() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (pipe[1] >= 0) ::close(pipe[1]);
    if (pipe[0] >= 0) ::close(pipe[0]);
  }
};

ExitStatus statusOf(int waitStatus) {
  ExitStatus status;
  status.exited = WIFEXITED(waitStatus);
  if (status.exited) status.code = WEXITSTATUS(waitStatus);
  if (WIFSIGNALED(waitStatus)) status.signal = WTERMSIG(waitStatus);
  return status;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const Environment& environment) {
  SpawnResources spawn;
  if (::pipe2(spawn.pipe, O_CLOEXEC) != 0) throw std::runtime_error(std::string("pipe2: ") + std::strerror(errno));
  posix_spawn_file_actions_adddup2(&spawn.actions, spawn.pipe[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&spawn.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  // The child starts with default signal handling and nothing blocked,
  // whatever the test process has set up.
  sigset_t none;
  sigset_t all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&spawn.attributes, &none);
  posix_spawnattr_setsigdefault(&spawn.attributes, &all);
  posix_spawnattr_setflags(&spawn.attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  std::vector<std::string> argv = {program};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<std::string> envp = mergedEnvironment(environment);
  std::vector<char*> argvPointers = pointers(argv);
  std::vector<char*> envpPointers = pointers(envp);
  const int failed = ::posix_spawn(&pid_, program.c_str(), &spawn.actions, &spawn.attributes, argvPointers.data(),
                                   envpPointers.data());
  if (failed != 0) throw std::runtime_error("cannot start " + program + ": " + std::strerror(failed));
  stdoutFd_ = spawn.pipe[0];
  spawn.pipe[0] = -1;
}

ChildProcess::~ChildProcess() {
  if (!status_ && !tryReap()) {
    ::kill(pid_, SIGKILL);
    int ignored = 0;
    ::waitpid(pid_, &ignored, 0);
  }
  ::close(stdoutFd_);
}

std::optional<std::string> ChildProcess::readLine(std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    if (const std::size_t end = pending_.find('\n'); end != std::string::npos) {
      std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      return line;
    }
    if (outputEnded_) {
      if (pending_.empty()) return std::nullopt;
      return std::exchange(pending_, std::string());
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return std::nullopt;
    pollfd waitFor{stdoutFd_, POLLIN, 0};
    const int ready = ::poll(&waitFor, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno != EINTR) throw std::runtime_error(std::string("poll: ") + std::strerror(errno));
    if (ready <= 0) continue;
    char chunk[4096];
    const ssize_t got = ::read(stdoutFd_, chunk, sizeof chunk);
    if (got > 0) {
      pending_.append(chunk, static_cast<std::size_t>(got));
    } else if (got == 0 || errno != EINTR) {
      outputEnded_ = true;
    }
  }
}

void ChildProcess::sendSignal(int signalNumber) {
  if (!status_) ::kill(pid_, signalNumber);
}

std::optional<ExitStatus> ChildProcess::waitForExit(std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (!status_ && !tryReap()) {
    if (Clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(kReapPollInterval);
  }
  return status_;
}

bool ChildProcess::tryReap() {
  int waitStatus = 0;
  const pid_t done = ::waitpid(pid_, &waitStatus, WNOHANG);
  if (done != pid_) return false;
  status_ = statusOf(waitStatus);
  return true;
}

}  // namespace ombrel::test_support
