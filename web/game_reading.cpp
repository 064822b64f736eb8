// What the page reads of the game to name the pole buttons and announce the moves.
#include <emscripten/emscripten.h>

#include <string>

#include "game/game_state.hpp"
#include "game/position_text.hpp"
#include "players/player.hpp"
#include "view/window.hpp"

extern "C" {

// The game as JSON, or null before the players exist: active, sideToMove, moveCount,
// findWinner's answer, isComputer indexed by side, the selected row and column, the cells as
// formatPosition writes them, and the key of each pole at row * 4 + col (empty until the key map is
// filled). The text lives until the next call.
EMSCRIPTEN_KEEPALIVE const char* cube4Game() {
    static std::string json;
    if (gameState == nullptr || players[0] == nullptr || players[1] == nullptr) return nullptr;
    const GameState& game = *gameState;
    std::string keys(keyMap.empty() ? 0 : POLE_COUNT, ' ');
    for (const auto& [key, pole] : keyMap) keys[pole.first * BOARD_SIZE + pole.second] = key;
    json = "{\"active\":" + std::to_string(game.active ? 1 : 0) +
           ",\"sideToMove\":" + std::to_string(game.sideToMove) +
           ",\"moveCount\":" + std::to_string(game.moveCount) +
           ",\"winner\":" + std::to_string(GameState::findWinner(game.cells)) +
           ",\"isComputer\":[" + std::to_string(players[0]->isComputer) + "," +
           std::to_string(players[1]->isComputer) + "],\"selected\":[" +
           std::to_string(game.selectedRow) + "," + std::to_string(game.selectedCol) +
           "],\"cells\":\"" + formatPosition(game.cells) + "\",\"keys\":\"" + keys + "\"}";
    return json.c_str();
}

}  // extern "C"
