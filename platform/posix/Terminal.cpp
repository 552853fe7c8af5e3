#include "platform/Terminal.h"

#include <unistd.h>

namespace pelgar::platform {

bool StandardOutputIsTerminal() { return isatty(STDOUT_FILENO) == 1; }

}  // namespace pelgar::platform
