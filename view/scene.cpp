#include "view/scene.hpp"

#include <GL/glut.h>

#include <array>
#include <cstdint>

#include "game/game_state.hpp"
#include "view/board_geometry.hpp"

double viewAngleX = 0.0;
double viewAngleY = 0.0;

namespace {

using Vertex = std::array<GLdouble, 3>;
using Box = std::array<Vertex, 8>;

// The eight corners of the box from corner low to corner high, numbered as cubeFaceIndices
// expects.
constexpr Box box(const Vertex& low, const Vertex& high) {
    return {{{low[0], low[1], low[2]},
             {high[0], low[1], low[2]},
             {high[0], high[1], low[2]},
             {low[0], high[1], low[2]},
             {low[0], low[1], high[2]},
             {high[0], low[1], high[2]},
             {high[0], high[1], high[2]},
             {low[0], high[1], high[2]}}};
}

constexpr Box baseBoxVertices = box({-SLAB_HALF_WIDTH, SLAB_BOTTOM, -SLAB_HALF_WIDTH},
                                    {SLAB_HALF_WIDTH, SLAB_TOP, SLAB_HALF_WIDTH});

// A pole standing at the slab's corner; every drawn pole is this one shifted.
constexpr double POLE_CORNER = -SLAB_HALF_WIDTH + 2 * POLE_HALF_WIDTH;
constexpr Box poleVertices =
    box({-SLAB_HALF_WIDTH, POLE_BOTTOM, -SLAB_HALF_WIDTH}, {POLE_CORNER, POLE_TOP, POLE_CORNER});

// The six faces of a box, four vertex numbers each.
constexpr int32_t cubeFaceIndices[24] = {
    0, 1, 2, 3, 1, 5, 6, 2, 5, 4, 7, 6, 4, 0, 3, 7, 4, 5, 1, 0, 3, 2, 6, 7,
};

struct Material {
    GLfloat ambient[4];
    GLfloat diffuse[4];
    GLfloat specular[4];
    GLfloat shininess;
};

constexpr Material baseMaterial = {{0.19125f, 0.0735f, 0.0225f, 1.0f},
                                   {0.7038f, 0.27048f, 0.0828f, 1.0f},
                                   {0.256777f, 0.137622f, 0.086014f, 1.0f},
                                   12.8f};
constexpr Material poleMaterial = {{0.25f, 0.25f, 0.25f, 1.0f},
                                   {0.4f, 0.4f, 0.4f, 1.0f},
                                   {0.774597f, 0.774597f, 0.774597f, 1.0f},
                                   76.8f};
constexpr Material selectedPoleMaterial = {{0.1745f, 0.01175f, 0.01175f, 1.0f},
                                           {0.61424f, 0.04136f, 0.04136f, 1.0f},
                                           {0.727811f, 0.626959f, 0.626959f, 1.0f},
                                           76.8f};
constexpr Material firstSideMaterial = {
    {0.02f, 0.02f, 0.02f, 1.0f}, {0.01f, 0.01f, 0.01f, 1.0f}, {0.4f, 0.4f, 0.4f, 1.0f}, 10.0f};
constexpr Material secondSideMaterial = {
    {0.05f, 0.05f, 0.05f, 1.0f}, {0.5f, 0.5f, 0.5f, 1.0f}, {0.7f, 0.7f, 0.7f, 1.0f}, 10.0f};

constexpr int SPHERE_SLICES = 20;
constexpr int SPHERE_STACKS = 20;

void applyMaterial(const Material& material) {
    glMaterialfv(GL_FRONT, GL_AMBIENT, material.ambient);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, material.diffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, material.specular);
    glMaterialfv(GL_FRONT, GL_SHININESS, &material.shininess);
}

void drawPoles() {
    const GameState& game = *gameState;
    for (int row = 0; row < BOARD_SIZE; ++row) {
        for (int col = 0; col < BOARD_SIZE; ++col) {
            const bool selected = row == game.selectedRow && col == game.selectedCol;
            const double dx = poleOffset(row);
            const double dz = poleOffset(col);
            for (int32_t index : cubeFaceIndices) {
                applyMaterial(selected ? selectedPoleMaterial : poleMaterial);
                const Vertex& v = poleVertices[index];
                const Vertex shifted = {v[0] + dx, v[1], v[2] + dz};
                glVertex3dv(shifted.data());
            }
        }
    }
}

void drawPieces() {
    const GameState& game = *gameState;
    for (int row = 0; row < BOARD_SIZE; ++row) {
        for (int col = 0; col < BOARD_SIZE; ++col) {
            for (int level = 0; level < BOARD_SIZE; ++level) {
                const int32_t cell = game.cells[cellIndex(row, col, level)];
                if (cell == EMPTY_CELL) continue;
                const double x = poleCentre(row);
                const double y = pieceHeight(level);
                const double z = poleCentre(col);
                glTranslated(x, y, z);
                applyMaterial(cell == SECOND_SIDE ? secondSideMaterial : firstSideMaterial);
                glutSolidSphere(SPHERE_RADIUS, SPHERE_SLICES, SPHERE_STACKS);
                glTranslated(-x, -y, -z);
            }
        }
    }
}

}  // namespace

void displayScene() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glRotated(viewAngleX, 1.0, 0.0, 0.0);
    glRotated(viewAngleY, 0.0, 1.0, 0.0);
    glBegin(GL_QUADS);
    applyMaterial(baseMaterial);
    for (int32_t index : cubeFaceIndices) glVertex3dv(baseBoxVertices[index].data());
    drawPoles();
    glEnd();
    drawPieces();
    glutSwapBuffers();
}
