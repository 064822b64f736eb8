#include "flow/turn_control.hpp"

#include <GL/glut.h>

#include <iostream>
#include <string_view>

#include "flow/console_texts.hpp"
#include "game/game_state.hpp"
#include "players/player.hpp"
#include "view/window.hpp"

namespace {

// The result text for the board as it stands, or an empty view while the game goes on.
std::string_view resultText(const GameState& game) {
    const int32_t winner = GameState::findWinner(game.cells);
    if (winner == FIRST_SIDE) return FIRST_SIDE_WINS_TEXT;
    if (winner == SECOND_SIDE) return SECOND_SIDE_WINS_TEXT;
    if (game.moveCount == CELL_COUNT) return DRAW_TEXT;
    return {};
}

// Reports the result, if the last move ended the game, and stops the game.
void endGameIfOver(std::string_view closing) {
    const std::string_view text = resultText(*gameState);
    if (text.empty()) return;
    std::cout << text << closing << '\n' << std::flush;
    gameState->active = false;
    glutIdleFunc(nullptr);
}

bool computerToMove() { return players[gameState->sideToMove]->isComputer == 1; }

void scheduleNextTurn() {
    glutPostRedisplay();
    if (computerToMove()) glutIdleFunc(computerTurn);
}

}  // namespace

void keyPressed(unsigned char key, int, int) {
    GameState& game = *gameState;
    if (!game.active) return;
    if (key == ENTER_KEY) {
        players[game.sideToMove]->move();
        endGameIfOver({});
    } else {
        const auto pole = keyMap.find(static_cast<signed char>(key));
        if (pole != keyMap.end()) {
            game.selectedRow = pole->second.first;
            game.selectedCol = pole->second.second;
        }
    }
    scheduleNextTurn();
}

void computerTurn() {
    if (!gameState->active) {
        glutIdleFunc(nullptr);
        return;
    }
    // Armed while a human is to move only after Enter made the computer move out of
    // its idle turn; it waits here until the human hands the turn back.
    if (!computerToMove()) return;
    players[gameState->sideToMove]->move();
    endGameIfOver(EXCLAMATION_TEXT);
    if (players[gameState->sideToMove]->isComputer == 0) glutIdleFunc(nullptr);
    glutPostRedisplay();
}
