#include "game/position_text.hpp"

namespace {

constexpr char EMPTY_CHAR = '.';
constexpr char FIRST_CHAR = 'X';
constexpr char SECOND_CHAR = 'O';

}  // namespace

std::string parsePosition(std::string_view text, Board& board) {
    if (text.size() != CELL_COUNT)
        return "expected 64 characters, got " + std::to_string(text.size());
    int first = 0;
    int second = 0;
    for (int cell = 0; cell < CELL_COUNT; ++cell) {
        switch (text[cell]) {
            case EMPTY_CHAR: board[cell] = EMPTY_CELL; break;
            case FIRST_CHAR:
                board[cell] = FIRST_SIDE;
                ++first;
                break;
            case SECOND_CHAR:
                board[cell] = SECOND_SIDE;
                ++second;
                break;
            default: return "unexpected character at cell " + std::to_string(cell);
        }
        if (cell % BOARD_SIZE != 0 && board[cell] != EMPTY_CELL && board[cell - 1] == EMPTY_CELL)
            return "piece above an empty cell at cell " + std::to_string(cell);
    }
    if (first != second && first != second + 1)
        return "the first mover must have as many pieces as the second, or one more";
    return {};
}

std::string formatPosition(const Board& board) {
    std::string text;
    for (int32_t cell : board)
        text += cell == FIRST_SIDE ? FIRST_CHAR : cell == SECOND_SIDE ? SECOND_CHAR : EMPTY_CHAR;
    return text;
}

int pieceCount(const Board& board) {
    int count = 0;
    for (int32_t cell : board) count += cell != EMPTY_CELL;
    return count;
}
