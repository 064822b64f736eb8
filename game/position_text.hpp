// Positions as text: 64 characters in cell-index order, '.' empty, 'X' first mover, 'O' second.
#pragma once

#include <string>
#include <string_view>

#include "game/board.hpp"

// Fills board from text and returns an empty string, or returns why the text is not a
// position that play can reach the cells of: wrong length or character, a piece floating
// above an empty cell, or piece counts that do not alternate from the first mover.
std::string parsePosition(std::string_view text, Board& board);

std::string formatPosition(const Board& board);

// The number of pieces on a board.
int pieceCount(const Board& board);
