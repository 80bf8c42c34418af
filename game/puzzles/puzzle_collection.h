// Puzzle files read whole: one puzzle in any form a paste takes, or a
// collection of one a line; from a path, or from a stream to its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "game/board/puzzle_text.h"

// The puzzles of a file, 81 cells each, row-major, 0 for an empty cell.
struct PuzzleCollection {
    uint8_t* cells;
    uint32_t count;
    // Lines that held something else than a puzzle, a blank or a comment,
    // and the first of them by number.
    uint32_t skipped;
    uint32_t skipped_lines[skipped_lines_named];
    // Each puzzle's line (from 1; 1 for a file of one puzzle in a grid) and
    // what its line says after its cells, at `names + name_at[k]`.
    uint32_t* lines;
    uint32_t* name_at;
    char* names;
};

// A file's text: one puzzle in any form read_puzzle_text takes, or a
// collection as read_puzzle_lines reads it. False with the reason in words
// ("is empty", "holds no puzzle"); the cells are the caller's to free.
bool read_puzzles(const char* text, size_t length, PuzzleCollection* out, char* reason,
                  int reason_size);
void free_puzzles(PuzzleCollection* puzzles);

// The puzzles of a stream read to its end (standard input, a pipe), or of a
// path; false with the reason in words ("is a folder", "is over 128 MiB").
// The window reads files only: a pipe or device may never end.
bool read_puzzle_stream(FILE* stream, PuzzleCollection* out, char* reason, int reason_size);
enum class FileKinds : uint8_t { files_only, any_stream };
bool read_puzzle_file(const char* path, FileKinds kinds, PuzzleCollection* out, char* reason,
                      int reason_size);
