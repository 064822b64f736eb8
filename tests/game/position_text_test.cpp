#include "game/position_text.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string emptyText() { return std::string(CELL_COUNT, '.'); }

TEST(PositionTextTest, ReadsCellsInIndexOrderAndWritesThemBack) {
    std::string text = emptyText();
    text[cellIndex(0, 0, 0)] = 'X';
    text[cellIndex(3, 2, 0)] = 'O';
    text[cellIndex(3, 2, 1)] = 'X';
    Board board;
    ASSERT_EQ(parsePosition(text, board), "");
    EXPECT_EQ(board[0], FIRST_SIDE);
    EXPECT_EQ(board[cellIndex(3, 2, 0)], SECOND_SIDE);
    EXPECT_EQ(board[1], EMPTY_CELL);
    EXPECT_EQ(pieceCount(board), 3);
    EXPECT_EQ(formatPosition(board), text);
}

TEST(PositionTextTest, RefusesWhatPlayCannotReach) {
    Board board;
    EXPECT_NE(parsePosition(emptyText().substr(1), board), "");
    EXPECT_NE(parsePosition(emptyText() + ".", board), "");
    std::string badChar = emptyText();
    badChar[5] = 'x';
    EXPECT_NE(parsePosition(badChar, board), "");
    std::string floating = emptyText();
    floating[cellIndex(1, 1, 1)] = 'X';
    floating[cellIndex(2, 0, 0)] = 'O';
    EXPECT_NE(parsePosition(floating, board), "");
    std::string secondAhead = emptyText();
    secondAhead[0] = 'O';
    EXPECT_NE(parsePosition(secondAhead, board), "");
    std::string firstTwoAhead = emptyText();
    firstTwoAhead[0] = 'X';
    firstTwoAhead[4] = 'X';
    EXPECT_NE(parsePosition(firstTwoAhead, board), "");
}

}  // namespace
