// Playing by touch: the key that a tap on the board stands for.
#include <emscripten/emscripten.h>

#include "flow/turn_control.hpp"
#include "game/game_state.hpp"
#include "view/pole_picking.hpp"
#include "view/scene.hpp"
#include "view/window.hpp"

extern "C" {

// The key that a tap at (x, y) on a width x height board presses: the pole key of the pole
// under it, Enter when that pole is already selected, or 0 where it finds no pole. Any unit
// of length will do, tolerance included.
EMSCRIPTEN_KEEPALIVE int cube4TapKey(double x, double y, double width, double height,
                                     double tolerance) {
    if (gameState == nullptr) return 0;
    const std::optional<Pole> pole =
        poleAt(gameState->cells, viewAngleX, viewAngleY, x, y, width, height, tolerance);
    if (!pole) return 0;
    if (pole->row == gameState->selectedRow && pole->col == gameState->selectedCol)
        return ENTER_KEY;
    for (const auto& [key, entry] : keyMap)
        if (entry.first == pole->row && entry.second == pole->col)
            return static_cast<unsigned char>(key);
    return 0;
}

}  // extern "C"
