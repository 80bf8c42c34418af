// The "autosave" file: the givens written at the end of a run and read at its start.
#include "game/board/autosave.h"

#include <cstdio>

#include "common/files.h"
#include "common/save_folder.h"
#include "game/board/game_state.h"

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

static void autosave_path(const char* folder, char* out, int capacity) {
    snprintf(out, (size_t)capacity, "%s%s", folder, autosave_name);
}

static bool save_in(const char* folder, const uint8_t image[autosave_size]) {
    char path[1024];
    autosave_path(folder, path, sizeof(path));
    return write_file_replacing(path, image, autosave_size);
}

bool save_board() {
    uint8_t image[autosave_size];
    board_to_autosave(image);
    if (save_in(save_folder.prefix, image)) return true;
    return move_to_user_folder() && save_in(save_folder.prefix, image);
}

static bool take_autosave(const char* bytes, int32_t length) {
    return autosave_to_board((const uint8_t*)bytes, length);
}

// Both folders may hold a save; the newer is read.
void load_board() {
    read_newer_save(autosave_name, take_autosave);
}

struct SaveTimer {
    bool pending;
    double due;
};

static SaveTimer save_timer;

bool save_due(double now) {
    if (game_state.givens_changed) {
        game_state.givens_changed = false;
        save_timer.pending = true;
        save_timer.due = now + save_delay;
    }
    if (!save_timer.pending || now < save_timer.due) return false;
    save_timer.pending = false;
    return true;
}
