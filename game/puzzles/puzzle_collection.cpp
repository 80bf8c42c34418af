// Puzzle files and streams read whole into a collection of puzzles.
#include "game/puzzles/puzzle_collection.h"

#include <cstdlib>
#include <cstring>

#include "common/files.h"
#include "game/board/puzzle_text.h"
#include "platform/platform.h"

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

// Room for `count` puzzles and their labels; false when it cannot be had.
static bool hold_puzzles(PuzzleCollection* out, uint32_t count, size_t names) {
    out->cells = (uint8_t*)malloc((size_t)count * board_cells);
    out->lines = (uint32_t*)malloc((size_t)count * sizeof(uint32_t));
    out->name_at = (uint32_t*)malloc((size_t)count * sizeof(uint32_t));
    out->names = (char*)malloc(names);
    if (out->cells && out->lines && out->name_at && out->names) return true;
    free_puzzles(out);
    return false;
}

bool read_puzzles(const char* text, size_t length, PuzzleCollection* out, char* reason,
                  int reason_size) {
    *out = PuzzleCollection{};
    if (length == 0) return refuse(reason, reason_size, "is empty");
    if (looks_binary(text, length)) return refuse(reason, reason_size, "is not a text file");
    PuzzleLines found = read_puzzle_lines(text, length, nullptr);
    if (found.puzzles > 0) {
        // Each name and its zero take no more room than its line did.
        if (!hold_puzzles(out, found.puzzles, length + 1))
            return refuse(reason, reason_size, "is too large to hold");
        PuzzleLabels labels = {out->lines, out->name_at, out->names};
        found = read_puzzle_lines(text, length, out->cells, &labels);
        out->count = found.puzzles;
        out->skipped = found.skipped;
        memcpy(out->skipped_lines, found.skipped_lines, sizeof(out->skipped_lines));
        return true;
    }
    // One puzzle in any of the forms a paste takes, comments and all, at any length.
    PuzzleText one = read_puzzle_grid(text, length);
    if (one.is_puzzle) {
        if (!hold_puzzles(out, 1, 1)) return refuse(reason, reason_size, "is too large to hold");
        memcpy(out->cells, one.cells, board_cells);
        out->lines[0] = 1;
        out->name_at[0] = 0;
        out->names[0] = 0;
        out->count = 1;
        return true;
    }
    // A short text was most likely meant as one puzzle: say what is wrong with it.
    if (length <= puzzle_text_limit && found.skipped <= 1) {
        const char* words =
            strncmp(one.reason, "not a puzzle: ", 14) == 0 ? one.reason + 14 : one.reason;
        snprintf(reason, (size_t)reason_size, "holds no puzzle: %s", words);
        return false;
    }
    return refuse(reason, reason_size, "holds no puzzle");
}

void free_puzzles(PuzzleCollection* puzzles) {
    free(puzzles->cells);
    free(puzzles->lines);
    free(puzzles->name_at);
    free(puzzles->names);
    *puzzles = PuzzleCollection{};
}

bool read_puzzle_stream(FILE* stream, PuzzleCollection* out, char* reason, int reason_size) {
    *out = PuzzleCollection{};
    size_t length = 0;
    ReadFailure failure;
    char* text = read_whole_stream(stream, &length, &failure);
    switch (failure) {
    case ReadFailure::none:
        break;
    case ReadFailure::unreadable:
        return refuse(reason, reason_size, "cannot be read");
    case ReadFailure::too_large:
        return refuse(reason, reason_size, "is over 128 MiB");
    case ReadFailure::no_memory:
        return refuse(reason, reason_size, "is too large to hold");
    }
    bool read = read_puzzles(text, length, out, reason, reason_size);
    free(text);
    return read;
}

bool read_puzzle_file(const char* path, FileKinds kinds, PuzzleCollection* out, char* reason,
                      int reason_size) {
    *out = PuzzleCollection{};
    int64_t size = 0;
    switch (platform_path_kind(path, &size)) {
    case PathKind::missing:
        return refuse(reason, reason_size, "is not there");
    case PathKind::folder:
        return refuse(reason, reason_size, "is a folder");
    case PathKind::unreadable:
        return refuse(reason, reason_size, "cannot be read");
    case PathKind::special:
        if (kinds == FileKinds::files_only)
            return refuse(reason, reason_size, "is a pipe or a device, not a file");
        break;
    case PathKind::file:
        break;
    }
    FILE* file = platform_open_file(path, "rb");
    if (!file) return refuse(reason, reason_size, "cannot be read: no permission");
    bool read = read_puzzle_stream(file, out, reason, reason_size);
    fclose(file);
    return read;
}
