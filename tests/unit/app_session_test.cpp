#include <gtest/gtest.h>

#include <cstring>

#include "app/pixel_scale.h"
#include "app/session_text.h"
#include "game/search/search_shared.h"

static bool read(const char* text, Session* out) {
    return session_from_text(text, strlen(text), out);
}

TEST(Session, ReadsBackWhatItWrites) {
    Session written{};
    written.pace = 9;
    written.length = 3;
    written.strategy = 2;
    written.window_known = true;
    written.full_screen = true;
    written.x = -40;
    written.y = 1100;
    written.width = 810;
    written.height = 1440;
    written.scale = 1.5f;
    snprintf(written.file, sizeof(written.file), "/home/ada/puzzles/a week of it.sdm");
    written.puzzle = 41;
    written.cells[0] = 5;
    written.cells[80] = 9;
    char text[session_text_capacity];
    int length = session_to_text(written, text, sizeof(text));
    EXPECT_NE(strstr(text, "\nlength very long\n"), nullptr) << text;
    EXPECT_NE(strstr(text, "\npace 1000\n"), nullptr) << text;
    Session back{};
    ASSERT_TRUE(session_from_text(text, (size_t)length, &back)) << text;
    EXPECT_EQ(back.pace, 9);
    EXPECT_EQ(back.length, 3);
    EXPECT_EQ(back.strategy, 2);
    EXPECT_TRUE(back.window_known && back.full_screen);
    EXPECT_EQ(back.x, -40);
    EXPECT_EQ(back.y, 1100);
    EXPECT_EQ(back.width, 810);
    EXPECT_EQ(back.height, 1440);
    EXPECT_EQ(back.scale, 1.5f);
    EXPECT_STREQ(back.file, written.file);
    EXPECT_EQ(back.puzzle, 41u);
    EXPECT_EQ(memcmp(back.cells, written.cells, sizeof(back.cells)), 0);

    // With neither window nor file: flat out, and nothing else known.
    written = Session{};
    written.pace = flat_out;
    length = session_to_text(written, text, sizeof(text));
    ASSERT_TRUE(session_from_text(text, (size_t)length, &back)) << text;
    EXPECT_EQ(back.pace, flat_out);
    EXPECT_FALSE(back.window_known);
    EXPECT_EQ(back.file[0], 0);
}

TEST(Session, IgnoresAnotherVersionOrAnyBadLineWhole) {
    Session kept{};
    kept.strategy = 3;
    const char* bad[] = {
        "",
        "tessarin session 2\npace 10\n",
        "tessarin session 1\npace 11\n",
        "tessarin session 1\nstrategy quick\n",
        "tessarin session 1\nwindow 1 2\n",
        "tessarin session 1\nwindow 0 0 540 960 9\n",
        "tessarin session 1\ncolour red\n",
        "tessarin session 1\nfile /a.sdm\n",
        "tessarin session 1\npuzzle 0 123\nfile /a.sdm\n",
    };
    for (const char* text : bad) {
        Session out = kept;
        EXPECT_FALSE(read(text, &out)) << text;
        EXPECT_EQ(memcmp(&out, &kept, sizeof(out)), 0) << text;
    }
    Session out{};
    EXPECT_TRUE(read("tessarin session 1\r\npace 10\r\n\r\nlength short\r\n", &out));
    EXPECT_EQ(out.pace, 3);
    EXPECT_EQ(out.length, 0);
}

TEST(Session, WindowSizeFitsTheScreenAndStaysAboveItsLeast) {
    EXPECT_EQ(size_inside(540, 270, 30, 1080), 540);
    EXPECT_EQ(size_inside(1920, 270, 30, 1080), 1050);
    EXPECT_EQ(size_inside(100, 270, 30, 1080), 270);
    EXPECT_EQ(size_inside(900, 480, 30, 400), 480) << "the least wins";
}
