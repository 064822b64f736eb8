// A stand-in for the GL and GLUT functions the game calls: each call is recorded with its
// arguments, so that tests can check what was drawn and armed without a window.
#pragma once

#include <string>
#include <vector>

struct GlCall {
    std::string name;
    std::vector<double> args;  // numbers and enums as given; pointers to arrays expanded
    std::string text;          // the title, for glutCreateWindow
};

namespace recording_gl {

// Everything recorded since the last reset().
std::vector<GlCall>& calls();

// Forgets the calls; the idle callback keeps its state, as GLUT's would.
void reset();

// The idle callback now armed, or nullptr.
void (*idleFunc())();

// Disarms the idle callback and forgets the calls, for a fresh start.
void resetAll();

// The calls named name, in order.
std::vector<GlCall> callsNamed(const std::string& name);

int count(const std::string& name);

}  // namespace recording_gl
