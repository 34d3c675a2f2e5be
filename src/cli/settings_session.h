#pragma once

// The parameters window's values for one ombrelctl run: loaded from the
// settings file, changed by --set, read by the actions and saved back at the
// end, as showing and closing the parameters window does.

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "settings/para_control_state.h"

namespace ombrel::cli {

// A typed value that the settings file's reader would not take as it stands;
// the text is the one line that says why (exit status 2).
class RefusedValue : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class SettingsSession {
 public:
  explicit SettingsSession(std::string path);

  // Loads the file (a missing file gives every default). Never sends anything.
  void load();
  // Applies one --set: a ParaDefault key as if stored in the file, or else a
  // control by its name. Raises RefusedValue for a value the key's reader
  // would replace, UsageError for an unknown name or a value the control
  // cannot take.
  void set(const std::string& name, const std::string& value);
  // Saves ParaDefault back; raises the settings file's error when it cannot.
  void save();

  ParaControlState& controls() { return controls_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  ParaControlState controls_;
};

}  // namespace ombrel::cli
