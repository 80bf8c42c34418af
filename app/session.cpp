#include "app/session.h"

#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstring>

#include "app/app.h"
#include "app/window_place.h"
#include "common/files.h"
#include "common/save_folder.h"
#include "game/puzzles/new_puzzle.h"
#include "game/puzzles/puzzle_file.h"
#include "game/search/search_shared.h"
#include "game/watch/strategy_choice.h"
#include "game/watch/watch.h"
#include "render/renderer.h"

static const char session_name[] = "session";

Session remembered_session = [] {
    Session session{};
    session.pace = flat_out;
    session.length = (uint8_t)PuzzleLength::medium;
    return session;
}();

// What the last look saw, and when it is to be written.
struct SessionTimer {
    Session seen;
    bool pending;
    double due;
};

static SessionTimer timer;

static bool take_session(const char* text, int32_t length) {
    return session_from_text(text, (size_t)length, &remembered_session);
}

void load_session() {
    read_newer_save(session_name, take_session);
}

// The session as it is now. Reads no window system state but the window's
// monitor, so it serves when the display is gone too.
static void gather(Session* session) {
    // Zeroed whole, padding too: sessions are compared byte for byte.
    memset(session, 0, sizeof(*session));
    session->pace = pace_level();
    session->length = (uint8_t)chosen_length();
    session->strategy = (uint8_t)chosen_strategy();
    session->window_known = windowed_geometry.width > 0 && windowed_geometry.height > 0;
    session->full_screen = main_window && glfwGetWindowMonitor(main_window);
    session->x = windowed_geometry.x;
    session->y = windowed_geometry.y;
    session->width = windowed_geometry.width;
    session->height = windowed_geometry.height;
    session->scale = pixel_scale;
    const char* path;
    const uint8_t* cells;
    if (open_file_place(&path, &session->puzzle, &cells) && path[0]) {
        snprintf(session->file, sizeof(session->file), "%s", path);
        memcpy(session->cells, cells, sizeof(session->cells));
    }
}

void apply_session(bool file_named, double now) {
    set_pace_level(remembered_session.pace);
    set_length((PuzzleLength)remembered_session.length);
    use_strategy((Strategy)remembered_session.strategy);
    if (!file_named && remembered_session.file[0])
        reopen_puzzle_file(remembered_session.file, remembered_session.puzzle,
                           remembered_session.cells, now);
    // What the run starts with is written only once it changes.
    gather(&timer.seen);
}

void follow_session(double now) {
    Session session;
    gather(&session);
    if (memcmp(&session, &timer.seen, sizeof(session)) != 0) {
        timer.seen = session;
        timer.pending = true;
        timer.due = now + 1.0;
    }
    if (!timer.pending || now < timer.due) return;
    timer.pending = false;
    save_session();
}

bool save_session() {
    Session session;
    gather(&session);
    char text[session_text_capacity], path[1024];
    int length = session_to_text(session, text, sizeof(text));
    snprintf(path, sizeof(path), "%s%s", save_folder.prefix, session_name);
    return write_file_replacing(path, text, length);
}
