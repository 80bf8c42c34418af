// The "autosave" file: the givens written at the end of a run and read at its start.
#include "game/board/autosave.h"

#include <cstdio>
#include <cstdlib>

#include "common/files.h"
#include "common/save_folder.h"
#include "game/board/game_state.h"
#include "platform/platform.h"

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

// Both folders may hold a save: a run whose folder could not be written
// saved into the user's, and the next one may find its folder writable again.
// The newer is read; at a tie, the one in the save folder.
void load_board() {
    const char* other = save_folder.prefix[0] ? "" : save_folder.user_prefix;
    char paths[2][1024];
    autosave_path(save_folder.prefix, paths[0], sizeof(paths[0]));
    autosave_path(other, paths[1], sizeof(paths[1]));
    int64_t times[2] = {-1, -1};
    platform_file_mtime(paths[0], &times[0]);
    platform_file_mtime(paths[1], &times[1]);
    int newer = times[1] > times[0] ? 1 : 0;
    for (int k = 0; k < 2; k++) {
        const char* path = paths[k == 0 ? newer : 1 - newer];
        int32_t length = 0;
        char* bytes = read_whole_file(path, &length);
        bool applied = bytes && autosave_to_board((const uint8_t*)bytes, length);
        free(bytes);
        if (applied) return;
    }
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
