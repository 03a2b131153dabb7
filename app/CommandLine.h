#pragma once

#include <optional>

// Handles the program's options before any application object exists, so they work without a
// display, never reach a running copy and never open the settings. Returns the exit status when
// an option was handled (2 for a wrong command line); nothing when the clock should start.
std::optional<int> runCommandLine(int argc, char* argv[]);
