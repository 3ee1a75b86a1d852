#pragma once

namespace tarvenor {

// The program from start to exit: command line, single instance, companion, the main window
// with its keyboard session and tray icon, and the exit sequence. Returns the exit code.
int run_tarvenor(int argc, char** argv);

} // namespace tarvenor
