#include "support/recording_gl.hpp"

#include <GL/glut.h>

#include <initializer_list>

namespace {

std::vector<GlCall> recorded;
void (*armedIdle)() = nullptr;

void record(const char* name, std::initializer_list<double> args = {}) {
    recorded.push_back({name, args, {}});
}

void recordArray(const char* name, std::initializer_list<double> head, const GLfloat* values,
                 int count) {
    GlCall call{name, head, {}};
    for (int i = 0; i < count; ++i) call.args.push_back(values[i]);
    recorded.push_back(call);
}

int materialValueCount(GLenum pname) { return pname == GL_SHININESS ? 1 : 4; }

}  // namespace

namespace recording_gl {

std::vector<GlCall>& calls() { return recorded; }
void reset() { recorded.clear(); }
void (*idleFunc())() { return armedIdle; }

void resetAll() {
    recorded.clear();
    armedIdle = nullptr;
}

std::vector<GlCall> callsNamed(const std::string& name) {
    std::vector<GlCall> found;
    for (const GlCall& call : recorded)
        if (call.name == name) found.push_back(call);
    return found;
}

int count(const std::string& name) { return static_cast<int>(callsNamed(name).size()); }

}  // namespace recording_gl

void glClear(GLbitfield mask) { record("glClear", {double(mask)}); }
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    record("glClearColor", {r, g, b, a});
}
void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) {
    record("glViewport", {double(x), double(y), double(w), double(h)});
}
void glMatrixMode(GLenum mode) { record("glMatrixMode", {double(mode)}); }
void glLoadIdentity() { record("glLoadIdentity"); }
void glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    record("glOrtho", {l, r, b, t, n, f});
}
void glRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z) {
    record("glRotated", {angle, x, y, z});
}
void glTranslated(GLdouble x, GLdouble y, GLdouble z) { record("glTranslated", {x, y, z}); }
void glBegin(GLenum mode) { record("glBegin", {double(mode)}); }
void glEnd() { record("glEnd"); }
void glVertex3dv(const GLdouble* v) { record("glVertex3dv", {v[0], v[1], v[2]}); }
void glMaterialfv(GLenum face, GLenum pname, const GLfloat* params) {
    recordArray("glMaterialfv", {double(face), double(pname)}, params, materialValueCount(pname));
}
void glLightfv(GLenum light, GLenum pname, const GLfloat* params) {
    recordArray("glLightfv", {double(light), double(pname)}, params, 4);
}
void glEnable(GLenum cap) { record("glEnable", {double(cap)}); }

void glutInit(int* argc, char**) { record("glutInit", {double(*argc)}); }
void glutInitDisplayMode(unsigned int mode) { record("glutInitDisplayMode", {double(mode)}); }
void glutInitWindowSize(int w, int h) { record("glutInitWindowSize", {double(w), double(h)}); }
int glutCreateWindow(const char* title) {
    recorded.push_back({"glutCreateWindow", {}, title});
    return 1;
}
void glutReshapeFunc(void (*)(int, int)) { record("glutReshapeFunc"); }
void glutDisplayFunc(void (*)()) { record("glutDisplayFunc"); }
void glutMouseFunc(void (*)(int, int, int, int)) { record("glutMouseFunc"); }
void glutKeyboardFunc(void (*)(unsigned char, int, int)) { record("glutKeyboardFunc"); }
void glutMotionFunc(void (*)(int, int)) { record("glutMotionFunc"); }
void glutIdleFunc(void (*callback)()) {
    armedIdle = callback;
    record("glutIdleFunc", {callback != nullptr ? 1.0 : 0.0});
}
void glutMainLoop() { record("glutMainLoop"); }
void glutPostRedisplay() { record("glutPostRedisplay"); }
void glutSwapBuffers() { record("glutSwapBuffers"); }
void glutSolidSphere(double radius, GLint slices, GLint stacks) {
    record("glutSolidSphere", {radius, double(slices), double(stacks)});
}
