// The records a model is read into: scene values, materials, objects with
// their vertices and faces. Plain values with the copy rules the rest of the
// viewer relies on; nothing here knows about files, windows or physics.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "mqo/code_page.h"
#include "mqo/face_list.h"
#include "mqo/geometry_list.h"
#include "mqo/material_list.h"
#include "mqo/material_record.h"
#include "mqo/record_text.h"

struct Point3 {
    float x = 0;
    float y = 0;
    float z = 0;
};

// A light that shines from `direction` (towards the light, in the
// camera's frame: x to the right, y up, z towards the viewer), fixed to the
// camera as the modeller shows it.
struct SceneLight {
    Point3 direction;
    Point3 colour;
};

struct SceneRecord {
    Point3 pos;
    float angles[3] = {0, 0, 0};  // heading, pitch, always-zero bank
    Point3 lookat;
    float amb[3] = {0, 0, 0};
    // What a model reading found: whether the file has a Scene chunk, and
    // whether it gave the angles and the ambient; its lights in file order,
    // at most MAX_SCENE_LIGHTS of them.
    bool present = false;
    bool anglesGiven = false;
    bool ambientGiven = false;
    std::vector<SceneLight> lights;
};

constexpr size_t MAX_SCENE_LIGHTS = 8;

// The modeller's own small picture of the model, as its file keeps it: rows
// of red, green, blue bytes from the top. Empty when the file has none.
struct Thumbnail {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb;

    bool empty() const { return rgb.empty(); }
};

struct VertexRecord {
    float x = 0;
    float y = 0;
    float z = 0;
    float weight = 0;
};

using VertexList = GeometryList<VertexRecord>;

// NOTE: the fields lie so that no padding is left between them: a model of
// many tiny objects is mostly these records.
struct ObjectRecord {
    RecordText name;
    Point3 scale;
    Point3 rotation;
    Point3 translation;
    // Whether scale, rotation and translation were given: they then place
    // the object's own frame, across whose planes mirrors reflect.
    bool hasScale = false;
    bool hasRotation = false;
    bool hasTranslation = false;
    int32_t vertexCount = 0;
    int32_t faceCount = 0;
    VertexList vertices;
    FaceList faces;
    // Keys that model mode follows; the classic mode reads past them.
    int32_t visible = 15;    // 0 hides the object
    int32_t shading = 1;     // 0 flat, 1 smooth
    float facet = 59.5f;     // smoothing angle in degrees
    int32_t mirror = 0;      // 0 none, 1 or 2 mirrored copies
    int32_t mirrorAxis = 1;  // planes to mirror across: 1 x, 2 y, 4 z
    float mirrorDistance = 0;
    int32_t patch = 0;      // 1, 2 or 3: a curved surface over these faces
    int32_t segment = 1;    // its rounds of subdivision
    int32_t lathe = 0;      // not 0: the two-corner faces are revolved
    int32_t latheAxis = 0;  // about 0 x, 1 y, 2 z
    int32_t latheSeg = 12;  // in this many steps

    // No range check: callers walk 0 .. vertexCount - 1.
    VertexRecord vertexAt(int32_t index) const { return vertices[index]; }
    // Each append adds to its count; a count that would pass INT32_MAX
    // throws std::bad_alloc instead, as running out of memory would.
    void appendVertex(const VertexRecord& vertex);
    void appendFace(const FaceRecord& face);
    // Appends the face whose corners were just added to `faces`.
    void finishFace(int32_t materialIndex);
};

// NOTE: a model of many tiny objects is mostly ObjectRecords: they are kept
// in blocks that never move, so that growing the list never holds it twice.
using ObjectList = std::deque<ObjectRecord>;

struct ModelData {
    ObjectList objects;
    int32_t objectCount = 0;
    MaterialList materials;
    int32_t materialCount = 0;
    SceneRecord scene;
    // Model reading only.
    Thumbnail thumbnail;
    // What the names and file names are written in.
    CodePage codePage = CodePage::ShiftJis;

    // No range check: callers walk 0 .. count - 1.
    ObjectRecord objectAt(int32_t index) const { return objects[index]; }
    MaterialRecord materialAt(int32_t index) const { return materials[index]; }
    void appendMaterial(const MaterialRecord& material);
};
