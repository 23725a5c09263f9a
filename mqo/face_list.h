// The faces of an object, packed: each face's material and where its corners
// start, then the corners' vertex indices, texture coordinates and colours
// in lists of their own. A triangle with texture coordinates costs 44 bytes
// here where a FaceRecord costs 72; coordinates and colours cost nothing in
// an object whose faces have none, and a face may have any number of
// corners. Faces come out as records (their first four corners), or whole
// as their corner lists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "mqo/face_record.h"
#include "mqo/geometry_list.h"
#include "mqo/record_iterator.h"

// The corners of one face, whatever their number, viewed in their list.
struct FaceCorners {
    int32_t materialIndex = -1;
    std::span<const int32_t> vertices;
    // Empty when the face has none: every corner's are then (0, 0), or 0.
    std::span<const TexturePoint> uvs;
    std::span<const uint32_t> colours;

    size_t size() const { return vertices.size(); }
    TexturePoint uv(size_t corner) const { return uvs.empty() ? TexturePoint{} : uvs[corner]; }
    uint32_t colour(size_t corner) const { return colours.empty() ? 0 : colours[corner]; }
};

class FaceList {
public:
    using Iterator = RecordIterator<FaceList, FaceRecord>;

    FaceList() = default;
    FaceList(const FaceList& other);
    FaceList(FaceList&&) noexcept = default;
    FaceList& operator=(const FaceList& other);
    FaceList& operator=(FaceList&&) noexcept = default;
    ~FaceList();

    size_t size() const { return lists_ ? lists_->heads.size() : 0; }
    bool empty() const { return size() == 0; }
    // Face `index`, below size(), as a record of its first four corners.
    FaceRecord operator[](size_t index) const;
    FaceRecord at(size_t index) const;
    FaceRecord front() const { return (*this)[0]; }
    // Every corner of face `index`, below size().
    FaceCorners corners(size_t index) const;
    Iterator begin() const { return {*this, 0}; }
    Iterator end() const { return {*this, size()}; }

    // A face is read in corner by corner: its vertices, then at most one
    // texture point and one colour for each. It joins the list at
    // finishFace and leaves no trace at dropFace. Throws std::bad_alloc,
    // also when the object's corners would pass 2^32.
    void addVertex(int32_t vertex);
    void addUv(TexturePoint uv);
    void addColour(uint32_t colour);
    void finishFace(int32_t materialIndex);
    void dropFace();
    // Appends the record's first vertexCount corners (at most four).
    void push_back(const FaceRecord& face);
    // The memory the list holds.
    size_t bytes() const;

private:
    struct Head {
        uint32_t firstCorner;
        int32_t materialIndex;
    };
    struct Lists {
        GeometryList<Head> heads;
        GeometryList<int32_t> vertices;
        // Cover the faces up to the last one that has any.
        GeometryList<TexturePoint> uvs;
        GeometryList<uint32_t> colours;
        // The corners of the finished faces; the face being read follows.
        size_t finishedCorners = 0;
    };

    Lists& lists();

    // Null while the list is empty: an object without faces costs a pointer.
    std::unique_ptr<Lists> lists_;
};
