#pragma once

// The system's IPv4 text parser, which the address boxes are checked with.

#include <string>

namespace ombrel {

// Whether inet_addr reads an address from `text`. It takes one to four
// dot-separated numbers (so "192.168.1" passes) and answers 255.255.255.255
// with its no-address value, which is therefore refused.
bool inetAddrAccepts(const std::string& text);

}  // namespace ombrel
