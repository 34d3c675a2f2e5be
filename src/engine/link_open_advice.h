#pragma once

#include <optional>
#include <string>

#include "engine/engine_host.h"

namespace ombrel {

// Advice for the operator when a task failed with its port's open failure
// text on `link`, or a link test found no printer there (the failure text
// itself stays as it is); nothing for any other failure or transport.
std::optional<std::string> linkOpenAdvice(const LinkSettings& link, const std::string& failureText);

}  // namespace ombrel
