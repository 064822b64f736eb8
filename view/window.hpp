// The game's one window and the scene state that stays fixed while it is open.
#pragma once

#include <cstdint>
#include <map>
#include <utility>

// Pole key to (row, col); filled once by initScene.
extern std::map<signed char, std::pair<int32_t, int32_t>> keyMap;

// Opens the 500 x 500 window titled argv[0], registers the callbacks and runs GLUT's event
// loop, which ends the process when the window is closed.
void startWindow(int argc, char** argv);

// Fills keyMap and sets the clear colour, the five directional lights and depth testing.
void initScene();
