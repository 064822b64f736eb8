#include "view/pole_picking.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "view/board_geometry.hpp"
#include "view/view_control.hpp"

namespace {

constexpr double DEGREE = 3.14159265358979323846 / 180.0;

struct Vec3 {
    double x, y, z;
};

// World to eye coordinates: turned about the vertical axis, then about the screen's
// horizontal axis, as the scene is drawn. The viewer looks along -z.
class View {
public:
    View(double angleX, double angleY)
        : cx_(std::cos(angleX * DEGREE)),
          sx_(std::sin(angleX * DEGREE)),
          cy_(std::cos(angleY * DEGREE)),
          sy_(std::sin(angleY * DEGREE)) {}

    Vec3 toEye(const Vec3& w) const {
        const double x = w.x * cy_ + w.z * sy_;
        const double z = -w.x * sy_ + w.z * cy_;
        return {x, w.y * cx_ - z * sx_, w.y * sx_ + z * cx_};
    }

    Vec3 toWorld(const Vec3& e) const {
        const double y = e.y * cx_ + e.z * sx_;
        const double z = -e.y * sx_ + e.z * cx_;
        return {e.x * cy_ - z * sy_, y, e.x * sy_ + z * cy_};
    }

private:
    double cx_, sx_, cy_, sy_;
};

// Eye depth of the slab's front face on the line of sight through (ex, ey), or -infinity
// where the line misses the slab.
double slabDepth(const View& view, double ex, double ey) {
    const Vec3 origin = view.toWorld({ex, ey, 0});
    const Vec3 along = view.toWorld({0, 0, 1});
    double near = -std::numeric_limits<double>::infinity();
    double far = std::numeric_limits<double>::infinity();
    const double o[3] = {origin.x, origin.y, origin.z};
    const double d[3] = {along.x, along.y, along.z};
    const double low[3] = {-SLAB_HALF_WIDTH, SLAB_BOTTOM, -SLAB_HALF_WIDTH};
    const double high[3] = {SLAB_HALF_WIDTH, POLE_BOTTOM, SLAB_HALF_WIDTH};
    for (int k = 0; k < 3; ++k) {
        if (std::abs(d[k]) < 1e-12) {
            if (o[k] < low[k] || o[k] > high[k]) return -std::numeric_limits<double>::infinity();
            continue;
        }
        const double t0 = (low[k] - o[k]) / d[k];
        const double t1 = (high[k] - o[k]) / d[k];
        near = std::max(near, std::min(t0, t1));
        far = std::min(far, std::max(t0, t1));
    }
    return near <= far ? far : -std::numeric_limits<double>::infinity();
}

// A pole or piece under the point: how far outside the shape the point lies (0 inside) and
// the depth of the shape there, larger nearer the viewer.
struct Hit {
    Pole pole;
    double outside;
    double depth;
};

bool better(const Hit& a, const Hit& b) {
    if (a.outside != b.outside) return a.outside < b.outside;
    return a.depth > b.depth;
}

}  // namespace

std::optional<Pole> poleAt(const Board& cells, double angleX, double angleY, double x, double y,
                           double width, double height, double tolerance) {
    if (width <= 0 || height <= 0) return std::nullopt;
    const double unitsPerPixel = 2 * HALF_SPAN / std::min(width, height);
    const double ex = (x - width / 2) * unitsPerPixel;
    const double ey = (height / 2 - y) * unitsPerPixel;
    const double reach = tolerance * unitsPerPixel;
    const View view(angleX, angleY);
    const double hidden = slabDepth(view, ex, ey);

    std::optional<Hit> best;
    const auto consider = [&](const Hit& hit) {
        if (hit.outside > reach || hit.depth < hidden) return;
        if (!best || better(hit, *best)) best = hit;
    };
    for (int row = 0; row < BOARD_SIZE; ++row) {
        for (int col = 0; col < BOARD_SIZE; ++col) {
            const Pole pole{row, col};
            // The pole as its axis, seen from the front: the nearest point of the axis.
            const Vec3 bottom = view.toEye({poleCentre(row), POLE_BOTTOM, poleCentre(col)});
            const Vec3 top = view.toEye({poleCentre(row), POLE_TOP, poleCentre(col)});
            const double ax = top.x - bottom.x, ay = top.y - bottom.y;
            const double length2 = ax * ax + ay * ay;
            const double s =
                length2 > 0
                    ? std::clamp(((ex - bottom.x) * ax + (ey - bottom.y) * ay) / length2, 0.0, 1.0)
                    : 1.0;
            const double distance = std::hypot(ex - bottom.x - s * ax, ey - bottom.y - s * ay);
            consider({pole, std::max(0.0, distance - POLE_HALF_WIDTH),
                      bottom.z + s * (top.z - bottom.z)});
            for (int level = 0; level < BOARD_SIZE; ++level) {
                if (cells[cellIndex(row, col, level)] == EMPTY_CELL) continue;
                const Vec3 centre =
                    view.toEye({poleCentre(row), pieceHeight(level), poleCentre(col)});
                const double d = std::hypot(ex - centre.x, ey - centre.y);
                const double front =
                    std::sqrt(std::max(0.0, SPHERE_RADIUS * SPHERE_RADIUS - d * d));
                consider({pole, std::max(0.0, d - SPHERE_RADIUS), centre.z + front});
            }
        }
    }
    if (!best) return std::nullopt;
    return best->pole;
}
