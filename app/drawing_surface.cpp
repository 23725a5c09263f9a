#include "app/drawing_surface.h"

#include <GL/glut.h>

#include "app/solid_cone.h"

namespace {

bool offscreen = false;
int offscreenWidth = 0;
int offscreenHeight = 0;

}  // namespace

void drawOffscreen(int width, int height) {
    offscreen = true;
    offscreenWidth = width;
    offscreenHeight = height;
}

bool drawingOffscreen() {
    return offscreen;
}

int surfaceWidth() {
    return offscreen ? offscreenWidth : glutGet(GLUT_WINDOW_WIDTH);
}

int surfaceHeight() {
    return offscreen ? offscreenHeight : glutGet(GLUT_WINDOW_HEIGHT);
}

// The offscreen picture is a frame buffer object's one colour attachment.
GLenum drawnBuffer() {
    return offscreen ? GL_COLOR_ATTACHMENT0 : GL_BACK;
}

void showFrame() {
    if (!offscreen) glutSwapBuffers();
}

void drawSolidCone(double base, double height, int slices, int stacks) {
    if (offscreen)
        drawConeOfOurOwn(base, height, slices, stacks);
    else
        glutSolidCone(base, height, slices, stacks);
}
