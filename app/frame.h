// One frame of the window: the orbiting lights with their markers, the axis
// gizmo, and every object at its body's place under the view rotation.
#pragma once

#include <GL/gl.h>

// The display callback: draws the frame and shows it.
void displayFrame();
// Draws the frame into the back buffer without showing it.
void drawFrame();
// Three arrows along y, z and x; each turns red while the mouse button that
// turns the view about its axis is held.
void drawAxisArrows(float radius, float halfLength);
// The view offset, in the camera's own frame.
void applyViewOffset();
// Places `light` at `position` and marks it with a white point.
void drawLightMarker(GLenum light, const float position[4]);
// A six-sided shaft along the local y axis from -halfLength to halfLength,
// capped at its positive end by a cone.
void drawArrow(float radius, float halfLength);
