// Keyboard, mouse-button and framebuffer-size events from GLFW. Every event
// has the next frame drawn.
#pragma once

#include <cstdint>

struct GLFWwindow;

// The shell's compact key numbering: 0 for keys outside the list, else 1-87.
using KeyCode = uint8_t;
constexpr KeyCode key_code_c = 21;
constexpr KeyCode key_code_l = 30;
constexpr KeyCode key_code_m = 31;
constexpr KeyCode key_code_n = 32;
constexpr KeyCode key_code_p = 34;
constexpr KeyCode key_code_q = 35;
constexpr KeyCode key_code_s = 37;
constexpr KeyCode key_code_v = 40;
constexpr KeyCode key_code_y = 43;
constexpr KeyCode key_code_z = 44;
constexpr KeyCode key_code_enter = 50;
constexpr KeyCode key_code_f1 = 68;
constexpr KeyCode key_code_space = 1;
constexpr KeyCode key_code_escape = 49;
constexpr KeyCode key_code_home = 61;
constexpr KeyCode key_code_end = 62;

KeyCode key_code_from_glfw(int glfw_key);
// The KeyCode of what the key prints in the user's layout, from its name
// (glfwGetKeyName), so letters are found by their label, not their US place.
// A key without a one-character ASCII name keeps `code`; one that prints a
// character no key of the list stands for gets 0.
KeyCode key_code_in_layout(KeyCode code, const char* name);

// What a key press asks for, from its KeyCode, action and modifier bits.
enum class KeyCommand {
    none,
    quit,
    toggle_fullscreen,
    paste,
    copy,
    cursor_up,
    cursor_down,
    erase_cell,
    erase_back,
    undo,
    redo,
    key_card,
    new_puzzle,
    next_length,
    next_strategy,
    compare,
    candidates,
    picture,
    animation,
    next_in_file,
    previous_in_file,
    // Watching the search; the arrows left and right step it while it is
    // paused or replayed, else they move the cell cursor, and Escape stops it
    // or leaves the replay, else hides the cursor.
    pace_faster,
    pace_slower,
    pause_or_start,
    step_forward,
    step_back,
    arrow_right,
    arrow_left,
    record_start,
    record_end,
    escape,
};
KeyCommand key_command(KeyCode code, int action, int mods);
// What a typed character asks for, wherever it is on the keyboard or keypad.
KeyCommand char_command(unsigned codepoint);

void on_key(GLFWwindow* window, int key, int scancode, int action, int mods);
// Characters typed: the digits, `?`, `+`, `-`, `.` and `,`, whichever keys
// type them in the layout.
void on_char(GLFWwindow* window, unsigned codepoint);
void on_mouse_button(GLFWwindow* window, int button, int action, int mods);
// A drag along the search's strip follows the pointer.
void on_cursor_move(GLFWwindow* window, double x, double y);
// The wheel moves the pace up and down the ladder of + and -.
void on_scroll(GLFWwindow* window, double right, double up);
void on_framebuffer_size(GLFWwindow* window, int width, int height);
// Files dropped on the window: the first opens.
void on_drop(GLFWwindow* window, int count, const char** paths);
// A file opened as a drop is: over any card, and not once the run is ending.
void open_dropped_file(const char* path);
// Minimising and restoring: the frame loop rests while the window is minimised.
extern bool window_minimised;
void on_iconify(GLFWwindow* window, int iconified);
// The system lost the window's picture (uncovered, say): it is drawn again.
void on_refresh(GLFWwindow* window);
