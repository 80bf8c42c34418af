// Any bytes as pasted text or a puzzle file: a text taken as one puzzle holds
// exactly its 81 cells in order and nothing but the marks the forms allow,
// outside its comment lines; a refused one says why. Read as a collection,
// the count and the cells agree between the counting and the filling pass,
// and the file reader takes what either reader takes. libFuzzer passes a
// heap copy of exactly the input's length, so a read past the text is caught.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "game/board/puzzle_text.h"
#include "game/puzzles/puzzle_collection.h"

static void check_one_puzzle(const char* text, size_t size) {
    PuzzleText puzzle = read_puzzle_text(text, size);
    if (!puzzle.is_puzzle) {
        if (!puzzle.reason[0]) abort();
        return;
    }
    int cells = 0;
    bool line_blank = true;
    size_t i = size >= 3 && memcmp(text, "\xef\xbb\xbf", 3) == 0 ? 3 : 0;
    // Blank space around the whole is passed over, whatever it holds.
    while (i < size && strchr(" \t\r\n", text[i]) && text[i]) i++;
    for (; i < size; i++) {
        char c = text[i];
        if (c == '#' && line_blank) {
            while (i + 1 < size && text[i + 1] != '\n') i++;
            continue;
        }
        line_blank = c == '\n' || (line_blank && (c == ' ' || c == '\t'));
        if (c && strchr(" \t\r\n|-+", c)) continue;
        if (!c || !strchr(".0_*123456789", c)) abort();
        int digit = c >= '1' && c <= '9' ? c - '0' : 0;
        if (cells >= board_cells || puzzle.cells[cells++] != digit) abort();
    }
    if (cells != board_cells) abort();
}

static void check_collection(const char* text, size_t size) {
    PuzzleLines counted = read_puzzle_lines(text, size, nullptr);
    uint8_t* cells = (uint8_t*)malloc((size_t)counted.puzzles * board_cells + 1);
    if (!cells) return;
    PuzzleLines filled = read_puzzle_lines(text, size, cells);
    if (filled.puzzles != counted.puzzles || filled.skipped != counted.skipped) abort();
    for (size_t i = 0; i < (size_t)counted.puzzles * board_cells; i++) {
        if (cells[i] > 9) abort();
    }
    free(cells);

    PuzzleCollection puzzles;
    char reason[64] = "";
    bool read = read_puzzles(text, size, &puzzles, reason, sizeof(reason));
    if (read == (puzzles.count == 0) || (!read && !reason[0])) abort();
    if (read && puzzles.count != 1 && puzzles.count != counted.puzzles) abort();
    free_puzzles(&puzzles);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* text = (const char*)data;
    check_one_puzzle(text, size);
    check_collection(text, size);
    return 0;
}
