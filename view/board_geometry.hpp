// Where the board's parts stand in world coordinates: y up, board rows along x, board
// columns along z, the board centred on the vertical axis through the origin.
#pragma once

// The slab: a square box under the poles.
constexpr double SLAB_HALF_WIDTH = 1.5;
constexpr double SLAB_BOTTOM = -1.25;
constexpr double SLAB_TOP = -1.0;

// The poles: square rods standing on the slab, the first one's centre POLE_INSET in from the
// slab's edge.
constexpr double POLE_SPACING = 0.7333333333333334;
constexpr double POLE_INSET = 0.4;
constexpr double POLE_HALF_WIDTH = 0.025;
constexpr double POLE_BOTTOM = SLAB_TOP;
constexpr double POLE_TOP = 1.0;

constexpr double SPHERE_RADIUS = 0.2;

// Shift of the prototype pole, standing at the slab's corner, to row or column k, evaluated
// in this order.
constexpr double poleOffset(int k) { return k * POLE_SPACING + POLE_INSET - POLE_HALF_WIDTH; }

// Centre of a pole, and of its pieces, along x (row k) or z (column k).
constexpr double poleCentre(int k) { return k * POLE_SPACING + (POLE_INSET - SLAB_HALF_WIDTH); }

// Height of the centre of a piece at level 0 (bottom) to 3.
constexpr double pieceHeight(int level) { return (2 * level + 1) * SPHERE_RADIUS + SLAB_TOP; }

static_assert(pieceHeight(0) - SPHERE_RADIUS == POLE_BOTTOM, "the bottom piece rests on the slab");
static_assert(POLE_TOP > pieceHeight(3) + SPHERE_RADIUS, "the poles stand above the top piece");
static_assert(-SLAB_HALF_WIDTH + POLE_HALF_WIDTH + poleOffset(0) == poleCentre(0),
              "the shifted prototype stands where the pole's centre is");
