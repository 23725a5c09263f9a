#include "model/shape_faces.h"

#include "model/object_mesh.h"

void FaceTally::add(int64_t cornerCount) {
    corners += cornerCount;
    triangles += cornerCount - 2;
}

FaceTally tallyFaces(const ObjectRecord& object) {
    FaceTally tally;
    for (size_t f = 0; f < object.faces.size(); ++f) {
        const FaceCorners face = object.faces.corners(f);
        if (face.size() >= 3 && cornersAreVertices(face, object.vertices.size()))
            tally.add(static_cast<int64_t>(face.size()));
    }
    return tally;
}

void appendFace(ObjectRecord& object, const FaceCorners& face) {
    for (const int32_t vertex : face.vertices) object.faces.addVertex(vertex);
    for (const TexturePoint& uv : face.uvs) object.faces.addUv(uv);
    for (const uint32_t colour : face.colours) object.faces.addColour(colour);
    object.finishFace(face.materialIndex);
}

int64_t saturatingProduct(int64_t a, int64_t b) {
    int64_t product = 0;
    return __builtin_mul_overflow(a, b, &product) ? INT64_MAX : product;
}

int64_t saturatingSum(int64_t a, int64_t b) {
    int64_t sum = 0;
    return __builtin_add_overflow(a, b, &sum) ? INT64_MAX : sum;
}
