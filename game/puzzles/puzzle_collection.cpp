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

void free_puzzles(PuzzleCollection* puzzles) {
    free(puzzles->cells);
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
    FILE* file = platform_open_file(path, "rb");
    if (!file) return refuse(reason, reason_size, "cannot be read: no permission");
    bool read = read_puzzle_stream(file, out, reason, reason_size);
    fclose(file);
    return read;
}
