// The one game record and the rules that play on it.
#pragma once

#include <cstdint>

#include "game/board.hpp"

// dropPiece's answer when every level of the pole is taken.
constexpr int POLE_FULL = -1;

class GameState {
public:
    bool active = true;
    Board cells;
    int32_t selectedRow = -1;  // -1 until a pole has been selected
    int32_t selectedCol = -1;
    int32_t sideToMove = FIRST_SIDE;
    int32_t moveCount = 0;

    GameState();

    // Puts a piece of sideToMove on the pole and passes the turn; false (and no change)
    // when the pole is full.
    bool playMove(int row, int col);

    // Asks the console for the order of play, creates the players and opens the window.
    // Returns only when standard input ends before a valid answer.
    void chooseOrder(int argc, char** argv);

    // The side owning a line (FIRST_SIDE or SECOND_SIDE) or NO_WINNER; where both sides own
    // lines, the first owned line in scan order decides.
    static int32_t findWinner(const Board& board);

    // Puts a piece of side on the lowest empty level of the pole and returns that level,
    // or POLE_FULL without touching the board.
    static int dropPiece(Board& board, int row, int col, int32_t side);
};

// The record of the running game, created by main and never freed.
extern GameState* gameState;
