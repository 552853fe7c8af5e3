#pragma once

#include <iosfwd>
#include <optional>
#include <string_view>

#include "cli/CtlRequest.h"

namespace pelgar::cli {

// pelgarctl's command line read into a request. Nothing when the run ends here: --help and
// --version print to `out` (status 0), a usage error prints one line to `err` (status 2).
std::optional<CtlRequest> ParseCtlCommandLine(int argc, const char* const* argv, std::ostream& out,
                                              std::ostream& err, int* exit_status);

// A usage error, said as one line on `err` with where to look for the right use
// ("pelgarctl: <problem> (pelgarctl --help)"); returns the status it ends the run with.
int UsageError(std::ostream& err, std::string_view problem);

}  // namespace pelgar::cli
