#include "mqo/face_list.h"

#include <algorithm>
#include <stdexcept>

namespace {

// Texture coordinates and colours of a face: its corners' part of a list
// that covers only the faces up to the last one that had any.
template <typename T>
std::span<const T> cornersIn(const GeometryList<T>& list, size_t first, size_t count) {
    return first + count <= list.size() ? std::span<const T>(list.data() + first, count) : std::span<const T>();
}

}  // namespace

FaceList::FaceList(const FaceList& other) : lists_(other.lists_ ? std::make_unique<Lists>(*other.lists_) : nullptr) {}

FaceList& FaceList::operator=(const FaceList& other) {
    if (this != &other) *this = FaceList(other);
    return *this;
}

FaceList::~FaceList() = default;

FaceRecord FaceList::operator[](size_t index) const {
    const FaceCorners face = corners(index);
    FaceRecord record;
    record.materialIndex = face.materialIndex;
    record.vertexCount = static_cast<int32_t>(std::min<size_t>(face.size(), 4));
    for (int32_t k = 0; k < record.vertexCount; ++k) {
        record.vertexIndex[k] = face.vertices[k];
        record.uv[k][0] = face.uv(k).u;
        record.uv[k][1] = face.uv(k).v;
        record.color[k] = face.colour(k);
    }
    return record;
}

FaceRecord FaceList::at(size_t index) const {
    if (index >= size()) throw std::out_of_range("no such face");
    return (*this)[index];
}

FaceCorners FaceList::corners(size_t index) const {
    const Lists& all = *lists_;
    const size_t first = all.heads[index].firstCorner;
    const size_t end = index + 1 < all.heads.size() ? all.heads[index + 1].firstCorner : all.finishedCorners;
    const size_t count = end - first;
    return {all.heads[index].materialIndex, std::span<const int32_t>(all.vertices.data() + first, count),
            cornersIn(all.uvs, first, count), cornersIn(all.colours, first, count)};
}

void FaceList::addVertex(int32_t vertex) {
    Lists& all = lists();
    if (all.vertices.size() == UINT32_MAX) throw std::bad_alloc();
    all.vertices.push_back(vertex);
}

// Faces before this one that had none get zeros.
void FaceList::addUv(TexturePoint uv) {
    Lists& all = lists();
    if (all.uvs.size() < all.finishedCorners) all.uvs.resize(all.finishedCorners);
    all.uvs.push_back(uv);
}

void FaceList::addColour(uint32_t colour) {
    Lists& all = lists();
    if (all.colours.size() < all.finishedCorners) all.colours.resize(all.finishedCorners);
    all.colours.push_back(colour);
}

// Coordinates and colours given for only some corners are filled with zeros.
void FaceList::finishFace(int32_t materialIndex) {
    Lists& all = lists();
    const size_t first = all.finishedCorners;
    all.heads.push_back({static_cast<uint32_t>(first), materialIndex});
    all.finishedCorners = all.vertices.size();
    if (all.uvs.size() > first) all.uvs.resize(all.finishedCorners);
    if (all.colours.size() > first) all.colours.resize(all.finishedCorners);
}

void FaceList::dropFace() {
    if (!lists_) return;
    lists_->vertices.resize(lists_->finishedCorners);
    lists_->uvs.resize(std::min(lists_->uvs.size(), lists_->finishedCorners));
    lists_->colours.resize(std::min(lists_->colours.size(), lists_->finishedCorners));
}

void FaceList::push_back(const FaceRecord& face) {
    const int32_t count = std::clamp(face.vertexCount, 0, 4);
    for (int32_t k = 0; k < count; ++k) addVertex(face.vertexIndex[k]);
    for (int32_t k = 0; k < count; ++k) addUv({face.uv[k][0], face.uv[k][1]});
    for (int32_t k = 0; k < count; ++k) addColour(face.color[k]);
    finishFace(face.materialIndex);
}

size_t FaceList::bytes() const {
    if (!lists_) return 0;
    return sizeof(Lists) + lists_->heads.capacity() * sizeof(Head) + lists_->vertices.capacity() * sizeof(int32_t) +
           lists_->uvs.capacity() * sizeof(TexturePoint) + lists_->colours.capacity() * sizeof(uint32_t);
}

FaceList::Lists& FaceList::lists() {
    if (!lists_) lists_ = std::make_unique<Lists>();
    return *lists_;
}
