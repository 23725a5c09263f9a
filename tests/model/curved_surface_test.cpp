// Curved surfaces as model mode refines them: the counts of what a control
// cage becomes, the surface's shape on cages whose limits are known, seams of
// texture coordinates and colours carried per corner, and cages the refiner
// cannot take.
#include <gtest/gtest.h>
#include <opensubdiv/far/primvarRefiner.h>
#include <opensubdiv/far/topologyDescriptor.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "model/curved_surface.h"
#include "tests/model/model_files.h"

namespace {

// A cube of side 2 about the origin, each side a material of its own and,
// when `islands`, a texture island of its own covering the whole texture.
ObjectRecord cube(bool islands = false) {
    std::vector<VertexRecord> corners;
    for (int v = 0; v < 8; ++v) corners.push_back({(v & 1) * 2.f - 1, (v >> 1 & 1) * 2.f - 1, (v >> 2) * 2.f - 1, 0});
    const int32_t sides[6][4] = {{0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1}, {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}};
    std::vector<FaceRecord> faces;
    for (int32_t s = 0; s < 6; ++s) {
        const auto& [a, b, c, d] = sides[s];
        faces.push_back(islands ? makeFace({a, b, c, d}, s, {{0, 0}, {1, 0}, {1, 1}, {0, 1}})
                                : makeFace({a, b, c, d}, s));
    }
    ObjectRecord object = makeObject(corners, faces);
    object.patch = 3;
    return object;
}

// An open tube of `sides` quads about the y axis, its texture wrapped once
// round: the last column's far corners at u = 1 on the vertices where the
// first column starts at u = 0.
ObjectRecord tube(int32_t sides) {
    std::vector<VertexRecord> vertices;
    for (int32_t s = 0; s < sides; ++s)
        for (const float y : {0.f, 1.f})
            vertices.push_back({float(std::cos(2 * M_PI * s / sides)), y, float(std::sin(2 * M_PI * s / sides)), 0});
    std::vector<FaceRecord> faces;
    for (int32_t s = 0; s < sides; ++s) {
        const int32_t next = (s + 1) % sides;
        const float u0 = float(s) / sides, u1 = float(s + 1) / sides;
        faces.push_back(makeFace({2 * s, 2 * s + 1, 2 * next + 1, 2 * next}, 0, {{u0, 1}, {u0, 0}, {u1, 0}, {u1, 1}}));
    }
    ObjectRecord object = makeObject(vertices, faces);
    object.patch = 3;
    return object;
}

std::vector<Point3> pointsOf(const ObjectRecord& object) {
    std::vector<Point3> points;
    for (const VertexRecord& v : object.vertices) points.push_back({v.x, v.y, v.z});
    return points;
}

bool hasPointNear(const std::vector<Point3>& points, const Point3& p) {
    return std::any_of(points.begin(), points.end(), [&](const Point3& q) {
        return std::fabs(q.x - p.x) < 1e-5 && std::fabs(q.y - p.y) < 1e-5 && std::fabs(q.z - p.z) < 1e-5;
    });
}

TEST(CurvedSurface, levelsFollowThePatchAndSegmentKeys) {
    const std::tuple<int32_t, int32_t, int32_t> cases[] = {
        {3, 2, 2}, {1, 1, 1}, {2, 16, 16}, {3, 99, 16}, {3, 0, 1}, {3, -5, 1}, {0, 4, 0}, {7, 2, 0}, {-1, 2, 0},
    };
    for (const auto& [patch, segment, level] : cases) {
        ObjectRecord object;
        object.patch = patch;
        object.segment = segment;
        EXPECT_EQ(curvedLevel(object), level) << patch << " " << segment;
    }
    // Each n-gon becomes n quads, each quad four more each round after.
    EXPECT_EQ(refinedTriangleCount({24, 12}, 0), 12);
    EXPECT_EQ(refinedTriangleCount({24, 12}, 2), 192);
    EXPECT_EQ(refinedTriangleCount({INT64_MAX / 2, 1}, 3), INT64_MAX);
}

// A centred cube twice refined is 96 quads whose points lie strictly inside
// it, as round about the centre as the cube is symmetric, and each side's
// sixteen quads keep its material.
TEST(CurvedSurface, cubeBecomesARoundSurfaceOf96Quads) {
    ObjectRecord object = cube();
    object.appendFace(makeFace({0, 1}));
    object.appendFace(makeFace({0, 1, 99}));
    const CurvedSurface surface = refineCurvedSurface(object, 2);
    ASSERT_EQ(surface.refusal, "");
    const ObjectRecord& refined = surface.refined;
    ASSERT_EQ(refined.faceCount, 96);
    EXPECT_EQ(refined.vertexCount, 98);
    std::map<int32_t, int> perMaterial;
    for (size_t f = 0; f < refined.faces.size(); ++f) {
        EXPECT_EQ(refined.faces.corners(f).size(), 4u);
        ++perMaterial[refined.faces.corners(f).materialIndex];
    }
    EXPECT_EQ(perMaterial, (std::map<int32_t, int>{{0, 16}, {1, 16}, {2, 16}, {3, 16}, {4, 16}, {5, 16}}));
    const std::vector<Point3> points = pointsOf(refined);
    double nearest = 1e9, farthest = 0;
    for (const Point3& p : points) {
        EXPECT_LT(std::max({std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)}), 1.f);
        for (const Point3& image : {Point3{-p.x, p.y, p.z}, Point3{p.x, -p.y, p.z}, Point3{p.x, p.y, -p.z},
                                    Point3{p.y, p.z, p.x}, Point3{p.z, p.x, p.y}})
            EXPECT_TRUE(hasPointNear(points, image)) << p.x << " " << p.y << " " << p.z;
        const double radius = std::sqrt(double(p.x) * p.x + double(p.y) * p.y + double(p.z) * p.z);
        nearest = std::min(nearest, radius);
        farthest = std::max(farthest, radius);
    }
    // The cage's corners lie at 1.73 times the distance of its sides' centres.
    EXPECT_GT(nearest / farthest, 0.85);
}

// Each side's texture island keeps its outline: the refined corners of a
// side cover the whole texture, none beyond it, as they would not if the
// coordinates were blended across the sides.
TEST(CurvedSurface, textureIslandsAndSeamsStayWhereTheCageHasThem) {
    const CurvedSurface cubeSurface = refineCurvedSurface(cube(true), 3);
    std::map<int32_t, std::tuple<float, float, float, float>> spans;
    for (size_t f = 0; f < cubeSurface.refined.faces.size(); ++f) {
        const FaceCorners face = cubeSurface.refined.faces.corners(f);
        ASSERT_EQ(face.uvs.size(), 4u);
        auto [span, fresh] = spans.try_emplace(face.materialIndex, 1.f, 0.f, 1.f, 0.f);
        auto& [lowU, highU, lowV, highV] = span->second;
        for (const TexturePoint& uv : face.uvs)
            std::tie(lowU, highU, lowV, highV) =
                std::tuple(std::min(lowU, uv.u), std::max(highU, uv.u), std::min(lowV, uv.v), std::max(highV, uv.v));
    }
    ASSERT_EQ(spans.size(), 6u);
    for (const auto& [material, span] : spans) EXPECT_EQ(span, std::tuple(0.f, 1.f, 0.f, 1.f)) << material;

    // Round the tube the texture runs on across the seam: no refined face
    // spans more than its control face's eighth of the texture.
    const CurvedSurface tubeSurface = refineCurvedSurface(tube(8), 2);
    ASSERT_EQ(tubeSurface.refined.faceCount, 8 * 16);
    int atSeam = 0;
    for (size_t f = 0; f < tubeSurface.refined.faces.size(); ++f) {
        const auto uvs = tubeSurface.refined.faces.corners(f).uvs;
        const auto [low, high] = std::minmax_element(uvs.begin(), uvs.end(), [](auto a, auto b) { return a.u < b.u; });
        EXPECT_LE(high->u - low->u, 0.125f + 1e-6f) << f;
        atSeam += high->u == 1.f;
    }
    EXPECT_EQ(atSeam, 4);
}

// Texture coordinates come down each round in the refiner's own order of
// faces and corners, blended as its linear face-varying interpolation
// blends them, on a cage of a triangle, a quad and a pentagon.
TEST(CurvedSurface, textureCoordinatesAreTheRefinersLinearBlend) {
    namespace Far = OpenSubdiv::Far;
    struct Uv {
        float v[2];
        void Clear() { v[0] = v[1] = 0; }
        void AddWithWeight(const Uv& source, float weight) {
            v[0] += weight * source.v[0];
            v[1] += weight * source.v[1];
        }
    };
    const std::vector<std::vector<int32_t>> faces = {{0, 1, 2}, {0, 2, 3, 4}, {0, 4, 5, 6, 7}};
    ObjectRecord cage;
    for (int v = 0; v < 8; ++v) cage.appendVertex({float(v % 3), float(v / 3), float(v * v % 5), 0});
    std::vector<int> counts, corners;
    std::vector<Uv> uvs;
    for (const std::vector<int32_t>& face : faces) {
        counts.push_back(int(face.size()));
        for (const int32_t vertex : face) {
            const Uv uv{{float(uvs.size()) * 0.37f, 1 - float(vertex) * 0.11f}};
            cage.faces.addVertex(vertex);
            cage.faces.addUv({uv.v[0], uv.v[1]});
            corners.push_back(vertex);
            uvs.push_back(uv);
        }
        cage.finishFace(0);
    }
    cage.patch = 3;

    std::vector<int> ownValues(corners.size());
    for (size_t corner = 0; corner < ownValues.size(); ++corner) ownValues[corner] = int(corner);
    Far::TopologyDescriptor::FVarChannel channel;
    channel.numValues = int(uvs.size());
    channel.valueIndices = ownValues.data();
    Far::TopologyDescriptor descriptor;
    descriptor.numVertices = 8;
    descriptor.numFaces = int(counts.size());
    descriptor.numVertsPerFace = counts.data();
    descriptor.vertIndicesPerFace = corners.data();
    descriptor.numFVarChannels = 1;
    descriptor.fvarChannels = &channel;
    OpenSubdiv::Sdc::Options options;
    options.SetFVarLinearInterpolation(OpenSubdiv::Sdc::Options::FVAR_LINEAR_ALL);
    using Factory = Far::TopologyRefinerFactory<Far::TopologyDescriptor>;
    const std::unique_ptr<Far::TopologyRefiner> refiner(
        Factory::Create(descriptor, Factory::Options(OpenSubdiv::Sdc::SCHEME_CATMARK, options)));
    refiner->RefineUniform(Far::TopologyRefiner::UniformOptions(3));
    std::vector<Uv> values = uvs;
    for (int level = 1; level <= 3; ++level) {
        std::vector<Uv> next(refiner->GetLevel(level).GetNumFVarValues(0));
        const Uv* from = values.data();
        Uv* to = next.data();
        Far::PrimvarRefiner(*refiner).InterpolateFaceVarying(level, from, to);
        values.swap(next);

        const CurvedSurface surface = refineCurvedSurface(cage, level);
        const Far::TopologyLevel& refined = refiner->GetLevel(level);
        ASSERT_EQ(surface.refined.faces.size(), size_t(refined.GetNumFaces()));
        for (int f = 0; f < refined.GetNumFaces(); ++f) {
            const FaceCorners face = surface.refined.faces.corners(f);
            const Far::ConstIndexArray expected = refined.GetFaceFVarValues(f, 0);
            ASSERT_EQ(face.uvs.size(), size_t(expected.size()));
            for (int c = 0; c < expected.size(); ++c) {
                EXPECT_NEAR(face.uvs[c].u, values[expected[c]].v[0], 1e-5) << level << " " << f << " " << c;
                EXPECT_NEAR(face.uvs[c].v, values[expected[c]].v[1], 1e-5) << level << " " << f << " " << c;
            }
        }
    }
}

TEST(CurvedSurface, cornerColoursAreBlendedByChannel) {
    ObjectRecord object = tube(4);
    ObjectRecord coloured;
    for (const VertexRecord& v : object.vertices) coloured.appendVertex(v);
    for (size_t f = 0; f < object.faces.size(); ++f) {
        for (const int32_t vertex : object.faces.corners(f).vertices) {
            coloured.faces.addVertex(vertex);
            coloured.faces.addColour(vertex % 2 == 0 ? 0xFF0000FFu : 0xFF00FF00u);
        }
        coloured.finishFace(0);
    }
    const CurvedSurface surface = refineCurvedSurface(coloured, 1);
    ASSERT_EQ(surface.refined.faceCount, 16);
    std::vector<uint32_t> colours;
    for (size_t f = 0; f < surface.refined.faces.size(); ++f) {
        const FaceCorners face = surface.refined.faces.corners(f);
        EXPECT_TRUE(face.uvs.empty());
        colours.insert(colours.end(), face.colours.begin(), face.colours.end());
    }
    std::sort(colours.begin(), colours.end());
    colours.erase(std::unique(colours.begin(), colours.end()), colours.end());
    // The ends keep their colours; halfway between them both channels are
    // half on.
    EXPECT_EQ(colours, (std::vector<uint32_t>{0xFF0000FFu, 0xFF008080u, 0xFF00FF00u}));
}

// Cages that touch themselves, fold or repeat a corner are refined; a face
// or a vertex of more than the refiner's 65535 corners or faces is not.
TEST(CurvedSurface, cagesTheRefinerCannotTakeAreRefusedWithItsReason) {
    const std::vector<VertexRecord> points = {{0, 0, 0, 0}, {1, 0, 0, 0}, {1, 1, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
    const std::vector<std::vector<FaceRecord>> taken = {
        {makeFace({0, 1, 1, 2})},
        {makeFace({0, 1, 2}), makeFace({1, 0, 3}), makeFace({0, 1, 4})},
        {makeFace({0, 1, 2}), makeFace({0, 1, 2})},
        {makeFace({0, 0, 0})},
    };
    for (const std::vector<FaceRecord>& faces : taken) {
        const CurvedSurface surface = refineCurvedSurface(makeObject(points, faces), 2);
        EXPECT_EQ(surface.refusal, "");
        EXPECT_GT(surface.refined.faceCount, 0);
    }
    ObjectRecord wide;
    for (int32_t k = 0; k < 70000; ++k) {
        wide.appendVertex({std::cos(float(k)), std::sin(float(k)), 0, 0});
        wide.faces.addVertex(k);
    }
    wide.finishFace(0);
    const CurvedSurface surface = refineCurvedSurface(wide, 1);
    EXPECT_EQ(surface.refusal,
              "Failure in TopologyRefinerFactory<>::Create() -- face with 70000 vertices > 65535 max.");
    EXPECT_EQ(surface.refined.faceCount, 0);
}

}  // namespace
