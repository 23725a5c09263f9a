#include "render/translucent_faces.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "render/list_pieces.h"
#include "render/model_materials.h"

TranslucentFaces translucentFaces[MAX_OBJECTS];

namespace {

// How far the eye may move, in parts of its distance from the triangles,
// before they are sorted again: far less than any turn that could change
// which of two triangles is in front.
constexpr double RESORT_SHARE = 1e-3;

double squaredDistance(const float a[3], const Point3& b);

}  // namespace

Point3 TranslucentFaces::centre() const {
    return bounds_.empty() ? Point3{} : bounds_.centre();
}

void TranslucentFaces::add(const Corner corners[3], int32_t materialIndex) {
    corners_.insert(corners_.end(), corners, corners + 3);
    for (int c = 0; c < 3; ++c)
        bounds_.add(Point3{corners[c].position[0], corners[c].position[1], corners[c].position[2]});
    materials_.push_back(materialIndex);
    sorted_ = false;
}

void TranslucentFaces::draw(const Point3& eye) {
    if (empty()) return;
    sortFor(eye);
    const GLsizei stride = sizeof(Corner);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, stride, corners_[0].position);
    glNormalPointer(GL_FLOAT, stride, corners_[0].normal);
    glTexCoordPointer(2, GL_FLOAT, stride, corners_[0].uv);
    glColorPointer(4, GL_FLOAT, stride, corners_[0].colour);
    // Runs of neighbours in the sorted order that share a material are
    // drawn together, a piece at a time.
    for (size_t first = 0; first < order_.size();) {
        const int32_t materialIndex = materials_[order_[first] / 3];
        size_t end = first + 3;
        while (end < order_.size() && materials_[order_[end] / 3] == materialIndex) end += 3;
        const ModelMaterial material = modelMaterialOf(materialIndex);
        applyModelMaterial(material, materialIndex);
        if (material.look.textured) glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        if (material.vertexColours) glEnableClientState(GL_COLOR_ARRAY);
        for (size_t at = first; at < end; at += 3 * PIECE_TRIANGLES) {
            const size_t corners = std::min(end - at, size_t{3} * PIECE_TRIANGLES);
            makeRoomFor(static_cast<int64_t>(corners / 3));
            glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(corners), GL_UNSIGNED_INT, order_.data() + at);
        }
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_COLOR_ARRAY);
        finishModelMaterial(material);
        first = end;
    }
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void TranslucentFaces::clear() {
    *this = TranslucentFaces{};
}

void beginTranslucentFaces() {
    glEnable(GL_BLEND);
    // The alpha adds up to how much of what lies behind is covered, so that
    // over a clear background the picture's alpha is the faces' cover.
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
}

void endTranslucentFaces() {
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}

// By the distance of each triangle's middle from the eye.
void TranslucentFaces::sortFor(const Point3& eye) {
    if (sorted_) {
        const float last[3] = {sortedFor_.x, sortedFor_.y, sortedFor_.z};
        const Point3 middle = centre();
        const float centreOf[3] = {middle.x, middle.y, middle.z};
        const double reach = RESORT_SHARE * std::sqrt(squaredDistance(centreOf, eye));
        if (squaredDistance(last, eye) <= reach * reach) return;
    }
    const size_t triangles = materials_.size();
    std::vector<float> distances(triangles);
    for (size_t t = 0; t < triangles; ++t) {
        float middle[3];
        for (int axis = 0; axis < 3; ++axis)
            middle[axis] = (corners_[3 * t].position[axis] + corners_[3 * t + 1].position[axis] +
                            corners_[3 * t + 2].position[axis]) /
                           3;
        distances[t] = static_cast<float>(squaredDistance(middle, eye));
    }
    std::vector<uint32_t> byDistance(triangles);
    std::iota(byDistance.begin(), byDistance.end(), 0u);
    std::stable_sort(byDistance.begin(), byDistance.end(),
                     [&](uint32_t a, uint32_t b) { return distances[a] > distances[b]; });
    order_.resize(3 * triangles);
    for (size_t t = 0; t < triangles; ++t)
        for (uint32_t c = 0; c < 3; ++c) order_[3 * t + c] = 3 * byDistance[t] + c;
    sortedFor_ = eye;
    sorted_ = true;
}

namespace {

double squaredDistance(const float a[3], const Point3& b) {
    const double dx = a[0] - b.x, dy = a[1] - b.y, dz = a[2] - b.z;
    return dx * dx + dy * dy + dz * dz;
}

}  // namespace
