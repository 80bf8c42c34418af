#include "app/command_line.h"

#include <cstdio>
#include <cstring>

#include "game/board/game_state.h"
#include "game/board/givens_check.h"
#include "game/puzzles/puzzle_collection.h"
#include "game/search/solver.h"
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
    "                  missing or -, without a window: one line each, the solution's\n"
    "                  81 digits or \"none\", then the steps the search took. Exits 0\n"
    "                  when every puzzle was solved, 1 when one was not, 2 on an error.\n"
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
    for (int i = 1; i < argc; i++) {
        const char* arg = argv[i];
        if (strcmp(arg, "--help") == 0 || strcmp(arg, "-h") == 0) {
            return {RunMode::help, nullptr, nullptr};
        } else if (strcmp(arg, "--version") == 0) {
            return {RunMode::version, nullptr, nullptr};
        } else if (strcmp(arg, "--solve") == 0) {
            command.mode = RunMode::solve;
        } else if (arg[0] == '-' && arg[1] != 0) {
            return {RunMode::wrong, nullptr, arg};
        } else {
            command.file = arg;
            files++;
        }
    }
    if (files > 1) return {RunMode::wrong, nullptr, "more than one file"};
    return command;
}

// Each puzzle with the program's own search, as the window runs it.
static int solve_all(const PuzzleCollection& puzzles) {
    int status = 0;
    char line[board_cells + 32];
    for (uint32_t p = 0; p < puzzles.count; p++) {
        const uint8_t* cells = puzzles.cells + (size_t)p * board_cells;
        // Givens that break the rules are not searched: the search could take
        // minutes to find out, and a full board of theirs is no solution.
        GivenConflicts conflicts;
        bool broken = judge_givens(cells, &conflicts) == GivensVerdict::broken;
        set_givens_from(cells);
        uint64_t steps_before = solver_steps;
        bool solved = !broken && solve_from(-1);
        uint64_t steps = solver_steps - steps_before;
        if (solved) {
            for (int i = 0; i < board_cells; i++) line[i] = (char)('0' + cell_value(i));
            line[board_cells] = 0;
        } else {
            snprintf(line, sizeof(line), "none");
            status = 1;
        }
        printf("%s %llu\n", line, (unsigned long long)steps);
    }
    return status;
}

static int solve_files(const char* file) {
    PuzzleCollection puzzles;
    char reason[64];
    char message[1200];
    bool read;
    if (!file || strcmp(file, "-") == 0) {
        read = read_puzzle_stream(stdin, &puzzles, reason, sizeof(reason));
        file = "standard input";
    } else {
        read = read_puzzle_file(file, &puzzles, reason, sizeof(reason));
    }
    if (!read) {
        snprintf(message, sizeof(message), "%s %s", file, reason);
        platform_write_message(message);
        return 2;
    }
    if (puzzles.skipped > 0) {
        snprintf(message, sizeof(message), "%s: %u %s skipped, not puzzles", file, puzzles.skipped,
                 puzzles.skipped == 1 ? "line" : "lines");
        platform_write_message(message);
    }
    int status = solve_all(puzzles);
    free_puzzles(&puzzles);
    return status;
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
    default:
        fprintf(stderr, "tessarin: %s: not an option\n\n%s", command.wrong, usage);
        return 2;
    }
}
