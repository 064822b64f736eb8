#include "players/computer_player.hpp"

#include <gtest/gtest.h>

#include "support/positions.hpp"

namespace {

// A full board that owns no line; the first mover's weights exceed the second's by 6.
constexpr const char* FULL_BOARD_WITHOUT_LINE =
    "OXOOXXXOXOXXOXXOOOXXXXXOOXOOOXOOOOXXXXOXOOOXXOXOXOXOOOXOXXXOXOOX";

class ComputerPlayerTest : public ::testing::Test {
protected:
    GameState game;
    UseGame use{game};

    void setBoard(const Board& board) { game = gameWith(board); }
};

TEST_F(ComputerPlayerTest, EmptyBoardScoresEveryPoleOneAndTakesTheFirst) {
    ComputerPlayer computer(FIRST_SIDE);
    computer.move();
    EXPECT_EQ(computer.searchDepth, 5);
    for (int pole = 0; pole < POLE_COUNT; ++pole) EXPECT_EQ(computer.rootScores[pole], 1);
    EXPECT_EQ(game.cells[cellIndex(0, 0, 0)], FIRST_SIDE);
    EXPECT_EQ(pieceCount(game.cells), 1);
    EXPECT_EQ(game.selectedRow, 0);
    EXPECT_EQ(game.selectedCol, 0);
    EXPECT_EQ(game.sideToMove, SECOND_SIDE);
    EXPECT_EQ(game.moveCount, 1);
}

TEST(DepthScheduleTest, Boundaries) {
    const std::pair<int32_t, int32_t> expected[] = {
        {0, 5},  {9, 5},  {10, 6}, {19, 6},  {20, 7}, {29, 7}, {30, 8},
        {39, 8}, {40, 9}, {49, 9}, {50, 14}, {57, 7}, {63, 1},
    };
    for (const auto& [moveCount, depth] : expected)
        EXPECT_EQ(ComputerPlayer::depthForMoveCount(moveCount), depth) << "move " << moveCount;
}

TEST_F(ComputerPlayerTest, TakesAnImmediateWin) {
    setBoard(boardWith({{0, 0, 0}, {0, 1, 0}, {0, 2, 0}}, {{3, 3, 0}, {3, 2, 0}, {2, 3, 0}}));
    ComputerPlayer computer(FIRST_SIDE);
    EXPECT_EQ(computer.chooseMove(), 3);
    EXPECT_EQ(computer.rootScores[3], WIN_SCORE);
    for (int pole = 0; pole < POLE_COUNT; ++pole)
        if (pole != 3) {
            EXPECT_LE(computer.rootScores[pole], 1) << "pole " << pole;
        }
}

TEST_F(ComputerPlayerTest, BlocksTheOnlyThreat) {
    setBoard(
        boardWith({{3, 0, 0}, {3, 1, 0}, {3, 2, 0}, {1, 1, 0}}, {{0, 0, 0}, {0, 1, 0}, {2, 2, 0}}));
    ComputerPlayer computer(SECOND_SIDE);
    EXPECT_EQ(computer.chooseMove(), 33);
    for (int pole = 0; pole < POLE_COUNT - 1; ++pole)
        EXPECT_EQ(computer.rootScores[pole], LOSS_SCORE) << "pole " << pole;
    EXPECT_EQ(computer.rootScores[15], 1);
}

TEST_F(ComputerPlayerTest, PrefersNoQuickerWin) {
    setBoard(
        boardWith({{0, 1, 0}, {0, 2, 0}, {1, 1, 0}, {1, 2, 0}, {0, 1, 1}, {1, 2, 1}, {2, 1, 1}},
                  {{2, 0, 0}, {2, 1, 0}, {2, 2, 0}, {3, 0, 0}, {3, 1, 0}, {3, 2, 0}}));
    ComputerPlayer computer(SECOND_SIDE);
    EXPECT_EQ(computer.chooseMove(), 0);
    EXPECT_EQ(computer.searchDepth, 6);
    for (int pole = 0; pole < POLE_COUNT; ++pole)
        EXPECT_EQ(computer.rootScores[pole], WIN_SCORE) << "pole " << pole;
}

TEST_F(ComputerPlayerTest, ALostPositionTakesTheFirstOpenPole) {
    setBoard(
        boardWith({{3, 0, 0}, {3, 1, 0}, {3, 2, 0}, {2, 0, 0}, {2, 1, 0}, {2, 2, 0}, {1, 1, 0}},
                  {{0, 0, 0}, {0, 1, 0}, {1, 1, 1}, {1, 3, 0}, {2, 0, 1}, {3, 2, 1}}));
    ComputerPlayer computer(SECOND_SIDE);
    EXPECT_EQ(computer.chooseMove(), 0);
    for (int pole = 0; pole < POLE_COUNT; ++pole)
        EXPECT_EQ(computer.rootScores[pole], LOSS_SCORE) << "pole " << pole;
}

TEST_F(ComputerPlayerTest, FillingTheBoardScoresTheWeightBalance) {
    Board board;
    ASSERT_EQ(parsePosition(FULL_BOARD_WITHOUT_LINE, board), "");
    board[cellIndex(0, 0, 3)] = EMPTY_CELL;  // a second-mover piece, so the second mover is to move
    setBoard(board);
    ASSERT_EQ(game.moveCount, 63);
    ComputerPlayer computer(SECOND_SIDE);
    EXPECT_EQ(computer.chooseMove(), 0);
    EXPECT_EQ(computer.searchDepth, 1);
    EXPECT_EQ(computer.rootScores[0], -6);
}

TEST_F(ComputerPlayerTest, SearchKeepsItsWindowContract) {
    ComputerPlayer computer(FIRST_SIDE);
    computer.searchDepth = 5;
    computer.copyBoardToScratch();
    EXPECT_EQ(computer.search(FIRST_SIDE, 4, LOSS_SCORE, WIN_SCORE), 4);
    EXPECT_EQ(computer.scratchCells, game.cells);
    // Nothing reaches alpha: the best value comes back, not alpha.
    EXPECT_EQ(computer.search(FIRST_SIDE, 4, 50, 60), 4);
    EXPECT_EQ(computer.scratchCells, game.cells);
    // The first pole already reaches beta: beta comes back, not the value.
    EXPECT_EQ(computer.search(FIRST_SIDE, 4, -10, 2), 2);
    EXPECT_EQ(computer.scratchCells, game.cells);
}

TEST_F(ComputerPlayerTest, AWinningDropFailsHighToBeta) {
    setBoard(boardWith({{0, 0, 0}, {0, 1, 0}, {0, 2, 0}}, {{3, 3, 0}, {3, 2, 0}, {2, 3, 0}}));
    ComputerPlayer computer(FIRST_SIDE);
    computer.searchDepth = 5;
    computer.copyBoardToScratch();
    EXPECT_EQ(computer.search(FIRST_SIDE, 1, -10, 5), 5);
    EXPECT_EQ(computer.search(FIRST_SIDE, 1, LOSS_SCORE, WIN_SCORE), WIN_SCORE);
    EXPECT_EQ(computer.scratchCells, game.cells);
}

TEST_F(ComputerPlayerTest, LinesOnTheBoardDecideBeforeTheDepthLimit) {
    setBoard(boardWith({{0, 0, 0}, {0, 1, 0}, {0, 2, 0}, {0, 3, 0}}, {{3, 3, 0}, {3, 2, 0}}));
    ComputerPlayer computer(SECOND_SIDE);
    computer.searchDepth = 3;
    computer.copyBoardToScratch();
    EXPECT_EQ(computer.search(FIRST_SIDE, 3, LOSS_SCORE, WIN_SCORE), WIN_SCORE);
    EXPECT_EQ(computer.search(SECOND_SIDE, 1, -5, 5), LOSS_SCORE);
}

TEST_F(ComputerPlayerTest, EvaluateWeighsPiecesForEitherSide) {
    ComputerPlayer computer(FIRST_SIDE);
    computer.copyBoardToScratch();
    EXPECT_EQ(computer.evaluate(FIRST_SIDE), 0);
    computer.scratchCells = boardWith({{0, 0, 0}});
    EXPECT_EQ(computer.evaluate(FIRST_SIDE), 4);
    EXPECT_EQ(computer.evaluate(SECOND_SIDE), -4);
    computer.scratchCells = boardWith({{1, 1, 0}}, {{1, 1, 1}});
    EXPECT_EQ(computer.evaluate(FIRST_SIDE), -2);
    EXPECT_EQ(computer.evaluate(SECOND_SIDE), 2);
}

TEST_F(ComputerPlayerTest, MoveOutOfTurnTouchesNothing) {
    ComputerPlayer computer(SECOND_SIDE);
    computer.searchDepth = 11;
    computer.scratchCells = boardWith({{2, 2, 0}});
    const Board scratch = computer.scratchCells;
    computer.move();
    EXPECT_EQ(computer.searchDepth, 11);
    EXPECT_EQ(computer.scratchCells, scratch);
    EXPECT_EQ(computer.searchCalls, 0u);
    EXPECT_EQ(game.moveCount, 0);
    EXPECT_EQ(game.selectedRow, -1);
}

TEST_F(ComputerPlayerTest, ScratchEqualsTheBoardAfterAChoice) {
    setBoard(boardWith({{1, 1, 0}, {2, 2, 0}, {1, 1, 2}}, {{1, 1, 1}, {0, 3, 0}}));
    ComputerPlayer computer(SECOND_SIDE);
    computer.chooseMove();
    EXPECT_EQ(computer.scratchCells, game.cells);
}

TEST_F(ComputerPlayerTest, AFullBoardLeavesTheRecordAlone) {
    Board board;
    ASSERT_EQ(parsePosition(FULL_BOARD_WITHOUT_LINE, board), "");
    setBoard(board);
    game.sideToMove = SECOND_SIDE;
    ComputerPlayer computer(SECOND_SIDE);
    EXPECT_EQ(computer.chooseMove(), NO_CHOICE);
    computer.move();
    EXPECT_EQ(game.cells, board);
    EXPECT_EQ(game.moveCount, CELL_COUNT);
    EXPECT_EQ(game.selectedRow, -1);
    EXPECT_EQ(game.sideToMove, SECOND_SIDE);
}

}  // namespace
