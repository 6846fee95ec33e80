#include "scene/WindowPort.h"

namespace {
WindowPort g_noWindows;
WindowPort* g_port = &g_noWindows;
}  // namespace

WindowPort& Windows() { return *g_port; }

void SetWindows(WindowPort* port) { g_port = port ? port : &g_noWindows; }
