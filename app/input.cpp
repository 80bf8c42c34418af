#include "app/input.h"

#include <GLFW/glfw3.h>

#include "app/animation.h"
#include "app/app.h"
#include "app/clipboard.h"
#include "app/frame_clock.h"
#include "app/picture.h"
#include "app/window_place.h"
#include "game/board/game_state.h"
#include "game/board/givens_history.h"
#include "game/puzzles/new_puzzle.h"
#include "game/puzzles/puzzle_file.h"
#include "game/screen/board_marks.h"
#include "game/screen/cell_cursor.h"
#include "game/screen/compare_card.h"
#include "game/screen/game_screen.h"
#include "game/screen/key_card.h"
#include "game/screen/pointer_input.h"
#include "game/screen/strip_screen.h"
#include "game/watch/strategy_choice.h"
#include "game/watch/watch.h"
#include "render/renderer.h"

bool window_minimised;

// The key that closes the card does nothing else, nor does the character it types.
static bool char_of_closing_key;
// The modifier that closed the card, until it is let go; 0 for none.
static int closing_modifier;

static bool is_modifier(int key) {
    return key >= GLFW_KEY_LEFT_SHIFT && key <= GLFW_KEY_RIGHT_SUPER;
}

// The keys of watching the search (and the keys that share theirs); false
// for a key that is not one.
static bool watch_key(KeyCommand command) {
    switch (command) {
    case KeyCommand::pace_faster:
        pace_faster();
        return true;
    case KeyCommand::pace_slower:
        pace_slower();
        return true;
    case KeyCommand::pause_or_start:
        watch_space();
        return true;
    case KeyCommand::step_forward:
        watch_step_forward();
        return true;
    case KeyCommand::step_back:
        watch_step_back(true);
        return true;
    case KeyCommand::arrow_right:
        if (!watch_step_forward()) move_cursor(1, 0);
        return true;
    case KeyCommand::arrow_left:
        if (!watch_step_back(false)) move_cursor(-1, 0);
        return true;
    case KeyCommand::record_start:
        watch_home();
        return true;
    case KeyCommand::record_end:
        watch_end();
        return true;
    case KeyCommand::escape:
        if (cancel_animation()) return true;
        if (game_state.solver_running.load(std::memory_order_acquire) || replay_showing())
            watch_escape();
        else
            hide_cursor();
        return true;
    case KeyCommand::key_card:
        show_key_card();
        return true;
    default:
        return false;
    }
}

// Past a quit or a close, the run is ending: no key or click acts any more.
static bool run_ending() {
    return quit_requested || glfwWindowShouldClose(main_window);
}

void on_key(GLFWwindow*, int key, int scancode, int action, int mods) {
    frame_wanted = true;
    char_of_closing_key = false;
    if (run_ending()) return;
    watch_follow_search();
    // The comparison: 1 to 4 choose a way of searching, and every key closes it.
    if (compare_card_shown) {
        if (action != GLFW_PRESS) return;
        int digit = key >= GLFW_KEY_1 && key <= GLFW_KEY_4         ? key - GLFW_KEY_0
                    : key >= GLFW_KEY_KP_1 && key <= GLFW_KEY_KP_4 ? key - GLFW_KEY_KP_0
                                                                   : 0;
        compare_card_key(digit, clock_seconds());
        char_of_closing_key = true;
        if (is_modifier(key)) closing_modifier = key;
        return;
    }
    if (key_card_shown) {
        if (action == GLFW_PRESS) {
            key_card_shown = false;
            char_of_closing_key = true;
            if (is_modifier(key)) closing_modifier = key;
        }
        return;
    }
    // A card closed by a modifier: the keys pressed while it is held belong
    // to the closing too, so Ctrl+V or Shift+Q does nothing.
    if (closing_modifier) {
        if (action == GLFW_RELEASE && key == closing_modifier) closing_modifier = 0;
        if (action != GLFW_RELEASE) char_of_closing_key = true;
        return;
    }
    KeyCode code = key_code_in_layout(key_code_from_glfw(key), glfwGetKeyName(key, scancode));
    KeyCommand command = key_command(code, action, mods);
    if (watch_key(command)) return;
    switch (command) {
    case KeyCommand::quit:
        quit_requested = true;
        break;
    case KeyCommand::toggle_fullscreen:
        toggle_fullscreen();
        break;
    case KeyCommand::paste:
        paste_puzzle();
        break;
    case KeyCommand::copy:
        copy_board();
        break;
    case KeyCommand::cursor_up:
        move_cursor(0, -1);
        break;
    case KeyCommand::cursor_down:
        move_cursor(0, 1);
        break;
    case KeyCommand::erase_cell:
        erase_cursor_cell();
        break;
    case KeyCommand::erase_back:
        erase_back();
        break;
    case KeyCommand::undo:
        undo_board_edit();
        break;
    case KeyCommand::next_in_file:
        page_puzzle_file(1, clock_seconds());
        break;
    case KeyCommand::previous_in_file:
        page_puzzle_file(-1, clock_seconds());
        break;
    case KeyCommand::new_puzzle:
        new_puzzle_key(clock_seconds());
        break;
    case KeyCommand::next_length:
        next_length_key(clock_seconds());
        break;
    case KeyCommand::next_strategy:
        next_strategy(clock_seconds());
        break;
    case KeyCommand::compare:
        show_compare_card(clock_seconds());
        break;
    case KeyCommand::redo:
        redo_board_edit();
        break;
    case KeyCommand::candidates:
        candidates_wanted = !candidates_wanted;
        break;
    case KeyCommand::picture:
        save_picture(clock_seconds());
        break;
    case KeyCommand::animation:
        start_animation(clock_seconds());
        break;
    default:
        break;
    }
}

void on_char(GLFWwindow*, unsigned codepoint) {
    frame_wanted = true;
    if (char_of_closing_key || key_card_shown || compare_card_shown) {
        char_of_closing_key = false;
        return;
    }
    if (run_ending()) return;
    watch_follow_search();
    // GLFW sends no characters while Control or Alt is held.
    if (codepoint >= '0' && codepoint <= '9')
        type_digit((int)(codepoint - '0'));
    else
        watch_key(char_command(codepoint));
}

void on_mouse_button(GLFWwindow* window, int button, int action, int) {
    frame_wanted = true;
    // A drag of the strip ends at any release, the card's too.
    if (action == GLFW_RELEASE) strip_release();
    // A click of any button closes a card and does nothing else, but a click
    // on a row of the comparison chooses its way of searching.
    if (key_card_shown) {
        if (action == GLFW_PRESS) key_card_shown = false;
        return;
    }
    if (compare_card_shown) {
        double x, y;
        glfwGetCursorPos(window, &x, &y);
        if (action == GLFW_PRESS)
            compare_card_press((float)(x / view_scale), (float)(y / view_scale), clock_seconds());
        return;
    }
    if (action > 1 || button > 1 || run_ending()) return;
    watch_follow_search();
    double x, y;
    glfwGetCursorPos(window, &x, &y);
    // The cursor is in window pixels; the layout is in units of view_scale pixels.
    float unit_x = (float)(x / view_scale), unit_y = (float)(y / view_scale);
    if (action == GLFW_PRESS && strip_press(unit_x, unit_y)) return;
    handle_click(action == GLFW_PRESS, unit_x, unit_y);
}

void on_cursor_move(GLFWwindow*, double x, double) {
    frame_wanted = true;
    if (key_card_shown || compare_card_shown) return;
    strip_drag((float)(x / view_scale));
}

void on_scroll(GLFWwindow*, double, double up) {
    frame_wanted = true;
    if (key_card_shown || compare_card_shown || run_ending()) return;
    // Away from the user is faster, as the ladder of + and - goes up.
    if (up > 0) pace_faster();
    if (up < 0) pace_slower();
}

void on_framebuffer_size(GLFWwindow*, int width, int height) {
    frame_wanted = true;
    set_viewport((uint16_t)width, (uint16_t)height);
    // The clickable centres follow the drawing area, so clicks keep landing on
    // what is drawn after a resize or a switch to full screen.
    game_resize(view_width, view_height);
}

void open_dropped_file(const char* path) {
    if (run_ending()) return;
    key_card_shown = false;
    compare_card_shown = false;
    watch_follow_search();
    open_puzzle_file(path, clock_seconds());
}

void on_drop(GLFWwindow*, int count, const char** paths) {
    frame_wanted = true;
    if (count >= 1) open_dropped_file(paths[0]);
}

void on_iconify(GLFWwindow*, int iconified) {
    frame_wanted = true;
    window_minimised = iconified == GLFW_TRUE;
}

void on_refresh(GLFWwindow*) {
    frame_wanted = true;
}
