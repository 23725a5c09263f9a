// Where the viewer draws: the window GLUT opened, or a picture offscreen.
// Offscreen there is no GLUT at all (glutInit fails without a display), so
// what the frame needs from GLUT comes through here: the size drawn on, the
// buffer to read the frame back from, showing the frame, and the classic
// arrows' cones.
#pragma once

#include <GL/gl.h>

// From here on, frames are drawn into an offscreen picture of this size
// whose GL context is current.
void drawOffscreen(int width, int height);
bool drawingOffscreen();
int surfaceWidth();
int surfaceHeight();
// The colour buffer the last frame was drawn into.
GLenum drawnBuffer();
// The window shows the frame just drawn; offscreen it is already the picture.
void showFrame();
// GLUT's solid cone in the window; offscreen, one of our own that looks the
// same: along +z from a base of `base` radius at z = 0 to its tip at `height`.
void drawSolidCone(double base, double height, int slices, int stacks);
