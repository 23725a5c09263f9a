// Objects built in memory for the physics tests, and a way to make them the
// loaded model without a model file.
#pragma once

#include <vector>

#include "mqo/records.h"

// A cube centred on the object's origin, `half` model units from centre to
// face, as twelve triangles.
ObjectRecord cubeObject(float half);
// An object with the given vertices and no faces.
ObjectRecord pointsObject(std::vector<VertexRecord> vertices);
// A face of up to four corners.
FaceRecord faceOf(std::vector<int32_t> corners);

// Replaces the document and the loaded tables with these objects, as a
// successful read of a model made of them would leave them.
void installObjects(const std::vector<ObjectRecord>& objects);
