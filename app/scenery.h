// What model mode draws around a model so that it reads as an object in a
// place: a background neither black nor white, so dark and light models
// both stand out; a grid on the ground it rests on, fading with distance,
// with a soft shadow under each body; and small axes in a corner that turn
// with the view.
#pragma once

#include "math/vector3d.h"

// Fills the window with a vertical gradient of dark blue-greys. Leaves the
// matrices as they were.
void drawBackground();
// The grid and the shadows, under the scene's modelview, around the model
// moved by `drift` across the ground. Writes no depth: the model covers them.
void drawGround(const Vector3d& drift);
// The model's x, y and z axes in the window's lower left corner, turned as
// the scene's modelview turns them.
void drawCornerAxes();
// The side of the corner square the axes take in a window of this size.
int cornerAxesSide(int width, int height);
