// What the shapes model mode makes of curved, lathed and projected objects
// share: counts of what an object's faces become, taken before anything is
// built, so that a model is held under a number of triangles before it is
// made; and faces copied whole into the object being made.
#pragma once

#include <cstdint>

#include "mqo/records.h"

// The faces that are drawn: three corners or more, every one a vertex.
struct FaceTally {
    int64_t corners = 0;
    int64_t triangles = 0;

    void add(int64_t cornerCount);
};

FaceTally tallyFaces(const ObjectRecord& object);

// Appends `face` to `object` as it is: corners, texture coordinates when it
// has them, colours when it has them, material.
void appendFace(ObjectRecord& object, const FaceCorners& face);

// Products and sums of counts that stop at INT64_MAX instead of wrapping:
// counts of a level that could never be made still compare as too many.
int64_t saturatingProduct(int64_t a, int64_t b);
int64_t saturatingSum(int64_t a, int64_t b);
