#pragma once

#include <iosfwd>

#include "cli/CtlRequest.h"
#include "cli/ReaderWorld.h"

namespace pelgar::cli {

// Runs `request` on every reader it names at once, one thread and one world each, shows
// them (Display), and returns the exit status: 1 when any reader failed, else 3 when any
// differs from the file, else 0; 2 for a usage error found here (nothing sent). A file that
// the command would refuse fails every reader before any is claimed.
int RunCtl(const CtlRequest& request, WorldMaker& worlds, std::istream& in, std::ostream& out,
           std::ostream& err, bool terminal);

}  // namespace pelgar::cli
