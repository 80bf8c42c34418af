#include "game/autosave.h"

#include <cstdlib>

#include "common/files.h"
#include "game/game_state.h"

static const char autosave_path[] = "autosave";
static const uint8_t autosave_marker = 1;

void board_to_autosave(uint8_t image[autosave_size]) {
    image[0] = autosave_marker;
    for (int i = 0; i < board_cells; i++) {
        image[1 + i] = game_state.board.given[i] ? (uint8_t)cell_value(i) : 0;
    }
}

bool autosave_to_board(const uint8_t* bytes, int32_t length) {
    if (length < autosave_size || bytes[0] != autosave_marker) return false;
    // Check every cell before touching the board, so a bad file leaves it as it was.
    for (int i = 0; i < board_cells; i++) {
        if (bytes[1 + i] > 9) return false;
    }
    for (int i = 0; i < board_cells; i++) {
        if (bytes[1 + i] == 0) continue;
        game_state.board.given[i] = 1;
        set_cell_value(i, bytes[1 + i]);
    }
    return true;
}

bool save_board() {
    uint8_t image[autosave_size];
    board_to_autosave(image);
    return write_file_replacing(autosave_path, image, autosave_size);
}

void load_board() {
    int32_t length = 0;
    char* bytes = read_whole_file(autosave_path, &length);
    if (!bytes) return;
    autosave_to_board((const uint8_t*)bytes, length);
    free(bytes);
}
