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
    const Lists& lists = *lists_;
    const size_t first = lists.heads[index].firstCorner;
    const size_t end = index + 1 < lists.heads.size() ? lists.heads[index + 1].firstCorner : lists.vertices.size();
    const size_t count = end - first;
    return {lists.heads[index].materialIndex, std::span<const int32_t>(lists.vertices.data() + first, count),
            cornersIn(lists.uvs, first, count), cornersIn(lists.colours, first, count)};
}

void FaceList::append(int32_t materialIndex, std::span<const int32_t> vertices, std::span<const TexturePoint> uvs,
                      std::span<const uint32_t> colours) {
    if (!lists_) lists_ = std::make_unique<Lists>();
    Lists& lists = *lists_;
    const size_t first = lists.vertices.size();
    if (vertices.size() > UINT32_MAX - first) throw std::bad_alloc();
    lists.heads.push_back({static_cast<uint32_t>(first), materialIndex});
    lists.vertices.append(vertices);
    // Faces before this one that had none get zeros.
    if (!uvs.empty()) {
        lists.uvs.resize(first);
        lists.uvs.append(uvs);
    }
    if (!colours.empty()) {
        lists.colours.resize(first);
        lists.colours.append(colours);
    }
}

void FaceList::push_back(const FaceRecord& face) {
    const size_t count = static_cast<size_t>(std::clamp(face.vertexCount, 0, 4));
    TexturePoint uvs[4];
    for (size_t k = 0; k < count; ++k) uvs[k] = {face.uv[k][0], face.uv[k][1]};
    append(face.materialIndex, std::span(face.vertexIndex, count), std::span(uvs, count), std::span(face.color, count));
}

size_t FaceList::bytes() const {
    if (!lists_) return 0;
    return sizeof(Lists) + lists_->heads.capacity() * sizeof(Head) + lists_->vertices.capacity() * sizeof(int32_t) +
           lists_->uvs.capacity() * sizeof(TexturePoint) + lists_->colours.capacity() * sizeof(uint32_t);
}
