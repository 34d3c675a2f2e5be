#pragma once

// Runs a program as a child process for end-to-end tests: its standard output
// is read line by line with a time-out, standard input is /dev/null and
// standard error is inherited (it shows in the test output). A child that is
// still running when the object goes away is killed and reaped.

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ombrel::test_support {

struct ExitStatus {
  bool exited = false;  // ended by exit(); otherwise by `signal`
  int code = 0;
  int signal = 0;
};

class ChildProcess {
 public:
  // Variables set (or replaced) in the child's environment, on top of ours.
  using Environment = std::vector<std::pair<std::string, std::string>>;

  // Throws std::runtime_error when the program cannot be started.
  ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
               const Environment& environment = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t pid() const { return pid_; }

  // The next line of standard output without its line end; nullopt when none
  // came within `timeout` or the output has ended (see outputEnded()).
  std::optional<std::string> readLine(std::chrono::milliseconds timeout);
  bool outputEnded() const { return outputEnded_; }

  void sendSignal(int signalNumber);

  // Waits for the child to end; nullopt when it is still running after
  // `timeout`. Once it has ended, the same status is returned again.
  std::optional<ExitStatus> waitForExit(std::chrono::milliseconds timeout);

 private:
  bool tryReap();

  pid_t pid_ = -1;
  int stdoutFd_ = -1;
  std::string pending_;
  bool outputEnded_ = false;
  std::optional<ExitStatus> status_;
};

}  // namespace ombrel::test_support
