#include "render/model_lists.h"

#include <GL/gl.h>

#include <cmath>
#include <vector>

#include "model/loaded_model.h"
#include "render/display_lists.h"
#include "render/face_materials.h"

namespace {

struct Normal {
    float x, y, z;
};

std::vector<uint32_t> trianglesByMaterial(const ObjectRecord& object, const ObjectMesh& mesh,
                                          std::vector<uint32_t>& groupStarts);
int32_t materialOfTriangle(const ObjectRecord& object, const MeshTriangle& triangle);
std::vector<Normal> cornerNormals(const ObjectRecord& object, const ObjectMesh& mesh);
Normal faceNormal(const Point3& a, const Point3& b, const Point3& c);
void emitTriangle(const ObjectRecord& object, const ObjectMesh& mesh, const std::vector<Normal>& normals,
                  uint32_t triangle, bool textured);

}  // namespace

void compileModelList(int32_t object, const ObjectMesh& mesh, bool useAlphaTest) {
    const ObjectRecord& record = loadedObjects[object];
    displayListIds[object] = static_cast<GLuint>(object + 1);
    glNewList(displayListIds[object], GL_COMPILE);
    if (useAlphaTest) {
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.5f);
    }
    const std::vector<Normal> normals = cornerNormals(record, mesh);
    std::vector<uint32_t> groupStarts;
    const std::vector<uint32_t> order = trianglesByMaterial(record, mesh, groupStarts);
    for (size_t group = 0; group + 1 < groupStarts.size(); ++group) {
        if (groupStarts[group] == groupStarts[group + 1]) continue;
        const int32_t materialIndex = materialOfTriangle(record, mesh.triangles[order[groupStarts[group]]]);
        const FaceMaterial material = materialOfFace(materialIndex);
        applyMaterial(material, materialIndex);
        glBegin(GL_TRIANGLES);
        for (uint32_t t = groupStarts[group]; t < groupStarts[group + 1]; ++t)
            emitTriangle(record, mesh, normals, order[t], material.textured);
        glEnd();
        if (material.textured) glDisable(GL_TEXTURE_2D);
    }
    if (useAlphaTest) glDisable(GL_ALPHA_TEST);
    glEndList();
}

namespace {

// The triangles' numbers ordered by material, each material's in mesh
// order; group g runs from groupStarts[g] to groupStarts[g + 1]. Faces
// without a usable material come last.
std::vector<uint32_t> trianglesByMaterial(const ObjectRecord& object, const ObjectMesh& mesh,
                                          std::vector<uint32_t>& groupStarts) {
    const int32_t groups = loadedMaterialCount() + 1;
    auto groupOf = [&](const MeshTriangle& triangle) {
        const int32_t material = materialOfTriangle(object, triangle);
        return material < 0 ? groups - 1 : material;
    };
    groupStarts.assign(groups + 1, 0);
    for (const MeshTriangle& triangle : mesh.triangles) ++groupStarts[groupOf(triangle) + 1];
    for (int32_t g = 0; g < groups; ++g) groupStarts[g + 1] += groupStarts[g];
    std::vector<uint32_t> next(groupStarts.begin(), groupStarts.end() - 1);
    std::vector<uint32_t> order(mesh.triangles.size());
    for (uint32_t t = 0; t < mesh.triangles.size(); ++t) order[next[groupOf(mesh.triangles[t])]++] = t;
    return order;
}

int32_t materialOfTriangle(const ObjectRecord& object, const MeshTriangle& triangle) {
    const int32_t material = object.faces[triangle.face].materialIndex;
    return material >= 0 && material < loadedMaterialCount() ? material : -1;
}

// One normal per triangle corner, three per triangle in mesh order.
std::vector<Normal> cornerNormals(const ObjectRecord& /*object*/, const ObjectMesh& mesh) {
    std::vector<Normal> normals;
    normals.reserve(3 * mesh.triangles.size());
    for (const MeshTriangle& triangle : mesh.triangles) {
        const Normal normal = faceNormal(mesh.positions[triangle.vertex[0]], mesh.positions[triangle.vertex[1]],
                                         mesh.positions[triangle.vertex[2]]);
        normals.insert(normals.end(), {normal, normal, normal});
    }
    return normals;
}

// Faces run clockwise seen from their front.
Normal faceNormal(const Point3& a, const Point3& b, const Point3& c) {
    const double ux = c.x - a.x, uy = c.y - a.y, uz = c.z - a.z;
    const double vx = b.x - a.x, vy = b.y - a.y, vz = b.z - a.z;
    const double x = uy * vz - uz * vy, y = uz * vx - ux * vz, z = ux * vy - uy * vx;
    const double length = std::sqrt(x * x + y * y + z * z);
    if (!(length > 0)) return {0, 1, 0};
    return {static_cast<float>(x / length), static_cast<float>(y / length), static_cast<float>(z / length)};
}

void emitTriangle(const ObjectRecord& object, const ObjectMesh& mesh, const std::vector<Normal>& normals,
                  uint32_t triangle, bool textured) {
    const MeshTriangle& corners = mesh.triangles[triangle];
    const FaceRecord& face = object.faces[corners.face];
    for (int c = 0; c < 3; ++c) {
        const Normal& normal = normals[3 * triangle + c];
        glNormal3f(normal.x, normal.y, normal.z);
        // The texture holds its image transposed, so (u, v) goes as (v, u).
        if (textured) glTexCoord2f(face.uv[corners.corner[c]][1], face.uv[corners.corner[c]][0]);
        const Point3& position = mesh.positions[corners.vertex[c]];
        glVertex3f(position.x, position.y, position.z);
    }
}

}  // namespace
