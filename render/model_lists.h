// Model mode's display lists: an object's triangles grouped by material,
// each corner with its normal, so that the model shows shaded the way the
// modeller shows it.
#pragma once

#include <cstdint>

#include "model/object_mesh.h"

// Compiles the display list of loaded object `object` from its mesh, and
// keeps its see-through triangles in translucentFaces.
void compileModelList(int32_t object, const ObjectMesh& mesh);
