// The puzzle file open in the program, and paging through it.
#include "game/puzzles/puzzle_file.h"

#include <cstdio>
#include <cstring>

#include "game/board/game_state.h"
#include "game/board/givens_history.h"
#include "game/board/notice.h"
#include "game/puzzles/puzzle_collection.h"
#include "game/watch/watch.h"

// The open file: its puzzles, held from its opening to the next one.
struct OpenPuzzleFile {
    PuzzleCollection puzzles;
    uint32_t shown;
    char name[64];
    // For the next run; empty when too long to keep.
    char path[4096];
};

static OpenPuzzleFile open_file;

// The last part of the path, cut to fit the line.
static void name_of(const char* path, char* out, size_t size) {
    const char* name = path;
    for (const char* c = path; *c; c++) {
        if (*c == '/' || *c == '\\') name = c + 1;
    }
    snprintf(out, size, "%s", name);
    // A name cut to fit is cut between characters, never inside one.
    size_t length = strlen(out), lead = length;
    if (length + 1 < size) return;
    while (lead > 0 && ((unsigned char)out[lead - 1] & 0xC0) == 0x80) lead--;
    if (lead == 0) return;
    unsigned char first = (unsigned char)out[lead - 1];
    size_t needed = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
    if (lead - 1 + needed > length) out[lead - 1] = 0;
}

// "puzzle 3 of 50   week.sdm" on the line.
static void say_puzzle(uint32_t index, double now) {
    char words[128];
    if (open_file.puzzles.skipped > 0 && index == 0)
        snprintf(words, sizeof(words), "puzzle 1 of %u   %s   %u %s skipped",
                 open_file.puzzles.count, open_file.name, open_file.puzzles.skipped,
                 open_file.puzzles.skipped == 1 ? "line" : "lines");
    else
        snprintf(words, sizeof(words), "puzzle %u of %u   %s", index + 1, open_file.puzzles.count,
                 open_file.name);
    post_notice(words, now);
}

static void show_puzzle(uint32_t index, double now) {
    open_file.shown = index;
    set_givens_from(open_file.puzzles.cells + (size_t)index * board_cells);
    note_givens_change();
    say_puzzle(index, now);
}

// The file's puzzles become the open file's.
static void hold_file(PuzzleCollection* puzzles, const char* path, const char* name) {
    free_puzzles(&open_file.puzzles);
    open_file.puzzles = *puzzles;
    snprintf(open_file.name, sizeof(open_file.name), "%s", name);
    size_t length = strlen(path);
    if (length < sizeof(open_file.path))
        memcpy(open_file.path, path, length + 1);
    else
        open_file.path[0] = 0;
}

bool open_puzzle_file(const char* path, double now) {
    char name[64], reason[64], words[128];
    name_of(path, name, sizeof(name));
    // The search owns the board, as against a paste.
    if (game_state.solver_running.load(std::memory_order_acquire)) {
        snprintf(words, sizeof(words), "%s: not opened while a search runs", name);
        post_notice(words, now);
        return false;
    }
    // A pipe may never end, and the window must not wait for it.
    PuzzleCollection puzzles;
    if (!read_puzzle_file(path, FileKinds::files_only, &puzzles, reason, sizeof(reason))) {
        snprintf(words, sizeof(words), "%s %s", name, reason);
        post_notice(words, now);
        return false;
    }
    hold_file(&puzzles, path, name);
    begin_board_edit();
    show_puzzle(0, now);
    return true;
}

bool open_file_place(const char** path, uint32_t* shown, const uint8_t** cells) {
    if (open_file.puzzles.count == 0) return false;
    *path = open_file.path;
    *shown = open_file.shown;
    *cells = open_file.puzzles.cells + (size_t)open_file.shown * board_cells;
    return true;
}

bool reopen_puzzle_file(const char* path, uint32_t shown, const uint8_t cells[81], double now) {
    char name[64], reason[64], words[160];
    name_of(path, name, sizeof(name));
    PuzzleCollection puzzles;
    if (!read_puzzle_file(path, FileKinds::files_only, &puzzles, reason, sizeof(reason))) {
        snprintf(words, sizeof(words), "%s %s: the givens as saved", name, reason);
        post_notice(words, now);
        return false;
    }
    if (shown >= puzzles.count ||
        memcmp(puzzles.cells + (size_t)shown * board_cells, cells, board_cells) != 0) {
        free_puzzles(&puzzles);
        snprintf(words, sizeof(words), "%s changed since the last run: the givens as saved", name);
        post_notice(words, now);
        return false;
    }
    hold_file(&puzzles, path, name);
    open_file.shown = shown;
    say_puzzle(shown, now);
    return true;
}

void page_puzzle_file(int step, double now) {
    if (open_file.puzzles.count == 0) return;
    if (!begin_board_edit()) {
        post_notice("the next puzzle waits: a search is running", now);
        return;
    }
    int64_t index = (int64_t)open_file.shown + step;
    if (index < 0 || index >= (int64_t)open_file.puzzles.count) {
        char words[128];
        snprintf(words, sizeof(words), "%s puzzle of %u   %s", index < 0 ? "the first" : "the last",
                 open_file.puzzles.count, open_file.name);
        post_notice(words, now);
        return;
    }
    show_puzzle((uint32_t)index, now);
}
