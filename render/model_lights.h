// Model mode's lights, as the modeller shows a model: the directional
// lights its file saves, fixed to the camera, over the file's ambient; the
// classic scene's two orbiting lights only when asked for.
#pragma once

#include "mqo/records.h"

// Sets the ambient and the lights of `scene`, or the modeller's own light
// when the file gives none, and turns the orbiting lights off. Needs a
// current OpenGL context with the identity modelview matrix, which fixes
// the lights to the camera.
void setupModelLights(const SceneRecord& scene);
// Turns the two orbiting lights on or off.
void showOrbitingLights(bool shown);
