// What the program is asked to do from its command line: open its window
// (on a puzzle file, if one is named), print its usage or version, or solve
// puzzle files without a window.
#pragma once

#include "game/search/strategies.h"

enum class RunMode { window, help, version, solve, wrong, too_many_files };

struct CommandLine {
    RunMode mode;
    // The puzzle file named, or null; for --solve, null or "-" is standard input.
    const char* file;
    // What was wrong, for the usage on standard error.
    const char* wrong;
    // --solve's way of searching, and its workers (0: one a core).
    Strategy strategy;
    int jobs;
};

CommandLine read_command_line(int argc, char** argv);
// Everything but the window: prints and returns the exit status.
int run_without_window(const CommandLine& command);
