#include "render/model_lists.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/corner_normals.h"
#include "model/loaded_model.h"
#include "render/list_pieces.h"
#include "render/model_materials.h"
#include "render/translucent_faces.h"

namespace {

std::vector<uint32_t> trianglesByMaterial(const ObjectRecord& object, const ObjectMesh& mesh,
                                          std::vector<uint32_t>& groupStarts);
int32_t materialOfTriangle(const ObjectRecord& object, const MeshTriangle& triangle);
std::vector<Point3> cornerNormals(const ObjectRecord& object, const ObjectMesh& mesh);
std::vector<Point3> faceNormals(const ObjectMesh& mesh, const std::vector<int32_t>& faceOfTriangle, size_t faceCount);
bool triangleSeeThrough(const ObjectRecord& object, const MeshTriangle& triangle, const ModelMaterial& material);
void cornersOf(const ObjectRecord& object, const ObjectMesh& mesh, const std::vector<Point3>& normals,
               uint32_t triangle, const ModelMaterial& material, TranslucentFaces::Corner out[3]);
void emitTriangle(const TranslucentFaces::Corner corners[3], const ModelMaterial& material);

}  // namespace

// See-through triangles go to the object's translucent faces instead of
// its list.
void compileModelList(int32_t object, const ObjectMesh& mesh) {
    const ObjectRecord& record = loadedObjects[object];
    ListPieces pieces(object);
    const std::vector<Point3> normals = cornerNormals(record, mesh);
    std::vector<uint32_t> groupStarts;
    const std::vector<uint32_t> order = trianglesByMaterial(record, mesh, groupStarts);
    for (size_t group = 0; group + 1 < groupStarts.size(); ++group) {
        if (groupStarts[group] == groupStarts[group + 1]) continue;
        const int32_t materialIndex = materialOfTriangle(record, mesh.triangles[order[groupStarts[group]]]);
        const ModelMaterial material = modelMaterialOf(materialIndex);
        applyModelMaterial(material, materialIndex);
        pieces.beginTriangles();
        for (uint32_t t = groupStarts[group]; t < groupStarts[group + 1]; ++t) {
            TranslucentFaces::Corner corners[3];
            cornersOf(record, mesh, normals, order[t], material, corners);
            if (triangleSeeThrough(record, mesh.triangles[order[t]], material)) {
                translucentFaces[object].add(corners, materialIndex);
            } else {
                pieces.nextTriangle();
                emitTriangle(corners, material);
            }
        }
        pieces.endTriangles();
        finishModelMaterial(material);
    }
    pieces.finish();
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
    const int32_t material = object.faces.corners(triangle.face).materialIndex;
    return material >= 0 && material < loadedMaterialCount() ? material : -1;
}

// One normal per triangle corner, three per triangle in mesh order: the
// face's own for flat shading, shared across the edges the smoothing angle
// lets through for smooth shading. Each mirrored copy of a face is a face of
// its own.
std::vector<Point3> cornerNormals(const ObjectRecord& object, const ObjectMesh& mesh) {
    const size_t faceCount = object.faces.size();
    const size_t vertexCount = object.vertices.size();
    std::vector<int32_t> faceOfTriangle(mesh.triangles.size());
    std::vector<int32_t> vertices(3 * mesh.triangles.size());
    for (size_t t = 0; t < mesh.triangles.size(); ++t) {
        const MeshTriangle& triangle = mesh.triangles[t];
        const size_t copy = vertexCount == 0 ? 0 : triangle.vertex[0] / vertexCount;
        faceOfTriangle[t] = static_cast<int32_t>(copy * faceCount + triangle.face);
        for (int c = 0; c < 3; ++c) vertices[3 * t + c] = static_cast<int32_t>(triangle.vertex[c]);
    }
    const size_t copies = vertexCount == 0 ? 1 : mesh.positions.size() / vertexCount;
    const std::vector<Point3> normals = faceNormals(mesh, faceOfTriangle, copies * faceCount);
    const float smoothing = object.shading == 0 ? 0.0f : object.facet;
    return smoothCornerNormals(vertices, faceOfTriangle, normals, static_cast<int32_t>(mesh.positions.size()),
                               smoothing);
}

// The unit normal of each face, from the triangles it was cut into. Faces
// run clockwise seen from their front, where the normal points.
std::vector<Point3> faceNormals(const ObjectMesh& mesh, const std::vector<int32_t>& faceOfTriangle, size_t faceCount) {
    std::vector<double> sums(3 * faceCount, 0.0);
    for (size_t t = 0; t < mesh.triangles.size(); ++t) {
        const Point3& a = mesh.positions[mesh.triangles[t].vertex[0]];
        const Point3& b = mesh.positions[mesh.triangles[t].vertex[1]];
        const Point3& c = mesh.positions[mesh.triangles[t].vertex[2]];
        const double ux = c.x - a.x, uy = c.y - a.y, uz = c.z - a.z;
        const double vx = b.x - a.x, vy = b.y - a.y, vz = b.z - a.z;
        double* sum = &sums[3 * faceOfTriangle[t]];
        sum[0] += uy * vz - uz * vy;
        sum[1] += uz * vx - ux * vz;
        sum[2] += ux * vy - uy * vx;
    }
    std::vector<Point3> normals(faceCount);
    for (size_t f = 0; f < faceCount; ++f) {
        const double* sum = &sums[3 * f];
        const double length = std::sqrt(sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2]);
        if (length > 0 && std::isfinite(length))
            normals[f] = {static_cast<float>(sum[0] / length), static_cast<float>(sum[1] / length),
                          static_cast<float>(sum[2] / length)};
    }
    return normals;
}

bool triangleSeeThrough(const ObjectRecord& object, const MeshTriangle& triangle, const ModelMaterial& material) {
    if (material.seeThrough) return true;
    if (!material.vertexColours) return false;
    const FaceCorners face = object.faces.corners(triangle.face);
    if (face.colours.empty()) return false;
    return std::any_of(std::begin(triangle.corner), std::end(triangle.corner),
                       [&](uint32_t corner) { return cornerSeeThrough(face.colour(corner)); });
}

// A face of a vertex-colour material that has no corner colours keeps the
// material's own colour.
void cornersOf(const ObjectRecord& object, const ObjectMesh& mesh, const std::vector<Point3>& normals,
               uint32_t triangle, const ModelMaterial& material, TranslucentFaces::Corner out[3]) {
    const MeshTriangle& corners = mesh.triangles[triangle];
    const FaceCorners face = object.faces.corners(corners.face);
    for (int c = 0; c < 3; ++c) {
        TranslucentFaces::Corner& corner = out[c];
        const Point3& normal = normals[3 * triangle + c];
        const Point3& position = mesh.positions[corners.vertex[c]];
        const TexturePoint uv = face.uv(corners.corner[c]);
        corner = {{position.x, position.y, position.z}, {normal.x, normal.y, normal.z}, {uv.v, uv.u}, {1, 1, 1, 1}};
        if (material.vertexColours && !face.colours.empty())
            cornerColour(material, face.colour(corners.corner[c]), corner.colour);
        else if (material.vertexColours)
            std::copy_n(material.constant ? material.look.emission : material.look.diffuse, 4, corner.colour);
    }
}

// The texture holds its image transposed: the corners' coordinates are
// already swapped to match.
void emitTriangle(const TranslucentFaces::Corner corners[3], const ModelMaterial& material) {
    for (int c = 0; c < 3; ++c) {
        glNormal3fv(corners[c].normal);
        if (material.look.textured) glTexCoord2fv(corners[c].uv);
        if (material.vertexColours) glColor4fv(corners[c].colour);
        glVertex3fv(corners[c].position);
    }
}

}  // namespace
