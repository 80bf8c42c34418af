#include "game/puzzle_file.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/game_state.h"
#include "game/givens_history.h"
#include "game/message_line.h"
#include "game/puzzle_text.h"
#include "game/watch.h"
#include "platform/platform.h"

// The open file: its puzzles, held from its opening to the next one.
struct OpenPuzzleFile {
    PuzzleCollection puzzles;
    uint32_t shown;
    char name[64];
};

static OpenPuzzleFile open_file;

static bool refuse(char* reason, int size, const char* words) {
    snprintf(reason, (size_t)size, "%s", words);
    return false;
}

// Bytes no text file holds: a zero, or most control characters.
static bool looks_binary(const char* text, size_t length) {
    size_t look = length < 4096 ? length : 4096;
    for (size_t i = 0; i < look; i++) {
        unsigned char c = (unsigned char)text[i];
        if (c == 0 || (c < 32 && c != '\n' && c != '\r' && c != '\t' && c != '\f')) return true;
    }
    return false;
}

bool read_puzzles(const char* text, size_t length, PuzzleCollection* out, char* reason,
                  int reason_size) {
    *out = PuzzleCollection{};
    if (length == 0) return refuse(reason, reason_size, "is empty");
    if (looks_binary(text, length)) return refuse(reason, reason_size, "is not a text file");
    // One puzzle in any of the forms a paste takes, comments and all.
    PuzzleText one = {};
    if (length <= puzzle_text_limit) {
        one = read_puzzle_text(text, length);
        if (one.is_puzzle) {
            out->cells = (uint8_t*)malloc(board_cells);
            if (!out->cells) return refuse(reason, reason_size, "is too large to hold");
            memcpy(out->cells, one.cells, board_cells);
            out->count = 1;
            return true;
        }
    }
    PuzzleLines found = read_puzzle_lines(text, length, nullptr);
    if (found.puzzles == 0) {
        // A short text was most likely meant as one puzzle: say what is wrong with it.
        if (length <= puzzle_text_limit && found.skipped <= 1) {
            const char* words =
                strncmp(one.reason, "not a puzzle: ", 14) == 0 ? one.reason + 14 : one.reason;
            snprintf(reason, (size_t)reason_size, "holds no puzzle: %s", words);
            return false;
        }
        return refuse(reason, reason_size, "holds no puzzle");
    }
    out->cells = (uint8_t*)malloc((size_t)found.puzzles * board_cells);
    if (!out->cells) return refuse(reason, reason_size, "is too large to hold");
    out->count = found.puzzles;
    out->skipped = read_puzzle_lines(text, length, out->cells).skipped;
    return true;
}

bool read_puzzle_file(const char* path, PuzzleCollection* out, char* reason, int reason_size) {
    *out = PuzzleCollection{};
    int64_t size = 0;
    switch (platform_path_kind(path, &size)) {
    case PathKind::missing:
        return refuse(reason, reason_size, "is not there");
    case PathKind::folder:
        return refuse(reason, reason_size, "is a folder");
    case PathKind::unreadable:
        return refuse(reason, reason_size, "cannot be read");
    case PathKind::file:
        break;
    }
    if (size > puzzle_file_limit) return refuse(reason, reason_size, "is over 128 MiB");
    FILE* file = platform_open_file(path, "rb");
    if (!file) return refuse(reason, reason_size, "cannot be read: no permission");
    char* text = (char*)malloc((size_t)size + 1);
    size_t length = text ? fread(text, 1, (size_t)size, file) : 0;
    bool failed = !text || ferror(file);
    fclose(file);
    if (failed) {
        free(text);
        return refuse(reason, reason_size, text ? "cannot be read" : "is too large to hold");
    }
    bool read = read_puzzles(text, length, out, reason, reason_size);
    free(text);
    return read;
}

void free_puzzles(PuzzleCollection* puzzles) {
    free(puzzles->cells);
    *puzzles = PuzzleCollection{};
}

// The last part of the path, cut to fit the line.
static void name_of(const char* path, char* out, size_t size) {
    const char* name = path;
    for (const char* c = path; *c; c++) {
        if (*c == '/' || *c == '\\') name = c + 1;
    }
    snprintf(out, size, "%s", name);
}

static void show_puzzle(uint32_t index, double now) {
    open_file.shown = index;
    set_givens_from(open_file.puzzles.cells + (size_t)index * board_cells);
    note_givens_change();
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

void open_puzzle_file(const char* path, double now) {
    char name[64], reason[64], words[128];
    name_of(path, name, sizeof(name));
    // The search owns the board, as against a paste.
    if (game_state.solver_running.load(std::memory_order_acquire)) {
        snprintf(words, sizeof(words), "%s: not opened while a search runs", name);
        post_notice(words, now);
        return;
    }
    PuzzleCollection puzzles;
    if (!read_puzzle_file(path, &puzzles, reason, sizeof(reason))) {
        snprintf(words, sizeof(words), "%s %s", name, reason);
        post_notice(words, now);
        return;
    }
    free_puzzles(&open_file.puzzles);
    open_file.puzzles = puzzles;
    memcpy(open_file.name, name, sizeof(name));
    begin_board_edit();
    show_puzzle(0, now);
}

void page_puzzle_file(int step, double now) {
    if (open_file.puzzles.count == 0 || !begin_board_edit()) return;
    int64_t index = (int64_t)open_file.shown + step;
    if (index < 0 || index >= (int64_t)open_file.puzzles.count) return;
    show_puzzle((uint32_t)index, now);
}
