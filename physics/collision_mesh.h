// The collision meshes of the loaded objects: each object's vertices scaled
// to world units and its faces as triangles, in the packed arrays that ODE's
// triangle-mesh data refers to without copying.
#pragma once

#include <cstdint>

#include <ode/ode.h>

#include "model/loaded_model.h"

// One array per object: x, y, z of each vertex times 0.1.
extern float** meshVertices;
// One array per object: three vertex indices per collision triangle.
extern int32_t** meshIndices;
// The object's vertex count.
extern int32_t meshVertexCounts[MAX_OBJECTS];
// The number of triangles in meshIndices: one per face whose first three
// corners all name a vertex of the object.
extern int32_t meshFaceCounts[MAX_OBJECTS];
// Null for an object with no collision triangle.
extern dTriMeshDataID meshData[MAX_OBJECTS];

// Starts filling the arrays and building the mesh data for the first
// `count` loaded objects on a thread of its own, so that the meshes, the
// slowest part of start-up, are made while the display lists compile. ODE
// must have been initialised.
void startCollisionMeshes(int32_t count);
// Waits until the arrays are filled: the loaded objects are read no more.
void waitForCollisionArrays();
// Waits until the mesh data is built too.
void finishCollisionMeshes();
// Destroys the mesh data (waiting for it first); the geometries using it
// must be gone.
void destroyCollisionMeshData();
// Frees every object's index array, then its vertex array, then the two
// tables; the mesh data must be destroyed first.
void releaseCollisionArrays();
