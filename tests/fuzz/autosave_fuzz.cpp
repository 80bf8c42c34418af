// Any bytes as the "autosave" file, applied to a board as freshly started as
// the program's: either the file is taken whole, and saving the board gives
// back exactly its first 82 bytes, or it is refused and the board stays empty.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "game/board/autosave.h"
#include "game/board/game_state.h"

static bool board_is_empty() {
    for (int i = 0; i <= board_cells; i++) {
        if (cell_value(i) != 0) return false;
    }
    for (int i = 0; i < board_cells; i++) {
        if (game_state.board.given[i]) return false;
    }
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > INT32_MAX) return 0;
    clear_all();
    // A copy of exactly the input's length, so reading one byte past it is caught.
    uint8_t* bytes = (uint8_t*)malloc(size ? size : 1);
    if (size) memcpy(bytes, data, size);
    bool applied = autosave_to_board(bytes, (int32_t)size);
    bool acceptable = size >= (size_t)autosave_size && data[0] == 1;
    for (size_t i = 1; acceptable && i < (size_t)autosave_size; i++) acceptable = data[i] <= 9;
    if (applied != acceptable) abort();
    if (applied) {
        uint8_t image[autosave_size];
        board_to_autosave(image);
        if (memcmp(image, data, autosave_size) != 0) abort();
        if (cell_value(board_cells) != 0) abort();
    } else if (!board_is_empty()) {
        abort();
    }
    free(bytes);
    return 0;
}
