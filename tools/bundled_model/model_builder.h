// A model under construction: materials and objects with shared vertices and
// faces that carry a material, texture coordinates and corner colours. Only
// what the bundled model needs; mqo_text_writer turns it into model text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct Vec3 {
    float x = 0;
    float y = 0;
    float z = 0;
};

struct BuiltMaterial {
    std::string name;  // code page 932 bytes
    float col[4] = {1, 1, 1, 1};
    float dif = 0.8f;
    float amb = 0.6f;
    float emi = 0.0f;
    float spc = 0.0f;
    float power = 5.0f;
    std::string tex;
    std::string aplane;
};

struct BuiltCorner {
    int vertex = 0;
    float u = 0;
    float v = 0;
    uint32_t colour = 0;  // 0xAABBGGRR, written only when the face has colours
};

struct BuiltFace {
    std::vector<BuiltCorner> corners;
    int material = 0;
    bool hasColours = false;
};

// Texture coordinates of a rectangle of the picture: (u0, v0) is the
// corner shown at a quad's first corner, v growing downwards in the picture.
struct UvRect {
    float u0 = 0;
    float v0 = 0;
    float u1 = 1;
    float v1 = 1;
};

struct BuiltObject {
    std::string name;  // code page 932 bytes
    bool binaryVertices = false;
    std::vector<Vec3> vertices;
    std::vector<BuiltFace> faces;

    // The index of a vertex at exactly `position`, added when new.
    int vertexAt(Vec3 position);
    // A flat four-cornered patch, corners given clockwise as seen from the
    // side it faces; stored as two triangles unless `asQuad`.
    void addQuad(const Vec3 (&corners)[4], int material, UvRect uv, bool asQuad = false,
                 std::optional<uint32_t> colour = std::nullopt);
    void addTriangle(const Vec3 (&corners)[3], int material, const float (&uv)[3][2],
                     std::optional<uint32_t> colour = std::nullopt);
    // An axis-aligned box; the top gets `topMaterial`, the sides and the
    // bottom `sideMaterial`. Each face shows the part of the picture that
    // keeps its proportions, the box's longest edge spanning the picture.
    void addBox(Vec3 low, Vec3 high, int topMaterial, int sideMaterial);
};

struct BuiltModel {
    std::vector<BuiltMaterial> materials;
    std::vector<BuiltObject> objects;
};
