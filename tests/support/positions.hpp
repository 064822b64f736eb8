// One-line set-up of boards and game records for tests.
#pragma once

#include <initializer_list>
#include <string_view>

#include "game/game_state.hpp"
#include "game/position_text.hpp"

struct Cell {
    int row;
    int col;
    int level;
};

// An otherwise empty board with the given pieces; gravity is not enforced.
inline Board boardWith(std::initializer_list<Cell> firstSide,
                       std::initializer_list<Cell> secondSide = {}) {
    Board board;
    board.fill(EMPTY_CELL);
    for (const Cell& c : firstSide) board[cellIndex(c.row, c.col, c.level)] = FIRST_SIDE;
    for (const Cell& c : secondSide) board[cellIndex(c.row, c.col, c.level)] = SECOND_SIDE;
    return board;
}

// A game record holding board, with the move count and side to move that its pieces imply.
inline GameState gameWith(const Board& board) {
    GameState game;
    game.cells = board;
    game.moveCount = pieceCount(board);
    game.sideToMove = game.moveCount % 2 == 0 ? FIRST_SIDE : SECOND_SIDE;
    return game;
}

// Points the global game record at a test's own record for the test's lifetime.
class UseGame {
public:
    explicit UseGame(GameState& game) : previous_(gameState) { gameState = &game; }
    ~UseGame() { gameState = previous_; }
    UseGame(const UseGame&) = delete;
    UseGame& operator=(const UseGame&) = delete;

private:
    GameState* previous_;
};
