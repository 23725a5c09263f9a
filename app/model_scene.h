// Model mode's scene made from the loaded model: its layout, camera,
// lights, display lists and bodies' points; and taken down again for a
// model read anew.
#pragma once

#include <cstdint>

// What the model shows, for the window's information line.
struct ModelCounts {
    int32_t objects = 0;
    int64_t vertices = 0;
    int64_t faces = 0;
    int64_t triangles = 0;
};

extern ModelCounts modelCounts;

// Makes the loaded model's curved surfaces, lathes and projected materials
// into the shapes they show (saying what was cut back), lays the model out,
// frames the camera on it unless it is framed already, sets the model's
// lights and compiles its display lists, then releases its geometry. The textures must be set up first; the physics
// world is made after.
void buildModelScene();
// Deletes the scene's display lists, textures and see-through faces and the
// physics world, for another model to be built in their place.
void releaseModelScene();
