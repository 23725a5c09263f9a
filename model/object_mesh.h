// An object as model mode draws and drops it: its vertices followed by those
// of each mirrored copy, and every face cut into triangles. The display
// lists and the collision meshes are both made from it, so what is seen is
// what collides.
#pragma once

#include <cstdint>
#include <vector>

#include "mqo/records.h"

struct MeshTriangle {
    // Into ObjectMesh::positions.
    uint32_t vertex[3];
    // The face the triangle was cut from, and that face's corner numbers.
    uint32_t face;
    uint32_t corner[3];
};

struct ObjectMesh {
    std::vector<Point3> positions;
    std::vector<MeshTriangle> triangles;
};

// The object's triangles, with a mirrored copy for every combination of the
// mirror axes it sets. Faces with a corner outside the object's vertices are
// left out.
ObjectMesh buildObjectMesh(const ObjectRecord& object);

// Whether every corner of the face names one of the object's vertices.
bool cornersAreVertices(const FaceCorners& face, size_t vertexCount);

// How many times the object is drawn: once, and once for each mirrored copy.
size_t drawnCopies(const ObjectRecord& object);

// The turn of a frame given by heading about y, pitch about x and bank about
// z, in degrees, as the object's rotation key gives them: rows of a 3 x 3
// matrix that takes the frame's axes into the model's.
void rotationOf(const Point3& angles, double out[3][3]);

// The smallest box around some points.
struct Bounds {
    Point3 min{1e30f, 1e30f, 1e30f};
    Point3 max{-1e30f, -1e30f, -1e30f};

    bool empty() const { return min.x > max.x; }
    void add(const Point3& point);
    void add(const Bounds& other);
    Point3 centre() const;
};

Bounds boundsOf(const std::vector<Point3>& points);

// The box around the vertices the object's faces use, mirrored copies
// included: where the object is drawn, without cutting a face.
Bounds meshBounds(const ObjectRecord& object);
