#pragma once

#include <string>

namespace pelgar::sim {

// Makes `port_name` (COM3) in the port directory a link to `device`, creating the
// directory when missing. An existing entry is replaced only when it links into /dev/pts,
// i.e. it is a simulator's, live or left over; anything else (a link to a real adapter)
// is kept and refused. `entry` gets the entry's path.
bool CreatePortEntry(const std::string& port_name, const std::string& device, std::string* entry,
                     std::string* error);

// Removes `entry` if it still links to `device`: another simulator may have taken over.
void RemovePortEntry(const std::string& entry, const std::string& device);

}  // namespace pelgar::sim
