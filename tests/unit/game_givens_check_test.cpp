#include <gtest/gtest.h>

#include <string>

#include "game/board/givens_check.h"
#include "game/screen/line_words.h"
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

// One judgement everywhere: conflicts first, without a count; then the count.
TEST(GivensCheck, JudgesConflictsBeforeCountingSolutions) {
    auto judge = [](const std::string& board, std::string* words) {
        uint8_t givens[board_cells];
        for (int i = 0; i < board_cells; i++)
            givens[i] = board[i] == '.' ? 0 : (uint8_t)(board[i] - '0');
        GivenConflicts conflicts;
        GivensVerdict verdict = judge_givens(givens, &conflicts);
        char text[64];
        describe_givens(verdict, conflicts, text, sizeof(text));
        *words = text;
        return verdict;
    };
    std::string words;
    EXPECT_EQ(judge(platinum_blonde_puzzle(), &words), GivensVerdict::one_solution);
    EXPECT_EQ(words, "");
    EXPECT_EQ(judge(std::string(81, '.'), &words), GivensVerdict::several_solutions);
    EXPECT_EQ(words, "it has more than one solution");
    EXPECT_EQ(judge(no_candidates_puzzle(), &words), GivensVerdict::no_solution);
    EXPECT_EQ(words, "it has no solution");
    // Two 5s in row 1 and 79 empty cells: the search would take minutes.
    std::string broken = "55" + std::string(79, '.');
    EXPECT_EQ(judge(broken, &words), GivensVerdict::broken);
    EXPECT_EQ(words, "two 5s in row 1");
}

} // namespace
