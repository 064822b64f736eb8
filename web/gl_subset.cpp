// The part of OpenGL 1.1 that the scene uses, for a browser, which has only WebGL: matrices,
// per-vertex lighting as the fixed-function pipeline defines it, quads and freeglut's solid
// sphere. Vertices are transformed and lit here, as GL 1.1 does it, and WebGL only fills the
// triangles, interpolating the colours and testing depth.
#include <GL/glut.h>
#include <emscripten/emscripten.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

using Vec4 = std::array<float, 4>;
using Matrix = std::array<double, 16>;  // column by column, as GL keeps it

constexpr Matrix IDENTITY = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
constexpr int LIGHT_COUNT = 8;

struct Light {
    bool enabled = false;
    Vec4 position{0, 0, 1, 0};  // in eye coordinates
    Vec4 ambient{0, 0, 0, 1};
    Vec4 diffuse{0, 0, 0, 1};  // light 0's diffuse and specular are white
    Vec4 specular{0, 0, 0, 1};
};

struct MaterialState {
    Vec4 ambient{0.2f, 0.2f, 0.2f, 1};
    Vec4 diffuse{0.8f, 0.8f, 0.8f, 1};
    Vec4 specular{0, 0, 0, 1};
    Vec4 emission{0, 0, 0, 1};
    float shininess = 0;
};

struct State {
    Matrix modelView = IDENTITY;
    Matrix projection = IDENTITY;
    GLenum matrixMode = GL_MODELVIEW;
    std::array<Light, LIGHT_COUNT> lights{};
    MaterialState material;
    std::array<double, 3> normal{0, 0, 1};
    bool lighting = false;
    bool depthTest = false;
    Vec4 clearColor{0, 0, 0, 0};
    GLenum primitive = 0;          // 0 outside glBegin and glEnd
    std::vector<float> pending;    // this primitive's vertices: clip x y z w, colour r g b a
    std::vector<float> triangles;  // waiting to be drawn, in the same layout
};

constexpr int FLOATS_PER_VERTEX = 8;
constexpr Vec4 LIGHT_MODEL_AMBIENT = {0.2f, 0.2f, 0.2f, 1};

State& state() {
    static State s = [] {
        State initial;
        initial.lights[0].diffuse = {1, 1, 1, 1};
        initial.lights[0].specular = {1, 1, 1, 1};
        return initial;
    }();
    return s;
}

Matrix& currentMatrix() {
    State& s = state();
    return s.matrixMode == GL_PROJECTION ? s.projection : s.modelView;
}

// a * b, both column by column.
Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix product{};
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k) product[col * 4 + row] += a[k * 4 + row] * b[col * 4 + k];
    return product;
}

void multiplyCurrent(const Matrix& m) { currentMatrix() = multiply(currentMatrix(), m); }

std::array<double, 4> transform(const Matrix& m, const std::array<double, 4>& v) {
    std::array<double, 4> out{};
    for (int row = 0; row < 4; ++row)
        for (int k = 0; k < 4; ++k) out[row] += m[k * 4 + row] * v[k];
    return out;
}

// The normal in eye coordinates: the inverse transpose of the model-view's upper 3 x 3.
std::array<double, 3> eyeNormal(const Matrix& m, const std::array<double, 3>& n) {
    const auto a = [&m](int row, int col) { return m[col * 4 + row]; };
    // Cofactors of the 3 x 3 block, which are the inverse transpose times the determinant.
    const double c[3][3] = {
        {a(1, 1) * a(2, 2) - a(1, 2) * a(2, 1), a(1, 2) * a(2, 0) - a(1, 0) * a(2, 2),
         a(1, 0) * a(2, 1) - a(1, 1) * a(2, 0)},
        {a(0, 2) * a(2, 1) - a(0, 1) * a(2, 2), a(0, 0) * a(2, 2) - a(0, 2) * a(2, 0),
         a(0, 1) * a(2, 0) - a(0, 0) * a(2, 1)},
        {a(0, 1) * a(1, 2) - a(0, 2) * a(1, 1), a(0, 2) * a(1, 0) - a(0, 0) * a(1, 2),
         a(0, 0) * a(1, 1) - a(0, 1) * a(1, 0)},
    };
    const double det = a(0, 0) * c[0][0] + a(0, 1) * c[0][1] + a(0, 2) * c[0][2];
    if (det == 0) return n;
    std::array<double, 3> out{};
    for (int row = 0; row < 3; ++row)
        out[row] = (c[row][0] * n[0] + c[row][1] * n[1] + c[row][2] * n[2]) / det;
    return out;
}

double dot(const std::array<double, 3>& a, const std::array<double, 3>& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

std::array<double, 3> normalized(const std::array<double, 3>& v) {
    const double length = std::sqrt(dot(v, v));
    if (length == 0) return v;
    return {v[0] / length, v[1] / length, v[2] / length};
}

// The lit colour of a vertex, as GL 1.1 defines it for directional lights (the scene has no
// other kind), a viewer at infinity and one-sided lighting.
Vec4 lightVertex(const std::array<double, 3>& normal) {
    const State& s = state();
    const MaterialState& m = s.material;
    if (!s.lighting) return {1, 1, 1, 1};
    std::array<double, 3> colour{};
    for (int c = 0; c < 3; ++c)
        colour[c] = m.emission[c] + static_cast<double>(m.ambient[c]) * LIGHT_MODEL_AMBIENT[c];
    for (const Light& light : s.lights) {
        if (!light.enabled) continue;
        const Vec4& p = light.position;
        const std::array<double, 3> toLight = normalized({p[0], p[1], p[2]});
        const std::array<double, 3> halfway =
            normalized({toLight[0], toLight[1], toLight[2] + 1.0});
        const double diffuse = std::max(dot(normal, toLight), 0.0);
        const double specular =
            diffuse > 0 ? std::pow(std::max(dot(normal, halfway), 0.0), m.shininess) : 0.0;
        for (int c = 0; c < 3; ++c) {
            colour[c] += static_cast<double>(light.ambient[c]) * m.ambient[c] +
                         diffuse * light.diffuse[c] * m.diffuse[c] +
                         specular * light.specular[c] * m.specular[c];
        }
    }
    return {static_cast<float>(std::clamp(colour[0], 0.0, 1.0)),
            static_cast<float>(std::clamp(colour[1], 0.0, 1.0)),
            static_cast<float>(std::clamp(colour[2], 0.0, 1.0)),
            std::clamp(m.diffuse[3], 0.0f, 1.0f)};
}

// Transforms and lights one vertex into out.
void emitVertex(const double* v, const std::array<double, 3>& normal, std::vector<float>& out) {
    const State& s = state();
    const std::array<double, 4> eye = transform(s.modelView, {v[0], v[1], v[2], 1.0});
    const std::array<double, 4> clip = transform(s.projection, eye);
    const Vec4 colour = lightVertex(eyeNormal(s.modelView, normal));  // not normalised
    for (double c : clip) out.push_back(static_cast<float>(c));
    out.insert(out.end(), colour.begin(), colour.end());
}

void appendVertex(const std::vector<float>& from, size_t index, std::vector<float>& to) {
    const auto first = from.begin() + static_cast<std::ptrdiff_t>(index * FLOATS_PER_VERTEX);
    to.insert(to.end(), first, first + FLOATS_PER_VERTEX);
}

void appendTriangle(const std::vector<float>& from, size_t a, size_t b, size_t c) {
    std::vector<float>& triangles = state().triangles;
    for (size_t index : {a, b, c}) appendVertex(from, index, triangles);
}

Vec4 toVec4(const GLfloat* p) { return {p[0], p[1], p[2], p[3]}; }

// freeglut's table of sines and cosines around a full or half circle, n + 1 entries, the
// sign of n giving the direction.
void circleTable(std::vector<float>& sint, std::vector<float>& cost, int n, bool halfCircle) {
    const int size = std::abs(n);
    const float angle =
        (halfCircle ? 1 : 2) * static_cast<float>(M_PI) / static_cast<float>(n == 0 ? 1 : n);
    sint.assign(size + 1, 0.0f);
    cost.assign(size + 1, 0.0f);
    cost[0] = 1.0f;
    for (int i = 1; i < size; ++i) {
        sint[i] = static_cast<float>(std::sin(angle * i));
        cost[i] = static_cast<float>(std::cos(angle * i));
    }
    sint[size] = halfCircle ? 0.0f : sint[0];
    cost[size] = halfCircle ? -1.0f : cost[0];
}

// The page has no context where the browser has no WebGL: then nothing is drawn.
EM_JS(void, webglClear, (float r, float g, float b, float a, int colour, int depth), {
    const gl = Module.cube4Gl;
    if (!gl) return;
    gl.clearColor(r, g, b, a);
    gl.clear((colour ? gl.COLOR_BUFFER_BIT : 0) | (depth ? gl.DEPTH_BUFFER_BIT : 0));
});

EM_JS(void, webglViewport, (int x, int y, int width, int height), {
    if (Module.cube4Gl) Module.cube4Gl.viewport(x, y, width, height);
});

EM_JS(void, webglTriangles, (const float* data, int vertices, int depthTest), {
    const gl = Module.cube4Gl;
    if (!gl) return;
    if (depthTest)
        gl.enable(gl.DEPTH_TEST);
    else
        gl.disable(gl.DEPTH_TEST);
    gl.bufferData(gl.ARRAY_BUFFER, HEAPF32.subarray(data >> 2, (data >> 2) + vertices * 8),
                  gl.STREAM_DRAW);
    gl.drawArrays(gl.TRIANGLES, 0, vertices);
});

// Draws what is waiting, before the next change that WebGL must see in order.
void flush() {
    State& s = state();
    if (s.triangles.empty()) return;
    webglTriangles(s.triangles.data(), static_cast<int>(s.triangles.size() / FLOATS_PER_VERTEX),
                   s.depthTest);
    s.triangles.clear();
}

}  // namespace

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
    state().clearColor = {red, green, blue, alpha};
}

void glClear(GLbitfield mask) {
    flush();
    const Vec4& c = state().clearColor;
    webglClear(c[0], c[1], c[2], c[3], (mask & GL_COLOR_BUFFER_BIT) != 0,
               (mask & GL_DEPTH_BUFFER_BIT) != 0);
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    flush();
    webglViewport(x, y, width, height);
}

void glEnable(GLenum cap) {
    State& s = state();
    if (cap == GL_LIGHTING) s.lighting = true;
    if (cap == GL_DEPTH_TEST) s.depthTest = true;
    if (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + LIGHT_COUNT) s.lights[cap - GL_LIGHT0].enabled = true;
}

void glMatrixMode(GLenum mode) { state().matrixMode = mode; }

void glLoadIdentity() { currentMatrix() = IDENTITY; }

void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,
             GLdouble zFar) {
    Matrix m = IDENTITY;
    m[0] = 2 / (right - left);
    m[5] = 2 / (top - bottom);
    m[10] = -2 / (zFar - zNear);
    m[12] = -(right + left) / (right - left);
    m[13] = -(top + bottom) / (top - bottom);
    m[14] = -(zFar + zNear) / (zFar - zNear);
    multiplyCurrent(m);
}

void glRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z) {
    const std::array<double, 3> axis = normalized({x, y, z});
    const double radians = angle * M_PI / 180.0;
    const double c = std::cos(radians), s = std::sin(radians), t = 1 - c;
    const double ax = axis[0], ay = axis[1], az = axis[2];
    multiplyCurrent({t * ax * ax + c, t * ax * ay + s * az, t * ax * az - s * ay, 0,
                     t * ax * ay - s * az, t * ay * ay + c, t * ay * az + s * ax, 0,
                     t * ax * az + s * ay, t * ay * az - s * ax, t * az * az + c, 0, 0, 0, 0, 1});
}

void glTranslated(GLdouble x, GLdouble y, GLdouble z) {
    Matrix m = IDENTITY;
    m[12] = x;
    m[13] = y;
    m[14] = z;
    multiplyCurrent(m);
}

void glLightfv(GLenum light, GLenum pname, const GLfloat* params) {
    if (light < GL_LIGHT0 || light >= GL_LIGHT0 + LIGHT_COUNT) return;
    State& s = state();
    Light& l = s.lights[light - GL_LIGHT0];
    if (pname == GL_AMBIENT) l.ambient = toVec4(params);
    if (pname == GL_DIFFUSE) l.diffuse = toVec4(params);
    if (pname == GL_SPECULAR) l.specular = toVec4(params);
    if (pname == GL_POSITION) {
        // Kept in eye coordinates, as the model-view matrix stands now.
        const auto eye = transform(s.modelView, {params[0], params[1], params[2], params[3]});
        l.position = {static_cast<float>(eye[0]), static_cast<float>(eye[1]),
                      static_cast<float>(eye[2]), static_cast<float>(eye[3])};
    }
}

void glMaterialfv(GLenum face, GLenum pname, const GLfloat* params) {
    if (face != GL_FRONT && face != GL_FRONT_AND_BACK) return;  // one-sided lighting
    MaterialState& m = state().material;
    if (pname == GL_AMBIENT) m.ambient = toVec4(params);
    if (pname == GL_DIFFUSE) m.diffuse = toVec4(params);
    if (pname == GL_SPECULAR) m.specular = toVec4(params);
    if (pname == GL_EMISSION) m.emission = toVec4(params);
    if (pname == GL_SHININESS) m.shininess = params[0];
}

void glBegin(GLenum mode) {
    State& s = state();
    s.primitive = mode;
    s.pending.clear();
}

// Only quads are drawn; each is split into two triangles.
void glEnd() {
    State& s = state();
    if (s.primitive == GL_QUADS) {
        const size_t quads = s.pending.size() / FLOATS_PER_VERTEX / 4;
        for (size_t q = 0; q < quads; ++q) {
            appendTriangle(s.pending, 4 * q, 4 * q + 1, 4 * q + 2);
            appendTriangle(s.pending, 4 * q, 4 * q + 2, 4 * q + 3);
        }
    }
    s.primitive = 0;
    s.pending.clear();
}

void glVertex3dv(const GLdouble* v) {
    State& s = state();
    if (s.primitive != 0) emitVertex(v, s.normal, s.pending);
}

// freeglut's solid sphere: the same vertices and normals, in the same triangle strips, one
// around each stack. Like freeglut's on Mesa, it leaves the current normal as it was.
void glutSolidSphere(GLdouble radius, GLint slices, GLint stacks) {
    if (slices <= 0 || stacks < 2) return;
    const float r = static_cast<float>(radius);
    std::vector<float> sint1, cost1, sint2, cost2;
    circleTable(sint1, cost1, -slices, false);
    circleTable(sint2, cost2, stacks, true);

    // Vertex 0 is the top, then each stack's ring from the top down, then the bottom.
    std::vector<std::array<float, 3>> normals = {{0.0f, 0.0f, 1.0f}};
    for (int i = 1; i < stacks; ++i)
        for (int j = 0; j < slices; ++j)
            normals.push_back({cost1[j] * sint2[i], sint1[j] * sint2[i], cost2[i]});
    normals.push_back({0.0f, 0.0f, -1.0f});

    std::vector<float> lit;
    for (const auto& n : normals) {
        const double vertex[3] = {n[0] * r, n[1] * r, n[2] * r};
        emitVertex(vertex, {n[0], n[1], n[2]}, lit);
    }

    const int bottom = static_cast<int>(normals.size()) - 1;
    std::vector<int> strip;
    for (int stack = 0; stack < stacks; ++stack) {
        strip.clear();
        for (int j = 0; j <= slices; ++j) {
            const int k = j % slices;  // the ring closes on its first vertex
            const int ringAbove = 1 + (stack - 1) * slices;
            const int ringBelow = 1 + stack * slices;
            if (stack == 0) {
                strip.insert(strip.end(), {ringBelow + k, 0});
            } else if (stack == stacks - 1) {
                strip.insert(strip.end(), {bottom, ringAbove + k});
            } else {
                strip.insert(strip.end(), {ringBelow + k, ringAbove + k});
            }
        }
        for (size_t t = 0; t + 2 < strip.size(); ++t)
            appendTriangle(lit, strip[t], strip[t + 1], strip[t + 2]);
    }
}

// Draws the frame's last triangles; the page shows the canvas when the callback returns.
void glutSwapBuffers() { flush(); }
