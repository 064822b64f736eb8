// Drawing the board: the slab, the sixteen poles and one sphere per piece.
#pragma once

// The view rotation in degrees, unbounded: about the screen's horizontal axis, and about
// the board's vertical axis. Only the mouse drag changes them.
extern double viewAngleX;
extern double viewAngleY;

// GLUT display callback: redraws the whole scene and swaps the buffers.
void displayScene();
