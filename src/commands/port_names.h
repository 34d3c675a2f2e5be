#pragma once

// The operator's labels of a station's USB ports, kept as
// "[ProductionLine] PortNames=1-1.1:A1,1-1.2:A2" and shown wherever a port is.

#include <map>
#include <string>

namespace ombrel {

using PortNames = std::map<std::string, std::string>;  // port -> label

// Reads the stored text; pairs without a port or label, or a port given
// twice (the first holds), are passed over.
PortNames parsePortNames(const std::string& text);
// The stored text, ports in order.
std::string portNamesText(const PortNames& names);
// "1-1.2 (A2)", or the port alone when it has no label.
std::string portWithLabel(const PortNames& names, const std::string& port);

}  // namespace ombrel
