// Opening a file in the program, as its command line and a drop on the window
// do: the first puzzle goes on the board, PageDown and PageUp move through
// the file, and a file that cannot be read leaves the board as it was.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "game/board/givens_history.h"
#include "game/puzzles/puzzle_file.h"
#include "tests/unit/game_test_boards.h"

namespace {

TEST(PuzzleFile, OpensPagesAndRefusesWithoutLosingTheBoard) {
    std::string path = testing::TempDir() + "tessarin_two.sdm";
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_TRUE(file);
    fprintf(file, "# two\n%s first\n%s\tsecond\n", ai_escargot_puzzle(), platinum_blonde_puzzle());
    fclose(file);

    reset_with_puzzle(anti_brute_force_puzzle());
    history_start();
    open_puzzle_file(path.c_str(), 0);
    EXPECT_EQ(board_text(), ai_escargot_puzzle());
    page_puzzle_file(-1, 0);
    EXPECT_EQ(board_text(), ai_escargot_puzzle()) << "stops at the first";
    page_puzzle_file(1, 0);
    EXPECT_EQ(board_text(), platinum_blonde_puzzle());
    page_puzzle_file(1, 0);
    EXPECT_EQ(board_text(), platinum_blonde_puzzle()) << "stops at the last";
    for (const std::string& bad : {testing::TempDir(), testing::TempDir() + "missing.sdk"}) {
        open_puzzle_file(bad.c_str(), 0);
        EXPECT_EQ(board_text(), platinum_blonde_puzzle()) << bad;
    }
    // Each puzzle shown was one step: back through them to the board before.
    EXPECT_TRUE(undo_givens());
    EXPECT_EQ(board_text(), ai_escargot_puzzle());
    EXPECT_TRUE(undo_givens());
    EXPECT_EQ(board_text(), anti_brute_force_puzzle());
    remove(path.c_str());
}

} // namespace
