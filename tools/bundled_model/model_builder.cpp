#include "tools/bundled_model/model_builder.h"

#include <algorithm>

namespace {

BuiltCorner cornerOf(int vertex, float u, float v, std::optional<uint32_t> colour) {
    return BuiltCorner{vertex, u, v, colour.value_or(0)};
}

// The picture's part for a face of `width` by `height` on a box whose
// longest edge is `longest`.
UvRect proportionalUv(float width, float height, float longest) {
    return UvRect{0, 0, width / longest, height / longest};
}

}  // namespace

int BuiltObject::vertexAt(Vec3 position) {
    for (size_t i = 0; i < vertices.size(); ++i) {
        const Vec3& known = vertices[i];
        if (known.x == position.x && known.y == position.y && known.z == position.z) return static_cast<int>(i);
    }
    vertices.push_back(position);
    return static_cast<int>(vertices.size() - 1);
}

void BuiltObject::addQuad(const Vec3 (&corners)[4], int material, UvRect uv, bool asQuad,
                          std::optional<uint32_t> colour) {
    const float uvs[4][2] = {{uv.u0, uv.v0}, {uv.u1, uv.v0}, {uv.u1, uv.v1}, {uv.u0, uv.v1}};
    if (asQuad) {
        BuiltFace face{{}, material, colour.has_value()};
        for (int k = 0; k < 4; ++k)
            face.corners.push_back(cornerOf(vertexAt(corners[k]), uvs[k][0], uvs[k][1], colour));
        faces.push_back(face);
        return;
    }
    addTriangle({corners[0], corners[1], corners[2]}, material,
                {{uvs[0][0], uvs[0][1]}, {uvs[1][0], uvs[1][1]}, {uvs[2][0], uvs[2][1]}}, colour);
    addTriangle({corners[0], corners[2], corners[3]}, material,
                {{uvs[0][0], uvs[0][1]}, {uvs[2][0], uvs[2][1]}, {uvs[3][0], uvs[3][1]}}, colour);
}

void BuiltObject::addTriangle(const Vec3 (&corners)[3], int material, const float (&uv)[3][2],
                              std::optional<uint32_t> colour) {
    BuiltFace face{{}, material, colour.has_value()};
    for (int k = 0; k < 3; ++k) face.corners.push_back(cornerOf(vertexAt(corners[k]), uv[k][0], uv[k][1], colour));
    faces.push_back(face);
}

void BuiltObject::addBox(Vec3 low, Vec3 high, int topMaterial, int sideMaterial) {
    const float x0 = low.x, y0 = low.y, z0 = low.z;
    const float x1 = high.x, y1 = high.y, z1 = high.z;
    const float width = x1 - x0, height = y1 - y0, depth = z1 - z0;
    const float longest = std::max({width, height, depth});
    const UvRect front = proportionalUv(width, height, longest);
    const UvRect side = proportionalUv(depth, height, longest);
    const UvRect flat = proportionalUv(width, depth, longest);
    addQuad({{x0, y1, z1}, {x1, y1, z1}, {x1, y0, z1}, {x0, y0, z1}}, sideMaterial, front);
    addQuad({{x1, y1, z0}, {x0, y1, z0}, {x0, y0, z0}, {x1, y0, z0}}, sideMaterial, front);
    addQuad({{x1, y1, z1}, {x1, y1, z0}, {x1, y0, z0}, {x1, y0, z1}}, sideMaterial, side);
    addQuad({{x0, y1, z0}, {x0, y1, z1}, {x0, y0, z1}, {x0, y0, z0}}, sideMaterial, side);
    addQuad({{x0, y1, z0}, {x1, y1, z0}, {x1, y1, z1}, {x0, y1, z1}}, topMaterial, flat);
    addQuad({{x0, y0, z1}, {x1, y0, z1}, {x1, y0, z0}, {x0, y0, z0}}, sideMaterial, flat);
}
