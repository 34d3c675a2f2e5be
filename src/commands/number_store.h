#pragma once

// Where a station's serial numbers come from: its own journal beside
// sysconfig.ini, or the line's server. SerialAllocator calls one of them
// with its mutex held.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

namespace ombrel {

// What became of a number handed out.
enum class NumberEnd { Committed, GivenBack, Unknown };

// The line's server a station takes its numbers from.
struct LineServer {
  std::string conninfo;  // libpq's connection string or URI, holding no password
  std::string line = "default";
  std::string station;
};

// The line's server cannot be reached, at the start or under a take: the
// text is the station's "Line database unreachable", detail() libpq's own.
class LineDatabaseUnreachable : public std::runtime_error {
 public:
  LineDatabaseUnreachable(const std::string& text, std::string detail)
      : std::runtime_error(text), detail_(std::move(detail)) {}
  const std::string& detail() const { return detail_; }

 private:
  std::string detail_;
};

class NumberStore {
 public:
  virtual ~NumberStore() = default;
  // A number held by `slot` from now on; nothing when they are used up.
  virtual std::optional<std::uint32_t> take(const std::string& slot) = 0;
  // Never raises.
  virtual void end(std::uint32_t number, NumberEnd end) = 0;
  // The number take() would give next, as last seen.
  virtual std::string nextText() const = 0;
};

}  // namespace ombrel
