#include "app/command_line.h"

#include <cstdio>
#include <cstring>

#include "app/solve_files.h"
#include "platform/platform.h"

static const char usage[] =
    "usage: tessarin [FILE]\n"
    "       tessarin --solve [FILE]\n"
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
    "  --              what follows is a file, even if it starts with -\n"
    "  --help          print this and exit\n"
    "  --version       print the version and exit\n"
    "\n"
    "Keys: click a digit, then cells; Solve or Space searches, Escape stops;\n"
    "+ and - set the pace, . and , step, Home replays; N makes a puzzle, L its length;\n"
    "PageDown and PageUp page through a file; Ctrl+Z undo, Ctrl+V paste, Ctrl+C copy;\n"
    "Alt+Enter full screen; ? shows every key; Q quits.\n";

CommandLine read_command_line(int argc, char** argv) {
    CommandLine command = {RunMode::window, nullptr, nullptr};
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
            return {RunMode::help, nullptr, nullptr};
        } else if (strcmp(arg, "--version") == 0) {
            return {RunMode::version, nullptr, nullptr};
        } else if (strcmp(arg, "--solve") == 0) {
            command.mode = RunMode::solve;
        } else {
            return {RunMode::wrong, nullptr, arg};
        }
    }
    if (files > 1) return {RunMode::too_many_files, nullptr, nullptr};
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
        return solve_files(command.file);
    case RunMode::too_many_files:
        fprintf(stderr, "tessarin: one file at a time\n\n%s", usage);
        return 2;
    default:
        fprintf(stderr, "tessarin: %s: not an option\n\n%s", command.wrong, usage);
        return 2;
    }
}
