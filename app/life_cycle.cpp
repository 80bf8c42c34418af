#include <GLFW/glfw3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/animation.h"
#include "app/app.h"
#include "app/command_line.h"
#include "app/frame_clock.h"
#include "app/frame_statistics.h"
#include "app/input.h"
#include "app/session.h"
#include "game/board/autosave.h"
#include "game/board/notice.h"
#include "game/puzzles/puzzle_file.h"
#include "game/screen/game_screen.h"
#include "platform/platform.h"
#include "render/gl.h"
#include "render/panel.h"
#include "render/rect_batch.h"
#include "render/renderer.h"
#include "render/shader.h"
#include "render/texture.h"
#include "text/font.h"
#include "text/text_object.h"

// The givens could not be saved in either folder; the old save stays.
static const char save_failed[] = "the givens could not be saved";

// Another copy, started on the same save, asked for this window; it has
// ended by now. Restoring a window that is not minimised would undo its
// maximising.
static void come_forward() {
    frame_wanted = true;
    if (glfwGetWindowAttrib(main_window, GLFW_ICONIFIED)) glfwRestoreWindow(main_window);
    glfwFocusWindow(main_window);
}

bool frame_wanted = true;

// A file another copy handed over, opened as a drop is.
static char handed_file[4096];

// Minimised, or with nothing on the screen to change, the loop sleeps until
// an event comes, waking often enough for the file watches and the title; a
// search goes on meanwhile. While a worker counts, it looks again after a
// frame's time, so the result shows as soon as it is there.
static constexpr double rest_wake_seconds = 0.25;

// The screen's and the animation's worker's.
static Motion motion() {
    return std::max(screen_motion(), animation_motion());
}

static void rest() {
    bool worker = !window_minimised && motion() == Motion::waiting;
    glfwWaitEventsTimeout(worker ? frame_budget : rest_wake_seconds);
}

bool run_frame() {
    if (window_minimised || !frame_wanted) rest();
    frame_clock.frame_start = clock_seconds();
    glfwPollEvents();
    if (platform_session_ending()) quit_requested = true;
    if (platform_take_forward_request(handed_file, sizeof(handed_file))) {
        come_forward();
        if (handed_file[0]) open_dropped_file(handed_file);
    }
    if (save_due(frame_clock.frame_start) && !save_board())
        show_title_notice(save_failed, frame_clock.frame_start);
    follow_session(frame_clock.frame_start);
    if (shader_reload_changed(frame_clock.frame_start)) frame_wanted = true;
    if (textures_reload_changed(frame_clock.frame_start)) frame_wanted = true;
    update_frame_title(frame_clock.frame_start);
    // A window restored during the wait is drawn at once.
    if (window_minimised) return false;
    // What moves now is drawn now and in the next frame too, so the last
    // frame shows where it stopped.
    bool moving = motion() == Motion::moving;
    bool draw = frame_wanted || moving;
    frame_wanted = moving;
    if (!draw) return false;
    count_frame();
    // After a resize.
    fit_texts_to_scale(view_scale);
    glClear(GL_COLOR_BUFFER_BIT);
    animation_frame(frame_clock.frame_start);
    game_frame(frame_clock.frame_start);
    // A font first made in this frame is drawn fitted in the next.
    if (fit_texts_to_scale(view_scale)) frame_wanted = true;
    frame_clock.frame_time = clock_seconds() - frame_clock.frame_start;
    return true;
}

// Every GL object goes before the window does. The board is saved only by an
// orderly end after the game has loaded it, never by a failed start.
static void release_everything() {
    rect_batch_release();
    panels_release_all();
    release_all_text_objects();
    clear_fonts();
    textures_release_all();
    renderer_release();
    shader_release();
}

// An end the system asks for saves the session too; what it says is of the givens.
static bool save_at_end() {
    save_session();
    return save_board();
}

// The window's run, with the file named on the command line (absolute), if any.
static int run_window(const char* file) {
    StartUp started = start_up(file);
    if (started != StartUp::ready) {
        glfwTerminate();
        return started == StartUp::handed_over ? 0 : 1;
    }
    glfwSwapBuffers(main_window);
    bool loaded = show_loading_screen();
    if (loaded) {
        glfwSwapBuffers(main_window);
        loaded = enter_game();
    }
    if (!loaded) {
        release_everything();
        glfwTerminate();
        return 1;
    }
    glfwSwapBuffers(main_window);
    apply_session(file != nullptr, clock_seconds());
    // What the line says of a file that does not open goes to the console too.
    if (file && !open_puzzle_file(file, clock_seconds()))
        platform_write_message(notice_showing(clock_seconds()));

    platform_watch_session_end(save_at_end);
    platform_raise_main_thread_priority();
    platform_pacing_begin();
    while (!quit_requested && !glfwWindowShouldClose(main_window)) {
        if (run_frame()) {
            glfwSwapBuffers(main_window);
            pace_frame();
        }
    }
    platform_pacing_end();
    finish_animation();

    bool saved = save_at_end();
    platform_session_saved();
    release_everything();
    glfwTerminate();
    if (saved) return 0;
    char message[160];
    snprintf(message, sizeof(message),
             "%s, neither beside the program nor in the user's data folder; the last save "
             "is kept as it was",
             save_failed);
    // A message box would hold up the end of the user's session.
    if (platform_session_ending()) {
        platform_write_message(message);
    } else {
        platform_report_error(message);
    }
    return 1;
}

int tessarin_main(int argc, char** argv) {
    CommandLine command = read_command_line(argc, argv);
    if (command.mode != RunMode::window) return run_without_window(command);
    // Taken from the folder the program was started in, before it moves to its own.
    char* file = command.file ? platform_absolute_path(command.file) : nullptr;
    if (command.file && !file) {
        char message[160];
        snprintf(message, sizeof(message), "%.100s: the path cannot be made absolute",
                 command.file);
        platform_write_message(message);
        return 2;
    }
    int status = run_window(file);
    free(file);
    return status;
}
