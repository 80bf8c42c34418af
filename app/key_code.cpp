#include <GLFW/glfw3.h>

#include "app/input.h"

// GLFW key numbers that have a KeyCode, as runs of consecutive numbers. The
// codes count up from 1 through the runs in this order.
struct KeyRun {
    int first;
    int last;
};

static const KeyRun key_runs[] = {
    {GLFW_KEY_SPACE, GLFW_KEY_SPACE},
    {GLFW_KEY_APOSTROPHE, GLFW_KEY_APOSTROPHE},
    {GLFW_KEY_COMMA, GLFW_KEY_9},
    {GLFW_KEY_SEMICOLON, GLFW_KEY_SEMICOLON},
    {GLFW_KEY_EQUAL, GLFW_KEY_EQUAL},
    {GLFW_KEY_A, GLFW_KEY_RIGHT_BRACKET},
    {GLFW_KEY_GRAVE_ACCENT, GLFW_KEY_GRAVE_ACCENT},
    {GLFW_KEY_ESCAPE, GLFW_KEY_END},
    {GLFW_KEY_CAPS_LOCK, GLFW_KEY_PAUSE},
    {GLFW_KEY_F1, GLFW_KEY_F12},
    {GLFW_KEY_LEFT_SHIFT, GLFW_KEY_RIGHT_SUPER},
};

KeyCode key_code_from_glfw(int glfw_key) {
    int code = 1;
    for (const KeyRun& run : key_runs) {
        if (glfw_key >= run.first && glfw_key <= run.last)
            return (KeyCode)(code + glfw_key - run.first);
        code += run.last - run.first + 1;
    }
    return 0;
}

KeyCode key_code_in_layout(KeyCode code, const char* name) {
    // Keypad keys have names too, but no KeyCode to keep.
    if (code == 0 || !name || name[0] == 0 || name[1] != 0) return code;
    unsigned char c = (unsigned char)name[0];
    if (c > '~') return code;
    // GLFW numbers the printable keys by their ASCII character, letters upper case.
    if (c >= 'a' && c <= 'z') c = (unsigned char)(c - 'a' + 'A');
    return key_code_from_glfw(c);
}

// Keys that go on acting while held, without Control, Alt or Super.
struct HeldKey {
    int glfw_key;
    KeyCommand command;
};

static const HeldKey held_keys[] = {
    {GLFW_KEY_LEFT, KeyCommand::arrow_left},
    {GLFW_KEY_RIGHT, KeyCommand::arrow_right},
    {GLFW_KEY_UP, KeyCommand::cursor_up},
    {GLFW_KEY_DOWN, KeyCommand::cursor_down},
    {GLFW_KEY_DELETE, KeyCommand::erase_cell},
    {GLFW_KEY_BACKSPACE, KeyCommand::erase_back},
    {GLFW_KEY_PAGE_DOWN, KeyCommand::next_in_file},
    {GLFW_KEY_PAGE_UP, KeyCommand::previous_in_file},
};

static KeyCommand watch_command(KeyCode code) {
    switch (code) {
    case key_code_space:
        return KeyCommand::pause_or_start;
    case key_code_home:
        return KeyCommand::record_start;
    case key_code_end:
        return KeyCommand::record_end;
    case key_code_escape:
        return KeyCommand::escape;
    case key_code_n:
        return KeyCommand::new_puzzle;
    case key_code_l:
        return KeyCommand::next_length;
    case key_code_s:
        return KeyCommand::next_strategy;
    case key_code_c:
        return KeyCommand::compare;
    case key_code_m:
        return KeyCommand::candidates;
    default:
        return KeyCommand::none;
    }
}

KeyCommand key_command(KeyCode code, int action, int mods) {
    if (action == GLFW_RELEASE) return KeyCommand::none;
    bool plain = (mods & (GLFW_MOD_CONTROL | GLFW_MOD_ALT | GLFW_MOD_SUPER)) == 0;
    if (plain) {
        for (const HeldKey& held : held_keys)
            if (code == key_code_from_glfw(held.glfw_key)) return held.command;
    }
    if (action != GLFW_PRESS) return KeyCommand::none;
    if (plain && watch_command(code) != KeyCommand::none) return watch_command(code);
    if (plain && code == key_code_p)
        return mods & GLFW_MOD_SHIFT ? KeyCommand::animation : KeyCommand::picture;
    if (code == key_code_enter)
        return mods == GLFW_MOD_ALT ? KeyCommand::toggle_fullscreen : KeyCommand::none;
    if (code == key_code_q) return KeyCommand::quit;
    if (code == key_code_f1) return KeyCommand::key_card;
    if (code == key_code_z && mods == (GLFW_MOD_CONTROL | GLFW_MOD_SHIFT)) return KeyCommand::redo;
    if (mods != GLFW_MOD_CONTROL) return KeyCommand::none;
    if (code == key_code_v) return KeyCommand::paste;
    if (code == key_code_c) return KeyCommand::copy;
    if (code == key_code_z) return KeyCommand::undo;
    if (code == key_code_y) return KeyCommand::redo;
    return KeyCommand::none;
}

KeyCommand char_command(unsigned codepoint) {
    switch (codepoint) {
    // The unshifted key of + on US layouts, as most programs take it.
    case '+':
    case '=':
        return KeyCommand::pace_faster;
    case '-':
        return KeyCommand::pace_slower;
    case '.':
        return KeyCommand::step_forward;
    case ',':
        return KeyCommand::step_back;
    case '?':
        return KeyCommand::key_card;
    default:
        return KeyCommand::none;
    }
}
