#include "linedb/pg_cluster.h"

#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "support/run_program.h"

namespace ombrel::test_support {

namespace {

const std::string kBin = "/usr/lib/postgresql/15/bin/";
const std::string kDatabase = "line_test";

// A port nothing listens on now; the server only uses it to name its
// socket, which lies in a directory of its own, so a clash cannot happen.
int freePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) throw std::runtime_error("no socket for a free port");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                     ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
  ::close(fd);
  if (!bound) throw std::runtime_error("cannot find a free port");
  return ntohs(address.sin_port);
}

}  // namespace

PgCluster::PgCluster(bool durable) : port_(freePort()) {
  std::string pattern = "/tmp/ombrel-pg-XXXXXX";
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make the cluster's directory");
  root_ = pattern;
  data_ = root_ + "/data";
  if (::geteuid() == 0) {
    const passwd* owner = ::getpwnam("postgres");
    if (!owner) throw std::runtime_error("the tests run as root but there is no `postgres` user to run the cluster");
    if (::chown(root_.c_str(), owner->pw_uid, owner->pw_gid) != 0) {
      throw std::runtime_error("cannot give " + root_ + " to the postgres user");
    }
  }
  run({kBin + "initdb", "-D", data_, "-A", "trust", "-U", "postgres", "-E", "UTF8", "--no-locale", "--no-sync"}, true);
  std::ofstream conf(data_ + "/postgresql.conf", std::ios::app);
  conf << "listen_addresses = ''\n"
       << "unix_socket_directories = '" << root_ << "'\n"
       << "port = " << port_ << "\n"
       << "fsync = " << (durable ? "on" : "off") << "\n"
       << "synchronous_commit = " << (durable ? "on" : "off") << "\n"
       << "full_page_writes = " << (durable ? "on" : "off") << "\n";
  conf.close();
  if (!conf) throw std::runtime_error("cannot write the cluster's postgresql.conf");
  start();
  run({kBin + "createdb", "-h", root_, "-p", std::to_string(port_), "-U", "postgres", kDatabase}, false);
}

PgCluster::~PgCluster() {
  try {
    if (running_) run({kBin + "pg_ctl", "-D", data_, "-m", "immediate", "-w", "stop"}, true);
  } catch (const std::exception&) {
  }
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::string PgCluster::conninfo(const std::string& user) const {
  return "host=" + root_ + " port=" + std::to_string(port_) + " dbname=" + kDatabase + " user=" + user;
}

std::string PgCluster::unreachableConninfo() const {
  return "host=" + root_ + " port=" + std::to_string(port_ + 1) + " dbname=" + kDatabase + " user=postgres";
}

void PgCluster::createRole(const std::string& name) const {
  const std::string sql = "CREATE ROLE " + name + " LOGIN; GRANT CONNECT ON DATABASE " + kDatabase + " TO " + name +
                          "; REVOKE CREATE ON SCHEMA public FROM PUBLIC;";
  run({kBin + "psql", "-X", "-q", "-v", "ON_ERROR_STOP=1", "-h", root_, "-p", std::to_string(port_), "-U", "postgres",
       "-d", kDatabase, "-c", sql},
      false);
}

void PgCluster::stop() {
  run({kBin + "pg_ctl", "-D", data_, "-m", "fast", "-w", "stop"}, true);
  running_ = false;
}

void PgCluster::start() {
  run({kBin + "pg_ctl", "-D", data_, "-l", root_ + "/server.log", "-w", "start"}, true);
  running_ = true;
}

void PgCluster::run(const std::vector<std::string>& command, bool asOwner) const {
  std::vector<std::string> arguments = command;
  std::string program = arguments.front();
  if (asOwner && ::geteuid() == 0) {
    // The cluster's programs run as its owner, from a directory it may enter.
    arguments = {"-u", "postgres", "--", "sh", "-c", "cd \"$0\" && exec \"$@\"", root_};
    arguments.insert(arguments.end(), command.begin(), command.end());
    program = "/usr/sbin/runuser";
  } else {
    arguments.erase(arguments.begin());
  }
  const ProgramRun done = runProgram(program, arguments, {}, std::chrono::seconds(60));
  if (done.exitCode != 0) {
    throw std::runtime_error(command.front() + " failed (" + std::to_string(done.exitCode) + "): " + done.err +
                             done.out + fileContent(root_ + "/server.log"));
  }
}

}  // namespace ombrel::test_support
