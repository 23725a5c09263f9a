// One compiled display list per loaded object: its faces with their
// materials, textures and texture coordinates, in model coordinates, in
// pieces (list_pieces.h).
#pragma once

#include <GL/gl.h>

#include "model/loaded_model.h"

// Display list of each object by object index: object i draws list i + 1,
// which calls its pieces.
extern GLuint displayListIds[MAX_OBJECTS];

// Compiles the lists of every loaded object. Needs a current OpenGL context
// and runs after the textures are set up.
void buildDisplayLists();
