// Lathes turned into surfaces, texture coordinates from projections, and
// what the loaded model's shaped objects become under the limit on their
// triangles: the counts planned are those of the meshes made.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "model/lathe_surface.h"
#include "model/object_mesh.h"
#include "model/projected_uvs.h"
#include "model/shown_objects.h"
#include "tests/model/model_files.h"

namespace {

// A closed can about the y axis, radius 10 and 20 high, as its profile: from
// the axis out, up, and back to the axis; and a triangle beside it.
ObjectRecord can(int32_t steps, int32_t axis = 1) {
    ObjectRecord object = makeObject({{0, 0, 0, 0}, {10, 0, 0, 0}, {10, 20, 0, 0}, {0, 20, 0, 0}, {30, 0, 0, 0}},
                                     {makeFace({0, 1}, 0), makeFace({1, 2}, 1), makeFace({2, 3}, 0),
                                      makeFace({1, 4, 2}, 2), makeFace({3, 3}), makeFace({3, 9})});
    object.lathe = 1;
    object.latheAxis = axis;
    object.latheSeg = steps;
    return object;
}

// One square face with its own (wrong) texture coordinates, in material 0.
ObjectRecord card(float left, float right) {
    return makeObject({{left, 0, 0, 0}, {right, 0, 0, 0}, {right, 40, 0, 0}, {left, 40, 0, 0}},
                      {makeFace({3, 2, 1, 0}, 0, {{9, 9}, {9, 9}, {9, 9}, {9, 9}})});
}

MaterialRecord projected(int32_t type, Point3 position, Point3 scale, Point3 angle = {}) {
    MaterialRecord material = makeMaterial();
    material.projType = type;
    for (int k = 0; k < 3; ++k) {
        material.projPos[k] = (&position.x)[k];
        material.projScale[k] = (&scale.x)[k];
        material.projAngle[k] = (&angle.x)[k];
    }
    return material;
}

std::vector<std::pair<float, float>> uvsOf(const ObjectRecord& object, size_t face = 0) {
    std::vector<std::pair<float, float>> uvs;
    const FaceCorners corners = object.faces.corners(face);
    for (size_t c = 0; c < corners.size(); ++c) uvs.emplace_back(corners.uv(c).u, corners.uv(c).v);
    return uvs;
}

TEST(LatheSurface, stepsFollowTheLatheKeysWithinTheirLimits) {
    const std::tuple<int32_t, int32_t, int32_t> cases[] = {
        {1, 16, 16}, {2, 3, 3}, {1, 2, 3}, {1, -5, 3}, {1, 100000, 360}, {0, 16, 0},
    };
    for (const auto& [lathe, seg, steps] : cases) {
        ObjectRecord object;
        object.lathe = lathe;
        object.latheSeg = seg;
        EXPECT_EQ(latheSteps(object), steps) << lathe << " " << seg;
    }
}

// The can's bottom and top are fans of triangles about the axis, its side
// a band of quads; the triangle beside it stays, the broken lines go.
TEST(LatheSurface, profileTurnsIntoQuadsAndFansRoundTheAxis) {
    for (const int32_t axis : {1, 2, 0, 7}) {
        SCOPED_TRACE(axis);
        ObjectRecord profile = can(16, axis);
        if (axis != 1) {
            // The same can about another axis: its profile turned there.
            for (VertexRecord& v : profile.vertices)
                v = axis == 2 ? VertexRecord{v.x, -v.z, v.y, 0} : VertexRecord{v.y, v.x, v.z, 0};
        }
        const ObjectRecord surface = latheSurface(profile, 16);
        ASSERT_EQ(surface.faceCount, 1 + 3 * 16);
        EXPECT_EQ(surface.vertexCount, 5 + 15 * 2);
        int triangles = 0, quads = 0;
        for (size_t f = 1; f < surface.faces.size(); ++f) {
            const FaceCorners face = surface.faces.corners(f);
            (face.size() == 3 ? triangles : quads) += 1;
            EXPECT_EQ(face.materialIndex, face.size() == 3 ? 0 : 1);
        }
        EXPECT_EQ(std::tuple(triangles, quads), std::tuple(32, 16));
        EXPECT_EQ(surface.faces.corners(0).materialIndex, 2);
        const int across = axis == 2 ? 2 : axis == 1 ? 1 : 0;
        for (int32_t v = 5; v < surface.vertexCount; ++v) {
            const float p[3] = {surface.vertices[v].x, surface.vertices[v].y, surface.vertices[v].z};
            EXPECT_NEAR(std::hypot(p[(across + 1) % 3], p[(across + 2) % 3]), 10, 1e-4) << v;
        }
        const LatheTally tally = tallyLathe(profile);
        const ObjectMesh mesh = buildObjectMesh(surface);
        EXPECT_EQ(tally.whole(16).triangles, static_cast<int64_t>(mesh.triangles.size()));
        EXPECT_EQ(tally.whole(16).corners, 3 + 32 * 3 + 16 * 4);
    }
}

// Coloured profile lines colour the surface they turn, for model mode's
// vertex-colour materials: each corner as the line's corner it came from,
// the one kept where a corner lies on the axis.
TEST(LatheSurface, surfaceTakesTheColoursOfItsProfileLines) {
    const uint32_t axisColour = 0xFF0000FF, rimColour = 0x8000FF00, topColour = 0xFFFF0000;
    for (const bool coloured : {true, false}) {
        ObjectRecord profile = makeObject({{0, 0, 0, 0}, {10, 0, 0, 0}, {10, 20, 0, 0}}, {});
        for (const auto& [from, to, first, second] :
             {std::tuple(0, 1, axisColour, rimColour), std::tuple(1, 2, rimColour, topColour)}) {
            profile.faces.addVertex(from);
            if (coloured) profile.faces.addColour(first);
            profile.faces.addVertex(to);
            if (coloured) profile.faces.addColour(second);
            profile.finishFace(0);
        }
        profile.lathe = 1;
        profile.latheAxis = 1;
        const ObjectRecord surface = latheSurface(profile, 4);
        ASSERT_EQ(surface.faces.size(), 8u);
        for (size_t f = 0; f < surface.faces.size(); ++f) {
            const FaceCorners face = surface.faces.corners(f);
            ASSERT_EQ(face.colours.size(), coloured ? face.size() : 0) << f;
            for (size_t c = 0; c < face.colours.size(); ++c) {
                const VertexRecord& vertex = surface.vertices[face.vertices[c]];
                const uint32_t expected = vertex.y > 10                        ? topColour
                                          : std::hypot(vertex.x, vertex.z) < 1 ? axisColour
                                                                               : rimColour;
                EXPECT_EQ(face.colour(c), expected) << f << " " << c;
            }
        }
    }
}

TEST(ProjectedUvs, planarProjectionPutsTheTextureAcrossItsFrame) {
    const std::vector<MaterialRecord> materials = {projected(1, {0, 20, 0}, {40, 40, 40})};
    ObjectRecord object = card(-20, 20);
    object.appendFace(makeFace({0, 1, 2}, -1, {{5, 5}, {6, 6}, {7, 7}}));
    projectTextureCoordinates(object, materials);
    EXPECT_EQ(uvsOf(object), (std::vector<std::pair<float, float>>{{0, 0}, {1, 0}, {1, 1}, {0, 1}}));
    EXPECT_EQ(uvsOf(object, 1), (std::vector<std::pair<float, float>>{{5, 5}, {6, 6}, {7, 7}}));

    // Turned a quarter about y, the frame's x runs along the model's -z.
    const std::vector<MaterialRecord> turned = {projected(1, {0, 0, 0}, {20, 20, 20}, {90, 0, 0})};
    ObjectRecord side = makeObject({{0, 0, -10, 0}, {0, 0, 10, 0}, {0, 10, 0, 0}}, {makeFace({0, 1, 2}, 0)});
    projectTextureCoordinates(side, turned);
    const auto uvs = uvsOf(side);
    EXPECT_NEAR(uvs[0].first, 1, 1e-6);
    EXPECT_NEAR(uvs[1].first, 0, 1e-6);
    EXPECT_NEAR(uvs[2].second, 0, 1e-6);

    // Projections that cannot be used leave the coordinates alone.
    for (const MaterialRecord& broken : {projected(4, {}, {1, 1, 1}), projected(1, {}, {1, 0, 1}),
                                         projected(2, {NAN, 0, 0}, {1, 1, 1}), projected(3, {}, {1, INFINITY, 1})}) {
        ObjectRecord kept = card(-20, 20);
        projectTextureCoordinates(kept, std::vector<MaterialRecord>{broken});
        EXPECT_EQ(uvsOf(kept)[0], std::pair(9.f, 9.f));
    }
}

// Round the cylinder and the sphere no face smears the texture across the
// seam at -z, and a corner at the pole takes the middle of its face's u.
TEST(ProjectedUvs, cylindersAndSpheresKeepTheirSeamsWithinAFace) {
    std::vector<VertexRecord> ring;
    std::vector<FaceRecord> sides;
    for (int32_t s = 0; s < 8; ++s) {
        const double angle = 2 * M_PI * (s + 0.5) / 8;
        for (const float y : {-5.f, 5.f})
            ring.push_back({float(10 * std::sin(angle)), y, float(10 * std::cos(angle)), 0});
        sides.push_back(makeFace({2 * s, 2 * s + 1, 2 * ((s + 1) % 8) + 1, 2 * ((s + 1) % 8)}, 0));
    }
    ring.push_back({0, 20, 0, 0});
    sides.push_back(makeFace({16, 7, 9}, 0));
    for (const int32_t type : {2, 3}) {
        SCOPED_TRACE(type);
        ObjectRecord tube = makeObject(ring, sides);
        projectTextureCoordinates(tube, std::vector<MaterialRecord>{projected(type, {}, {20, 20, 20})});
        for (size_t f = 0; f < 8; ++f) {
            const auto uvs = uvsOf(tube, f);
            const float start = (f + 0.5f) / 8 + 0.5f, end = (f + 1.5f) / 8 + 0.5f;
            const float shift = start >= 1 ? 1.f : 0.f;
            EXPECT_NEAR(uvs[0].first, start - shift, 1e-6) << f;
            EXPECT_NEAR(uvs[3].first, end - shift, 1e-6) << f;
            // Cylindrical v runs down y over the size.
            EXPECT_EQ(uvs[1].second, type == 2 ? 0.25f : uvs[2].second);
        }
        const auto pole = uvsOf(tube, 8);
        EXPECT_NEAR(pole[0].first, 1, 1e-6);
        EXPECT_NEAR(pole[2].first, 1.0625, 1e-6);
        EXPECT_NEAR(pole[0].second, type == 2 ? -0.5 : 0, 1e-6);
    }
}

class ShownObjects : public ::testing::Test {
protected:
    void TearDown() override { resetLoadedModel(); }

    // What each loaded object is drawn with, mirrored copies included.
    static std::vector<int64_t> drawnTriangles() {
        std::vector<int64_t> counts;
        for (int32_t i = 0; i < loadedObjectCount(); ++i)
            counts.push_back(static_cast<int64_t>(buildObjectMesh(loadedObjects[i]).triangles.size()));
        return counts;
    }
    static std::vector<int64_t> plannedTriangles(const ShapePlan& plan) {
        std::vector<int64_t> counts;
        for (const ShownShape& shape : plan.objects) counts.push_back(shape.triangles);
        return counts;
    }
    static ShapePlan planLoaded(int64_t maxTriangles) {
        std::vector<const ObjectRecord*> objects;
        for (int32_t i = 0; i < loadedObjectCount(); ++i) objects.push_back(&loadedObjects[i]);
        return planShapes(objects, maxTriangles);
    }
};

// A mirrored curved cube, a curved can, a plain lathe and a hidden curved
// object: what is planned is what is drawn, under every limit.
TEST_F(ShownObjects, plannedCountsAreTheMeshesMadeUnderEveryLimit) {
    ObjectRecord cube = makeObject({}, {});
    for (int v = 0; v < 8; ++v) cube.appendVertex({(v & 1) * 2.f + 1, (v >> 1 & 1) * 2.f - 1, (v >> 2) * 2.f - 1, 0});
    for (const auto& [a, b, c, d] :
         {std::tuple(0, 1, 3, 2), {4, 6, 7, 5}, {0, 4, 5, 1}, {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}})
        cube.appendFace(makeFace({a, b, c, d}, 0));
    cube.patch = 3;
    cube.segment = 4;
    cube.mirror = 1;
    ObjectRecord curvedCan = can(12);
    curvedCan.patch = 1;
    ObjectRecord hidden = cube;
    hidden.visible = 0;
    const struct {
        int64_t limit;
        std::vector<int64_t> triangles;
        std::vector<std::string> notes;
    } cases[] = {
        {MAX_SHAPED_TRIANGLES, {2 * 24 * 64 * 2, (3 + 12 * 10) * 2, 1 + 36 * 4, 0}, {}},
        {2000,
         {2 * 24 * 16 * 2, (3 + 12 * 10) * 2, 1 + 36 * 4, 0},
         {"curved surfaces refined 3 times instead of 4, to stay under 2000 triangles"}},
        {100,
         {2 * 12, 1 + 12 * 4, 1 + 13 * 4, 0},
         {"lathes turned in 13 steps instead of 36, to stay under 100 triangles",
          "curved surfaces shown as their control cages instead of refined 4 times, to stay under 100 triangles"}},
        {10,
         {2 * 12, 1, 1, 0},
         {"lathes left as their profile lines instead of turned in 36 steps, to stay under 10 triangles",
          "curved surfaces shown as their control cages instead of refined 4 times, to stay under 10 triangles"}},
    };
    for (const auto& [limit, triangles, notes] : cases) {
        SCOPED_TRACE(limit);
        installModel({cube, curvedCan, can(36), hidden});
        const ShapePlan plan = planLoaded(limit);
        EXPECT_EQ(plan.notes, notes);
        EXPECT_EQ(makeShownObjects(limit), notes);
        std::vector<int64_t> drawn = drawnTriangles();
        drawn.back() = 0;  // the hidden object is not drawn at all
        EXPECT_EQ(plannedTriangles(plan), triangles);
        EXPECT_EQ(drawn, triangles);
    }
}

// A curved surface the refiner refuses is shown as its cage, and says so.
TEST_F(ShownObjects, refusedSurfaceIsShownAsItsCage) {
    ObjectRecord wide;
    wide.name = "wide";
    for (int32_t k = 0; k < 70000; ++k) {
        wide.appendVertex({std::cos(float(k)), std::sin(float(k)), 0, 0});
        wide.faces.addVertex(k);
    }
    wide.finishFace(0);
    wide.patch = 3;
    installModel({wide});
    EXPECT_EQ(makeShownObjects(),
              std::vector<std::string>{"object \"wide\": its curved surface cannot be made (Failure in "
                                       "TopologyRefinerFactory<>::Create() -- face with 70000 vertices > 65535 "
                                       "max.), so its control cage is shown"});
    EXPECT_EQ(loadedObjects[0].faceCount, 1);
}

}  // namespace
