#include "players/human_player.hpp"

#include "game/game_state.hpp"

Player* players[2] = {nullptr, nullptr};

void HumanPlayer::move() {
    GameState& game = *gameState;
    if (game.sideToMove != side) return;
    if (game.selectedRow < 0 || game.selectedCol < 0) return;
    game.playMove(game.selectedRow, game.selectedCol);
}
