#include "view/view_control.hpp"

#include <GL/glut.h>

#include "view/scene.hpp"

double deltaAngleX = 0.0;
double deltaAngleY = 0.0;
int32_t lastMouseX = 0;
int32_t lastMouseY = 0;
int32_t leftDragging = 0;

namespace {

constexpr double DEPTH_LIMIT = 10.0;

}  // namespace

void reshapeView(int w, int h) {
    // A zero-sized (minimised) window has no aspect ratio; the last valid viewport and
    // projection stay until it is shown again, and nothing is visible meanwhile.
    if (w <= 0 || h <= 0) return;
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // The bounds are computed exactly as written, left to right, from the integer sizes.
    if (w > h) {
        glOrtho(-HALF_SPAN * w / h, HALF_SPAN * w / h, -HALF_SPAN, HALF_SPAN, -DEPTH_LIMIT,
                DEPTH_LIMIT);
    } else {
        glOrtho(-HALF_SPAN, HALF_SPAN, -HALF_SPAN * h / w, HALF_SPAN * h / w, -DEPTH_LIMIT,
                DEPTH_LIMIT);
    }
    glMatrixMode(GL_MODELVIEW);
}

void mouseButton(int button, int state, int x, int y) {
    if (button != GLUT_LEFT_BUTTON) return;
    if (state == GLUT_DOWN) {
        lastMouseX = x;
        lastMouseY = y;
        leftDragging = 1;
    } else if (state == GLUT_UP) {
        leftDragging = 0;
    }
}

void mouseDrag(int x, int y) {
    if (leftDragging != 1) return;
    deltaAngleX = (y - lastMouseY) * DRAG_DEGREES_PER_PIXEL;
    deltaAngleY = (x - lastMouseX) * DRAG_DEGREES_PER_PIXEL;
    viewAngleX += deltaAngleX;
    viewAngleY += deltaAngleY;
    lastMouseX = x;
    lastMouseY = y;
    glutPostRedisplay();
}
