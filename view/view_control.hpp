// Projection on resize, and turning the scene by dragging with the left mouse button.
#pragma once

#include <cstdint>

constexpr double DRAG_DEGREES_PER_PIXEL = 0.2;
// Half of the projection's span across the window's shorter side.
constexpr double HALF_SPAN = 2.0;

// The drag state: the latest increments, the last pointer position and whether the left
// button is held.
extern double deltaAngleX;
extern double deltaAngleY;
extern int32_t lastMouseX;
extern int32_t lastMouseY;
extern int32_t leftDragging;

// GLUT reshape callback: an orthographic projection whose shorter side spans -HALF_SPAN to
// HALF_SPAN.
void reshapeView(int w, int h);

// GLUT mouse callback: the left button starts and ends a drag; other buttons are ignored.
void mouseButton(int button, int state, int x, int y);

// GLUT motion callback: turns the scene by the pointer's motion while the left button is held.
void mouseDrag(int x, int y);
