#include "app/command_line.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/solve_files.h"
#include "platform/platform.h"

static const char usage[] =
    "usage: tessarin [FILE]\n"
    "       tessarin --solve [--strategy WAY] [--jobs N] [FILE]\n"
    "       tessarin --help | --version\n"
    "\n"
    "Tessarin solves 9 x 9 Sudoku puzzles in front of you with a backtracking search.\n"
    "FILE holds one puzzle (81 cells, one line or nine, # for comment lines) or a\n"
    "collection, one puzzle a line; its first puzzle goes on the board.\n"
    "\n"
    "  --solve [FILE]  solve every puzzle of FILE, or of standard input when FILE is\n"
    "                  missing or -, without a window: one line each,\n"
    "                    LINE VERDICT SOLUTION STEPS [NAME]\n"
    "                  LINE is the puzzle's line in the input; VERDICT is solved,\n"
    "                  several (SOLUTION is one of them), none or broken (a digit twice\n"
    "                  in a row, column or box: not searched); SOLUTION is 81 digits\n"
    "                  or -; STEPS the search's steps; NAME what the line says after\n"
    "                  the cells. A summary goes to standard error. Exits 0 when every\n"
    "                  puzzle had exactly one solution, 1 when one had not, 2 on an error.\n"
    "  --strategy WAY  search the puzzles of --solve this way: in-order (the default,\n"
    "                  the first empty cell in reading order), fewest (the cell with\n"
    "                  the fewest candidates), singles (cells and houses with one\n"
    "                  choice first) or cover (the exact-cover constraint with the\n"
    "                  fewest options); STEPS are that way's\n"
    "  --jobs N        solve on N workers (default: one a core); the output is the\n"
    "                  same, in the input's order\n"
    "  --              what follows is a file, even if it starts with -\n"
    "  --help          print this and exit\n"
    "  --version       print the version and exit\n"
    "\n"
    "Keys: click a digit, then cells; Solve or Space searches, Escape stops;\n"
    "+ and - set the pace, . and , step, Home replays; S the way of searching, C all\n"
    "four compared; N makes a puzzle, L its length;\n"
    "PageDown and PageUp page through a file; Ctrl+Z undo, Ctrl+V paste, Ctrl+C copy;\n"
    "Alt+Enter full screen; ? shows every key; Q quits.\n";

// A command line that asks for this alone (zero is the default of the rest).
static CommandLine only(RunMode mode, const char* wrong = nullptr) {
    CommandLine command = {};
    command.mode = mode;
    command.wrong = wrong;
    return command;
}

static bool read_strategy(const char* key, Strategy* out) {
    for (int s = 0; s < strategy_count; s++) {
        if (strcmp(key, strategy_keys[s]) != 0) continue;
        *out = (Strategy)s;
        return true;
    }
    return false;
}

CommandLine read_command_line(int argc, char** argv) {
    CommandLine command = only(RunMode::window);
    int files = 0;
    bool options_ended = false;
    for (int i = 1; i < argc; i++) {
        const char* arg = argv[i];
        bool option = !options_ended && arg[0] == '-' && arg[1] != 0;
        if (!option) {
            command.file = arg;
            files++;
        } else if (strcmp(arg, "--") == 0) {
            options_ended = true;
        } else if (strcmp(arg, "--help") == 0 || strcmp(arg, "-h") == 0) {
            return only(RunMode::help);
        } else if (strcmp(arg, "--version") == 0) {
            return only(RunMode::version);
        } else if (strcmp(arg, "--solve") == 0) {
            command.mode = RunMode::solve;
        } else if (strcmp(arg, "--strategy") == 0 && i + 1 < argc) {
            if (!read_strategy(argv[++i], &command.strategy)) return only(RunMode::wrong, argv[i]);
        } else if (strcmp(arg, "--jobs") == 0 && i + 1 < argc) {
            char* end = nullptr;
            long jobs = strtol(argv[++i], &end, 10);
            if (*end || jobs < 1 || jobs > 256) return only(RunMode::wrong, argv[i]);
            command.jobs = (int)jobs;
        } else {
            return only(RunMode::wrong, arg);
        }
    }
    if (files > 1) return only(RunMode::too_many_files);
    return command;
}

int run_without_window(const CommandLine& command) {
    platform_use_console_output();
    switch (command.mode) {
    case RunMode::help:
        fputs(usage, stdout);
        return 0;
    case RunMode::version:
        printf("tessarin %s\n", TESSARIN_VERSION);
        return 0;
    case RunMode::solve:
        return solve_files(command.file, command.strategy,
                           command.jobs > 0 ? command.jobs : platform_core_count());
    case RunMode::too_many_files:
        fprintf(stderr, "tessarin: one file at a time\n\n%s", usage);
        return 2;
    default:
        fprintf(stderr, "tessarin: %s: not an option\n\n%s", command.wrong, usage);
        return 2;
    }
}
