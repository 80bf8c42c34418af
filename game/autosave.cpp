#include "game/autosave.h"

#include <cstdio>
#include <cstdlib>

#include "common/files.h"
#include "common/save_folder.h"
#include "game/game_state.h"

static const char autosave_name[] = "autosave";
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

static void autosave_path(char* out, int capacity) {
    snprintf(out, (size_t)capacity, "%s%s", save_folder.prefix, autosave_name);
}

bool save_board() {
    uint8_t image[autosave_size];
    board_to_autosave(image);
    char path[1024];
    autosave_path(path, sizeof(path));
    return write_file_replacing(path, image, autosave_size);
}

void load_board() {
    char path[1024];
    autosave_path(path, sizeof(path));
    int32_t length = 0;
    char* bytes = read_whole_file(path, &length);
    // Saving moves to the user's folder once the executable's folder is
    // read-only; until the first save there, the old save is still the one
    // beside the executable.
    if (!bytes && save_folder.prefix[0]) bytes = read_whole_file(autosave_name, &length);
    if (!bytes) return;
    autosave_to_board((const uint8_t*)bytes, length);
    free(bytes);
}
