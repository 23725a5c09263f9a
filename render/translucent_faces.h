// The see-through triangles of an object: kept out of its display list and
// drawn after every opaque face, blended farthest first and without
// writing depth, so that what lies behind them shows from every side. They
// are sorted again whenever the camera has moved against the object.
#pragma once

#include <cstdint>
#include <vector>

#include "model/loaded_model.h"
#include "model/object_mesh.h"
#include "mqo/records.h"

class TranslucentFaces {
public:
    // One corner as it is drawn: texture coordinates already in the
    // texture's transposed order.
    struct Corner {
        float position[3];
        float normal[3];
        float uv[2];
        float colour[4];
    };

    bool empty() const { return materials_.empty(); }
    size_t size() const { return materials_.size(); }
    // The middle of the triangles' box, in the object's coordinates.
    Point3 centre() const;
    void add(const Corner corners[3], int32_t materialIndex);
    // Draws the triangles farthest from `eye` (in the object's coordinates)
    // first. Needs the object's modelview matrix.
    void draw(const Point3& eye);
    void clear();

private:
    void sortFor(const Point3& eye);

    std::vector<Corner> corners_;
    std::vector<int32_t> materials_;
    Bounds bounds_;
    // Corner numbers, three a triangle, in the order last sorted.
    std::vector<uint32_t> order_;
    Point3 sortedFor_{};
    bool sorted_ = false;
};

// By object index, as displayListIds.
extern TranslucentFaces translucentFaces[MAX_OBJECTS];

// Blending on and depth writes off around drawing see-through faces.
void beginTranslucentFaces();
void endTranslucentFaces();
