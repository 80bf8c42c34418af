// Any bytes as pasted text: a text taken as a puzzle holds exactly its 81
// cells in order and nothing but the marks the forms allow; a refused one
// says why. libFuzzer passes a heap copy of exactly the input's length, so a
// read past the text is caught.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "game/puzzle_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* text = (const char*)data;
    PuzzleText puzzle = read_puzzle_text(text, size);
    if (!puzzle.is_puzzle) {
        if (!puzzle.reason[0]) abort();
        return 0;
    }
    int cells = 0;
    for (size_t i = 0; i < size; i++) {
        char c = text[i];
        if (c && strchr(" \t\r\n|-+", c)) continue;
        if (!c || !strchr(".0_*123456789", c)) abort();
        int digit = c >= '1' && c <= '9' ? c - '0' : 0;
        if (cells >= board_cells || puzzle.cells[cells++] != digit) abort();
    }
    if (cells != board_cells) abort();
    return 0;
}
