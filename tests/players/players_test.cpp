#include <gtest/gtest.h>

#include "players/cell_weights.hpp"
#include "players/computer_player.hpp"
#include "players/human_player.hpp"
#include "support/positions.hpp"

namespace {

// The weights written out pole by pole, rows 0 to 3, levels 0 to 3.
constexpr int32_t EXPECTED_WEIGHTS[CELL_COUNT] = {
    4, 1, 1, 3, 1, 2, 2, 1, 1, 2, 2, 1, 4, 1, 1, 1, 1, 2, 2, 1, 1, 3, 1, 1, 1, 3, 1, 1, 1, 2, 2, 1,
    1, 2, 2, 1, 1, 3, 1, 1, 1, 3, 1, 1, 1, 2, 2, 1, 4, 1, 1, 3, 1, 2, 2, 1, 1, 2, 2, 1, 4, 1, 1, 3,
};

void expectWeightTable() {
    for (int cell = 0; cell < CELL_COUNT; ++cell)
        EXPECT_EQ(cellWeights[cell], EXPECTED_WEIGHTS[cell]) << "cell " << cell;
}

TEST(CellWeightsTest, EveryComputerConstructionWritesTheWholeTable) {
    cellWeights.fill(-7);
    const ComputerPlayer first(FIRST_SIDE);
    expectWeightTable();
    cellWeights[cellIndex(1, 1, 1)] = 99;
    const ComputerPlayer second(SECOND_SIDE);
    expectWeightTable();
    EXPECT_EQ(cellWeights[cellIndex(0, 3, 3)], 1);
    EXPECT_EQ(cellWeights[cellIndex(0, 0, 3)], 3);
    EXPECT_EQ(cellWeights[cellIndex(3, 0, 3)], 3);
    EXPECT_EQ(cellWeights[cellIndex(3, 3, 3)], 3);
}

TEST(PlayersTest, ConstructionSetsSideAndKind) {
    const HumanPlayer human(SECOND_SIDE);
    const ComputerPlayer computer(FIRST_SIDE);
    EXPECT_EQ(human.side, SECOND_SIDE);
    EXPECT_EQ(human.isComputer, 0);
    EXPECT_EQ(computer.side, FIRST_SIDE);
    EXPECT_EQ(computer.isComputer, 1);
    EXPECT_EQ(computer.searchDepth, 5);
}

TEST(HumanPlayerTest, EnterWithoutASelectionChangesNothing) {
    GameState game;
    UseGame use(game);
    HumanPlayer human(FIRST_SIDE);
    human.move();
    EXPECT_EQ(game.moveCount, 0);
    EXPECT_EQ(game.cells, GameState().cells);
    game.selectedRow = 2;  // a half-made selection is no selection
    human.move();
    EXPECT_EQ(game.moveCount, 0);
}

TEST(HumanPlayerTest, DropsOnTheSelectionOnlyOnItsTurn) {
    GameState game;
    UseGame use(game);
    HumanPlayer first(FIRST_SIDE);
    HumanPlayer second(SECOND_SIDE);
    game.selectedRow = 1;
    game.selectedCol = 2;
    second.move();
    EXPECT_EQ(game.moveCount, 0);
    first.move();
    first.move();
    second.move();
    EXPECT_EQ(game.cells[cellIndex(1, 2, 0)], FIRST_SIDE);
    EXPECT_EQ(game.cells[cellIndex(1, 2, 1)], SECOND_SIDE);
    EXPECT_EQ(game.moveCount, 2);
    EXPECT_EQ(game.sideToMove, FIRST_SIDE);
    EXPECT_EQ(game.selectedRow, 1);
    EXPECT_EQ(game.selectedCol, 2);
}

TEST(HumanPlayerTest, AFullPoleKeepsTheTurn) {
    GameState game = gameWith(boardWith({{0, 1, 0}, {0, 1, 2}}, {{0, 1, 1}, {0, 1, 3}}));
    UseGame use(game);
    game.selectedRow = 0;
    game.selectedCol = 1;
    HumanPlayer human(FIRST_SIDE);
    const Board before = game.cells;
    human.move();
    EXPECT_EQ(game.cells, before);
    EXPECT_EQ(game.sideToMove, FIRST_SIDE);
    EXPECT_EQ(game.moveCount, 4);
}

}  // namespace
