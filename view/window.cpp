#include "view/window.hpp"

#include <GL/glut.h>

#include "flow/turn_control.hpp"
#include "game/board.hpp"
#include "players/player.hpp"
#include "view/scene.hpp"
#include "view/view_control.hpp"

std::map<signed char, std::pair<int32_t, int32_t>> keyMap;

namespace {

constexpr int WINDOW_SIZE = 500;

struct KeyPole {
    char key;
    int32_t row;
    int32_t col;
};

// The keyboard's 4 x 4 block: the top key row is board row 3, the bottom one row 0.
constexpr KeyPole KEY_POLES[POLE_COUNT] = {
    {'1', 3, 0}, {'2', 3, 1}, {'3', 3, 2}, {'4', 3, 3}, {'q', 2, 0}, {'w', 2, 1},
    {'e', 2, 2}, {'r', 2, 3}, {'a', 1, 0}, {'s', 1, 1}, {'d', 1, 2}, {'f', 1, 3},
    {'z', 0, 0}, {'x', 0, 1}, {'c', 0, 2}, {'v', 0, 3},
};

constexpr int LIGHT_COUNT = 5;

// All directional (w = 0): as seen from the viewer, upper right front, upper right back,
// upper left back, upper left front, and straight above.
constexpr GLfloat LIGHT_POSITIONS[LIGHT_COUNT][4] = {
    {1.0f, 1.0f, 1.0f, 0.0f},  {1.0f, 1.0f, -1.0f, 0.0f}, {-1.0f, 1.0f, -1.0f, 0.0f},
    {-1.0f, 1.0f, 1.0f, 0.0f}, {0.0f, 1.5f, 0.0f, 0.0f},
};
constexpr GLfloat LIGHT_AMBIENT[4] = {0.0f, 0.0f, 0.0f, 1.0f};
constexpr GLfloat LIGHT_DIFFUSE[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr GLfloat LIGHT_SPECULAR[4] = {1.0f, 1.0f, 1.0f, 1.0f};

}  // namespace

void startWindow(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(WINDOW_SIZE, WINDOW_SIZE);
    // A process started with an empty argument vector has no argv[0] to use as the title.
    glutCreateWindow(argc > 0 && argv[0] != nullptr ? argv[0] : "cube4");
    glutReshapeFunc(reshapeView);
    glutDisplayFunc(displayScene);
    glutMouseFunc(mouseButton);
    glutKeyboardFunc(keyPressed);
    glutMotionFunc(mouseDrag);
    if (players[FIRST_SIDE]->isComputer == 1) glutIdleFunc(computerTurn);
    initScene();
    glutMainLoop();
}

void initScene() {
    for (const KeyPole& entry : KEY_POLES)
        keyMap[static_cast<signed char>(entry.key)] = {entry.row, entry.col};
    glClearColor(0.9f, 0.9f, 0.9f, 1.0f);
    for (int n = 0; n < LIGHT_COUNT; ++n) {
        const GLenum light = GL_LIGHT0 + n;
        glLightfv(light, GL_POSITION, LIGHT_POSITIONS[n]);
        glLightfv(light, GL_AMBIENT, LIGHT_AMBIENT);
        glLightfv(light, GL_DIFFUSE, LIGHT_DIFFUSE);
        glLightfv(light, GL_SPECULAR, LIGHT_SPECULAR);
    }
    glEnable(GL_LIGHTING);
    for (int n = 0; n < LIGHT_COUNT; ++n) glEnable(GL_LIGHT0 + n);
    glEnable(GL_DEPTH_TEST);
}
