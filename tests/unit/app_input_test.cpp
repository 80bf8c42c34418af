#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "app/input.h"

TEST(KeyCode, NumbersTheListedKeysConsecutively) {
    EXPECT_EQ(key_code_from_glfw(GLFW_KEY_SPACE), 1);
    EXPECT_EQ(key_code_from_glfw(GLFW_KEY_APOSTROPHE), 2);
    EXPECT_EQ(key_code_from_glfw(GLFW_KEY_COMMA), 3);
    EXPECT_EQ(key_code_from_glfw(GLFW_KEY_SLASH), 6);
    EXPECT_EQ(key_code_from_glfw(GLFW_KEY_0), 7);
    EXPECT_EQ(key_code_from_glfw(GLFW_KEY_9), 16);
    EXPECT_EQ(key_code_from_glfw(GLFW_KEY_SEMICOLON), 17);
    EXPECT_EQ(key_code_from_glfw(GLFW_KEY_EQUAL), 18);
    EXPECT_EQ(key_code_from_glfw(GLFW_KEY_A), 19);
    EXPECT_EQ(key_code_from_glfw(GLFW_KEY_Q), 35);
    EXPECT_EQ(key_code_from_glfw(GLFW_KEY_Z), 44);
    EXPECT_EQ(key_code_from_glfw(GLFW_KEY_LEFT_BRACKET), 45);
    EXPECT_EQ(key_code_from_glfw(GLFW_KEY_RIGHT_BRACKET), 47);
    EXPECT_EQ(key_code_from_glfw(GLFW_KEY_GRAVE_ACCENT), 48);
    EXPECT_EQ(key_code_from_glfw(GLFW_KEY_ESCAPE), 49);
    EXPECT_EQ(key_code_from_glfw(GLFW_KEY_ENTER), 50);
    EXPECT_EQ(key_code_from_glfw(GLFW_KEY_END), 62);
    EXPECT_EQ(key_code_from_glfw(GLFW_KEY_CAPS_LOCK), 63);
    EXPECT_EQ(key_code_from_glfw(GLFW_KEY_PAUSE), 67);
    EXPECT_EQ(key_code_from_glfw(GLFW_KEY_F1), 68);
    EXPECT_EQ(key_code_from_glfw(GLFW_KEY_F12), 79);
    EXPECT_EQ(key_code_from_glfw(GLFW_KEY_LEFT_SHIFT), 80);
    EXPECT_EQ(key_code_from_glfw(GLFW_KEY_RIGHT_SUPER), 87);
}

TEST(KeyCode, MapsEveryOtherKeyToZero) {
    for (int key : {GLFW_KEY_UNKNOWN,
                    31,
                    33,
                    38,
                    40,
                    43,
                    58,
                    60,
                    62,
                    64,
                    94,
                    95,
                    97,
                    161,
                    GLFW_KEY_WORLD_1,
                    GLFW_KEY_WORLD_2,
                    255,
                    270,
                    279,
                    285,
                    289,
                    GLFW_KEY_F13,
                    GLFW_KEY_F25,
                    GLFW_KEY_KP_0,
                    GLFW_KEY_KP_ENTER,
                    GLFW_KEY_KP_EQUAL,
                    339,
                    GLFW_KEY_MENU,
                    349,
                    1000})
        EXPECT_EQ(key_code_from_glfw(key), 0) << "GLFW key " << key;

    // Every code from 1 to 87 is used exactly once.
    int seen[256] = {};
    for (int key = -1; key <= GLFW_KEY_LAST; key++) seen[key_code_from_glfw(key)]++;
    for (int code = 1; code <= 87; code++) EXPECT_EQ(seen[code], 1) << "code " << code;
    for (int code = 88; code < 256; code++) EXPECT_EQ(seen[code], 0) << "code " << code;
}

TEST(KeyCommand, QuitsOnQWithAnyModifiersOnPressOnly) {
    for (int mods : {0, GLFW_MOD_SHIFT, GLFW_MOD_CONTROL, GLFW_MOD_ALT, GLFW_MOD_SUPER})
        EXPECT_EQ(key_command(key_code_q, GLFW_PRESS, mods), KeyCommand::quit);
    EXPECT_EQ(key_command(key_code_q, GLFW_REPEAT, 0), KeyCommand::none);
    EXPECT_EQ(key_command(key_code_q, GLFW_RELEASE, 0), KeyCommand::none);
    EXPECT_EQ(key_command(key_code_from_glfw(GLFW_KEY_W), GLFW_PRESS, 0), KeyCommand::none);
}

TEST(KeyCommand, TogglesFullScreenOnEnterWithExactlyAlt) {
    EXPECT_EQ(key_command(key_code_enter, GLFW_PRESS, GLFW_MOD_ALT), KeyCommand::toggle_fullscreen);
    EXPECT_EQ(key_command(key_code_enter, GLFW_PRESS, 0), KeyCommand::none);
    EXPECT_EQ(key_command(key_code_enter, GLFW_PRESS, GLFW_MOD_ALT | GLFW_MOD_CONTROL),
              KeyCommand::none);
    EXPECT_EQ(key_command(key_code_enter, GLFW_PRESS, GLFW_MOD_ALT | GLFW_MOD_SHIFT),
              KeyCommand::none);
    EXPECT_EQ(key_command(key_code_enter, GLFW_REPEAT, GLFW_MOD_ALT), KeyCommand::none);
    // Keypad Enter has no KeyCode, so Alt with it does nothing.
    EXPECT_EQ(key_command(key_code_from_glfw(GLFW_KEY_KP_ENTER), GLFW_PRESS, GLFW_MOD_ALT),
              KeyCommand::none);
}

TEST(KeyCommand, LettersGoByWhatTheKeyPrintsAndPasteAndCopyTakeExactlyControl) {
    // French AZERTY prints "q" in the US place of A, "a" in that of Q; Russian prints Cyrillic.
    EXPECT_EQ(key_code_in_layout(key_code_from_glfw(GLFW_KEY_A), "q"), key_code_q);
    EXPECT_EQ(key_code_in_layout(key_code_q, "a"), key_code_from_glfw(GLFW_KEY_A));
    EXPECT_EQ(key_code_in_layout(key_code_v, "\xd0\xbc"), key_code_v);
    EXPECT_EQ(key_command(key_code_v, GLFW_PRESS, GLFW_MOD_CONTROL), KeyCommand::paste);
    EXPECT_EQ(key_command(key_code_c, GLFW_PRESS, GLFW_MOD_CONTROL), KeyCommand::copy);
    EXPECT_EQ(key_command(key_code_c, GLFW_PRESS, GLFW_MOD_CONTROL | GLFW_MOD_SHIFT),
              KeyCommand::none);
    // AZERTY prints "z" in the US place of W.
    KeyCode z = key_code_in_layout(key_code_from_glfw(GLFW_KEY_W), "z");
    EXPECT_EQ(key_command(z, GLFW_PRESS, GLFW_MOD_CONTROL), KeyCommand::undo);
    EXPECT_EQ(key_command(z, GLFW_PRESS, GLFW_MOD_CONTROL | GLFW_MOD_SHIFT), KeyCommand::redo);
    EXPECT_EQ(key_command(key_code_y, GLFW_PRESS, GLFW_MOD_CONTROL), KeyCommand::redo);
}
