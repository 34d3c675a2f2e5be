#pragma once

// A throwaway PostgreSQL cluster for the tests: made by initdb in a
// temporary directory (as the `postgres` system user when the tests run as
// root, since initdb refuses root), listening only on a socket directory of
// its own, with a database made for the test. stop() and start() play a
// server lost and back; the destructor stops it and removes everything.

#include <string>
#include <vector>

namespace ombrel::test_support {

class PgCluster {
 public:
  // `durable`: fsync on, as a real server (for the benchmarks); the tests
  // keep it off, which makes them several times faster.
  explicit PgCluster(bool durable = false);
  ~PgCluster();
  PgCluster(const PgCluster&) = delete;
  PgCluster& operator=(const PgCluster&) = delete;

  // A libpq connection string to the test's database, as `user` (the
  // superuser unless named; trust authentication, so no password).
  std::string conninfo(const std::string& user = "postgres") const;
  // The same on a port where nothing listens: a server that is not there.
  std::string unreachableConninfo() const;
  // Creates a role that may log in and use the database, but not create
  // tables in its public schema.
  void createRole(const std::string& name) const;

  // Fast shutdown: every session is ended, as when a server goes away.
  void stop();
  void start();

 private:
  void run(const std::vector<std::string>& command, bool asOwner) const;
  std::string root_;  // the temporary directory, owned by the cluster's user
  std::string data_;
  int port_ = 0;
  bool running_ = false;
};

}  // namespace ombrel::test_support
