#include "game/game_state.hpp"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "support/positions.hpp"

namespace {

// Every straight line of four cells, found by walking all thirteen directions from every
// cell; independent of the table that findWinner scans.
std::vector<std::vector<int>> linesFromGeometry() {
    std::set<std::vector<int>> found;
    for (int dr = -1; dr <= 1; ++dr)
        for (int dc = -1; dc <= 1; ++dc)
            for (int dl = -1; dl <= 1; ++dl) {
                if (dr == 0 && dc == 0 && dl == 0) continue;
                for (int r = 0; r < 4; ++r)
                    for (int c = 0; c < 4; ++c)
                        for (int l = 0; l < 4; ++l) {
                            std::vector<int> cells;
                            for (int t = 0; t < 4; ++t) {
                                const int rr = r + t * dr, cc = c + t * dc, ll = l + t * dl;
                                if (rr < 0 || rr > 3 || cc < 0 || cc > 3 || ll < 0 || ll > 3) break;
                                cells.push_back(cellIndex(rr, cc, ll));
                            }
                            if (cells.size() != 4) continue;
                            std::set<int> sorted(cells.begin(), cells.end());
                            found.insert(std::vector<int>(sorted.begin(), sorted.end()));
                        }
            }
    return {found.begin(), found.end()};
}

Board emptyBoard() { return boardWith({}); }

TEST(GameStateTest, StartsEmptyWithFirstSideToMove) {
    const GameState game;
    EXPECT_TRUE(game.active);
    for (int32_t cell : game.cells) EXPECT_EQ(cell, EMPTY_CELL);
    EXPECT_EQ(game.selectedRow, -1);
    EXPECT_EQ(game.selectedCol, -1);
    EXPECT_EQ(game.sideToMove, FIRST_SIDE);
    EXPECT_EQ(game.moveCount, 0);
    EXPECT_EQ(GameState::findWinner(game.cells), NO_WINNER);
}

TEST(GameStateTest, DropsStackFromTheBottomAndAFifthIsRefused) {
    Board board = emptyBoard();
    EXPECT_EQ(GameState::dropPiece(board, 2, 1, FIRST_SIDE), 0);
    EXPECT_EQ(GameState::dropPiece(board, 2, 1, SECOND_SIDE), 1);
    EXPECT_EQ(GameState::dropPiece(board, 2, 1, SECOND_SIDE), 2);
    EXPECT_EQ(GameState::dropPiece(board, 2, 1, FIRST_SIDE), 3);
    const Board full = board;
    EXPECT_EQ(GameState::dropPiece(board, 2, 1, FIRST_SIDE), POLE_FULL);
    EXPECT_EQ(board, full);
    EXPECT_EQ(board[cellIndex(2, 1, 0)], FIRST_SIDE);
    EXPECT_EQ(board[cellIndex(2, 1, 1)], SECOND_SIDE);
    // Neighbouring poles in index order are untouched.
    EXPECT_EQ(board[cellIndex(2, 0, 3)], EMPTY_CELL);
    EXPECT_EQ(board[cellIndex(2, 2, 0)], EMPTY_CELL);
}

TEST(GameStateTest, MovesAlternateAndAFullPoleKeepsTheTurn) {
    GameState game;
    ASSERT_TRUE(game.playMove(1, 3));
    EXPECT_EQ(game.cells[cellIndex(1, 3, 0)], FIRST_SIDE);
    EXPECT_EQ(game.sideToMove, SECOND_SIDE);
    EXPECT_EQ(game.moveCount, 1);
    ASSERT_TRUE(game.playMove(1, 3));
    ASSERT_TRUE(game.playMove(1, 3));
    ASSERT_TRUE(game.playMove(1, 3));
    EXPECT_EQ(game.cells[cellIndex(1, 3, 3)], SECOND_SIDE);
    const Board before = game.cells;
    EXPECT_FALSE(game.playMove(1, 3));
    EXPECT_EQ(game.cells, before);
    EXPECT_EQ(game.sideToMove, FIRST_SIDE);
    EXPECT_EQ(game.moveCount, 4);
    EXPECT_EQ(game.selectedRow, -1);
}

TEST(FindWinnerTest, FindsEveryLineOfTheCubeForBothSides) {
    const auto lines = linesFromGeometry();
    ASSERT_EQ(lines.size(), 76u);
    for (const auto& line : lines) {
        for (int32_t side : {FIRST_SIDE, SECOND_SIDE}) {
            Board board = emptyBoard();
            for (int cell : line) board[cell] = side;
            EXPECT_EQ(GameState::findWinner(board), side) << "line from cell " << line[0];
            // One piece short of the line, or one foreign piece in it, owns nothing.
            board[line[2]] = EMPTY_CELL;
            EXPECT_EQ(GameState::findWinner(board), NO_WINNER) << "line from cell " << line[0];
            board[line[2]] = 1 - side;
            EXPECT_EQ(GameState::findWinner(board), NO_WINNER) << "line from cell " << line[0];
        }
    }
}

TEST(FindWinnerTest, NamedLinesAndNearLines) {
    EXPECT_EQ(GameState::findWinner(boardWith({{2, 2, 0}, {2, 2, 1}, {2, 2, 2}, {2, 2, 3}})),
              FIRST_SIDE);
    EXPECT_EQ(GameState::findWinner(boardWith({}, {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {3, 3, 3}})),
              SECOND_SIDE);
    EXPECT_EQ(GameState::findWinner(boardWith({}, {{2, 0, 3}, {2, 1, 2}, {2, 2, 1}, {2, 3, 0}})),
              SECOND_SIDE);
    // Bottom corners are no line; a full pole of mixed pieces owns nothing.
    EXPECT_EQ(GameState::findWinner(boardWith({{0, 0, 0}, {0, 3, 0}, {3, 0, 0}, {3, 3, 0}})),
              NO_WINNER);
    EXPECT_EQ(GameState::findWinner(boardWith({{1, 1, 0}, {1, 1, 1}, {1, 1, 2}}, {{1, 1, 3}})),
              NO_WINNER);
    // Lines that wrap around an edge of the cube are not lines.
    EXPECT_EQ(GameState::findWinner(boardWith({{0, 2, 0}, {0, 3, 0}, {1, 0, 0}, {1, 1, 0}})),
              NO_WINNER);
}

struct ScanOrderCase {
    const char* what;
    std::vector<Cell> firstSide;
    std::vector<Cell> secondSide;
    int32_t expected;
};

TEST(FindWinnerTest, TheFirstOwnedLineInScanOrderDecides) {
    const std::vector<ScanOrderCase> cases = {
        {"row line of level 0 before a pole line",
         {{3, 3, 0}, {3, 3, 1}, {3, 3, 2}, {3, 3, 3}},
         {{0, 0, 0}, {0, 1, 0}, {0, 2, 0}, {0, 3, 0}},
         SECOND_SIDE},
        {"pole line before a space diagonal",
         {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {3, 3, 3}},
         {{0, 3, 0}, {0, 3, 1}, {0, 3, 2}, {0, 3, 3}},
         SECOND_SIDE},
        {"level 3 diagonal before a pole line of column 0",
         {{0, 3, 3}, {1, 2, 3}, {2, 1, 3}, {3, 0, 3}},
         {{1, 0, 0}, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}},
         FIRST_SIDE},
        {"column-plane diagonal of column 3 before a row-plane diagonal of row 1",
         {{1, 0, 0}, {1, 1, 1}, {1, 2, 2}, {1, 3, 3}},
         {{0, 3, 3}, {1, 3, 2}, {2, 3, 1}, {3, 3, 0}},
         SECOND_SIDE},
        {"row-plane diagonal of row 3 before the space diagonals",
         {{0, 3, 3}, {1, 2, 2}, {2, 1, 1}, {3, 0, 0}},
         {{3, 0, 3}, {3, 1, 2}, {3, 2, 1}, {3, 3, 0}},
         SECOND_SIDE},
        {"a row line of level 0 before a column line of level 1",
         {{0, 2, 1}, {1, 2, 1}, {2, 2, 1}, {3, 2, 1}},
         {{1, 0, 0}, {1, 1, 0}, {1, 2, 0}, {1, 3, 0}},
         SECOND_SIDE},
    };
    for (const ScanOrderCase& c : cases) {
        Board board = emptyBoard();
        for (const Cell& cell : c.firstSide)
            board[cellIndex(cell.row, cell.col, cell.level)] = FIRST_SIDE;
        for (const Cell& cell : c.secondSide)
            board[cellIndex(cell.row, cell.col, cell.level)] = SECOND_SIDE;
        EXPECT_EQ(GameState::findWinner(board), c.expected) << c.what;
    }
}

TEST(FindWinnerTest, AFullBoardWithoutALineIsNoWin) {
    Board board;
    ASSERT_EQ(
        parsePosition("OXOOXXXOXOXXOXXOOOXXXXXOOXOOOXOOOOXXXXOXOOOXXOXOXOXOOOXOXXXOXOOX", board),
        "");
    EXPECT_EQ(pieceCount(board), CELL_COUNT);
    EXPECT_EQ(GameState::findWinner(board), NO_WINNER);
    // The same board with one piece changed to complete a pole is a win, not a draw.
    board[cellIndex(0, 0, 0)] = FIRST_SIDE;
    board[cellIndex(0, 0, 2)] = FIRST_SIDE;
    board[cellIndex(0, 0, 3)] = FIRST_SIDE;
    EXPECT_EQ(GameState::findWinner(board), FIRST_SIDE);
}

}  // namespace
