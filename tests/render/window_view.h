// The view the GL tests draw in: a 64 by 64 viewport whose window
// coordinates equal model x and y, so fed-back vertices compare with the
// model's own, under the classic lights.
#pragma once

#include <GL/gl.h>

#include "render/lights.h"

inline void lookAtWindowCoordinates() {
    glViewport(0, 0, 64, 64);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 64, 0, 64, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    setupLights();
}
