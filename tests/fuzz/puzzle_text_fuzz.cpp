// Any bytes as pasted text: the reading stays inside them, and a text taken as
// a puzzle holds exactly its 81 cells in order and nothing but the marks the
// forms allow; a refused one says why.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "game/puzzle_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the input's length, so reading one byte past it is caught.
    char* text = (char*)malloc(size ? size : 1);
    if (size) memcpy(text, data, size);
    PuzzleText puzzle = read_puzzle_text(text, size);
    if (!puzzle.is_puzzle) {
        if (!puzzle.reason[0]) abort();
    } else {
        int cells = 0;
        for (size_t i = 0; i < size; i++) {
            char c = text[i];
            int digit = c >= '1' && c <= '9' ? c - '0' : 0;
            if (!digit && (!c || !strchr(".0_*", c))) {
                if (!c || !strchr(" \t\r\n|-+", c)) abort();
                continue;
            }
            if (cells >= board_cells || puzzle.cells[cells++] != digit) abort();
        }
        if (cells != board_cells) abort();
    }
    free(text);
    return 0;
}
