#pragma once

namespace pelgar::platform {

// True when standard output is a terminal that understands the cursor movements of a live
// display (on Windows: a console that has taken them on). Each system implements it in its
// own folder.
bool StandardOutputIsTerminal();

}  // namespace pelgar::platform
