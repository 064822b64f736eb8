// cube4: four-in-a-row on a 4 x 4 x 4 cube with gravity, against the computer.
#include "game/game_state.hpp"

int main(int argc, char** argv) {
    gameState = new GameState();  // lives until the process ends
    gameState->chooseOrder(argc, argv);
    return 0;
}
