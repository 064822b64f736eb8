// cube4-screenshot: plays the opening of a game in a private X server and writes what the
// window shows as a binary PPM image, for the README.
//
//   cube4-screenshot OUTPUT.ppm
#include <X11/Xlib.h>

#include <cstdio>
#include <exception>

#include "support/game_window.hpp"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: cube4-screenshot OUTPUT.ppm\n");
        return 2;
    }
    try {
        GameWindow game("1");
        game.settle();
        // Five moves of the user's, each answered by the computer, then a pole selected.
        for (const char* key : {"s", "s", "z", "c", "x"}) {
            game.press(key);
            game.press("Return");
        }
        game.press("e");
        // Tilt the board towards the viewer and turn it a little, as a player would.
        game.x().drag(game.window(), Button1, 200, 150, 260, 280);
        if (!writePpm(game.settle(), argv[1])) {
            std::fprintf(stderr, "cube4-screenshot: cannot write %s\n", argv[1]);
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "cube4-screenshot: %s\n", error.what());
        return 1;
    }
    return 0;
}
