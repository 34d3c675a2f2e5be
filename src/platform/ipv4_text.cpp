#include "platform/ipv4_text.h"

#include <arpa/inet.h>

namespace ombrel {

bool inetAddrAccepts(const std::string& text) { return inet_addr(text.c_str()) != INADDR_NONE; }

}  // namespace ombrel
