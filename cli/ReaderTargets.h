#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/ReaderWorld.h"

namespace pelgar::cli {

// The readers that -p and --all name, each once, in the order given. A port is COMn (in any
// letter case), an entry of the port directory, or a device path. Nothing when one names no
// device; `error` then says which.
std::optional<std::vector<ReaderTarget>> ResolveTargets(const std::vector<std::string>& ports,
                                                        bool all, std::string* error);

// What "ports" lists: COM1 to COM11, then the port directory's other entries by name.
std::vector<ReaderTarget> KnownPorts();

}  // namespace pelgar::cli
