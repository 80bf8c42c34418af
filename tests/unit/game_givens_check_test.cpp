#include <gtest/gtest.h>

#include <string>

#include "game/givens_check.h"
#include "game/number_text.h"
#include "tests/unit/game_test_boards.h"

namespace {

GivenConflicts conflicts_of(const std::string& board, std::string* words) {
    uint8_t givens[board_cells];
    for (int i = 0; i < board_cells; i++)
        givens[i] = board[i] == '.' ? 0 : (uint8_t)(board[i] - '0');
    GivenConflicts found;
    find_conflicts(givens, &found);
    char text[64];
    describe_conflict(found, text, sizeof(text));
    *words = text;
    return found;
}

// Which givens break the rules, and the words for the first conflict.
TEST(GivensCheck, MarksEveryGivenThatSharesADigitInAUnitAndNamesTheFirst) {
    std::string words;
    EXPECT_EQ(conflicts_of(platinum_blonde_puzzle(), &words).marked_count, 0);
    EXPECT_EQ(words, "");
    EXPECT_EQ(conflicts_of(empty_board_solution(), &words).marked_count, 0);

    // Two 5s in the top row; a third 5 below the first, in its column and box.
    std::string board(81, '.');
    board[0] = board[8] = board[9] = '5';
    board[40] = '7';
    GivenConflicts found = conflicts_of(board, &words);
    EXPECT_EQ(words, "two 5s in row 1");
    EXPECT_EQ(found.marked_count, 3);
    EXPECT_TRUE(found.marked[0] && found.marked[8] && found.marked[9] && !found.marked[40]);

    // Only a column: three 2s in the last one.
    board = std::string(81, '.');
    board[8] = board[35] = board[80] = '2';
    conflicts_of(board, &words);
    EXPECT_EQ(words, "three 2s in column 9");
    // Only a box: the middle one.
    board = std::string(81, '.');
    board[30] = board[50] = '9';
    conflicts_of(board, &words);
    EXPECT_EQ(words, "two 9s in box 5");
}

TEST(NumberText, GroupsThousandsWithCommas) {
    char text[number_text_size];
    const std::pair<uint64_t, const char*> cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1,000"},
        {19637, "19,637"},
        {1000000, "1,000,000"},
        {18446744073709551615ull, "18,446,744,073,709,551,615"}};
    for (const auto& c : cases) {
        EXPECT_EQ(number_text(c.first, text), (int)strlen(c.second));
        EXPECT_STREQ(text, c.second);
    }
}

} // namespace
