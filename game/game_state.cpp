#include "game/game_state.hpp"

#include "game/lines.hpp"

GameState* gameState = nullptr;

GameState::GameState() { cells.fill(EMPTY_CELL); }

bool GameState::playMove(int row, int col) {
    if (dropPiece(cells, row, col, sideToMove) == POLE_FULL) return false;
    sideToMove = 1 - sideToMove;
    ++moveCount;
    return true;
}

int32_t GameState::findWinner(const Board& board) {
    for (const Line& line : SCAN_ORDER) {
        const int32_t sum = board[line[0]] + board[line[1]] + board[line[2]] + board[line[3]];
        // Only four pieces of one side sum to 4 or 0: any empty cell pulls a sum below -6.
        if (sum == 4 * FIRST_SIDE) return FIRST_SIDE;
        if (sum == 4 * SECOND_SIDE) return SECOND_SIDE;
    }
    return NO_WINNER;
}

int GameState::dropPiece(Board& board, int row, int col, int32_t side) {
    const int base = poleBase(row, col);
    for (int level = 0; level < BOARD_SIZE; ++level) {
        if (board[base + level] == EMPTY_CELL) {
            board[base + level] = side;
            return level;
        }
    }
    return POLE_FULL;
}
