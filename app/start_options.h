#pragma once

#include <string>
#include <vector>

namespace tarvenor {

// What the command line asks of this start. "/Start" and "/Kill" (and --start, --kill) are
// matched without regard to case; anything else is ignored, as it always was.
struct StartOptions {
    bool quiet_start = false; // QuietStartFlag: no automatic show for the first keyboard
    bool kill = false;        // end the running instance; start normally when there is none
    bool help = false;
    bool version = false;
};

// The arguments after the program name.
StartOptions parse_start_options(const std::vector<std::string>& arguments);

} // namespace tarvenor
